#include "document/PathText.h"

#include "document/FileDialogs.h"

namespace tavrin {

bool FitsPathBuffer(const std::string& path) {
  std::size_t chars = 0;
  for (unsigned char c : path) {
    if ((c & 0xC0) != 0x80) ++chars;  // count lead bytes only
  }
  return chars <= kMaxPathChars;
}

std::string FileNameOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string ReplaceExtension(const std::string& fileName, const std::string& extension) {
  return fileName.substr(0, fileName.size() - ExtensionOf(fileName).size()) + extension;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string ApplyDefaultExtension(const std::string& path, const std::string& extension) {
  std::string name = FileNameOf(path);
  std::size_t dot = name.rfind('.');
  if (extension.empty() || name.empty() || (dot != std::string::npos && dot > 0)) return path;
  return path + "." + extension;
}

}  // namespace tavrin
