// The menu's transfer commands over a real document and view: what stops them before a window
// opens, what the user is told, and what becomes of the document, with temporary folders as
// sticks. Also the cable write's copy of the saved file.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "CableFakes.h"
#include "TestFakes.h"
#include "app/TransferCommands.h"
#include "document/ProfileStore.h"
#include "document/TavrinDoc.h"
#include "transfer/CableMessages.h"

namespace tavrin::testing {
namespace {

namespace fs = std::filesystem;

class FakeChooser : public DriveChooser {
 public:
  std::optional<std::size_t> answer = 0;
  std::vector<std::string> drives;
  std::string message;
  int calls = 0;
  std::optional<std::size_t> ChooseDrive(UsbDirection, const std::vector<std::string>& d,
                                         const std::string& m) override {
    ++calls;
    drives = d;
    message = m;
    return answer;
  }
};

class FakeWriteCheckPrompt : public WriteCheckPrompt {
 public:
  bool answer = true;
  std::vector<Finding> asked;
  int calls = 0;
  bool WriteDespiteErrors(const std::vector<Finding>& findings) override {
    ++calls;
    asked = findings;
    return answer;
  }
};

class TransferCommandsTest : public ::testing::Test {
 protected:
  TransferCommandsTest() {
    doc = std::make_unique<CTavrinDoc>(profile, messages, dialogs);
    doc->SetCurrentDirectoryProvider([this] { return files.path(); });
    view = std::make_unique<TavrinViewModel>(*doc, clock);
    view->RefreshFromDocument();
  }

  // A saved document "plan.BIN" with program 1 at `hour`.
  void SaveSchedule(uint8_t hour) {
    ScheduleModel& m = view->model();
    m.basicProgram = 1;
    m.channels[0] = {kChannelTimeSignal, 0, 5, 0};
    m.steps[0] = WeeklyStep{1, 1, {0, 1, 1, 1, 1, 1, 0}, hour, 30, 1};
    doc->SetModified(true);
    dialogs.answers.push_back(files / "plan.BIN");
    doc->SaveCommand();
    ASSERT_FALSE(doc->IsModified());
  }

  void UsbWrite() {
    UsbCommandContext context{messages, chooser, archive, prompt, [this] { return volumes; }};
    UsbWriteCommand(*view, context);
  }
  void UsbRead() {
    UsbCommandContext context{messages, chooser, archive, prompt, [this] { return volumes; }};
    UsbReadCommand(*view, context);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const ShownMessage& shown : messages.shown) texts.push_back(shown.text);
    return texts;
  }

  TempFolder files, stick, data;
  MemoryProfileStore profile;
  FakeMessages messages;
  FakeDialogs dialogs;
  FixedClock clock{LocalTime{2026, 4, 1, 9, 0, 0}};
  TransferArchive archive{data.path(), clock};
  FakeChooser chooser;
  FakeWriteCheckPrompt prompt;
  std::vector<Volume> volumes{VolumeAt(stick.path())};
  std::unique_ptr<CTavrinDoc> doc;
  std::unique_ptr<TavrinViewModel> view;
};

TEST_F(TransferCommandsTest, UsbWriteStopsBeforeTheDialogUnlessThereIsASavedDocument) {
  const std::string saveFirst =
      "USBメモリに書き込みを実行するには、プログラム設定データの保存が必要です。\n\n保存後、"
      "再度実行して下さい。\n";
  UsbWrite();  // a new document
  view->model().basicProgram = 3;
  doc->SetModified(true);
  UsbWrite();  // entered but never saved
  SaveSchedule(8);
  view->model().steps[0].hour = 9;  // changed since, without the document knowing
  UsbWrite();
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(view->caption(), "Tavrin - plan.BIN *");
  EXPECT_EQ(Texts(), (std::vector<std::string>{"プログラム設定データが入力されていません。",
                                               saveFirst, saveFirst}));
  for (const ShownMessage& shown : messages.shown) EXPECT_EQ(shown.caption, "USBメモリに書き込み");
  EXPECT_EQ(chooser.calls, 0);
  EXPECT_TRUE(fs::is_empty(stick.path()));
}

TEST_F(TransferCommandsTest, UsbWriteWritesTheSavedImageToTheChosenDrive) {
  SaveSchedule(8);
  volumes = {};
  UsbWrite();
  EXPECT_EQ(Texts(), std::vector<std::string>{"リムーバブルディスクが存在しません。"});
  volumes = {VolumeAt(files.path()), VolumeAt(stick.path())};
  chooser.answer = std::nullopt;
  messages.shown.clear();
  UsbWrite();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(fs::exists(stick / kStickFileName));

  chooser.answer = 1;
  UsbWrite();
  EXPECT_EQ(chooser.message, " \"plan.BIN\" をUSBメモリに書き込みます。");
  EXPECT_EQ(chooser.drives, (std::vector<std::string>{files.path(), stick.path()}));
  EXPECT_EQ(Texts(), std::vector<std::string>{"plan.BIN の書き込みが正常に終了しました。"});
  EXPECT_EQ(ReadBytes(stick / kStickFileName), ReadBytes(files / "plan.BIN"));
  EXPECT_EQ(ReadBytes(data / "backups/20260401-090000-usb-write.BIN"),
            ReadBytes(files / "plan.BIN"));
  EXPECT_FALSE(doc->IsModified());
  EXPECT_FALSE(doc->IsUntitled());
}

TEST_F(TransferCommandsTest, UsbReadMakesTheSticksImageAnUntitledChangedDocument) {
  SaveSchedule(7);
  fs::copy_file(files / "plan.BIN", stick / kStickFileName);
  SaveSchedule(8);
  UsbRead();
  EXPECT_EQ(chooser.message, "USBメモリからファイルを読み込みます。");
  EXPECT_EQ(Texts(),
            std::vector<std::string>{"USBメモリからのファイルの読み込みが正常に終了しました。"});
  EXPECT_EQ(messages.shown[0].caption, "USBメモリから読み込み");
  EXPECT_TRUE(doc->IsUntitled());
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(view->caption(), "Tavrin - 新規作成 *");
  EXPECT_EQ(view->model().steps[0].hour, 7);
  // The schedule lives in the working model; the document's image is a new one.
  SettingsImage fresh{};
  InitImage(fresh);
  EXPECT_EQ(doc->image(), fresh);
  EXPECT_EQ(ReadBytes(data / "backups/20260401-090000-usb-read.BIN"),
            ReadBytes(stick / kStickFileName));
}

TEST_F(TransferCommandsTest, AFailedUsbReadLeavesTheDocumentAsItWas) {
  SaveSchedule(8);
  const SettingsImage image = doc->image();
  WriteBytes(stick / kStickFileName, ReadBytes(files / "plan.BIN").substr(0, 6000));
  UsbRead();
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{stick / kStickFileName + " の読み込みに失敗しました。\n\n" +
                                          stick / kStickFileName +
                                          " の大きさが 6594 バイトではありません（6000 バイト）。",
                                      "USBメモリからのファイルの読み込みに失敗しました。"}));
  EXPECT_FALSE(doc->IsUntitled());
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(doc->SettingsTitle(), "plan.BIN");
  EXPECT_EQ(doc->image(), image);
  EXPECT_EQ(view->model().steps[0].hour, 8);
  EXPECT_EQ(view->caption(), "Tavrin - plan.BIN");

  // Unsaved changes the user keeps by cancelling stop the command before the dialog.
  view->model().steps[0].hour = 10;
  doc->SetModified(true);
  messages.answers = {MsgAnswer::Cancel};
  const int dialogs = chooser.calls;
  UsbRead();
  EXPECT_EQ(chooser.calls, dialogs);
  EXPECT_EQ(view->model().steps[0].hour, 10);
}

TEST_F(TransferCommandsTest, CableWriteServesTheFileAsCheckedWhenTheCommandStarted) {
  SaveSchedule(8);
  const std::string saved = ReadBytes(files / "plan.BIN");
  // Another program changed the file since it was opened: as good as unsaved.
  std::string changed = saved;
  changed[100] ^= 0x5A;
  WriteBytes(files / "plan.BIN", changed);
  EXPECT_FALSE(PrepareCableWrite(*view, messages, prompt));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kCableSaveFirst);
  EXPECT_EQ(messages.shown[0].caption, "ケーブル接続で書き込み");

  WriteBytes(files / "plan.BIN", saved);
  const std::optional<SettingsImage> served = PrepareCableWrite(*view, messages, prompt);
  ASSERT_TRUE(served);
  EXPECT_EQ(*served, doc->image());
  // The file changes again during the transfer; the timer still gets the checked copy.
  WriteBytes(files / "plan.BIN", changed);
  LinkBench bench(TransferMode::Write, ServeImage(*served));
  bench.document.path = files / "plan.BIN";
  bench.Connect();
  bench.Exchange(B("OR"));
  const Bytes reply = bench.Exchange(Bytes{'R', 0x19, 0xC2});
  Bytes expected{'R', '0', 0x19, 0xC2};
  expected.insert(expected.end(), served->begin(), served->end());
  EXPECT_EQ(reply, AckAndReply(expected));
}

TEST_F(TransferCommandsTest, WritesOfASavedScheduleWithErrorsGoOnOnlyWhenTheUserSaysSo) {
  struct Case {
    bool plantError;
    bool answer;
    int asked;
    bool goesOn;
  };
  const Case cases[] = {
      {false, false, 0, true},  // nothing to ask about
      {true, true, 1, true},    // "続行"
      {true, false, 1, false},  // "キャンセル"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.plantError << c.answer);
    // A step on channel 3, which is not in use: the timer never runs it.
    view->model().steps[1] =
        c.plantError ? WeeklyStep{1, 3, {0, 1, 1, 1, 1, 1, 0}, 9, 0, 1} : WeeklyStep{};
    SaveSchedule(8);
    prompt = FakeWriteCheckPrompt();
    prompt.answer = c.answer;
    chooser.calls = 0;
    fs::remove(stick / "VL-3400.BIN");

    UsbWrite();
    EXPECT_EQ(prompt.calls, c.asked);
    EXPECT_EQ(chooser.calls, c.goesOn ? 1 : 0);
    EXPECT_EQ(fs::exists(stick / "VL-3400.BIN"), c.goesOn);
    if (c.asked > 0) {
      ASSERT_FALSE(prompt.asked.empty());
      EXPECT_EQ(prompt.asked[0].rule, CheckRule::StepOnUnusedChannel);
    }
    EXPECT_EQ(PrepareCableWrite(*view, messages, prompt).has_value(), c.goesOn);
    EXPECT_EQ(prompt.calls, 2 * c.asked);
  }
}

}  // namespace
}  // namespace tavrin::testing
