// The stick's file: when drive and file are ready, replacing it without ever leaving half of one,
// reading only a whole image, the backups, and the messages of both USB transfers. Temporary
// folders stand in for sticks.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "FullDisk.h"
#include "TempFolder.h"
#include "document/FileProbe.h"
#include "document/SafeWrite.h"
#include "document/SettingsFiles.h"
#include "model/FileHead.h"
#include "transfer/UsbTransfer.h"

namespace tavrin::testing {
namespace {

namespace fs = std::filesystem;

SettingsImage Pattern(uint8_t seed) {
  SettingsImage image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7 + seed);
  std::copy_n("VL3X", 4, image.begin() + layout::kModelTag);
  return image;
}

std::string Text(const SettingsImage& image) { return std::string(image.begin(), image.end()); }

class FakeProbe : public VolumeProbe {
 public:
  dev_t device = 0;
  bool readOnly = false;
  dev_t DeviceOf(const std::string&) const override { return device; }
  bool MountedReadOnly(const std::string&) const override { return readOnly; }
};

// The files of a folder, by name.
std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(UsbStick, DriveIsReadyWhileTheListedDeviceIsStillMountedThere) {
  const Volume volume{"/media/stick", 42};
  const struct {
    const char* name;
    dev_t deviceNow;
    bool readOnly;
    StickAccess access;
    bool ready;
  } cases[] = {
      {"same device", 42, false, StickAccess::Write, true},
      {"unmounted: the empty folder of another disk", 7, false, StickAccess::Write, false},
      {"unmounted and the folder gone", 0, false, StickAccess::Read, false},
      {"mounted read-only, for writing", 42, true, StickAccess::Write, false},
      {"mounted read-only, for reading", 42, true, StickAccess::Read, true},
  };
  for (const auto& c : cases) {
    FakeProbe probe;
    probe.device = c.deviceNow;
    probe.readOnly = c.readOnly;
    EXPECT_EQ(DriveReady(volume, c.access, probe), c.ready) << c.name;
  }
  TempFolder folder;
  EXPECT_TRUE(DriveReady(VolumeAt(folder.path()), StickAccess::Write));
  EXPECT_FALSE(DriveReady(VolumeAt(folder / "missing"), StickAccess::Read));
}

TEST(UsbStick, FileIsReadyWhenItIsAWritableRegularFileOfItsOwn) {
  TempFolder folder;
  WriteBytes(folder / "plain", "x");
  WriteBytes(folder / "locked", "x");
  chmod((folder / "locked").c_str(), 0444);
  WriteBytes(folder / "owner-only", "x");
  chmod((folder / "owner-only").c_str(), 0200);
  fs::create_symlink(folder / "plain", folder / "link");
  fs::create_symlink(folder / "none", folder / "dangling");
  fs::create_directory(folder / "dir");
  ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
  const struct {
    const char* name;
    int forReading;
    int forWriting;  // no file at all is ready to be written
  } cases[] = {
      {"plain", 0, 0},
      {"owner-only", 0, 0},
      {"locked", kReadOnlyFile, kReadOnlyFile},
      {"link", kSymbolicLink, kSymbolicLink},
      {"dangling", kSymbolicLink, kSymbolicLink},
      {"dir", kIsFolder, kIsFolder},
      {"pipe", kNotRegularFile, kNotRegularFile},
      {"none", ENOENT, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StickFileFault(folder / c.name, StickAccess::Read), c.forReading) << c.name;
    EXPECT_EQ(StickFileFault(folder / c.name, StickAccess::Write), c.forWriting) << c.name;
  }
}

TEST(UsbStick, WriteReplacesTheFileAtOnceAndNeverFollowsALink) {
  TempFolder stick, elsewhere;
  const Volume volume = VolumeAt(stick.path());
  WriteBytes(elsewhere / "target", "not to be touched");
  fs::create_symlink(elsewhere / "target", stick / kStickFileName);
  ASSERT_TRUE(WriteStickFile(volume, Pattern(1)).ok());
  EXPECT_EQ(ReadBytes(stick / kStickFileName), Text(Pattern(1)));
  EXPECT_FALSE(fs::is_symlink(stick / kStickFileName));
  EXPECT_EQ(ReadBytes(elsewhere / "target"), "not to be touched");
  EXPECT_EQ(Names(stick.path()), std::vector<std::string>{kStickFileName});

  // A folder in the file's place cannot be replaced; nothing is left behind.
  TempFolder blocked;
  fs::create_directories(blocked / kStickFileName + "/inside");
  const Result<> refused = WriteStickFile(VolumeAt(blocked.path()), Pattern(2));
  EXPECT_EQ(refused.message(), blocked / kStickFileName + " への書き込みに失敗しました。");
  EXPECT_EQ(Names(blocked.path()), std::vector<std::string>{kStickFileName});
}

TEST(UsbStick, AFullStickKeepsTheFileItHadAndNoHalfWrittenOne) {
  TempFolder stick;
  const Volume volume = VolumeAt(stick.path());
  WriteBytes(stick / kStickFileName, Text(Pattern(3)));
  Result<> written = Result<>();
  {
    const FullDisk full(1000);
    written = WriteStickFile(volume, Pattern(4));
  }
  EXPECT_EQ(written.message(), stick / kStickFileName + " への書き込みに失敗しました。");
  EXPECT_EQ(ReadBytes(stick / kStickFileName), Text(Pattern(3)));
  EXPECT_EQ(Names(stick.path()), std::vector<std::string>{kStickFileName});
}

TEST(UsbStick, WriteRefusesAFolderNoLongerOnTheListedDevice) {
  TempFolder stick;
  Volume volume = VolumeAt(stick.path());
  volume.device += 1;  // what was listed is no longer mounted there
  EXPECT_EQ(WriteStickFile(volume, Pattern(5)).message(),
            stick / kStickFileName + " のオープンに失敗しました。");
  EXPECT_TRUE(Names(stick.path()).empty());
}

// Temporaries that killed writers left are swept by the next write; one that a running writer
// holds, and names that are not the program's, stay.
TEST(UsbStick, WriteSweepsTheTemporariesNobodyHolds) {
  TempFolder stick;
  const std::string left[] = {"VL0A1B2C.TMP", "VLFFFFFF.TMP"};
  const std::string kept[] = {"VL0A1B2D.TMP", "VL0a1b2c.TMP", "VL12345.TMP", "VLXXXXXX.TMP"};
  for (const std::string& name : left) WriteBytes(stick / name, "a killed write");
  for (const std::string& name : kept) WriteBytes(stick / name, "not to be touched");
  const int held = open((stick / kept[0]).c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_TRUE(HoldTemporary(held));
  ASSERT_TRUE(WriteStickFile(VolumeAt(stick.path()), Pattern(7)).ok());
  close(held);
  std::vector<std::string> expected(std::begin(kept), std::end(kept));
  expected.push_back(kStickFileName);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(stick.path()), expected);
}

TEST(UsbStick, ReadTakesOnlyTheWholeImage) {
  const std::string image = Text(Pattern(6));
  std::string otherTag = image;
  otherTag.replace(layout::kModelTag, 4, "XXXX");
  const struct {
    const char* name;
    std::string bytes;
    const char* failure;  // after the path; nullptr for success
    const char* cause;    // after the path again, on a line of its own
  } cases[] = {
      {"whole", image, nullptr, nullptr},
      {"one byte short", image.substr(0, image.size() - 1), " の読み込みに失敗しました。",
       " の大きさが 6594 バイトではありません（6593 バイト）。"},
      {"header only", image.substr(0, 36), " の読み込みに失敗しました。",
       " の大きさが 6594 バイトではありません（36 バイト）。"},
      {"one byte more", image + "x", " の読み込みに失敗しました。",
       " の大きさが 6594 バイトではありません（6595 バイト）。"},
      {"not ours", otherTag, " は対象外のファイルです。", nullptr},
  };
  for (const auto& c : cases) {
    TempFolder stick;
    WriteBytes(stick / kStickFileName, c.bytes);
    const Result<SettingsImage> read = ReadStickFile(VolumeAt(stick.path()));
    if (c.failure == nullptr) {
      ASSERT_TRUE(read.ok()) << c.name << read.message();
      EXPECT_EQ(Text(*read), image);
    } else {
      const std::string path = stick / kStickFileName;
      EXPECT_EQ(read.message(),
                path + c.failure + (c.cause ? "\n\n" + path + c.cause : std::string()))
          << c.name;
    }
  }
  TempFolder stick, elsewhere;
  WriteBytes(elsewhere / "image", image);
  fs::create_symlink(elsewhere / "image", stick / kStickFileName);
  EXPECT_EQ(ReadStickFile(VolumeAt(stick.path())).message(),
            stick / kStickFileName + " のオープンに失敗しました。");
}

TEST(TransferArchive, NamesBackupsByTheClockAndKeepsTheNewestFifty) {
  TempFolder data;
  FixedClock clock(LocalTime{2026, 4, 1, 9, 5, 7});
  TransferArchive archive(data.path(), clock);
  const uint8_t bytes[] = {1, 2, 3};
  const std::string folder = data / "backups";
  EXPECT_EQ(*archive.Keep(Medium::Usb, Carried::Replaced, bytes),
            folder + "/20260401-090507-usb-replaced.BIN");
  EXPECT_EQ(*archive.Keep(Medium::Usb, Carried::Replaced, bytes),
            folder + "/20260401-090507-usb-replaced-2.BIN");
  EXPECT_EQ(*archive.Keep(Medium::Cable, Carried::Read, bytes),
            folder + "/20260401-090507-cable-read.BIN");
  EXPECT_EQ(ReadBytes(folder + "/20260401-090507-cable-read.BIN"), "\x01\x02\x03");
  EXPECT_EQ(archive.TracePath(), folder + "/last-transfer.trace");

  WriteBytes(folder + "/notes.txt", "mine");
  WriteBytes(folder + "/19990101-000000-usb-read.BIN", "an old one");
  for (int minute = 10; minute < 70; ++minute) {
    clock.Set(LocalTime{2026, 4, 1, 10 + minute / 60, minute % 60, 0});
    ASSERT_TRUE(archive.Keep(Medium::Cable, Carried::Write, bytes).ok());
  }
  const std::vector<std::string> names = Names(folder);
  ASSERT_EQ(names.size(), kBackupsKept + 1);  // the user's own file stays
  EXPECT_EQ(names.front(), "20260401-102000-cable-write.BIN");
  EXPECT_EQ(names[names.size() - 2], "20260401-110900-cable-write.BIN");
  EXPECT_EQ(names.back(), "notes.txt");

  WriteBytes(data / "plain", "a file where the data folder should be");
  TransferArchive blocked(data / "plain", clock);
  EXPECT_EQ(blocked.Keep(Medium::Usb, Carried::Write, bytes).message(),
            data / "plain" + "/backups のオープンに失敗しました。");
  EXPECT_FALSE(TransferArchive("", clock).Keep(Medium::Usb, Carried::Write, bytes).ok());
}

// Each write past fifty removes exactly the oldest backup, whether the count past fifty is odd or
// even.
TEST(TransferArchive, KeepsExactlyFiftyAfterEachWritePastFifty) {
  TempFolder data;
  FixedClock clock(LocalTime{2026, 4, 1, 9, 0, 0});
  TransferArchive archive(data.path(), clock);
  const uint8_t bytes[] = {1};
  const std::string folder = data / "backups";
  for (int written = 1; written <= 55; ++written) {
    clock.Set(LocalTime{2026, 4, 1, 9 + written / 60, written % 60, 0});
    ASSERT_TRUE(archive.Keep(Medium::Usb, Carried::Read, bytes).ok());
    const std::vector<std::string> names = Names(folder);
    ASSERT_EQ(names.size(), std::min<std::size_t>(written, kBackupsKept)) << written;
    char oldest[32];
    std::snprintf(oldest, sizeof oldest, "20260401-09%02d00-usb-read.BIN",
                  std::max(1, written - static_cast<int>(kBackupsKept) + 1));
    EXPECT_EQ(names.front(), oldest) << written;
  }
}

TEST(UsbTransfer, WriteSaysWhatHappenedAndKeepsBothSides) {
  TempFolder stick, data;
  FixedClock clock(LocalTime{2026, 4, 1, 9, 0, 0});
  TransferArchive archive(data.path(), clock);
  const Volume volume = VolumeAt(stick.path());

  FakeProbe unmounted;
  unmounted.device = volume.device + 1;
  const UsbReport notReady = WriteToStick(volume, Pattern(1), "plan.BIN", archive, unmounted);
  EXPECT_FALSE(notReady.ok);
  EXPECT_EQ(notReady.messages,
            std::vector<std::string>{"plan.BIN の書き込みに失敗しました。\n\n\"" + stick.path() +
                                     "\" デバイスの準備が出来ていません。"});
  EXPECT_TRUE(Names(stick.path()).empty());

  WriteBytes(stick / kStickFileName, Text(Pattern(9)));
  const UsbReport written = WriteToStick(volume, Pattern(1), "plan.BIN", archive);
  EXPECT_TRUE(written.ok);
  EXPECT_EQ(written.messages,
            std::vector<std::string>{"plan.BIN の書き込みが正常に終了しました。"});
  EXPECT_TRUE(written.backupProblems.empty());
  EXPECT_EQ(ReadBytes(data / "backups/20260401-090000-usb-replaced.BIN"), Text(Pattern(9)));
  EXPECT_EQ(ReadBytes(data / "backups/20260401-090000-usb-write.BIN"), Text(Pattern(1)));

  // A backup that cannot be kept is said, and the write still happens.
  TransferArchive nowhere("", clock);
  const UsbReport unkept = WriteToStick(volume, Pattern(2), "plan.BIN", nowhere);
  EXPECT_TRUE(unkept.ok);
  EXPECT_EQ(unkept.backupProblems.size(), 2u);
  EXPECT_EQ(ReadBytes(stick / kStickFileName), Text(Pattern(2)));
}

// Only a file of a settings file's size is read for its backup: a stick file of any other size,
// however large, is replaced without one, and the report says so.
TEST(UsbTransfer, AStickFileOfAnotherSizeIsReplacedWithoutABackup) {
  const std::uintmax_t sizes[] = {19, layout::kImageSize + 1, 5ull << 30};
  for (const std::uintmax_t size : sizes) {
    SCOPED_TRACE(size);
    TempFolder stick, data;
    FixedClock clock(LocalTime{2026, 4, 1, 9, 0, 0});
    TransferArchive archive(data.path(), clock);
    WriteBytes(stick / kStickFileName, "what the timer left");
    fs::resize_file(stick / kStickFileName, size);  // sparse: nothing to read but zeros
    const UsbReport report = WriteToStick(VolumeAt(stick.path()), Pattern(3), "plan.BIN", archive);
    EXPECT_TRUE(report.ok);
    EXPECT_EQ(report.backupProblems,
              std::vector<std::string>{stick / kStickFileName +
                                       " の大きさが 6594 バイトではないため、バックアップせずに"
                                       "置き換えました。"});
    EXPECT_EQ(Names(data / "backups"), std::vector<std::string>{"20260401-090000-usb-write.BIN"});
    EXPECT_EQ(ReadBytes(stick / kStickFileName), Text(Pattern(3)));
  }
}

// A file marked read-only stays as it is, whoever runs the program; a link is neither followed
// (its file may lie off the stick, where the timer never looks) nor replaced by a file. The write
// is refused naming the file and what it is, and nothing changes on the stick, at the link's file
// or among the backups.
TEST(UsbTransfer, AStickFileThatIsNoWritableFileOfItsOwnIsRefused) {
  const struct {
    const char* name;
    const char* cause;
  } cases[] = {{"read-only", " は読み取り専用です。"},
               {"link", " はシンボリックリンクです。"},
               {"dangling link", " はシンボリックリンクです。"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder stick, data, elsewhere;
    FixedClock clock(LocalTime{2026, 4, 1, 9, 0, 0});
    TransferArchive archive(data.path(), clock);
    const std::string file = stick / kStickFileName;
    const std::string linked = elsewhere / "plan.BIN";
    if (std::string(c.name) == "read-only") {
      WriteBytes(file, Text(Pattern(4)));
      chmod(file.c_str(), 0444);
    } else {
      if (std::string(c.name) == "link") WriteBytes(linked, Text(Pattern(4)));
      fs::create_symlink(linked, file);
    }
    const UsbReport report = WriteToStick(VolumeAt(stick.path()), Pattern(5), "plan.BIN", archive);
    EXPECT_FALSE(report.ok);
    EXPECT_EQ(report.messages,
              std::vector<std::string>{"plan.BIN の書き込みに失敗しました。\n\n\"" + file +
                                       "\" ファイルの準備が出来ていません。\n\n" + file + c.cause});
    EXPECT_EQ(Names(stick.path()), std::vector<std::string>{kStickFileName});
    EXPECT_FALSE(fs::exists(data / "backups"));
    if (std::string(c.name) == "read-only") {
      EXPECT_EQ(ReadBytes(file), Text(Pattern(4)));
      struct stat info {};
      ASSERT_EQ(stat(file.c_str(), &info), 0);
      EXPECT_EQ(info.st_mode & 0777, 0444u);
    } else {
      EXPECT_TRUE(fs::is_symlink(file));
      EXPECT_EQ(fs::exists(linked), std::string(c.name) == "link");
      if (fs::exists(linked)) {
        EXPECT_EQ(ReadBytes(linked), Text(Pattern(4)));
      }
    }
  }
}

TEST(UsbTransfer, ReadChecksDriveAndFileAndGivesTheImageOnlyWhenWhole) {
  const std::string failed = "USBメモリからのファイルの読み込みに失敗しました。";
  TempFolder data;
  FixedClock clock(LocalTime{2026, 4, 1, 9, 0, 0});
  TransferArchive archive(data.path(), clock);
  const struct {
    const char* name;
    std::string content;  // empty: no file
    mode_t mode;
    bool ok;
    std::vector<std::string> messages;  // "%s" stands for the stick's file
  } cases[] = {
      {"no file",
       "",
       0644,
       false,
       {failed + "\n\n\"%s\" ファイルの準備が出来ていません。\n\n%s は存在しません。"}},
      {"read-only file",
       Text(Pattern(1)),
       0444,
       false,
       {failed + "\n\n\"%s\" ファイルの準備が出来ていません。\n\n%s は読み取り専用です。"}},
      {"short file",
       "short",
       0644,
       false,
       {"%s の読み込みに失敗しました。\n\n%s の大きさが 6594 バイトではありません（5 バイト）。",
        failed}},
      {"whole image",
       Text(Pattern(1)),
       0644,
       true,
       {"USBメモリからのファイルの読み込みが正常に終了しました。"}},
  };
  for (const auto& c : cases) {
    TempFolder stick;
    if (!c.content.empty()) {
      WriteBytes(stick / kStickFileName, c.content);
      chmod((stick / kStickFileName).c_str(), c.mode);
    }
    const UsbReadReport report = ReadFromStick(VolumeAt(stick.path()), archive);
    std::vector<std::string> expected;
    for (const std::string& message : c.messages) {
      expected.push_back(
          FormatMessage(FormatMessage(message, stick / kStickFileName), stick / kStickFileName));
    }
    EXPECT_EQ(report.messages, expected) << c.name;
    EXPECT_EQ(report.ok, c.ok) << c.name;
    if (c.ok) {
      EXPECT_EQ(Text(report.image), c.content);
    }
  }
  EXPECT_EQ(ReadBytes(data / "backups/20260401-090000-usb-read.BIN"), Text(Pattern(1)));

  FakeProbe unmounted;
  TempFolder stick;
  const UsbReadReport gone = ReadFromStick(VolumeAt(stick.path()), archive, unmounted);
  EXPECT_EQ(gone.messages, std::vector<std::string>{failed + "\n\n\"" + stick.path() +
                                                    "\" デバイスの準備が出来ていません。"});
}

}  // namespace
}  // namespace tavrin::testing
