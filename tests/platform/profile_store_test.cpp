#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/RegistrySettings.h"
#include "platform/QtProfileStore.h"

namespace tavrin {
namespace {

QString ConfigFile() {
  return qEnvironmentVariable("XDG_CONFIG_HOME") + "/VXA Applications/Tavrin.conf";
}

class ProfileStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { QFile::remove(ConfigFile()); }
};

TEST_F(ProfileStoreTest, FirstRunWritesTheTableAndTheNextRunReadsIt) {
  {
    QtProfileStore store;
    EXPECT_FALSE(store.ReadInt("RADIOFREQ"));
    RegistrySettings settings;
    ReadRegistrySettings(store, settings);
    settings.window(WindowSlot::Usb) = {412, 233};
    WriteRegistrySettings(store, settings);
    store.WriteString("OBJDIR", "/home/user/予定表");
    ASSERT_TRUE(store.Sync());
  }
  QFile file(ConfigFile());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(file.readAll());
  EXPECT_TRUE(text.contains("[TAVRIN]"));
  EXPECT_TRUE(text.contains("SERIAL_Y=150"));

  QtProfileStore again;
  RegistrySettings settings;
  ReadRegistrySettings(again, settings);
  EXPECT_EQ(settings.window(WindowSlot::Usb), (WindowPos{412, 233}));
  EXPECT_EQ(settings.station.name, "\x93\x8c\x8b\x9e");
  EXPECT_EQ(again.ReadString("RADIONAME"), "東京");
  EXPECT_EQ(again.ReadString("OBJDIR"), "/home/user/予定表");
  EXPECT_EQ(again.ReadInt("FREF_X"), 200);
}

TEST_F(ProfileStoreTest, HandEditedNonsenseGivesTheDefaults) {
  QDir().mkpath(QFileInfo(ConfigFile()).path());
  QFile file(ConfigFile());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(
      "[TAVRIN]\nRADIOFREQ=loud\nBAUDRATE=5\nMAIN_X=-5\nPORTNO=3, 4\nPROG_Y=12abc\n"
      "RADIONAME=a, b\nWEEK_X=\" 77 \"\n");
  file.close();

  QtProfileStore store;
  RegistrySettings settings;
  ReadRegistrySettings(store, settings);
  EXPECT_EQ(settings.station.frequency, 825);
  EXPECT_EQ(settings.station.name, "\x93\x8c\x8b\x9e");
  EXPECT_EQ(settings.serial.speed, 9600);
  EXPECT_EQ(settings.serial.portNumber, 1);
  EXPECT_EQ(settings.window(WindowSlot::Main).x, 150);
  EXPECT_EQ(settings.window(WindowSlot::Prog).y, 100);
  EXPECT_EQ(settings.window(WindowSlot::Week).x, 77);
  WriteRegistrySettings(store, settings);
  EXPECT_EQ(store.ReadInt("BAUDRATE"), 0);
}

}  // namespace
}  // namespace tavrin

int main(int argc, char** argv) {
  // A private configuration folder, whatever the environment says.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
