#include "model/Translation.h"

#include <libintl.h>

#include <clocale>
#include <cstring>

namespace tavrin {

std::string Tr(const char* english) { return dgettext(kTextDomain, english); }

std::string TrFormat(const char* english, std::initializer_list<std::string> values) {
  std::string text = Tr(english);
  std::size_t from = 0;
  for (const std::string& value : values) {
    const std::size_t at = text.find("%s", from);
    if (at == std::string::npos) break;
    text.replace(at, 2, value);
    from = at + value.size();
  }
  return text;
}

std::string TrCount(const char* one, const char* many, unsigned long count) {
  std::string text = dngettext(kTextDomain, one, many, count);
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, std::to_string(count));
  return text;
}

Language ForLocale(Language language) {
  if (language == Language::kJapanese) return language;
  // The catalogue's header is the translation of the empty id; it names the catalogue's language.
  const char* header = dgettext(kTextDomain, "");
  const bool japanese = header[0] != '\0' && std::strstr(header, "\nLanguage: ja") != nullptr;
  return japanese ? Language::kJapanese : Language::kEnglish;
}

void UseCatalogue(const std::string& localeDir) {
  // Only these two: the numeric and time categories would change how reports and JSON are written.
  std::setlocale(LC_CTYPE, "");
  std::setlocale(LC_MESSAGES, "");
  bindtextdomain(kTextDomain, localeDir.c_str());
  // The program's other texts are UTF-8 whatever the terminal's character set.
  bind_textdomain_codeset(kTextDomain, "UTF-8");
}

}  // namespace tavrin
