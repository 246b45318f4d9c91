#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "TempFolder.h"
#include "app/UserGuide.h"

namespace tavrin {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

TEST(UserGuideTest, PicturesThatAreMissingGoWithTheirLines) {
  const std::set<std::string> present = {"images/channels.png"};
  const GuidePage page = PreparePage("channels.md",
                                     "# チャンネルを設定する\n"
                                     "\n"
                                     "はじめに。\n"
                                     "![メインウィンドウ](images/main-window.png)\n"
                                     "## 1. 画面\n"
                                     "  ![チャンネル](images/channels.png)  \n"
                                     "文中の ![絵](images/inline.png) は行ごと消さない。\n"
                                     "# 二つ目の見出し\n",
                                     [&](const std::string& p) { return present.count(p) > 0; });
  EXPECT_EQ(page.file, "channels.md");
  EXPECT_EQ(page.title, "チャンネルを設定する");  // the first heading, not a later one
  EXPECT_EQ(page.markdown,
            "# チャンネルを設定する\n"
            "\n"
            "はじめに。\n"
            "## 1. 画面\n"
            "  ![チャンネル](images/channels.png)  \n"
            "文中の ![絵](images/inline.png) は行ごと消さない。\n"
            "# 二つ目の見出し\n");
}

TEST(UserGuideTest, EveryListItemOfTheContentsIsALineOfIt) {
  const std::vector<GuideEntry> entries = ReadContents(
      "# Tavrin 使い方\n"
      "\n"
      "本文の [リンク](main-window.md) は目次ではない。\n"
      "1. [画面のあらまし](main-window.md)\n"
      "2. はじめてのスケジュールを作る\n"
      "   1. [チャンネルを設定する](channels.md)\n"
      "   - [週間プログラムを作る](weekly.md)  \n"
      "10. [絵](images/a.png)\n"
      "- [上のフォルダー](../secret.md)\n"
      "* [後ろに文](terms.md) のある項目\n"
      "1.[空白なし](x.md)\n");
  const std::vector<GuideEntry> expected = {
      {1, "画面のあらまし", "main-window.md"},
      {1, "はじめてのスケジュールを作る", ""},
      {2, "チャンネルを設定する", "channels.md"},
      {2, "週間プログラムを作る", "weekly.md"},
      {1, "[絵](images/a.png)", ""},
      {1, "[上のフォルダー](../secret.md)", ""},
      {1, "[後ろに文](terms.md) のある項目", ""},
  };
  ASSERT_EQ(entries.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("line " + std::to_string(i));
    EXPECT_EQ(entries[i].level, expected[i].level);
    EXPECT_EQ(entries[i].title, expected[i].title);
    EXPECT_EQ(entries[i].file, expected[i].file);
  }
}

TEST(UserGuideTest, TheFirstShippedFolderWithAContentsPageGivesTheGuide) {
  TempFolder first, second, third;
  std::filesystem::create_directories(first / "guide");
  std::filesystem::create_directories(second / "guide/images");
  std::filesystem::create_directories(third / "guide");
  WriteBytes(first / "guide/channels.md", "# only a page, no contents\n");
  WriteBytes(third / "guide/index.md", "# third\n");
  WriteBytes(second / "guide/index.md",
             "# second\n1. [A](a.md)\n2. [B](b.md)\n3. [gone](gone.md)\n4. [A again](a.md)\n");
  WriteBytes(second / "guide/a.md", "# A\n![a](images/a.png)\n![b](images/b.png)\n");
  WriteBytes(second / "guide/b.md", "# B\n");
  WriteBytes(second / "guide/images/b.png", "png");
  EXPECT_EQ(FindGuide({first.path(), second.path(), third.path()}), second / "guide");
  EXPECT_EQ(FindGuide({first.path()}), std::nullopt);

  const std::optional<UserGuide> guide = LoadGuide(second / "guide");
  ASSERT_TRUE(guide);
  EXPECT_EQ(guide->folder, second / "guide");
  EXPECT_EQ(guide->contents.title, "second");
  // A page that cannot be read goes with its line; a page linked twice is read once.
  ASSERT_EQ(guide->entries.size(), 3u);
  EXPECT_EQ(guide->entries[2].title, "A again");
  ASSERT_EQ(guide->pages.size(), 2u);
  EXPECT_EQ(guide->pages[0].markdown, "# A\n![b](images/b.png)\n");
  EXPECT_EQ(guide->pages[1].title, "B");
  EXPECT_EQ(guide->Page("b.md"), &guide->pages[1]);
  EXPECT_EQ(guide->Page("index.md"), &guide->contents);
  EXPECT_EQ(guide->Page("gone.md"), nullptr);
  EXPECT_FALSE(LoadGuide(first / "guide"));
}

TEST(UserGuideTest, ASearchFindsEveryPlaceOfAWordInEveryPage) {
  const std::vector<GuideText> pages = {
      {"a.md", "A", "USBメモリに保存する。\nＵＳＢケーブルで保存\n"},
      {"b.md", "B", "あああ ほぞん ホゾン\xEF\xBF\xBC保存。"},
  };
  struct Hit {
    std::string file;
    std::size_t offset;
    std::string match, before, after;
  };
  const struct {
    const char* query;
    std::vector<Hit> hits;
  } cases[] = {
      {"保存",
       {{"a.md", 15, "保存", "USBメモリに", "する。"},
        {"a.md", 55, "保存", "ＵＳＢケーブルで", ""},
        {"b.md", 32, "保存", "あああ ほぞん ホゾン", "。"}}},
      // Case and width are one; the page's own form is what is found.
      {"usb",
       {{"a.md", 0, "USB", "", "メモリに保存する。"},
        {"a.md", 31, "ＵＳＢ", "", "ケーブルで保存"}}},
      {"ｕｓｂケーブル", {{"a.md", 31, "ＵＳＢケーブル", "", "で保存"}}},
      {"　保存 ", {{"a.md", 15, "", "", ""}, {"a.md", 55, "", "", ""}, {"b.md", 32, "", "", ""}}},
      // Places do not overlap; hiragana and katakana are different words.
      {"ああ", {{"b.md", 0, "ああ", "", "あ ほぞん ホゾン保存。"}}},
      {"ほぞん", {{"b.md", 10, "ほぞん", "あああ ", " ホゾン保存。"}}},
      {"保存す", {{"a.md", 15, "保存す", "USBメモリに", "る。"}}},
      {"存在", {}},
      {"", {}},
      {" 　", {}},
      {"USBメモリに保存する。ＵＳＢケーブルで保存して終わり", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.query);
    const GuideSearch search = SearchGuide(pages, c.query);
    ASSERT_EQ(search.hits.size(), c.hits.size());
    EXPECT_EQ(search.total, c.hits.size());
    for (std::size_t i = 0; i < c.hits.size(); ++i) {
      EXPECT_EQ(search.hits[i].file, c.hits[i].file);
      EXPECT_EQ(search.hits[i].title, c.hits[i].file == "a.md" ? "A" : "B");
      EXPECT_EQ(search.hits[i].offset, c.hits[i].offset);
      if (c.hits[i].match.empty()) continue;
      EXPECT_EQ(search.hits[i].match, c.hits[i].match);
      EXPECT_EQ(search.hits[i].length, c.hits[i].match.size());
      EXPECT_EQ(search.hits[i].before, c.hits[i].before);
      EXPECT_EQ(search.hits[i].after, c.hits[i].after);
    }
  }
}

TEST(UserGuideTest, AHitListsTwentyCharactersBeforeAndThirtyAfterAtMost) {
  const struct {
    std::size_t before, after;
    std::string shownBefore, shownAfter;
  } cases[] = {
      {20, 30, std::string(20, 'x'), std::string(30, 'y')},
      {21, 31, "…" + std::string(20, 'x'), std::string(30, 'y') + "…"},
      {0, 0, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.before) + " before, " + std::to_string(c.after) + " after");
    const std::string text = std::string(c.before, 'x') + "語" + std::string(c.after, 'y');
    const GuideSearch search = SearchGuide({{"a.md", "A", text}}, "語");
    ASSERT_EQ(search.hits.size(), 1u);
    EXPECT_EQ(search.hits[0].before, c.shownBefore);
    EXPECT_EQ(search.hits[0].after, c.shownAfter);
  }
}

TEST(UserGuideTest, PlacesBeyondTheLimitAreCountedButNotListed) {
  const GuideSearch search = SearchGuide({{"a.md", "A", "語語語"}, {"b.md", "B", "語"}}, "語", 3);
  EXPECT_EQ(search.hits.size(), 3u);
  EXPECT_EQ(search.total, 4u);
  EXPECT_EQ(search.hits.back().file, "a.md");
}

// The shipped guide, as the package installs it.
class ShippedGuideTest : public ::testing::Test {
 protected:
  static std::string Folder() { return TAVRIN_SOURCE_DIR "/docs/guide"; }
};

TEST_F(ShippedGuideTest, EveryPageIsInTheContentsAndEveryLineOfItHasItsPage) {
  const std::optional<UserGuide> guide = LoadGuide(Folder());
  ASSERT_TRUE(guide);
  std::set<std::string> listed;
  for (const GuideEntry& entry : guide->entries) {
    if (entry.file.empty()) continue;
    listed.insert(entry.file);
    const GuidePage* page = guide->Page(entry.file);
    ASSERT_NE(page, nullptr) << entry.file;
    EXPECT_FALSE(page->title.empty()) << entry.file;
  }
  for (const auto& file : std::filesystem::directory_iterator(Folder())) {
    const std::string name = file.path().filename().string();
    if (file.path().extension() == ".md" && name != kGuideContentsPage) {
      EXPECT_TRUE(listed.count(name)) << name << " is not in the contents";
    }
  }
}

// A link between pages that leads nowhere opens an empty window in the program; the files on disk
// decide, not the guide's reader.
TEST_F(ShippedGuideTest, EveryLinkOfEveryPageLeadsToAPageThatIsThere) {
  const std::regex link(R"(\]\(([^)]+)\))");
  for (const auto& file : std::filesystem::directory_iterator(Folder())) {
    if (file.path().extension() != ".md") continue;
    const std::string text = ReadBytes(file.path().string());
    for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
      const std::string target = (*it)[1];
      if (target.starts_with("images/")) continue;  // taken at package time
      EXPECT_TRUE(target.ends_with(".md") && target.find('/') == std::string::npos &&
                  std::filesystem::is_regular_file(std::filesystem::path(Folder()) / target))
          << file.path().filename() << " links to " << target;
    }
  }
}

TEST_F(ShippedGuideTest, ThePagesSayTheTimerAndAskAsTheProgramDoes) {
  // Outside the program's own texts, quoted in 「」, the guide writes one word for the timer and
  // asks with ください; the phrases that read like a translation are gone.
  const auto prose = [](std::string text) {
    for (std::size_t open = text.find("「"); open != std::string::npos;
         open = text.find("「", open + 1)) {
      const std::size_t close = text.find("」", open);
      if (close == std::string::npos) break;
      text.erase(open + std::string("「").size(), close - open - std::string("「").size());
    }
    return text;
  };
  const char* avoided[] = {"タイマー",     "下さい",         "空いていると",  "勝ちます",
                           "この使い方は", "出力が入ります", "出力を入れます"};
  for (const auto& file : std::filesystem::directory_iterator(Folder())) {
    if (file.path().extension() != ".md") continue;
    const std::string text = prose(ReadBytes(file.path().string()));
    for (const char* phrase : avoided) {
      EXPECT_EQ(text.find(phrase), std::string::npos)
          << file.path().filename() << " says " << phrase;
    }
  }
}

}  // namespace
}  // namespace tavrin
