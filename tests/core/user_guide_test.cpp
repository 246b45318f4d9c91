#include <gtest/gtest.h>

#include <set>
#include <string>

#include "TempFolder.h"
#include "app/UserGuide.h"

namespace tavrin {
namespace {

using testing::TempFolder;

constexpr char kGuide[] =
    "# Tavrin 使い方\n"
    "\n"
    "はじめに。\n"
    "![メインウィンドウ](images/main-window.png)\n"
    "## 1. 画面\n"
    "  ![チャンネル](images/channels.png)  \n"
    "文中の ![絵](images/inline.png) は行ごと消さない。\n"
    "# 二つ目の見出し\n";

TEST(UserGuideTest, PicturesThatAreMissingGoWithTheirLines) {
  const std::set<std::string> present = {"images/channels.png"};
  const UserGuide guide = PrepareGuide(kGuide, "/usr/share/tavrin/guide",
                                       [&](const std::string& p) { return present.count(p) > 0; });
  EXPECT_EQ(guide.title, "Tavrin 使い方");  // the first heading, not a later one
  EXPECT_EQ(guide.folder, "/usr/share/tavrin/guide");
  EXPECT_EQ(guide.markdown,
            "# Tavrin 使い方\n"
            "\n"
            "はじめに。\n"
            "## 1. 画面\n"
            "  ![チャンネル](images/channels.png)  \n"
            "文中の ![絵](images/inline.png) は行ごと消さない。\n"
            "# 二つ目の見出し\n");
}

TEST(UserGuideTest, TheFirstShippedFolderWithAGuideGivesIt) {
  TempFolder first, second, third;
  std::filesystem::create_directories(second / "guide");
  std::filesystem::create_directories(third / "guide");
  testing::WriteBytes(second / "guide/guide.md", "# second\n");
  testing::WriteBytes(third / "guide/guide.md", "# third\n");
  EXPECT_EQ(FindGuide({first.path(), second.path(), third.path()}), second / "guide/guide.md");
  EXPECT_EQ(FindGuide({first.path()}), std::nullopt);

  std::filesystem::create_directories(second / "guide/images");
  testing::WriteBytes(second / "guide/guide.md",
                      "# second\n![a](images/a.png)\n![b](images/b.png)\n");
  testing::WriteBytes(second / "guide/images/b.png", "png");
  const std::optional<UserGuide> loaded = LoadGuide(second / "guide/guide.md");
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->markdown, "# second\n![b](images/b.png)\n");
  EXPECT_EQ(loaded->folder, second / "guide");
  EXPECT_FALSE(LoadGuide(first / "guide/guide.md"));
}

}  // namespace
}  // namespace tavrin
