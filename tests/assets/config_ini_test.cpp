#include "assets/config_ini.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Config_Ini, NamesIgnoreCaseValuesAreTrimmedAndTheFirstOfARepeatedKeyWins) {
  const Config_Ini ini = Config_Ini::Parse("[common]\r\n"
                                           "skindir =  My Skin  \r\n"
                                           "GameWidth=600\n"
                                           "gamewidth=700\n"
                                           "; a comment\n"
                                           "[Image1]\n"
                                           "Left=5\n"
                                           "[COMMON]\n"
                                           "GAMEWIDTH=800\n"
                                           "GameHeight=300\n");
  EXPECT_EQ(ini.String("Common", "SkinDir", "x"), "My Skin");
  EXPECT_EQ(ini.Integer("Common", "GameWidth", 0), 600);
  EXPECT_EQ(ini.Integer("COMMON", "gameheight", 0), 300);
  EXPECT_EQ(ini.Integer("image1", "LEFT", 0), 5);
  EXPECT_EQ(ini.Integer("Image2", "Left", -3), -3);
  EXPECT_EQ(ini.String("Common", "Left", "none"), "none");
}

TEST(Config_Ini, AnOverlongLineCannotInjectAKeyAndAnIndentedKeyIsNotLost) {
  // The parser reads a line in pieces of fewer than 200 characters; the tail of this line
  // would otherwise turn into "Width=77".
  const QByteArray tail = "Width=77";
  const QByteArray long_line = "Filename=" + QByteArray(199 - 9, 'x') + tail;
  const Config_Ini ini = Config_Ini::Parse("[Image1]\n" + long_line + "\n" +
                                           "Height=4\n"
                                           "   Left = 9\n"
                                           "\tTop=3\n");
  EXPECT_EQ(ini.String("Image1", "Width", "none"), "none");
  EXPECT_EQ(ini.String("Image1", "Filename", "none"), "none");
  EXPECT_EQ(ini.Integer("Image1", "Height", 0), 4);
  EXPECT_EQ(ini.Integer("Image1", "Left", 0), 9);
  EXPECT_EQ(ini.Integer("Image1", "Top", 0), 3);
}

TEST(Config_Ini, IntegersAreDecimalOrHexadecimalAndAnythingElseIsTheDefault) {
  const Config_Ini ini = Config_Ini::Parse("[S]\n"
                                           "a=-20\nb=+7\nc=$1F\nd=0x1f\ne=0X10\nf=$FFFFFFFF\n"
                                           "g=12x\nh=\ni=$\nj=0x\nk=$123456789\nl=1.5\n"
                                           "m=99999999999\nn=-\no=Center\np=$-1\n");
  EXPECT_EQ(ini.Integer("S", "a", 0), -20);
  EXPECT_EQ(ini.Integer("S", "b", 0), 7);
  EXPECT_EQ(ini.Integer("S", "c", 0), 31);
  EXPECT_EQ(ini.Integer("S", "d", 0), 31);
  EXPECT_EQ(ini.Integer("S", "e", 0), 16);
  EXPECT_EQ(ini.Integer("S", "f", 0), -1);
  for (const char* key : {"g", "h", "i", "j", "k", "l", "m", "n", "o", "p", "absent"})
    EXPECT_EQ(ini.Integer("S", key, 42), 42) << key;
}

TEST(Config_Ini, ColoursAreBlueGreenRedAndMalformedOnesAreReported) {
  const Config_Ini ini = Config_Ini::Parse("[S]\n"
                                           "magenta=$00ff00ff\nred=255\nblue=$00FF0000\n"
                                           "system=$FF000080\nbad=pink\nempty=\n");
  QStringList messages;
  const auto report = [&](const QString& m) { messages << m; };
  const QColor fallback(1, 2, 3);
  EXPECT_EQ(ini.Colour("S", "magenta", fallback, report), QColor(255, 0, 255));
  EXPECT_EQ(ini.Colour("S", "red", fallback, report), QColor(255, 0, 0));
  EXPECT_EQ(ini.Colour("S", "blue", fallback, report), QColor(0, 0, 255));
  EXPECT_EQ(ini.Colour("S", "system", fallback, report), QColor(128, 0, 0));
  EXPECT_EQ(ini.Colour("S", "absent", fallback, report), fallback);
  EXPECT_TRUE(messages.isEmpty());

  EXPECT_EQ(ini.Colour("S", "bad", fallback, report), fallback);
  EXPECT_EQ(ini.Colour("S", "empty", fallback, report), fallback);
  EXPECT_EQ(messages, (QStringList{"'pink' is not a valid integer value",
                                   "'' is not a valid integer value"}));
}

TEST(Config_Ini, FoldersGetSlashesAndATrailingDelimiterAndNilNamesNoFile) {
  const Config_Ini ini = Config_Ini::Parse("[S]\n"
                                           "win=Graphics\\Skin\nunix=/opt/skin/\nempty=\n"
                                           "none=nil\nblank=\nupper=NIL\nname=a b.png\n"
                                           "sub=pics\\a.png\n");
  EXPECT_EQ(ini.Folder("S", "win", "x"), "Graphics/Skin/");
  EXPECT_EQ(ini.Folder("S", "unix", "x"), "/opt/skin/");
  EXPECT_EQ(ini.Folder("S", "empty", "x"), "./");
  EXPECT_EQ(ini.Folder("S", "absent", "Graphics\\Backdrops\\"), "Graphics/Backdrops/");

  EXPECT_EQ(ini.File_Name("S", "none", "x"), std::nullopt);
  EXPECT_EQ(ini.File_Name("S", "blank", "x"), std::nullopt);
  EXPECT_EQ(ini.File_Name("S", "absent", "nil"), std::nullopt);
  EXPECT_EQ(ini.File_Name("S", "upper", "x"), QString("NIL"));
  EXPECT_EQ(ini.File_Name("S", "name", "x"), QString("a b.png"));
  EXPECT_EQ(ini.File_Name("S", "sub", "x"), QString("pics/a.png"));
}

TEST(Config_Ini, LoadsAFileAndReportsOneThatCannotBeOpened) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  EXPECT_FALSE(Config_Ini::Load(dir.filePath("Config.ini")).has_value());
  EXPECT_FALSE(Config_Ini::Load(dir.path()).has_value()); // a folder is no file

  QFile file(dir.filePath("Config.ini"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("\xEF\xBB\xBF[Manual]\nManualWidth=500\nManualDir=Handbuch \xFC"
             "ber\n"); // a byte-order mark, and a Latin-1 value
  file.close();
  const std::optional<Config_Ini> ini = Config_Ini::Load(file.fileName());
  ASSERT_TRUE(ini.has_value());
  EXPECT_EQ(ini->Integer("Manual", "ManualWidth", 375), 500);
  EXPECT_EQ(ini->Folder("Manual", "ManualDir", ""), QString::fromUtf8("Handbuch über/"));
}

} // namespace
