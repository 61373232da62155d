// Each test gets its own throw-away configuration folder as XDG_CONFIG_HOME, set before the
// store is opened, so the real user's settings are never touched.
#pragma once

#include "settings/settings_key.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class Settings_Test : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Config_Home.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Config_Home.path()));
    // The store looks the folder up once per process; point it at this test's folder.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Config_Home.path());
  }

  QString Store_Path() const { return Config_Home.filePath("Kelvamor/Tov50.conf"); }

  // Writes the store's file by hand, as a previous run or the user would have left it.
  void Write_Store(const QByteArray& text) {
    ASSERT_TRUE(QDir(Config_Home.path()).mkpath("Kelvamor"));
    QFile file(Store_Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }

  // The store's file as a fresh process would read it: name -> raw text.
  QString Stored(const QString& name) const {
    QFile file(Store_Path());
    if (!file.open(QIODevice::ReadOnly)) return "<no file>";
    for (const QByteArray& line : file.readAll().split('\n')) {
      const int eq = static_cast<int>(line.indexOf('='));
      if (eq > 0 && QString::fromUtf8(line.left(eq)) == name)
        return QString::fromUtf8(line.mid(eq + 1));
    }
    return "<absent>";
  }

  QTemporaryDir Config_Home;
};
