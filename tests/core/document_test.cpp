#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

#include "ScriptedWriteSystem.h"
#include "TestFakes.h"
#include "app/TavrinViewModel.h"
#include "document/PathText.h"
#include "document/ProfileStore.h"
#include "document/TavrinDoc.h"

namespace tavrin {
namespace {

using testing::FakeDialogs;
using testing::FakeMessages;
using testing::ScriptedWriteSystem;
using testing::TempFolder;
using testing::WriteBytes;

class RecordingTitle : public TitleObserver {
 public:
  void ShowTitle(const std::string& c, const std::string& f) override {
    caption = c;
    field = f;
    ++calls;
  }
  std::string caption, field;
  int calls = 0;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class DocumentTest : public ::testing::Test {
 protected:
  void SetUp() override { Start(); }

  void Start() {
    view.reset();
    doc = std::make_unique<CTavrinDoc>(profile, messages, dialogs);
    doc->SetCurrentDirectoryProvider([this] { return tmp.path(); });
    view = std::make_unique<TavrinViewModel>(*doc, clock);
    view->SetTitleObserver(&title);
    view->RefreshFromDocument();
  }

  // An edit made through an editor sheet closed with OK.
  void Edit(const std::function<void(ScheduleModel&)>& change) {
    RunEditorSession(view->model(), view->names(), *view, [&] {
      change(view->model());
      return true;
    });
  }

  // A schedule that passes the check before saving: program 1 on a time-signal channel.
  void MakeSaveable() {
    Edit([](ScheduleModel& m) {
      m.basicProgram = 1;
      m.channels[0] = {kChannelTimeSignal, 0, 5, 0};
      m.steps[0] = WeeklyStep{1, 1, {0, 1, 1, 1, 1, 1, 0}, 8, 30, 1};
    });
  }

  void SaveUntitledAs(const std::string& name) {
    dialogs.answers.push_back(tmp / name);
    doc->SaveCommand();
  }

  TempFolder tmp;
  MemoryProfileStore profile;
  FakeMessages messages;
  FakeDialogs dialogs;
  FixedClock clock{LocalTime{2024, 4, 1, 9, 0, 0}};
  RecordingTitle title;
  std::unique_ptr<CTavrinDoc> doc;
  std::unique_ptr<TavrinViewModel> view;
};

TEST_F(DocumentTest, CaptionFollowsEveryState) {
  EXPECT_EQ(title.caption, "Tavrin - 新規作成");
  EXPECT_EQ(title.field, "新規作成");
  MakeSaveable();
  EXPECT_EQ(title.caption, "Tavrin - 新規作成 *");
  SaveUntitledAs("plan");
  EXPECT_EQ(title.caption, "Tavrin - plan.BIN");
  EXPECT_EQ(title.field, "plan.BIN");
  Edit([](ScheduleModel& m) { m.steps[0].minute = 45; });
  EXPECT_EQ(title.caption, "Tavrin - plan.BIN *");
  EXPECT_EQ(view->fileState(), FileState::File);
}

TEST_F(DocumentTest, EditorSheetMarksOnlyRealChanges) {
  MakeSaveable();
  SaveUntitledAs("plan");
  Edit([](ScheduleModel&) {});
  EXPECT_FALSE(doc->IsModified());

  const ScheduleModel before = view->model();
  RunEditorSession(view->model(), view->names(), *view, [this] {
    view->model().basicProgram = 7;
    view->names().names[7][0] = 'X';
    return false;
  });
  EXPECT_EQ(view->model(), before);
  EXPECT_EQ(view->names().names[7][0], 0);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(title.caption, "Tavrin - plan.BIN");

  // A new program name changes no byte of the image but is saved with it.
  Edit([this](ScheduleModel&) { std::memcpy(view->names().names[3].data(), "MORNING", 7); });
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(title.caption, "Tavrin - plan.BIN *");
}

// The dialog asks only about the name as chosen: where another schedule's settings or name file
// has the pair's name in another letter case, the program asks, No goes back to the dialog with
// the name typed, and only Yes writes.
TEST_F(DocumentTest, SaveAsAsksBeforeFilesOfThePairsNameInAnyLetterCase) {
  MakeSaveable();
  const std::string other = "another schedule";
  const struct {
    const char* typed;
    std::vector<const char*> there;
    std::vector<MsgAnswer> answers;
    std::string listed;  // empty: no question
    const char* written;
  } cases[] = {
      {"School",
       {"school.BIN", "school.TXT"},
       {MsgAnswer::No},
       "  school.BIN\n  school.TXT\n",
       nullptr},
      {"School",
       {"school.BIN", "school.TXT"},
       {MsgAnswer::Yes},
       "  school.BIN\n  school.TXT\n",
       "School.BIN"},
      {"plan.dat", {"PLAN.txt"}, {MsgAnswer::No}, "  PLAN.txt\n", nullptr},
      {"fresh", {"fresh.bin.old"}, {}, "", "fresh.BIN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + " " + std::to_string(c.answers.size()));
    TempFolder folder;
    for (const char* name : c.there) WriteBytes(folder / name, other);
    messages.shown.clear();
    messages.answers = {c.answers.begin(), c.answers.end()};
    dialogs.requests.clear();
    dialogs.answers = {folder / c.typed, std::nullopt};
    doc->SaveAsCommand();
    const bool asked =
        !messages.shown.empty() && messages.shown[0].buttons == MsgButtons::YesNoDefaultNo;
    EXPECT_EQ(asked, !c.listed.empty());
    if (asked) {
      EXPECT_NE(messages.shown[0].text.find(c.listed), std::string::npos) << messages.shown[0].text;
    }
    const bool no = !c.answers.empty() && c.answers[0] == MsgAnswer::No;
    ASSERT_EQ(dialogs.requests.size(), no ? 2u : 1u);
    if (no) {
      EXPECT_EQ(dialogs.requests[1].defaultFileName,
                FileNameOf(folder / c.typed) + (ExtensionOf(c.typed).empty() ? ".BIN" : ""));
    }
    for (const char* name : c.there) EXPECT_EQ(ReadAll(folder / name), other) << name;
    if (c.written) {
      EXPECT_EQ(ReadAll(folder / c.written).size(), 6594u);
    } else {
      const auto entries = std::distance(std::filesystem::directory_iterator(folder.path()),
                                         std::filesystem::directory_iterator());
      EXPECT_EQ(static_cast<std::size_t>(entries), c.there.size());
    }
  }
}

TEST_F(DocumentTest, SaveAsOfferedForAnUntitledDocumentWritesBothFiles) {
  MakeSaveable();
  std::memcpy(view->names().names[1].data(), "BELL", 4);
  SaveUntitledAs("plan");

  ASSERT_EQ(dialogs.requests.size(), 1u);
  const FileDialogRequest& request = dialogs.requests[0];
  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.title, "名前を付けて保存");
  EXPECT_EQ(request.filter, "プログラム設定ファイル(*.BIN) |*.BIN|");
  EXPECT_EQ(request.defaultExtension, "BIN");
  EXPECT_EQ(request.defaultFileName, "");
  EXPECT_EQ(request.initialFolder, tmp.path());
  EXPECT_EQ(request.flags, kOverwritePrompt | kHideReadOnly | kPathMustExist);

  EXPECT_FALSE(doc->IsModified());
  EXPECT_FALSE(doc->IsUntitled());
  EXPECT_EQ(doc->DocumentPath(), tmp / "plan.BIN");
  const std::string bin = ReadAll(tmp / "plan.BIN");
  ASSERT_EQ(bin.size(), 6594u);
  EXPECT_EQ(std::memcmp(bin.data(), doc->image().data(), 6594), 0);
  const std::string names = ReadAll(tmp / "plan.TXT");
  ASSERT_EQ(names.size(), 1600u);
  EXPECT_EQ(names.substr(16, 4), "BELL");
  EXPECT_EQ(profile.ReadString("OBJDIR"), tmp.path());
  EXPECT_EQ(profile.ReadString("OBJPATH"), tmp / "plan.BIN");
  EXPECT_EQ(profile.ReadString("NAMEPATH"), tmp / "plan.TXT");
  EXPECT_TRUE(messages.shown.empty());

  // A named document is saved in place without a dialog.
  Edit([](ScheduleModel& m) { m.steps[0].hour = 9; });
  doc->SaveCommand();
  EXPECT_EQ(dialogs.requests.size(), 1u);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(static_cast<uint8_t>(ReadAll(tmp / "plan.BIN")[80 + 2]), 9);
}

TEST_F(DocumentTest, NameTypedWithAnotherExtensionKeepsIt) {
  MakeSaveable();
  dialogs.answers.push_back(tmp / "plan.dat");
  doc->SaveAsCommand();
  EXPECT_EQ(doc->SettingsPath(), tmp / "plan.dat");
  EXPECT_EQ(ReadAll(tmp / "plan.dat").size(), 6594u);
  EXPECT_EQ(ReadAll(tmp / "plan.TXT").size(), 1600u);
}

TEST_F(DocumentTest, CancelledSaveAsChangesNothing) {
  MakeSaveable();
  dialogs.answers.push_back(std::nullopt);
  doc->SaveCommand();
  EXPECT_TRUE(doc->IsModified());
  EXPECT_TRUE(doc->IsUntitled());
  EXPECT_EQ(title.caption, "Tavrin - 新規作成 *");
  EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
}

TEST_F(DocumentTest, FailedSaveKeepsTheDocumentModified) {
  MakeSaveable();
  SaveUntitledAs("plan");
  Edit([](ScheduleModel& m) { m.steps[0].hour = 10; });
  const std::string before = ReadAll(tmp / "plan.BIN");
  // The folder is gone and a file stands in its place.
  std::filesystem::remove_all(tmp.path());
  { std::ofstream(tmp.path()) << "x"; }

  doc->SaveCommand();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text.find(tmp / "plan.BIN"), 0u);
  EXPECT_EQ(messages.shown[0].caption, "Tavrin");
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(title.caption, "Tavrin - plan.BIN *");

  // Closing still asks, and a second failure keeps the program open.
  messages.answers = {MsgAnswer::Yes};
  EXPECT_EQ(doc->SaveModifiedPrompt(), MsgAnswer::Cancel);
  EXPECT_TRUE(doc->IsModified());
  std::filesystem::remove(tmp.path());
}

TEST_F(DocumentTest, FailedSaveAsKeepsTheDocumentItWas) {
  // A file where the chosen folder should be: the settings file cannot be written there.
  { std::ofstream(tmp / "blocked") << "x"; }
  MakeSaveable();
  dialogs.answers.push_back(tmp / "blocked/plan");
  doc->SaveAsCommand();
  EXPECT_TRUE(doc->IsUntitled());
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(doc->SettingsPath(), "");
  EXPECT_EQ(title.caption, "Tavrin - 新規作成 *");
  EXPECT_EQ(title.field, "新規作成");

  SaveUntitledAs("plan");
  Edit([](ScheduleModel& m) { m.steps[0].minute = 10; });
  dialogs.answers.push_back(tmp / "blocked/other");
  doc->SaveAsCommand();
  EXPECT_EQ(doc->SettingsPath(), tmp / "plan.BIN");
  EXPECT_EQ(doc->NameTitle(), "plan.TXT");
  EXPECT_EQ(title.caption, "Tavrin - plan.BIN *");
  EXPECT_EQ(title.field, "plan.BIN");
  EXPECT_FALSE(std::filesystem::exists(tmp / "blocked/other.TXT"));
}

TEST_F(DocumentTest, EitherFileFailingIsReportedAndKeepsTheChangesUnsaved) {
  MakeSaveable();
  SaveUntitledAs("plan");
  ScriptedWriteSystem system;
  doc->SetWriteSystem(system);
  struct Case {
    const char* what;
    std::function<void()> breakIt;
    std::string message;
    bool namesReplaced;  // only when the settings file fails after the name file took its place
  };
  const Case cases[] = {
      {"a folder where the name file belongs",
       [&] {
         std::filesystem::remove(tmp / "plan.TXT");
         std::filesystem::create_directory(tmp / "plan.TXT");
       },
       tmp / "plan.TXT" + " のオープンに失敗しました。\n\n" + tmp / "plan.TXT" +
           " はフォルダーです。",
       false},
      {"a full disk under the name file",
       [&] {
         system.failAt = WriteStage::kWrite;
         system.failFor = ".TXT";
       },
       tmp / "plan.TXT" + " への書き込みに失敗しました。\n\n" + tmp / "plan.TXT" +
           " のディスクがいっぱいです。",
       false},
      {"a settings file that cannot take its place",
       [&] {
         system.failAt = WriteStage::kReplace;
         system.failFor = ".BIN";
       },
       tmp / "plan.BIN" + " への書き込みに失敗しました。\n\n" + tmp / "plan.BIN" +
           " のディスクがいっぱいです。",
       true},
  };
  int hour = 10;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Edit([&](ScheduleModel& m) {
      m.steps[0].hour = hour++;
      view->names().names[1][0] = static_cast<char>('A' + hour);
    });
    const std::string oldSettings = ReadAll(tmp / "plan.BIN");
    const std::string oldNames = ReadAll(tmp / "plan.TXT");
    messages.shown.clear();
    c.breakIt();

    doc->SaveCommand();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, c.message);
    EXPECT_EQ(ReadAll(tmp / "plan.BIN"), oldSettings);
    if (c.namesReplaced) {
      EXPECT_EQ(ReadAll(tmp / "plan.TXT")[16], view->names().names[1][0]);
    } else if (std::filesystem::is_regular_file(tmp / "plan.TXT")) {
      EXPECT_EQ(ReadAll(tmp / "plan.TXT"), oldNames);
    }
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(title.caption, "Tavrin - plan.BIN *");

    std::filesystem::remove(tmp / "plan.TXT");
    system.failAt.reset();
    doc->SaveCommand();
    ASSERT_FALSE(doc->IsModified());
  }
}

TEST_F(DocumentTest, AFileReachedThroughALinkKeepsItsNamesBesideIt) {
  MakeSaveable();
  std::memcpy(view->names().names[1].data(), "BELL", 4);
  std::filesystem::create_directory(tmp / "real");
  dialogs.answers.push_back(tmp / "real/plan.BIN");
  doc->SaveCommand();
  std::filesystem::create_symlink(tmp / "real/plan.BIN", tmp / "link.bin");
  doc->NewCommand();

  dialogs.answers.push_back(tmp / "link.bin");
  doc->OpenCommand();
  EXPECT_EQ(std::string(view->names().names[1].data(), 4), "BELL");
  EXPECT_EQ(doc->NameTitle(), "plan.TXT");
  Edit([this](ScheduleModel&) { std::memcpy(view->names().names[1].data(), "GONG", 4); });
  doc->SaveCommand();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(std::filesystem::is_symlink(tmp / "link.bin"));
  EXPECT_FALSE(std::filesystem::exists(tmp / "link.TXT"));
  EXPECT_EQ(ReadAll(tmp / "real/plan.TXT").substr(16, 4), "GONG");
}

TEST_F(DocumentTest, PromptAsksOnlyAboutChanges) {
  EXPECT_EQ(doc->SaveModifiedPrompt(), MsgAnswer::Yes);
  EXPECT_TRUE(messages.shown.empty());

  MakeSaveable();
  messages.answers = {MsgAnswer::No};
  EXPECT_EQ(doc->SaveModifiedPrompt(), MsgAnswer::No);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "\"新規ファイル\" は変更されています。　保存しますか？");
  EXPECT_EQ(messages.shown[0].caption, "Tavrin");
  EXPECT_EQ(messages.shown[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::Exclamation);
  EXPECT_TRUE(dialogs.requests.empty());

  messages.answers = {MsgAnswer::Cancel};
  EXPECT_EQ(doc->SaveModifiedPrompt(), MsgAnswer::Cancel);
  EXPECT_TRUE(doc->IsModified());
}

TEST_F(DocumentTest, YesOnThePromptSavesAndLetsTheCallerGoOn) {
  MakeSaveable();
  SaveUntitledAs("term1");
  Edit([](ScheduleModel& m) { m.steps[0].minute = 0; });
  messages.answers = {MsgAnswer::Yes};
  EXPECT_EQ(doc->SaveModifiedPrompt(), MsgAnswer::Yes);
  EXPECT_EQ(messages.shown.back().text, "\"term1.BIN\" は変更されています。　保存しますか？");
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(static_cast<uint8_t>(ReadAll(tmp / "term1.BIN")[80 + 3]), 0);
}

TEST_F(DocumentTest, YesThenCancelledSaveAsAbandonsTheCallersAction) {
  MakeSaveable();
  messages.answers = {MsgAnswer::Yes};
  dialogs.answers.push_back(std::nullopt);
  EXPECT_EQ(doc->SaveModifiedPrompt(), MsgAnswer::Cancel);
  EXPECT_TRUE(doc->IsModified());

  // So New keeps the changes on screen.
  messages.answers = {MsgAnswer::Yes};
  dialogs.answers.push_back(std::nullopt);
  doc->NewCommand();
  EXPECT_EQ(view->model().basicProgram, 1);
  EXPECT_EQ(title.caption, "Tavrin - 新規作成 *");
}

TEST_F(DocumentTest, YesOnANamedDocumentWithoutBasicProgramCancelsTheClose) {
  MakeSaveable();
  SaveUntitledAs("plan");
  Edit([](ScheduleModel& m) { m.basicProgram = 0; });
  messages.answers = {MsgAnswer::Yes};
  EXPECT_EQ(doc->SaveModifiedPrompt(), MsgAnswer::Cancel);
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].text, "基本設定のプログラム番号が指定されていません。");
}

TEST_F(DocumentTest, PreSaveCheckNamesWhatIsMissing) {
  MakeSaveable();
  Edit([](ScheduleModel& m) { m.basicProgram = 4; });
  EXPECT_FALSE(doc->PreSaveCheck());
  EXPECT_EQ(messages.shown.back().text, "基本設定のプログラム番号 ( 4 ) が登録されていません。");

  Edit([](ScheduleModel& m) {
    m.basicProgram = 99;  // never reported
    m.periods[0] = {kEveryYear, 4, 1, 4, 30, 12};
    m.periods[7] = {2024, 8, 1, 8, 31, 5};
    m.dates[3] = {2025, 1, 6, 12};
    m.dates[4] = {2024, 5, 5, 99};
    m.dates[9] = {0, 0, 0, 40};  // an empty slot
    m.holidayProgram = 5;
    m.holidayEnabled = 1;
  });
  EXPECT_FALSE(doc->PreSaveCheck());
  EXPECT_EQ(messages.shown.back().text,
            "年間プログラムで次のプログラム番号が登録されていません。\n\n( 5,12 )");
  EXPECT_EQ(messages.shown.back().caption, "Tavrin");

  Edit([](ScheduleModel& m) {
    m.steps[1] = WeeklyStep{5, 1, {1, 0, 0, 0, 0, 0, 0}, 7, 0, 2};
    m.steps[2] = WeeklyStep{12, 1, {1, 0, 0, 0, 0, 0, 0}, 7, 0, 2};
  });
  const std::size_t shown = messages.shown.size();
  EXPECT_TRUE(doc->PreSaveCheck());
  EXPECT_EQ(messages.shown.size(), shown);

  // A disabled holiday setting is not checked.
  Edit([](ScheduleModel& m) {
    m.holidayProgram = 30;
    m.holidayEnabled = 0;
  });
  EXPECT_TRUE(doc->PreSaveCheck());
}

TEST_F(DocumentTest, OpenReadsBothFilesAndRemembersTheFolder) {
  MakeSaveable();
  std::memcpy(view->names().names[1].data(), "BELL", 4);
  SaveUntitledAs("plan");
  doc->NewCommand();
  EXPECT_EQ(title.caption, "Tavrin - 新規作成");
  EXPECT_EQ(view->model().basicProgram, 0);

  dialogs.answers.push_back(tmp / "plan.BIN");
  doc->OpenCommand();
  const FileDialogRequest& request = dialogs.requests.back();
  EXPECT_FALSE(request.save);
  EXPECT_EQ(request.title, "開く");
  EXPECT_EQ(request.flags, kHideReadOnly | kPathMustExist | kFileMustExist);
  EXPECT_EQ(request.initialFolder, tmp.path());
  EXPECT_EQ(view->model().basicProgram, 1);
  EXPECT_EQ(std::string(view->names().names[1].data(), 4), "BELL");
  EXPECT_EQ(title.caption, "Tavrin - plan.BIN");
  EXPECT_FALSE(doc->IsModified());

  // Without its name file the names come back empty, silently.
  std::filesystem::remove(tmp / "plan.TXT");
  dialogs.answers.push_back(tmp / "plan.BIN");
  doc->OpenCommand();
  EXPECT_EQ(view->names().names[1][0], 0);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DocumentTest, OpeningAForeignFileLeavesANewDocument) {
  std::string bytes(6594, '\0');
  bytes.replace(16, 4, "ABCD");
  { std::ofstream(tmp / "other.bin", std::ios::binary) << bytes; }
  MakeSaveable();
  messages.answers = {MsgAnswer::No};
  dialogs.answers.push_back(tmp / "other.bin");
  doc->OpenCommand();
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].text, tmp / "other.bin" + " は対象外のファイルです。\n\n" +
                                        tmp / "other.bin" + " の機種タグが VL3X ではありません。");
  EXPECT_TRUE(doc->IsUntitled());
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(title.caption, "Tavrin - 新規作成");
  EXPECT_EQ(view->model().basicProgram, 0);
}

TEST_F(DocumentTest, OpenStopsAtCancel) {
  MakeSaveable();
  messages.answers = {MsgAnswer::Cancel};
  doc->OpenCommand();
  EXPECT_TRUE(dialogs.requests.empty());
  messages.answers = {MsgAnswer::No};
  dialogs.answers.push_back(std::nullopt);
  doc->OpenCommand();
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(view->model().basicProgram, 1);
}

TEST_F(DocumentTest, OpenByPathTakesRelativeAndRefusesOverlongPaths) {
  MakeSaveable();
  SaveUntitledAs("plan");
  doc->NewCommand();
  std::filesystem::current_path(tmp.path());
  EXPECT_TRUE(doc->OpenByPath("plan.BIN"));
  EXPECT_EQ(doc->SettingsPath(), tmp / "plan.BIN");
  EXPECT_EQ(title.caption, "Tavrin - plan.BIN");

  const std::string longPath = tmp / (std::string(260, 'a') + ".bin");
  EXPECT_FALSE(doc->OpenByPath(longPath));
  EXPECT_EQ(messages.shown.back().text,
            longPath + " のオープンに失敗しました。\n\n" + longPath + " のパスが長すぎます。");
  EXPECT_EQ(title.caption, "Tavrin - 新規作成");
  std::filesystem::current_path("/");
}

TEST_F(DocumentTest, OverlongSaveAsPathIsRefusedWithoutLosingTheChanges) {
  MakeSaveable();
  dialogs.answers.push_back(tmp / (std::string(255, 'b') + ".bin"));
  doc->SaveAsCommand();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find(" のオープンに失敗しました。"), std::string::npos);
  EXPECT_TRUE(doc->IsModified());
  EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
}

TEST_F(DocumentTest, FolderSettingsSurviveRunsAndCanBeCleared) {
  profile.WriteString("OBJDIR", "/gone/away");
  profile.WriteString("CSVDIR", std::string(300, 'c'));
  profile.WriteInt("NAMEDIR", 5);
  Start();
  EXPECT_EQ(doc->paths().settingsFolder, "/gone/away");
  EXPECT_EQ(doc->InitialFolder(), "/gone/away");  // used whether or not it still exists
  EXPECT_EQ(doc->csv.folder, "");
  EXPECT_EQ(doc->paths().nameFolder, "");

  doc->ClearFolderSettings();
  EXPECT_EQ(profile.ReadString("OBJDIR"), "");
  EXPECT_EQ(doc->InitialFolder(), tmp.path());

  doc->paths().settingsFolder = "/srv/plans";
  view.reset();
  doc.reset();  // the end of the run writes them
  EXPECT_EQ(profile.ReadString("OBJDIR"), "/srv/plans");
}

TEST_F(DocumentTest, ReceivedBytesStayInsideTheImage) {
  const uint8_t bytes[4] = {1, 2, 3, 4};
  EXPECT_TRUE(doc->PutImageBytes(bytes, 4, 6592));
  EXPECT_EQ(doc->image()[6593], 2);
  EXPECT_FALSE(doc->PutImageBytes(bytes, 4, 6594));
  doc->InitImage();
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(doc->image().data()) + 16, 4), "VL3X");
  EXPECT_EQ(doc->image()[6593], 0);
}

TEST_F(DocumentTest, KernelVersionStandsForTheOsVersion) { EXPECT_GT(doc->OsMajorVersion(), 2); }

}  // namespace
}  // namespace tavrin
