// tavrin-cli usb-write and usb-read with temporary folders as sticks: which drive, the messages,
// the exit codes, the backups, and an output file written only after a good read.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "TempFolder.h"
#include "cli/UsbCommands.h"
#include "transfer/UsbStick.h"

namespace tavrin::testing {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int code;
  std::string out;
  std::string err;
};

Outcome Call(int (*command)(const std::vector<std::string>&, CliIo&), std::vector<std::string> args,
             const std::string& drives) {
  setenv("TAVRIN_USB_DRIVES", drives.c_str(), 1);
  std::ostringstream out, err;
  CliIo io{out, err};
  const int code = command(args, io);
  unsetenv("TAVRIN_USB_DRIVES");
  return {code, out.str(), err.str()};
}

std::string Image() {
  std::string image(6594, '\0');
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 11);
  image.replace(16, 4, "VL3X");
  return image;
}

class UsbCommandTest : public ::testing::Test {
 protected:
  UsbCommandTest() { WriteBytes(files / "plan.BIN", Image()); }
  std::vector<std::string> With(std::vector<std::string> args) {
    args.insert(args.end(), {"--data-dir", data.path(), "--now", "2026-04-01T09:00:00"});
    return args;
  }
  TempFolder files, stick, other, data;
};

TEST_F(UsbCommandTest, TheOneRemovableVolumeIsTakenUnlessADriveIsNamed) {
  const std::string noDisk = "tavrin-cli: リムーバブルディスクが存在しません。\n";
  const std::string several =
      "tavrin-cli: several removable volumes, choose one with --drive:\n  " + stick.path() +
      "\n  " + other.path() + "\n";
  const struct {
    const char* name;
    std::string drives;
    std::vector<std::string> extra;
    int code;
    std::string err;
    bool written;
  } cases[] = {
      {"none", "", {}, 2, noDisk, false},
      {"several", stick.path() + ":" + other.path(), {}, 2, several, false},
      {"several, one named",
       stick.path() + ":" + other.path(),
       {"--drive", stick.path()},
       0,
       "",
       true},
      {"the only one", stick.path(), {}, 0, "", true},
      {"none, one named", "", {"--drive", stick.path()}, 0, "", true},
  };
  for (const auto& c : cases) {
    fs::remove(stick / kStickFileName);
    std::vector<std::string> args = {files / "plan.BIN"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const Outcome outcome = Call(RunUsbWrite, With(args), c.drives);
    EXPECT_EQ(outcome.code, c.code) << c.name;
    EXPECT_EQ(outcome.err, c.err) << c.name;
    EXPECT_EQ(fs::exists(stick / kStickFileName), c.written) << c.name;
    if (c.written) {
      EXPECT_EQ(outcome.out, "plan.BIN の書き込みが正常に終了しました。\n") << c.name;
    }
  }
  EXPECT_EQ(ReadBytes(stick / kStickFileName), Image());
  EXPECT_EQ(ReadBytes(data / "backups/20260401-090000-usb-write.BIN"), Image());
}

TEST_F(UsbCommandTest, ReadWritesTheOutputOnlyAfterAWholeImageWasRead) {
  const std::string out = files / "out.BIN";
  WriteBytes(stick / kStickFileName, Image().substr(0, 6593));
  const Outcome shortFile = Call(RunUsbRead, With({out}), stick.path());
  EXPECT_EQ(shortFile.code, 1);
  EXPECT_EQ(shortFile.err, "tavrin-cli: " + stick / kStickFileName +
                               " の読み込みに失敗しました。\n\n" + stick / kStickFileName +
                               " の大きさが 6594 バイトではありません（6593 バイト）。\n"
                               "tavrin-cli: USBメモリからのファイルの読み込みに失敗しました。\n");
  EXPECT_FALSE(fs::exists(out));

  const Outcome missing = Call(RunUsbRead, With({out, "--drive", files / "gone"}), "");
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err, "tavrin-cli: USBメモリからのファイルの読み込みに失敗しました。\n\n\"" +
                             files / "gone" + "\" デバイスの準備が出来ていません。\n");

  WriteBytes(stick / kStickFileName, Image());
  const Outcome read = Call(RunUsbRead, With({out}), stick.path());
  EXPECT_EQ(read.code, 0);
  EXPECT_EQ(read.out, "USBメモリからのファイルの読み込みが正常に終了しました。\n");
  EXPECT_EQ(ReadBytes(out), Image());
  EXPECT_EQ(ReadBytes(data / "backups/20260401-090000-usb-read.BIN"), Image());

  // A file that is no settings file is nothing entered; the stick keeps its file.
  WriteBytes(files / "plain.BIN", "plain text");
  const Outcome plain = Call(RunUsbWrite, With({files / "plain.BIN"}), stick.path());
  EXPECT_EQ(plain.code, 1);
  EXPECT_EQ(plain.err, "tavrin-cli: " + files / "plain.BIN" +
                           " は対象外のファイルです。 (10 bytes, too short for a settings file)\n"
                           "tavrin-cli: プログラム設定データが入力されていません。\n");
  EXPECT_EQ(ReadBytes(stick / kStickFileName), Image());
  EXPECT_EQ(Call(RunUsbRead, {"--help"}, "").code, 0);
  EXPECT_EQ(Call(RunUsbWrite, {}, "").code, 2);
}

}  // namespace
}  // namespace tavrin::testing
