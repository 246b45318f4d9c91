#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <string>

#include "document/FileProbe.h"
#include "model/Translation.h"

namespace tavrin {
namespace {

// A value is put in as it is: a file name holding "%s" is no place for the next value.
TEST(Translation, PatternValuesAreInsertedInOrderAndNeverReplacedAgain) {
  struct Case {
    const char* pattern;
    std::initializer_list<std::string> values;
    std::string expected;
  };
  const Case cases[] = {
      {"cannot write %s", {"/tmp/%s.BIN"}, "cannot write /tmp/%s.BIN"},
      {"%s is outside %s..%s", {"%s", "1", "99"}, "%s is outside 1..99"},
      {"%s is outside %s..%s", {"300", "1"}, "300 is outside 1..%s"},
      {"%s holds no year", {"a", "b"}, "a holds no year"},
      {"there is no data folder", {"x"}, "there is no data folder"},
      {"%s: expected %s", {"", "%s%s"}, ": expected %s%s"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TrFormat(c.pattern, c.values), c.expected) << c.pattern;
  }
}

// The file-fault words follow the catalogue's language: the desktop program asks for Japanese by
// name, whatever the locale; the command-line tool gets the column of the locale's catalogue.
TEST(Translation, FileFaultWordsFollowTheCatalogueLanguage) {
  const std::string locales = std::string(TAVRIN_BINARY_DIR) + "/share/locale";
  struct Case {
    const char* locale;
    Language asked;
    std::string expected;
  };
  const Case cases[] = {
      {"C", Language::kEnglish, "X.BIN does not exist"},
      {"C", Language::kJapanese, "X.BIN は存在しません。"},
      {"ja_JP.UTF-8", Language::kEnglish, "X.BIN は存在しません。"},
      {"ja_JP.UTF-8", Language::kJapanese, "X.BIN は存在しません。"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(setenv("LC_ALL", c.locale, 1), 0);
    UseCatalogue(locales);
    if (std::string(c.locale) != "C") {
      ASSERT_NE(std::setlocale(LC_MESSAGES, nullptr), std::string("C"))
          << "the ja_JP.UTF-8 locale is missing (scripts/deps.sh generates it as root)";
    }
    EXPECT_EQ(FileFault("X.BIN", ENOENT, c.asked), c.expected) << c.locale;
  }
  unsetenv("LC_ALL");
  std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace tavrin
