// tavrin-cli speaks the user's language: its English texts are the message ids of GNU gettext's
// domain "tavrin-cli", and the catalogue the locale chooses (LANGUAGE, LC_ALL, LC_MESSAGES, LANG)
// gives them in Japanese. Without a catalogue, or under the C locale, the English stands.
// The desktop program always speaks Japanese and asks for it by name (Language::kJapanese).
#pragma once

#include <initializer_list>
#include <string>

namespace tavrin {

inline constexpr char kTextDomain[] = "tavrin-cli";

enum class Language { kEnglish, kJapanese };

// Marks an English text for the catalogue where it is declared (a table, a constant); Tr gives it
// in the user's language where it is used.
constexpr const char* TrMark(const char* english) { return english; }

std::string Tr(const char* english);

// Tr of a pattern whose "%s" are replaced in order by `values`.
std::string TrFormat(const char* english, std::initializer_list<std::string> values);

// Tr of the form for `count` ("%s" replaced by it) among a singular and a plural pattern.
std::string TrCount(const char* one, const char* many, unsigned long count);

// The language texts kept in both languages in one table are given in: kEnglish, the command-line
// tool's, becomes kJapanese where the locale's catalogue is Japanese, so that those texts need no
// second copy in the catalogue.
Language ForLocale(Language language);

// Sets the locale's messages and character type from the environment and finds the catalogue in
// `localeDir` (<prefix>/share/locale beside the running program).
void UseCatalogue(const std::string& localeDir);

}  // namespace tavrin
