#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

#include "TestFakes.h"
#include "app/TavrinViewModel.h"
#include "document/CsvExportCommand.h"
#include "document/ProfileStore.h"
#include "model/ShiftJis.h"

namespace tavrin {
namespace {

using testing::FakeDialogs;
using testing::FakeMessages;
using testing::TempFolder;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Wraps another opener and lets the n-th write fail, the way a full disk does.
ReplacementFileOpener FailingAfterWrites(ReplacementFileOpener inner, int goodWrites) {
  class Failing : public ReplacementFile {
   public:
    Failing(std::unique_ptr<ReplacementFile> file, int good)
        : file_(std::move(file)), left_(good) {}
    bool Write(const char* data, std::size_t size) override {
      return left_-- > 0 && file_->Write(data, size);
    }
    Outcome Commit() override { return file_->Commit(); }

   private:
    std::unique_ptr<ReplacementFile> file_;
    int left_;
  };
  return [inner, goodWrites](const std::string& path) -> std::unique_ptr<ReplacementFile> {
    std::unique_ptr<ReplacementFile> file = inner(path);
    if (!file) return nullptr;
    return std::make_unique<Failing>(std::move(file), goodWrites);
  };
}

class ExportTest : public ::testing::Test {
 protected:
  ExportTest() {
    doc = std::make_unique<CTavrinDoc>(profile, messages, dialogs);
    doc->SetCurrentDirectoryProvider([this] { return tmp / "cwd"; });
    view = std::make_unique<TavrinViewModel>(*doc, clock);
    view->RefreshFromDocument();
    BuildChimeLists(view->iniSettings());
    ScheduleModel& m = view->model();
    m.basicProgram = 1;
    m.channels[0] = {kChannelTimeSignal, 0, 5, 0};
    m.radioFrequency = 825;
    std::memcpy(m.radioStation.data(), "\x93\x8c\x8b\x9e", 4);
    for (int i = 0; i < 200; ++i) {
      m.steps[i] = WeeklyStep{static_cast<uint8_t>(1 + i % 9), 1,
                              {1, 1, 1, 1, 1, 1, 1},           static_cast<uint8_t>(i % 24),
                              static_cast<uint8_t>(i % 60),    1};
    }
  }

  void Export(const std::optional<std::string>& chosen,
              const ReplacementFileOpener& open = SafeFileOpener()) {
    dialogs.answers.push_back(chosen);
    WorkingScheduleReport report(view->Schedule());
    ExportCommand(*doc, report, clock, open);
  }

  TempFolder tmp;
  MemoryProfileStore profile;
  FakeMessages messages;
  FakeDialogs dialogs;
  FixedClock clock{LocalTime{2025, 6, 2, 14, 3, 0}};
  std::unique_ptr<CTavrinDoc> doc;
  std::unique_ptr<TavrinViewModel> view;
};

TEST_F(ExportTest, WritesTheReportUnderTheChosenNameAndRemembersTheFolder) {
  Export(tmp / "cwd/plan");
  const FileDialogRequest& request = dialogs.requests[0];
  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.title, "名前を付けて保存");
  EXPECT_EQ(request.filter, "CSV（カンマ区切り）(*.CSV) |*.CSV|");
  EXPECT_EQ(request.defaultExtension, "csv");
  EXPECT_EQ(request.defaultFileName, "");
  EXPECT_EQ(request.initialFolder, tmp / "cwd");  // created on the way
  EXPECT_EQ(request.flags, kOverwritePrompt | kHideReadOnly | kPathMustExist);

  const std::string csv = ReadAll(tmp / "cwd/plan.csv");
  ASSERT_FALSE(csv.empty());
  EXPECT_EQ(csv.substr(74, 42), "; KORVA PROGRAM TIMER V01.00\r\n; plan.csv\r\n");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            tmp / "cwd/plan.csv" + " へのエクスポートが正常に終了しました。");
  EXPECT_EQ(messages.shown[0].caption, "Tavrin");
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::Information);
  EXPECT_EQ(doc->csv.title, "plan.csv");
  EXPECT_EQ(profile.ReadString("CSVDIR"), tmp / "cwd");
  EXPECT_FALSE(doc->IsModified());

  // The next export offers the same name in the same folder.
  Export(std::nullopt);
  EXPECT_EQ(dialogs.requests[1].defaultFileName, "plan.csv");
  EXPECT_EQ(dialogs.requests[1].initialFolder, tmp / "cwd");
}

TEST_F(ExportTest, ASavedDocumentsReportIsOfferedBesideItUnderItsName) {
  std::filesystem::create_directories(tmp / "plans");
  std::filesystem::copy_file(TAVRIN_GOLDEN_DIR "/image/school/image.BIN", tmp / "plans/school.BIN");
  Export(tmp / "cwd/elsewhere.csv");
  ASSERT_TRUE(doc->OpenByPath(tmp / "plans/school.BIN"));
  Export(std::nullopt);
  EXPECT_EQ(dialogs.requests[1].initialFolder, tmp / "plans");
  EXPECT_EQ(dialogs.requests[1].defaultFileName, "school.CSV");

  // A document whose folder has gone: where the last export went, under its name.
  std::filesystem::rename(tmp / "plans", tmp / "moved");
  Export(std::nullopt);
  EXPECT_EQ(dialogs.requests[2].initialFolder, tmp / "cwd");
  EXPECT_EQ(dialogs.requests[2].defaultFileName, "elsewhere.csv");
}

TEST_F(ExportTest, NameWithoutExtensionGetsCsv) {
  // A dialog that does not add its default extension by itself.
  class Plain : public FileDialogs {
   public:
    std::optional<std::string> Run(const FileDialogRequest&) override { return path; }
    std::string path;
  } plain;
  plain.path = tmp / "report";
  CTavrinDoc other(profile, messages, plain);
  TavrinViewModel otherView(other, clock);
  otherView.RefreshFromDocument();
  BuildChimeLists(otherView.iniSettings());
  WorkingScheduleReport report(otherView.Schedule());
  ExportCommand(other, report, clock, SafeFileOpener());
  EXPECT_EQ(other.csv.path, tmp / "report.CSV");
  EXPECT_EQ(other.csv.title, "report.CSV");
  EXPECT_FALSE(ReadAll(tmp / "report.CSV").empty());
}

TEST_F(ExportTest, VanishedCsvFolderFallsBackToTheSettingsFolder) {
  std::filesystem::create_directories(tmp / "plans");
  doc->csv.folder = tmp / "removed";
  doc->paths().settingsFolder = tmp / "plans";
  EXPECT_TRUE(PrepareCsvFolder(*doc));
  EXPECT_EQ(doc->csv.folder, tmp / "plans");

  // With neither, the current directory, created when missing.
  doc->csv.folder = tmp / "removed";
  doc->paths().settingsFolder = tmp / "also-removed";
  EXPECT_TRUE(PrepareCsvFolder(*doc));
  EXPECT_EQ(doc->csv.folder, tmp / "cwd");
  EXPECT_TRUE(std::filesystem::is_directory(tmp / "cwd"));
}

TEST_F(ExportTest, UnwritableFolderReportsTheOpenFailure) {
  { std::ofstream(tmp / "file") << "x"; }
  const std::string target = tmp / "file/plan.csv";
  Export(target);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, target + " のオープンに失敗しました。\n\n" + target +
                                        " のパスの途中にフォルダーでないものがあります。");
  EXPECT_EQ(messages.shown[0].caption, "Tavrin");
  EXPECT_EQ(profile.ReadString("CSVDIR"), tmp / "file");

  Export("/proc/version.csv");
  EXPECT_EQ(messages.shown.back().text, "/proc/version.csv のオープンに失敗しました。");
}

TEST_F(ExportTest, OverlongPathIsRefused) {
  const std::string target = tmp / (std::string(250, 'x') + ".csv");
  Export(target);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, target + " のオープンに失敗しました。");
  EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(ExportTest, FullDiskKeepsTheEarlierReport) {
  Export(tmp / "plan.csv");
  const std::string good = ReadAll(tmp / "plan.csv");
  ASSERT_GT(good.size(), 4096u);

  view->model().basicProgram = 2;
  messages.shown.clear();
  Export(tmp / "plan.csv", FailingAfterWrites(SafeFileOpener(), 1));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, tmp / "plan.csv" + " への書込みに失敗しました。");
  EXPECT_EQ(ReadAll(tmp / "plan.csv"), good);
  // Nothing else is left behind in the folder.
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(tmp.path())) {
    files += entry.is_regular_file();
  }
  EXPECT_EQ(files, 1);
  EXPECT_EQ(profile.ReadString("CSVDIR"), tmp.path());
}

TEST_F(ExportTest, SameInputAndClockGiveTheSameBytes) {
  Export(tmp / "a.csv");
  Export(tmp / "b.csv");
  std::string a = ReadAll(tmp / "a.csv"), b = ReadAll(tmp / "b.csv");
  ASSERT_FALSE(a.empty());
  // Only the title line differs.
  a.replace(a.find("a.csv"), 1, "b");
  EXPECT_EQ(a, b);
}

TEST(ExportText, TitleWithoutShiftJisFormKeepsTheRest) {
  EXPECT_EQ(FromShiftJis(ToShiftJisOrQuestionMarks("計画😀.csv")), "計画?.csv");
}

}  // namespace
}  // namespace tavrin
