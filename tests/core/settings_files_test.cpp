#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "TempFolder.h"
#include "document/SettingsFiles.h"

namespace tavrin {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

SettingsImage Initial() {
  SettingsImage image;
  InitImage(image);
  return image;
}

SettingsImage Patterned() {
  SettingsImage image = Initial();
  for (std::size_t i = 40; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7);
  return image;
}

std::string AsBytes(const SettingsImage& image) {
  return std::string(reinterpret_cast<const char*>(image.data()), image.size());
}

ProgramNameTable SampleNames() {
  ProgramNameTable names{};
  std::memcpy(names.names[1].data(), "\x93\x8c\x8b\x9e", 4);
  std::memcpy(names.names[99].data(), "0123456789ABCDEF", 16);
  return names;
}

TEST(SettingsFile, WrittenImageReadsBackWhole) {
  TempFolder folder;
  const std::string path = folder / "plan.BIN";
  ASSERT_TRUE(WriteSettingsFile(path, Patterned()).ok());
  EXPECT_EQ(ReadBytes(path), AsBytes(Patterned()));
  SettingsImage read{};
  Result<> status = ReadSettingsFile(path, read);
  EXPECT_TRUE(status.ok()) << status.message();
  EXPECT_EQ(read, Patterned());
}

TEST(SettingsFile, TagIsComparedWithoutCaseAndShortFilesAreZeroFilled) {
  TempFolder folder;
  std::string bytes =
      "any id text here"
      "vl3x";
  WriteBytes(folder / "short.BIN", bytes);  // exactly 20 bytes
  SettingsImage read = Patterned();
  ASSERT_TRUE(ReadSettingsFile(folder / "short.BIN", read).ok());
  EXPECT_EQ(std::memcmp(read.data(), bytes.data(), 20), 0);
  for (std::size_t i = 20; i < read.size(); ++i) ASSERT_EQ(read[i], 0) << i;

  // Bytes past the image are ignored.
  WriteBytes(folder / "long.BIN", AsBytes(Patterned()) + std::string(10000, '\xEE'));
  ASSERT_TRUE(ReadSettingsFile(folder / "long.BIN", read).ok());
  EXPECT_EQ(read, Patterned());
}

TEST(SettingsFile, ForeignFilesAreRefusedAndLeaveTheInitialImage) {
  TempFolder folder;
  const std::string cases[] = {
      std::string("KORVA VL3 V01.00VL3Y") + std::string(6574, '\x11'),  // other tag
      std::string("KORVA VL3 V01.00VL3"),                               // 19 bytes
      std::string(),                                                    // empty
      std::string("KORVA VL3 V01.00VL\0X", 20),                         // NUL inside
  };
  int n = 0;
  for (const std::string& bytes : cases) {
    const std::string path = folder / ("case" + std::to_string(n++) + ".BIN");
    WriteBytes(path, bytes);
    SettingsImage read = Patterned();
    Result<> status = ReadSettingsFile(path, read);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.message(), path + " は対象外のファイルです。");
    EXPECT_EQ(read, Initial());
  }
}

TEST(SettingsFile, UnopenableFilesGiveTheOpenMessage) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "dir.BIN");
  const std::string paths[] = {folder / "missing.BIN", folder / "dir.BIN", "/dev/zero", "",
                               folder / std::string(300, 'x')};
  for (const std::string& path : paths) {
    SettingsImage read = Patterned();
    Result<> status = ReadSettingsFile(path, read);
    EXPECT_FALSE(status.ok()) << path;
    EXPECT_EQ(status.message(), path + " のオープンに失敗しました。");
    EXPECT_EQ(read, Initial());
  }
}

TEST(SettingsFile, PathsOverTheLimitAreRefusedNotCut) {
  TempFolder folder;
  const std::string sub = folder / std::string(100, 'a');
  std::filesystem::create_directory(sub);
  // Exactly 260 characters, twenty of them double-byte: counted as characters, not bytes.
  std::string stem = sub + "/";
  for (int i = 0; i < 20; ++i) stem += "予";
  stem += std::string(kMaxPathChars - (sub.size() + 1 + 20 + 4), 'y');
  const std::string fits = stem + ".BIN";
  ASSERT_TRUE(WriteSettingsFile(fits, Patterned()).ok());
  SettingsImage read{};
  EXPECT_TRUE(ReadSettingsFile(fits, read).ok());
  EXPECT_TRUE(WriteNameFile(stem + ".TXT", SampleNames()));

  const std::string tooLong = stem + "z.BIN";
  Result<> status = WriteSettingsFile(tooLong, Patterned());
  EXPECT_EQ(status.message(), tooLong + " のオープンに失敗しました。");
  EXPECT_FALSE(std::filesystem::exists(tooLong));
  EXPECT_FALSE(WriteNameFile(stem + "z.TXT", SampleNames()));
  EXPECT_FALSE(std::filesystem::exists(stem + "z.TXT"));
  std::filesystem::copy_file(fits, tooLong);
  status = ReadSettingsFile(tooLong, read);
  EXPECT_EQ(status.message(), tooLong + " のオープンに失敗しました。");
}

TEST(SettingsFile, FailedWritesReportTheirStepAndKeepThePreviousFile) {
  TempFolder folder;
  const std::string path = folder / "plan.BIN";
  ASSERT_TRUE(WriteSettingsFile(path, Patterned()).ok());

  // A folder where the file should be, a missing folder, a file where a folder should be: each
  // message says which, but for the missing folder, which no cause names truly.
  std::filesystem::create_directory(folder / "taken.BIN");
  WriteBytes(folder / "file", "x");
  const struct {
    std::string path;
    const char* cause;
  } refused[] = {
      {folder / "taken.BIN", " はフォルダーです。"},
      {folder / "none/plan.BIN", nullptr},
      {folder / "file/plan.BIN", " のパスの途中にフォルダーでないものがあります。"},
  };
  for (const auto& bad : refused) {
    Result<> status = WriteSettingsFile(bad.path, Initial());
    EXPECT_EQ(status.message(), bad.path + " のオープンに失敗しました。" +
                                    (bad.cause ? "\n\n" + bad.path + bad.cause : std::string()));
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.BIN"));

  // The disk refuses the bytes half way: the old file must survive untouched.
  struct rlimit saved {};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Result<> status = WriteSettingsFile(path, Initial());
  const bool namesWritten = WriteNameFile(folder / "plan.TXT", SampleNames()).ok();
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.message(), path + " への書き込みに失敗しました。\n\n" + path +
                                  " はディスクかシステムが許すより大きくなります。");
  EXPECT_FALSE(namesWritten);
  EXPECT_EQ(ReadBytes(path), AsBytes(Patterned()));
  EXPECT_FALSE(std::filesystem::exists(folder / "plan.TXT"));
  // No temporary file is left behind.
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 3);  // plan.BIN, taken.BIN, file
}

TEST(SettingsFile, ReplacingKeepsPermissionsAndFollowsLinks) {
  TempFolder folder;
  const std::string real = folder / "real.BIN";
  ASSERT_TRUE(WriteSettingsFile(real, Initial()).ok());
  chmod(real.c_str(), 0640);
  std::filesystem::create_symlink(real, folder / "link.BIN");
  ASSERT_TRUE(WriteSettingsFile(folder / "link.BIN", Patterned()).ok());
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.BIN"));
  EXPECT_EQ(ReadBytes(real), AsBytes(Patterned()));
  struct stat info {};
  stat(real.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(NameFile, RoundTripsAndToleratesAnyLength) {
  TempFolder folder;
  const std::string path = folder / "plan.TXT";
  ASSERT_TRUE(WriteNameFile(path, SampleNames()));
  EXPECT_EQ(ReadBytes(path).size(), 1600u);
  ProgramNameTable read{};
  ASSERT_TRUE(ReadNameFile(path, read));
  EXPECT_EQ(read, SampleNames());

  // Short: the rest stays empty. Long: the rest is ignored.
  WriteBytes(path, std::string(20, 'A'));
  ASSERT_TRUE(ReadNameFile(path, read));
  EXPECT_EQ(std::string(read.names[1].data(), 4), "AAAA");
  EXPECT_EQ(read.names[2], ProgramNameTable{}.names[2]);
  WriteBytes(path, std::string(5000, 'B'));
  ASSERT_TRUE(ReadNameFile(path, read));
  EXPECT_EQ(read.names[99][15], 'B');

  // Missing or a folder: false and an empty table, no message anywhere.
  read = SampleNames();
  EXPECT_FALSE(ReadNameFile(folder / "missing.TXT", read));
  EXPECT_EQ(read, ProgramNameTable{});
  read = SampleNames();
  EXPECT_FALSE(ReadNameFile(folder.path(), read));
  EXPECT_EQ(read, ProgramNameTable{});
  EXPECT_FALSE(WriteNameFile(folder / "none/plan.TXT", SampleNames()));
}

TEST(SettingsFile, LoadFromFileNeverLeavesAHalfReadImage) {
  TempFolder folder;
  SettingsImage image = Patterned();
  Result<> status = LoadFromFile(folder / "missing.BIN", image);
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(image, Initial());
  ASSERT_TRUE(WriteSettingsFile(folder / "ok.BIN", Patterned()).ok());
  EXPECT_TRUE(LoadFromFile(folder / "ok.BIN", image).ok());
  EXPECT_EQ(image, Patterned());
}

TEST(Paths, ExtensionOfLooksForTheLastDotAfterTheFirstCharacter) {
  EXPECT_EQ(ExtensionOf("plan.BIN"), ".BIN");
  EXPECT_EQ(ExtensionOf("plan.tar.gz"), ".gz");
  EXPECT_EQ(ExtensionOf("plan"), "");
  EXPECT_EQ(ExtensionOf(".hidden"), "");
  EXPECT_EQ(ExtensionOf("plan."), ".");
  EXPECT_EQ(ExtensionOf(""), "");
}

DocumentPaths Saved(const std::string& folder, const std::string& title) {
  DocumentPaths paths;
  paths.settingsFolder = folder;
  paths.settingsPath = folder + "/" + title;
  paths.settingsTitle = title;
  EnsureBinExtension(paths);
  DeriveNamePaths(paths);
  return paths;
}

TEST(Paths, SaveNamesFollowTheExtensionRules) {
  DocumentPaths plain = Saved("/d", "plan");
  EXPECT_EQ(plain.settingsPath, "/d/plan.BIN");
  EXPECT_EQ(plain.settingsTitle, "plan.BIN");
  EXPECT_EQ(plain.namePath, "/d/plan.TXT");
  EXPECT_EQ(plain.nameTitle, "plan.TXT");
  EXPECT_EQ(plain.nameFolder, "/d");

  DocumentPaths dat = Saved("/d", "plan.dat");
  EXPECT_EQ(dat.settingsPath, "/d/plan.dat");
  EXPECT_EQ(dat.namePath, "/d/plan.TXT");
  EXPECT_EQ(dat.nameTitle, "plan.TXT");

  // A dot in the folder name is no extension.
  DocumentPaths dotted = Saved("/home/u/my.data", "plan");
  EXPECT_EQ(dotted.settingsPath, "/home/u/my.data/plan.BIN");
  EXPECT_EQ(dotted.namePath, "/home/u/my.data/plan.TXT");
  DocumentPaths relative = Saved("my.data", "plan");
  EXPECT_EQ(relative.namePath, "my.data/plan.TXT");

  DocumentPaths hidden = Saved("/d", ".plan");
  EXPECT_EQ(hidden.settingsPath, "/d/.plan.BIN");
  EXPECT_EQ(hidden.namePath, "/d/.plan.TXT");
  EXPECT_EQ(hidden.nameTitle, ".plan.TXT");
}

}  // namespace
}  // namespace tavrin
