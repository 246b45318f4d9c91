#include <gtest/gtest.h>

#include "app/RegistrySettings.h"
#include "document/ProfileStore.h"

namespace tavrin {
namespace {

const char kTokyo[] = "\x93\x8c\x8b\x9e";  // Shift-JIS

TEST(RegistrySettings, FirstRunWritesEveryValueWithItsDefault) {
  MemoryProfileStore store;
  RegistrySettings settings;
  ReadRegistrySettings(store, settings);
  WriteRegistrySettings(store, settings);

  EXPECT_EQ(store.values().size(), 24u);
  EXPECT_EQ(store.ReadInt("RADIOFREQ"), 825);
  EXPECT_EQ(store.ReadString("RADIONAME"), "東京");
  EXPECT_EQ(store.ReadInt("PORTNO"), 0);
  EXPECT_EQ(store.ReadInt("BAUDRATE"), 1);
  for (const char* key : {"MAIN_X", "YEAR_X", "PROG_X", "PNAM_X", "WPRO_X", "WEEK_X", "PLST_X",
                          "SERIAL_X", "USB_X"}) {
    EXPECT_EQ(store.ReadInt(key), 150) << key;
  }
  for (const char* key : {"MAIN_Y", "YEAR_Y", "PROG_Y", "PNAM_Y", "WPRO_Y", "WEEK_Y", "PLST_Y"}) {
    EXPECT_EQ(store.ReadInt(key), 100) << key;
  }
  EXPECT_EQ(store.ReadInt("SERIAL_Y"), 150);
  EXPECT_EQ(store.ReadInt("USB_Y"), 150);
  EXPECT_EQ(store.ReadInt("FREF_X"), 200);
  EXPECT_EQ(store.ReadInt("FREF_Y"), 200);
  EXPECT_EQ(settings.serial.settingsText, "19200,N,8,1");
  EXPECT_EQ(settings.station.name, kTokyo);
}

TEST(RegistrySettings, StoredValuesRoundTrip) {
  MemoryProfileStore store;
  store.WriteInt("RADIOFREQ", 881);
  store.WriteString("RADIONAME", "大阪");
  store.WriteInt("PORTNO", 15);
  store.WriteInt("BAUDRATE", 2);
  store.WriteInt("WEEK_X", -300);  // a window on a monitor left of the main one
  store.WriteInt("USB_Y", 620);
  RegistrySettings settings;
  ReadRegistrySettings(store, settings);
  EXPECT_EQ(settings.station.frequency, 881);
  EXPECT_EQ(settings.station.name, "\x91\xe5\x8d\xe3");
  EXPECT_EQ(settings.serial.portNumber, 16);
  EXPECT_EQ(settings.serial.settingsText, "38400,N,8,1");
  EXPECT_EQ(settings.window(WindowSlot::Week).x, -300);
  EXPECT_EQ(settings.window(WindowSlot::Usb).y, 620);

  MemoryProfileStore copy;
  WriteRegistrySettings(copy, settings);
  for (const auto& [key, value] : store.values()) EXPECT_EQ(copy.values().at(key), value) << key;
}

TEST(RegistrySettings, SpeedIndexBeyondTheTableGives9600AndIsWrittenBackAsZero) {
  MemoryProfileStore store;
  store.WriteInt("BAUDRATE", 5);
  RegistrySettings settings;
  ReadRegistrySettings(store, settings);
  EXPECT_EQ(settings.serial.speed, 9600);
  EXPECT_EQ(settings.serial.settingsText, "9600,N,8,1");
  WriteRegistrySettings(store, settings);
  EXPECT_EQ(store.ReadInt("BAUDRATE"), 0);

  store.WriteInt("BAUDRATE", -1);
  ReadRegistrySettings(store, settings);
  EXPECT_EQ(settings.serial.speed, 9600);
}

TEST(RegistrySettings, DamagedValuesTakeTheirDefaults) {
  MemoryProfileStore store;
  store.Put("RADIOFREQ", std::string("eighty"));
  store.Put("PORTNO", 99);
  store.Put("MAIN_X", -5);
  store.Put("MAIN_Y", std::string("top"));
  store.Put("PROG_X", 1 << 20);
  store.Put("RADIONAME", 42);
  store.Put("FREF_Y", std::string("x"));
  RegistrySettings settings;
  settings.station.frequency = 1;  // whatever was there before is replaced
  ReadRegistrySettings(store, settings);
  EXPECT_EQ(settings.station.frequency, 825);
  EXPECT_EQ(settings.station.name, kTokyo);
  EXPECT_EQ(settings.serial.portIndex, 0);
  EXPECT_EQ(settings.serial.portNumber, 1);
  EXPECT_EQ(settings.window(WindowSlot::Main), (WindowPos{150, 100}));
  EXPECT_EQ(settings.window(WindowSlot::Prog).x, 150);
  EXPECT_EQ(settings.window(WindowSlot::Fref).y, 200);
}

TEST(RegistrySettings, ResetKeepsOnlyTheTransferDialogPosition) {
  MemoryProfileStore store;
  RegistrySettings settings;
  settings.station = {901, "\x82\x50\x82\x83\x82\x88"};
  settings.serial.portIndex = 3;
  settings.serial.speedIndex = 2;
  ApplySerialIndexes(settings.serial);
  for (WindowPos& pos : settings.windows) pos = {7, 9};
  ResetRegistrySettings(store, settings);

  EXPECT_EQ(store.ReadInt("RADIOFREQ"), 825);
  EXPECT_EQ(store.ReadString("RADIONAME"), "東京");
  EXPECT_EQ(store.ReadInt("PORTNO"), 0);
  EXPECT_EQ(store.ReadInt("BAUDRATE"), 1);
  EXPECT_EQ(settings.serial.settingsText, "19200,N,8,1");
  EXPECT_EQ(store.ReadInt("MAIN_X"), 150);
  EXPECT_EQ(store.ReadInt("PLST_Y"), 100);
  EXPECT_EQ(store.ReadInt("FREF_X"), 200);
  EXPECT_EQ(store.ReadInt("FREF_Y"), 200);
  EXPECT_EQ(store.ReadInt("SERIAL_X"), 150);
  EXPECT_EQ(store.ReadInt("SERIAL_Y"), 150);
  EXPECT_EQ(store.ReadInt("USB_X"), 7);
  EXPECT_EQ(store.ReadInt("USB_Y"), 9);
}

TEST(SerialParameters, IndexesSelectFromTheTables) {
  SerialParameters serial;
  serial.portIndex = 2;
  serial.speedIndex = 0;
  serial.parityIndex = 1;
  serial.dataBitsIndex = 0;
  serial.stopBitsIndex = 1;
  ApplySerialIndexes(serial);
  EXPECT_EQ(serial.portNumber, 3);
  EXPECT_EQ(serial.settingsText, "9600,E,7,1.5");
  InitSerialParameters(serial);
  EXPECT_EQ(serial.portNumber, 1);
  EXPECT_EQ(serial.settingsText, "19200,N,8,1");
}

}  // namespace
}  // namespace tavrin
