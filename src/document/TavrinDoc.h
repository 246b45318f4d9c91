// The program's one document: the current settings image and program names, their files, the
// "modified" and "untitled" flags, the remembered folders and the data folder. Everything the user
// sees or answers goes through MessageSink and FileDialogs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "document/FileDialogs.h"
#include "document/ProfileStore.h"
#include "document/SafeWrite.h"
#include "document/SettingsFiles.h"
#include "model/ImageLayout.h"
#include "model/Messages.h"
#include "model/ScheduleModel.h"

namespace tavrin {

// What the document needs from the main view.
class DocumentView {
 public:
  virtual ~DocumentView() = default;
  virtual const ScheduleModel& WorkingModel() const = 0;
  // Packs the working model and copies image and names into the document.
  virtual void StoreToDocument() = 0;
  virtual void RefreshFromDocument() = 0;
};

enum class SaveResult { Saved, Failed, Cancelled };

class CTavrinDoc {
 public:
  // Reads the folder settings and starts as a new document.
  CTavrinDoc(ProfileStore& profile, MessageSink& messages, FileDialogs& dialogs);
  // Writes the folder settings.
  ~CTavrinDoc();
  CTavrinDoc(const CTavrinDoc&) = delete;
  CTavrinDoc& operator=(const CTavrinDoc&) = delete;

  void AttachView(DocumentView* view) { view_ = view; }
  // The system the files are saved through; the real one by default.
  void SetWriteSystem(WriteSystem& system) { writeSystem_ = &system; }
  // The folder that stands in for an empty remembered folder; the process's by default.
  void SetCurrentDirectoryProvider(std::function<std::string()> provider) {
    currentDirectory_ = std::move(provider);
  }

  // Commands of the file menu.
  void NewCommand();
  void OpenCommand();
  void SaveCommand();
  void SaveAsCommand();
  // A settings file named from outside (command line). True when it was read.
  bool OpenByPath(const std::string& path);

  void NewDocument();
  // To the current path; true when both files were written.
  bool Save();
  SaveResult SaveAs();
  // Yes, No or Cancel; Cancel means the caller abandons what it was about to do.
  MsgAnswer SaveModifiedPrompt();
  bool PreSaveCheck();

  void ReadFolderSettings();
  void WriteFolderSettings();
  void ClearFolderSettings();
  bool PrepareDataFolder();
  // The remembered settings folder, else the current directory (created when missing).
  std::string InitialFolder() const;
  std::string CurrentDirectory() const;

  // The image and the names.
  void InitImage() { tavrin::InitImage(image_); }
  void GetImage(SettingsImage& out) const { out = image_; }
  void SetImage(const SettingsImage& in) { image_ = in; }
  // The same schedule: the step records may stand in another order (see SameSchedule).
  bool SameImage(const SettingsImage& other) const { return SameSchedule(image_, other); }
  const SettingsImage& image() const { return image_; }
  void ClearNames();
  void GetNames(ProgramNameTable& out) const { out = names_; }
  void SetNames(const ProgramNameTable& in) { names_ = in; }
  const ProgramNameTable& names() const { return names_; }
  // Copies min(length, 6594 - offset) bytes; false and nothing copied when offset >= 6594.
  bool PutImageBytes(const uint8_t* data, std::size_t length, std::size_t offset);
  static const char* IdText() { return kIdText; }
  static const char* ModelTag() { return kModelTag; }

  bool IsModified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  bool IsUntitled() const { return untitled_; }
  void SetUntitled(bool untitled) { untitled_ = untitled; }

  DocumentPaths& paths() { return paths_; }
  const DocumentPaths& paths() const { return paths_; }
  const std::string& SettingsPath() const { return paths_.settingsPath; }
  const std::string& SettingsTitle() const { return paths_.settingsTitle; }
  const std::string& NameTitle() const { return paths_.nameTitle; }
  // The path of the last file opened or saved (the recently-used entry).
  const std::string& DocumentPath() const { return documentPath_; }

  // The folder, path and file name of the last export.
  struct CsvPaths {
    std::string folder;
    std::string path;
    std::string title;
  } csv;

  // The files the document came from and the data files read with it: what no export may replace.
  std::vector<std::string> FilesRead() const;

  const std::string& DataFolder() const { return dataFolder_; }
  const std::string& HolidayFilePath() const { return holidayPath_; }
  const std::string& SettingsIniPath() const { return settingsIniPath_; }
  int OsMajorVersion() const { return osMajorVersion_; }

  MessageSink& messages() { return messages_; }
  FileDialogs& dialogs() { return dialogs_; }

 private:
  void TakeChosenPath(const std::string& path);
  // Whether saving as `chosen` may go on: files of the pair's names in another letter case, or the
  // name file of another schedule, are there only with the user's yes.
  bool MayReplace(const std::string& chosen);
  // Steps shared by the open dialog and a path from outside, after the path is taken.
  bool ReadChosenFiles();
  void ShowMessage(const std::string& text);
  void Refresh();

  ProfileStore& profile_;
  MessageSink& messages_;
  FileDialogs& dialogs_;
  DocumentView* view_ = nullptr;
  WriteSystem* writeSystem_ = &RealWriteSystem();
  std::function<std::string()> currentDirectory_;

  SettingsImage image_{};
  ProgramNameTable names_{};
  DocumentPaths paths_;
  std::string documentPath_;
  bool modified_ = false;
  bool untitled_ = true;

  std::string dataFolder_;
  std::string holidayPath_;
  std::string settingsIniPath_;
  int osMajorVersion_ = 0;
};

extern const char kSettingsFileFilter[];

}  // namespace tavrin
