// What the fuzz targets share: one scratch folder per process and the Qt application object
// that picture decoding and settings need.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace Fuzz {

// Starts the Qt application object (offscreen, so no display is needed) once per process.
void Start_Application();

// A folder of this process's own, removed when the process ends. Ends with '/'.
const QString& Scratch_Folder();

// Replaces the file's contents; false when it cannot be written.
bool Write_File(const QString& path, const QByteArray& contents);
bool Write_File(const QString& path, const uint8_t* data, size_t size);

} // namespace Fuzz
