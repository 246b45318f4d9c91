// The user guide: a Markdown file "guide/guide.md" among the shipped files, with its screenshots
// in "guide/images" beside it. A developer build has no screenshots (the package build takes
// them), so the guide is shown without the pictures it cannot find.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tavrin {

inline constexpr char kGuideRelativePath[] = "guide/guide.md";
inline constexpr char kGuideMissing[] = "使い方のファイル \"%s\" が見つかりません。";

struct UserGuide {
  std::string title;     // the text of the first "# " heading
  std::string markdown;  // without the pictures that are not there
  std::string folder;    // where the pictures' relative paths start
};

// The guide of the first shipped folder that has one.
std::optional<std::string> FindGuide(const std::vector<std::string>& shippedFolders);

// `pictureExists` gets each picture's path as the guide writes it. A picture that is missing is
// left out with its line; the text around it says what it would show.
UserGuide PrepareGuide(const std::string& markdown, const std::string& folder,
                       const std::function<bool(const std::string&)>& pictureExists);

// Reads and prepares the guide at `path`; nothing when it cannot be read.
std::optional<UserGuide> LoadGuide(const std::string& path);

}  // namespace tavrin
