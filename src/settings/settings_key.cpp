#include "settings/settings_key.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>
#include <algorithm>
#include <limits>
#include <optional>

namespace {

// A stored value as decimal text: optional sign, digits, within 32 bits.
std::optional<int> Parse_Decimal(const QString& text) {
  bool ok = false;
  const qlonglong value = text.toLongLong(&ok, 10);
  if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
    return std::nullopt;
  return static_cast<int>(value);
}

// The store's file, where the store itself looks for it.
QString Store_File() {
  return Settings_Folder() + QStringLiteral("/%1.conf").arg(QLatin1String(Settings_Application));
}

} // namespace

QString Settings_Folder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/") + QLatin1String(Settings_Organisation);
}

Settings_Key::Settings_Key(Reporter report) : Report(Or_Standard_Error(std::move(report))) {
  Open();
}

Settings_Key::~Settings_Key() = default;

void Settings_Key::Open() {
  // The old handle goes first, so that the new one does not inherit its state.
  Store.reset();
  // The store reads its whole file as it opens. A pipe in the file's place would block that for
  // good and a device might never end, so such a file is taken as one that can be neither read
  // nor written: the store opens a path beneath it, which cannot exist.
  const QFileInfo file(Store_File());
  if (file.exists() && !file.isFile() && !file.isDir()) {
    Store = std::make_unique<QSettings>(file.filePath() + QStringLiteral("/unreachable"),
                                        QSettings::NativeFormat);
    return;
  }
  Store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                      Settings_Organisation, Settings_Application);
}

int Settings_Key::Read_Integer(const QString& name, int default_value) {
  if (Would_Tell(name)) Report(QString("Invalid data type for '%1'").arg(name));
  return Peek_Integer(name).value_or(default_value);
}

std::optional<int> Settings_Key::Peek_Integer(const QString& name) const {
  const QVariant value = Store->value(name);
  if (value.typeId() != QMetaType::QString) return std::nullopt;
  return Parse_Decimal(value.toString());
}

bool Settings_Key::Would_Tell(const QString& name) const {
  // Every value is stored as text; anything else (an unquoted "a,b" reads back as a list,
  // "@ByteArray(...)" as bytes) is reported, and the default stands in for it.
  const QVariant value = Store->value(name);
  return value.isValid() && value.typeId() != QMetaType::QString;
}

void Settings_Key::Write_Integer(const QString& name, int value) {
  Write_Integers({{name, value}});
}

void Settings_Key::Write_Integers(const std::vector<std::pair<QString, int>>& values) {
  if (Holds_Already(values)) return;
  // Together, with one rewrite of the file (every start stores the four keys); should that
  // fail, one by one, each failure reported.
  if (values.size() > 1) {
    for (const auto& [name, value] : values)
      Store->setValue(name, QString::number(value));
    Store->sync();
    if (Store->status() == QSettings::NoError) return;
    Open();
  }
  for (const auto& [name, value] : values)
    Write_One(name, value);
}

bool Settings_Key::Holds_Already(const std::vector<std::pair<QString, int>>& values) {
  // Each rewrite waits for the disk twice, and a start writes back values it has just read,
  // before the handheld is first drawn. A file that holds them all already, and could take the
  // write, is left as it is: the write would change nothing and could not fail. Another copy of
  // the program may have changed the file since: it is read again first if so (no disk wait).
  Store->sync();
  if (Store->status() != QSettings::NoError) return false;
  const bool held = std::all_of(values.begin(), values.end(), [this](const auto& entry) {
    const QVariant stored = Store->value(entry.first);
    return stored.typeId() == QMetaType::QString &&
           stored.toString() == QString::number(entry.second);
  });
  // The rewrite also makes a lock and a new file beside the old one.
  return held && Store->isWritable() &&
         QFileInfo(QFileInfo(Store->fileName()).absolutePath()).isWritable();
}

void Settings_Key::Write_One(const QString& name, int value) {
  // The store keeps its first error for good, so a file with lines it could not read gives a
  // format error on every write, written or not, and hides a write that really failed. Such a
  // write is made once more through a fresh store: the file it has just rewritten reads
  // cleanly, one it could not write does not.
  for (int attempt = 0; attempt < 2; ++attempt) {
    Store->setValue(name, QString::number(value));
    Store->sync();
    const QSettings::Status status = Store->status();
    if (status == QSettings::NoError) return;
    // Start afresh either way, so that a later write that succeeds is not reported as failed.
    Open();
    if (status != QSettings::FormatError) break;
  }
  Report(QString("Failed to set data for '%1'").arg(name));
}

bool Settings_Key::Read_Bool(const QString& name, bool default_value) {
  return Read_Integer(name, default_value ? 1 : 0) != 0;
}

void Settings_Key::Write_Bool(const QString& name, bool value) {
  Write_Integer(name, value ? 1 : 0);
}
