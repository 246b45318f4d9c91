#include "document/TavrinDoc.h"

#include <sys/stat.h>
#include <sys/utsname.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "document/DataFolder.h"
#include "document/FileProbe.h"
#include "document/PairSave.h"
#include "document/PathText.h"
#include "document/SaveCheck.h"

namespace tavrin {

const char kSettingsFileFilter[] = "プログラム設定ファイル(*.BIN) |*.BIN|";

namespace {

constexpr char kOpenFailed[] = "%s のオープンに失敗しました。";
constexpr char kSaveAsTitle[] = "名前を付けて保存";

std::string PathTooLongText(const std::string& path) {
  return WithCause(FormatMessage(kOpenFailed, path),
                   FileFault(path, ENAMETOOLONG, Language::kJapanese), Language::kJapanese);
}

int KernelMajorVersion() {
  utsname info{};
  if (uname(&info) != 0) return 0;
  return std::atoi(info.release);
}

std::string ProcessDirectory() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::current_path(error);
  return error ? std::string() : path.string();
}

// A remembered path that no longer fits the path buffers is forgotten.
std::string ReadPathValue(const ProfileStore& profile, const char* key) {
  std::string value = profile.ReadString(key).value_or("");
  return FitsPathBuffer(value) ? value : std::string();
}

}  // namespace

CTavrinDoc::CTavrinDoc(ProfileStore& profile, MessageSink& messages, FileDialogs& dialogs)
    : profile_(profile),
      messages_(messages),
      dialogs_(dialogs),
      currentDirectory_(ProcessDirectory),
      osMajorVersion_(KernelMajorVersion()) {
  ReadFolderSettings();
  NewDocument();
}

CTavrinDoc::~CTavrinDoc() { WriteFolderSettings(); }

void CTavrinDoc::ShowMessage(const std::string& text) {
  messages_.Show(text, kAppCaption, MsgButtons::Ok, MsgIcon::Exclamation);
}

void CTavrinDoc::Refresh() {
  if (view_) view_->RefreshFromDocument();
}

void CTavrinDoc::NewDocument() {
  tavrin::InitImage(image_);
  ClearNames();
  untitled_ = true;
  modified_ = false;
  paths_.settingsTitle.clear();
  paths_.nameTitle.clear();
  csv.title.clear();
}

void CTavrinDoc::NewCommand() {
  if (SaveModifiedPrompt() == MsgAnswer::Cancel) return;
  NewDocument();
  Refresh();
}

void CTavrinDoc::TakeChosenPath(const std::string& path) {
  paths_.settingsPath = path;
  paths_.settingsTitle = FileNameOf(path);
  paths_.settingsFolder = FolderOf(path);
}

bool CTavrinDoc::ReadChosenFiles() {
  DeriveNamePaths(paths_);
  modified_ = false;
  untitled_ = false;
  const std::optional<std::string> settled = RecoverInterruptedSave(
      dataFolder_, paths_.settingsPath, paths_.namePath, Language::kJapanese);
  if (settled) ShowMessage(*settled);
  // A settings file without its name file opens with empty names, as the timer has none.
  if (!ReadNameFile(paths_.namePath, names_)) ClearNames();
  Result<> read = ReadSettingsFileWithCause(paths_.settingsPath, image_, Language::kJapanese);
  if (!read) {
    ShowMessage(read.message());
    NewDocument();
    return false;
  }
  documentPath_ = paths_.settingsPath;
  return true;
}

void CTavrinDoc::OpenCommand() {
  if (SaveModifiedPrompt() == MsgAnswer::Cancel) return;
  FileDialogRequest request;
  request.title = "開く";
  request.filter = kSettingsFileFilter;
  request.defaultExtension = "bin";
  request.initialFolder = InitialFolder();
  request.flags = kHideReadOnly | kPathMustExist | kFileMustExist;
  std::optional<std::string> chosen = dialogs_.Run(request);
  if (!chosen) return;
  if (!FitsPathBuffer(*chosen)) {
    // The path buffers cannot hold it: the open fails before anything is read.
    ShowMessage(PathTooLongText(*chosen));
    return;
  }
  TakeChosenPath(*chosen);
  ReadChosenFiles();
  WriteFolderSettings();
  Refresh();
}

bool CTavrinDoc::OpenByPath(const std::string& path) {
  if (SaveModifiedPrompt() == MsgAnswer::Cancel) return false;
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  std::string full = error ? path : absolute.lexically_normal().string();
  bool read = false;
  if (!FitsPathBuffer(full)) {
    ShowMessage(PathTooLongText(full));
    NewDocument();
  } else {
    TakeChosenPath(full);
    read = ReadChosenFiles();
  }
  Refresh();
  return read;
}

bool CTavrinDoc::Save() {
  // The extension first, so that a settings file reached through a symbolic link is found.
  EnsureBinExtension(paths_);
  DeriveNamePaths(paths_);
  if (!FitsPathBuffer(paths_.settingsPath) || !FitsPathBuffer(paths_.namePath)) {
    ShowMessage(PathTooLongText(paths_.settingsPath));
    return false;
  }
  if (view_) view_->StoreToDocument();
  // The two files are one save: names that cannot be written hold the settings file back too,
  // so the files on disk stay a matching pair, and the changes stay unsaved for a later close to
  // ask about.
  std::vector<std::string> notices;
  const Result<> written =
      WriteSettingsAndNames(paths_.settingsPath, image_, paths_.namePath, names_, *writeSystem_,
                            {dataFolder_, Language::kJapanese, &notices});
  for (const std::string& notice : notices) ShowMessage(notice);
  if (!written) {
    ShowMessage(written.message());
    return false;
  }
  untitled_ = false;
  modified_ = false;
  documentPath_ = paths_.settingsPath;
  return true;
}

SaveResult CTavrinDoc::SaveAs() {
  if (untitled_) {
    paths_.settingsTitle.clear();
    csv.title.clear();
  }
  FileDialogRequest request;
  request.save = true;
  request.title = kSaveAsTitle;
  request.filter = kSettingsFileFilter;
  // Upper case, as the timer's files are named and as a name without extension gets it.
  request.defaultExtension = "BIN";
  request.defaultFileName = paths_.settingsTitle;
  request.initialFolder = InitialFolder();
  request.flags = kOverwritePrompt | kHideReadOnly | kPathMustExist;
  std::optional<std::string> chosen;
  for (;;) {
    chosen = dialogs_.Run(request);
    if (!chosen) return SaveResult::Cancelled;
    if (!FitsPathBuffer(*chosen)) {
      ShowMessage(PathTooLongText(*chosen));
      return SaveResult::Failed;
    }
    if (MayReplace(*chosen)) break;
    // No: back to the dialog with the name typed, as the dialog's own question does.
    request.defaultFileName = FileNameOf(*chosen);
    request.initialFolder = FolderOf(*chosen);
  }
  const DocumentPaths before = paths_;
  TakeChosenPath(*chosen);
  const bool saved = Save();
  // A failed save replaces neither file, so the document is still the one it was: its caption and
  // file-name field must not name a file that was never written.
  if (!saved) paths_ = before;
  WriteFolderSettings();
  return saved ? SaveResult::Saved : SaveResult::Failed;
}

bool CTavrinDoc::MayReplace(const std::string& chosen) {
  DocumentPaths planned;
  planned.settingsPath = chosen;
  planned.settingsTitle = FileNameOf(chosen);
  planned.settingsFolder = FolderOf(chosen);
  EnsureBinExtension(planned);
  DeriveNamePaths(planned);
  // The dialog asked about the file chosen as it was typed; the pair of that file goes with it.
  struct stat info {};
  const bool confirmed = planned.settingsPath == chosen && stat(chosen.c_str(), &info) == 0;
  std::vector<std::string> inTheWay;
  for (const std::string* path : {&planned.settingsPath, &planned.namePath}) {
    for (const std::string& name : NamesInAnyCase(FolderOf(*path), FileNameOf(*path))) {
      const std::string found = JoinPath(FolderOf(*path), name);
      if (confirmed && (found == planned.settingsPath || found == planned.namePath)) continue;
      inTheWay.push_back(name);
    }
  }
  if (inTheWay.empty()) return true;
  std::string list;
  for (const std::string& name : inTheWay) list += "  " + name + "\n";
  const std::string question =
      "同じ名前（大文字と小文字の違いを除く）のファイルが既にあります。\n\n" + list +
      "\n保存すると置き換えられるか、並んで残ります。保存しますか？";
  return messages_.Show(question, kSaveAsTitle, MsgButtons::YesNoDefaultNo, MsgIcon::Exclamation) ==
         MsgAnswer::Yes;
}

void CTavrinDoc::SaveCommand() {
  if (!PreSaveCheck()) return;
  if (!untitled_) {
    Save();
  } else if (SaveAs() == SaveResult::Cancelled) {
    return;
  }
  Refresh();
}

void CTavrinDoc::SaveAsCommand() {
  if (!PreSaveCheck()) return;
  if (SaveAs() == SaveResult::Cancelled) return;
  Refresh();
}

MsgAnswer CTavrinDoc::SaveModifiedPrompt() {
  if (!modified_) return MsgAnswer::Yes;
  const std::string text =
      untitled_
          ? std::string("\"新規ファイル\" は変更されています。　保存しますか？")
          : FormatMessage("\"%s\" は変更されています。　保存しますか？", paths_.settingsTitle);
  const MsgAnswer answer =
      messages_.Show(text, kAppCaption, MsgButtons::YesNoCancel, MsgIcon::Exclamation);
  if (answer == MsgAnswer::No) return MsgAnswer::No;
  if (answer != MsgAnswer::Yes) return MsgAnswer::Cancel;
  if (!PreSaveCheck()) return MsgAnswer::Cancel;
  // Whatever the caller does next would discard the changes the user just asked to keep, so a
  // cancelled dialog or a failed write abandons it.
  const bool saved = untitled_ ? SaveAs() == SaveResult::Saved : Save();
  return saved ? MsgAnswer::Yes : MsgAnswer::Cancel;
}

bool CTavrinDoc::PreSaveCheck() {
  if (!view_) return true;
  Result<> saveable = CheckSaveable(view_->WorkingModel());
  if (!saveable) ShowMessage(saveable.message());
  return saveable.ok();
}

void CTavrinDoc::ReadFolderSettings() {
  paths_.settingsFolder = ReadPathValue(profile_, "OBJDIR");
  paths_.settingsPath = ReadPathValue(profile_, "OBJPATH");
  paths_.nameFolder = ReadPathValue(profile_, "NAMEDIR");
  paths_.namePath = ReadPathValue(profile_, "NAMEPATH");
  csv.folder = ReadPathValue(profile_, "CSVDIR");
}

void CTavrinDoc::WriteFolderSettings() {
  profile_.WriteString("OBJDIR", paths_.settingsFolder);
  profile_.WriteString("OBJPATH", paths_.settingsPath);
  profile_.WriteString("NAMEDIR", paths_.nameFolder);
  profile_.WriteString("NAMEPATH", paths_.namePath);
  profile_.WriteString("CSVDIR", csv.folder);
}

void CTavrinDoc::ClearFolderSettings() {
  paths_.settingsFolder.clear();
  paths_.settingsPath.clear();
  paths_.nameFolder.clear();
  paths_.namePath.clear();
  csv.folder.clear();
  WriteFolderSettings();
}

bool CTavrinDoc::PrepareDataFolder() {
  std::optional<std::string> folder = tavrin::PrepareDataFolder();
  if (!folder) return false;
  dataFolder_ = *folder;
  holidayPath_ = JoinPath(dataFolder_, kHolidayFileName);
  settingsIniPath_ = JoinPath(dataFolder_, kSettingsIniName);
  return true;
}

std::string CTavrinDoc::CurrentDirectory() const {
  std::string folder = currentDirectory_ ? currentDirectory_() : std::string();
  if (!folder.empty()) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
  }
  return folder;
}

std::string CTavrinDoc::InitialFolder() const {
  if (!paths_.settingsFolder.empty()) return paths_.settingsFolder;
  return CurrentDirectory();
}

std::vector<std::string> CTavrinDoc::FilesRead() const {
  std::vector<std::string> files = {holidayPath_, settingsIniPath_};
  if (!untitled_) files.insert(files.end(), {paths_.settingsPath, paths_.namePath});
  return files;
}

void CTavrinDoc::ClearNames() { std::memset(&names_, 0, sizeof names_); }

bool CTavrinDoc::PutImageBytes(const uint8_t* data, std::size_t length, std::size_t offset) {
  return tavrin::PutImageBytes(image_, data, length, offset);
}

}  // namespace tavrin
