// A throw-away working directory holding a copy of the generated Sound folder, which tests may
// break at will. The working directory is restored when it goes away.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

class Sound_Folder {
public:
  Sound_Folder() {
    EXPECT_TRUE(Root.isValid());
    QDir().mkpath(Root.filePath("Sound"));
    const QDir generated(GAME_SOUND_DIR);
    for (const QString& name : generated.entryList({"*.wav"}, QDir::Files))
      EXPECT_TRUE(QFile::copy(generated.filePath(name), Root.filePath("Sound/" + name)));
    EXPECT_TRUE(QDir::setCurrent(Root.path()));
  }
  ~Sound_Folder() { QDir::setCurrent(Previous); }
  Sound_Folder(const Sound_Folder&) = delete;
  Sound_Folder& operator=(const Sound_Folder&) = delete;

  QString Path(const QString& name) const { return Root.filePath("Sound/" + name); }
  void Remove(const QString& name) const { EXPECT_TRUE(QFile::remove(Path(name))); }
  void Write(const QString& name, const QByteArray& bytes) const {
    QFile file(Path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
  }
  QByteArray Read(const QString& name) const {
    QFile file(Path(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
  }
  QString Temp_File(const QString& name) const { return Root.filePath(name); }

private:
  QString Previous = QDir::currentPath();
  QTemporaryDir Root;
};

// Sets an environment variable for the scope, then puts back what was there.
class Scoped_Env {
public:
  Scoped_Env(const char* name, const std::string& value) : Name(name) {
    if (const char* old = std::getenv(name)) Old = old;
    setenv(name, value.c_str(), 1);
  }
  ~Scoped_Env() {
    if (Old)
      setenv(Name, Old->c_str(), 1);
    else
      unsetenv(Name);
  }
  Scoped_Env(const Scoped_Env&) = delete;
  Scoped_Env& operator=(const Scoped_Env&) = delete;

private:
  const char* Name;
  std::optional<std::string> Old;
};
