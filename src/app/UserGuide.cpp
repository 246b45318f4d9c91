#include "app/UserGuide.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <system_error>

#include "model/ShiftJis.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

// A picture alone on its line, as the guide places them: ![what it shows](images/name.png)
const std::regex& PictureLine() {
  static const std::regex picture(R"(^\s*!\[[^\]]*\]\(([^)\s]+)\)\s*$)");
  return picture;
}

// A list item: its indent, then "1." or "-", then the text.
const std::regex& ListItem() {
  static const std::regex item(R"(^( *)(?:[0-9]+\.|[-*+]) +(.*?)\s*$)");
  return item;
}

// A link that makes up the whole item: [title](page.md)
const std::regex& PageLink() {
  static const std::regex link(R"(^\[([^\]]+)\]\(([^)\s/]+\.md)\)$)");
  return link;
}

std::optional<std::string> ReadText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) return std::nullopt;
  return text.str();
}

// One character as a search compares it: ASCII letters in lower case, full-width letters, digits
// and signs as their ASCII forms, the ideographic blank as a blank.
std::string FoldCharacter(std::string_view character) {
  if (character.size() == 1) {
    const char c = character[0];
    return std::string(1, c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  }
  if (character == "\xE3\x80\x80") return " ";
  if (character.size() == 3 && static_cast<unsigned char>(character[0]) == 0xEF) {
    // U+FF01..U+FF5E lie 0xFEE0 above "!".."~".
    const unsigned code = (0xFu << 12) | ((static_cast<unsigned char>(character[1]) & 0x3Fu) << 6) |
                          (static_cast<unsigned char>(character[2]) & 0x3Fu);
    if (code >= 0xFF01 && code <= 0xFF5E) {
      return FoldCharacter(std::string(1, static_cast<char>(code - 0xFEE0)));
    }
  }
  return std::string(character);
}

struct FoldedCharacter {
  std::string key;
  std::size_t offset;
  std::size_t length;
};

std::vector<FoldedCharacter> Fold(std::string_view text) {
  std::vector<FoldedCharacter> folded;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8CharLength(text, at);
    folded.push_back({FoldCharacter(text.substr(at, length)), at, length});
    at += length;
  }
  return folded;
}

bool IsBlank(const std::string& key) { return key == " " || key == "\t" || key == "\n"; }

// The query without the blanks around it.
std::vector<std::string> QueryKeys(std::string_view query) {
  std::vector<std::string> keys;
  for (const FoldedCharacter& character : Fold(query)) keys.push_back(character.key);
  while (!keys.empty() && IsBlank(keys.back())) keys.pop_back();
  const auto first = std::find_if_not(keys.begin(), keys.end(), IsBlank);
  keys.erase(keys.begin(), first);
  return keys;
}

constexpr std::size_t kCharactersBefore = 20;
constexpr std::size_t kCharactersAfter = 30;
// A picture in the shown text: nothing a reader of the hit list can read.
constexpr std::string_view kObjectMark = "\xEF\xBF\xBC";

constexpr std::string_view kCut = "…";

// Up to `count` characters of `text` from character `first` on (backwards when `step` is -1),
// stopping at the end of the line; "…" where the line goes on.
std::string Around(std::string_view text, const std::vector<FoldedCharacter>& characters,
                   std::ptrdiff_t first, std::size_t count, int step) {
  std::string out;
  std::size_t taken = 0;
  for (std::ptrdiff_t index = first;
       index >= 0 && index < static_cast<std::ptrdiff_t>(characters.size()); index += step) {
    const FoldedCharacter& character = characters[static_cast<std::size_t>(index)];
    const std::string_view shown = text.substr(character.offset, character.length);
    if (shown == "\n") break;
    if (shown == kObjectMark) continue;
    if (taken++ == count) {
      out = step > 0 ? out + std::string(kCut) : std::string(kCut) + out;
      break;
    }
    out = step > 0 ? out + std::string(shown) : std::string(shown) + out;
  }
  return out;
}

}  // namespace

const GuidePage* UserGuide::Page(const std::string& file) const {
  if (file == contents.file) return &contents;
  const auto found = std::find_if(pages.begin(), pages.end(),
                                  [&](const GuidePage& page) { return page.file == file; });
  return found == pages.end() ? nullptr : &*found;
}

std::optional<std::string> FindGuide(const std::vector<std::string>& shippedFolders) {
  for (const std::string& folder : shippedFolders) {
    std::error_code error;
    const fs::path candidate = fs::path(folder) / kGuideFolderName;
    if (fs::is_regular_file(candidate / kGuideContentsPage, error)) return candidate.string();
  }
  return std::nullopt;
}

GuidePage PreparePage(const std::string& file, const std::string& markdown,
                      const std::function<bool(const std::string&)>& pictureExists) {
  GuidePage page;
  page.file = file;
  std::istringstream lines(markdown);
  for (std::string line; std::getline(lines, line);) {
    if (page.title.empty() && line.rfind("# ", 0) == 0) page.title = line.substr(2);
    std::smatch picture;
    if (std::regex_match(line, picture, PictureLine()) && !pictureExists(picture[1].str())) {
      continue;
    }
    page.markdown += line + "\n";
  }
  return page;
}

std::vector<GuideEntry> ReadContents(const std::string& markdown) {
  std::vector<GuideEntry> entries;
  std::istringstream lines(markdown);
  for (std::string line; std::getline(lines, line);) {
    std::smatch item;
    if (!std::regex_match(line, item, ListItem())) continue;
    GuideEntry entry;
    entry.level = item[1].length() == 0 ? 1 : 2;
    const std::string text = item[2].str();
    std::smatch link;
    if (std::regex_match(text, link, PageLink())) {
      entry.title = link[1].str();
      entry.file = link[2].str();
    } else {
      entry.title = text;
    }
    entries.push_back(entry);
  }
  return entries;
}

std::optional<UserGuide> LoadGuide(const std::string& folder) {
  const fs::path root(folder);
  const auto exists = [&root](const std::string& picture) {
    std::error_code error;
    return fs::is_regular_file(root / picture, error);
  };
  const std::optional<std::string> contents = ReadText(root / kGuideContentsPage);
  if (!contents) return std::nullopt;
  UserGuide guide;
  guide.folder = folder;
  guide.contents = PreparePage(kGuideContentsPage, *contents, exists);
  for (const GuideEntry& entry : ReadContents(guide.contents.markdown)) {
    if (!entry.file.empty() && guide.Page(entry.file) == nullptr) {
      const std::optional<std::string> page = ReadText(root / entry.file);
      if (!page) continue;
      guide.pages.push_back(PreparePage(entry.file, *page, exists));
    }
    guide.entries.push_back(entry);
  }
  return guide;
}

GuideSearch SearchGuide(const std::vector<GuideText>& pages, std::string_view query,
                        std::size_t limit) {
  GuideSearch search;
  const std::vector<std::string> keys = QueryKeys(query);
  if (keys.empty()) return search;
  for (const GuideText& page : pages) {
    const std::vector<FoldedCharacter> characters = Fold(page.text);
    for (std::size_t at = 0; at + keys.size() <= characters.size();) {
      const bool found =
          std::equal(keys.begin(), keys.end(), characters.begin() + std::ptrdiff_t(at),
                     [](const std::string& key, const FoldedCharacter& character) {
                       return key == character.key;
                     });
      if (!found) {
        ++at;
        continue;
      }
      const FoldedCharacter& last = characters[at + keys.size() - 1];
      const std::size_t offset = characters[at].offset;
      const std::size_t length = last.offset + last.length - offset;
      if (search.hits.size() < limit) {
        search.hits.push_back(
            {page.file, page.title, offset, length,
             Around(page.text, characters, std::ptrdiff_t(at) - 1, kCharactersBefore, -1),
             page.text.substr(offset, length),
             Around(page.text, characters, std::ptrdiff_t(at + keys.size()), kCharactersAfter, 1)});
      }
      ++search.total;
      at += keys.size();
    }
  }
  return search;
}

}  // namespace tavrin
