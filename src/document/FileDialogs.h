// The standard open and save dialogs as the program's logic sees them.
#pragma once

#include <optional>
#include <string>

namespace tavrin {

enum FileDialogFlags : unsigned {
  kHideReadOnly = 1u << 0,
  kPathMustExist = 1u << 1,
  kFileMustExist = 1u << 2,
  kOverwritePrompt = 1u << 3,
};

struct FileDialogRequest {
  bool save = false;  // a save dialog, else an open dialog
  std::string title;
  std::string filter;            // "description |*.EXT|"
  std::string defaultExtension;  // without the dot, added to a name typed without extension
  std::string defaultFileName;
  std::string initialFolder;  // empty: the current directory
  unsigned flags = 0;
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen full path (UTF-8), or nothing when the user cancels.
  virtual std::optional<std::string> Run(const FileDialogRequest& request) = 0;
};

// The dialogs' own rule for a typed name: without an extension the default one is added.
std::string ApplyDefaultExtension(const std::string& path, const std::string& extension);

}  // namespace tavrin
