#include "settings_fixture.h"

#include <sys/stat.h>

namespace {

using Settings_Key_Test = Settings_Test;

TEST_F(Settings_Key_Test, WritesDecimalTextThatIsOnDiskWhenTheWriteReturns) {
  Settings_Key settings;
  settings.Write_Integer("SoundMode", -1);
  settings.Write_Integer("Key2", 39);
  settings.Write_Bool("SplashScreen", true);
  settings.Write_Bool("FullscreenMode", false);
  EXPECT_EQ(Stored("SoundMode"), "-1");
  EXPECT_EQ(Stored("Key2"), "39");
  EXPECT_EQ(Stored("SplashScreen"), "1");
  EXPECT_EQ(Stored("FullscreenMode"), "0");
  EXPECT_EQ(settings.Read_Integer("SoundMode", 5), -1);
  EXPECT_EQ(settings.Read_Integer("Key2", 5), 39);
  EXPECT_TRUE(settings.Read_Bool("SplashScreen", false));
  EXPECT_FALSE(settings.Read_Bool("FullscreenMode", true));
}

TEST_F(Settings_Key_Test, WritingWhatTheFileHoldsLeavesItUnlessAnotherCopyChangedIt) {
  Write_Store("[General]\nKey1=6\nKey2=39\n");
  struct stat before {
  }, after{};
  stat(QFile::encodeName(Store_Path()).constData(), &before);
  Settings_Key settings;
  settings.Write_Integers({{"Key1", 6}, {"Key2", 39}});
  stat(QFile::encodeName(Store_Path()).constData(), &after);
  EXPECT_EQ(after.st_ino, before.st_ino); // a rewrite puts a new file in the old one's place
  // Meanwhile another copy of the program stores another Key2: the last write wins.
  Write_Store("[General]\nKey1=6\nKey2=400\n");
  settings.Write_Integer("Key2", 39);
  EXPECT_EQ(Stored("Key2"), "39");
}

TEST_F(Settings_Key_Test, ReadsWhatAnEarlierRunLeft) {
  Write_Store("[General]\nSoundMode=1\nSplashScreen=2\nKey3=-7\nFullscreenMode=0\n");
  Settings_Key settings;
  EXPECT_EQ(settings.Read_Integer("SoundMode", -1), 1);
  EXPECT_TRUE(settings.Read_Bool("SplashScreen", false));
  EXPECT_EQ(settings.Read_Integer("Key3", 38), -7);
  EXPECT_FALSE(settings.Read_Bool("FullscreenMode", true));
}

TEST_F(Settings_Key_Test, AbsentEmptyOrMalformedValuesReadAsTheDefault) {
  Write_Store("[General]\nSoundMode=abc\nKey1=\nKey2=12x\nKey3=99999999999\nKey4=\"a,b\"\n"
              "SplashScreen=a,b\nFullscreenMode=0x10\n");
  QStringList errors;
  Settings_Key settings([&errors](const QString& message) { errors << message; });
  EXPECT_EQ(settings.Read_Integer("SoundMode", -1), -1);
  EXPECT_EQ(settings.Read_Integer("Key1", 6), 6);
  EXPECT_EQ(settings.Read_Integer("Key2", 39), 39);
  EXPECT_EQ(settings.Read_Integer("Key3", 38), 38);
  EXPECT_EQ(settings.Read_Integer("Key4", 37), 37);
  EXPECT_EQ(settings.Read_Integer("Absent", 17), 17);
  EXPECT_TRUE(settings.Read_Bool("FullscreenMode", true));
  EXPECT_EQ(errors, QStringList{}); // text that is no number is not reported
  // An unquoted a,b comes back as a list, not as text: reported at each read.
  EXPECT_TRUE(settings.Read_Bool("SplashScreen", true));
  EXPECT_FALSE(settings.Read_Bool("SplashScreen", false));
  EXPECT_EQ(errors, QStringList(2, "Invalid data type for 'SplashScreen'"));
}

TEST_F(Settings_Key_Test, AFailedWriteIsReportedAndLaterWritesWorkAgain) {
  // A plain file where the store's folder should be makes every write fail, even for root.
  const auto block = [&] {
    QFile blocker(Config_Home.filePath("Kelvamor"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  };
  block();
  QStringList errors;
  Settings_Key settings([&](const QString& message) { errors << message; });
  settings.Write_Integer("Key1", 6);
  EXPECT_EQ(errors, QStringList{"Failed to set data for 'Key1'"});

  ASSERT_TRUE(QFile::remove(Config_Home.filePath("Kelvamor")));
  settings.Write_Bool("SplashScreen", false);
  EXPECT_EQ(errors.size(), 1);
  EXPECT_EQ(Stored("SplashScreen"), "0");

  // Without a reporter the message still reaches the user's terminal.
  ASSERT_TRUE(QDir(Config_Home.filePath("Kelvamor")).removeRecursively());
  block();
  Settings_Key untold;
  testing::internal::CaptureStderr();
  untold.Write_Integer("SoundMode", 2);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Failed to set data for 'SoundMode'\n");
}

TEST_F(Settings_Key_Test, APipeOrADeviceInTheFilesPlaceReadsAsEmptyAndRefusesWrites) {
  // Reading either would block the start for good or never end.
  ASSERT_TRUE(QDir(Config_Home.path()).mkpath("Kelvamor"));
  const auto open_over = [&](const char* what, const auto& make) {
    SCOPED_TRACE(what);
    QFile::remove(Store_Path());
    make();
    QStringList errors;
    Settings_Key settings([&](const QString& message) { errors << message; });
    EXPECT_EQ(settings.Read_Integer("Key1", 6), 6);
    settings.Write_Integer("Key1", 7);
    EXPECT_EQ(errors, QStringList{"Failed to set data for 'Key1'"});
  };
  open_over("a pipe",
            [&] { ASSERT_EQ(mkfifo(QFile::encodeName(Store_Path()).constData(), 0600), 0); });
  open_over("a device", [&] { ASSERT_TRUE(QFile::link("/dev/zero", Store_Path())); });
}

TEST_F(Settings_Key_Test, AFileWithUnreadableLinesKeepsItsValuesAndTakesWritesWithoutComplaint) {
  Write_Store("[General]\nSoundMode=2\nKey1=7\n\x01\x02 no equals sign\n=no name\n[unclosed\n"
              "\xff\xfejunk\n");
  QStringList errors;
  Settings_Key settings([&](const QString& message) { errors << message; });
  EXPECT_EQ(settings.Read_Integer("SoundMode", -1), 2);
  settings.Write_Integer("Key2", 39);
  settings.Write_Bool("SplashScreen", false);
  EXPECT_EQ(errors, QStringList{});
  EXPECT_EQ(Stored("SoundMode"), "2");
  EXPECT_EQ(Stored("Key1"), "7");
  EXPECT_EQ(Stored("Key2"), "39");
  EXPECT_EQ(Stored("SplashScreen"), "0");
}

} // namespace
