// Path texts as the document keeps them: UTF-8, "/"-separated, at most 260 characters.
#pragma once

#include <string>

#include "document/SettingsFiles.h"  // kMaxPathChars

namespace tavrin {

// True when the path fits the program's path buffers (counted in characters, not bytes).
bool FitsPathBuffer(const std::string& path);
// The last element of the path.
std::string FileNameOf(const std::string& path);
// The folder holding the path's last element: "/" for the root folder, "." for a bare name.
std::string FolderOf(const std::string& path);
// `folder` + "/" + `name`, without doubling a trailing "/".
std::string JoinPath(const std::string& folder, const std::string& name);
// `fileName` with `extension` (".CSV") in place of its own.
std::string ReplaceExtension(const std::string& fileName, const std::string& extension);

}  // namespace tavrin
