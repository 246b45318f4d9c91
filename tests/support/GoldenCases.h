// Golden folders as test cases: one case per folder, in name order and named after it, so that a
// failure names the folder. A comparison that fails leaves what was made in the build's temporary
// folder (never beside the golden file) and says where.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tavrin::testing {

inline std::filesystem::path GoldenRoot(const std::string& kind) {
  return std::filesystem::path(TAVRIN_GOLDEN_DIR) / kind;
}

// The folders under golden/<kind>, sorted; a missing kind gives none, which GoogleTest reports
// as an instantiation without cases.
inline std::vector<std::string> GoldenFolders(const std::string& kind) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(GoldenRoot(kind), error)) {
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// GoogleTest takes only letters, digits and '_' in a case name: "no-radio" runs as "no_radio".
inline std::string GoldenCaseName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

// Where the first difference lies, by byte and by line.
inline std::string FirstDifference(const std::string& actual, const std::string& expected) {
  const auto [a, e] = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
  const auto offset = static_cast<std::size_t>(a - actual.begin());
  std::string where = "first difference at byte " + std::to_string(offset) + " (line " +
                      std::to_string(1 + std::count(actual.begin(), a, '\n')) + ")";
  if (a == actual.end() || e == expected.end()) {
    return where + ": " + std::to_string(actual.size()) + " bytes instead of " +
           std::to_string(expected.size());
  }
  return where + ": " + std::to_string(static_cast<unsigned char>(*a)) + " instead of " +
         std::to_string(static_cast<unsigned char>(*e));
}

// Passes when `actual` is the golden file's bytes. Otherwise writes `actual` to
// <build>/Testing/Temporary/golden/<kind>/<folder>/<golden file name> and names it.
inline ::testing::AssertionResult SameAsGolden(const std::string& actual, const std::string& kind,
                                               const std::string& folder, const std::string& file) {
  const std::filesystem::path golden = GoldenRoot(kind) / folder / file;
  std::ifstream in(golden, std::ios::binary);
  if (!in) return ::testing::AssertionFailure() << golden.string() << " cannot be read";
  const std::string expected{std::istreambuf_iterator<char>(in), {}};
  if (actual == expected) return ::testing::AssertionSuccess();
  const std::filesystem::path kept =
      std::filesystem::path(TAVRIN_TEST_TEMP_DIR) / "golden" / kind / folder / file;
  std::error_code error;
  std::filesystem::create_directories(kept.parent_path(), error);
  std::ofstream(kept, std::ios::binary) << actual;
  return ::testing::AssertionFailure()
         << golden.string() << ": " << FirstDifference(actual, expected)
         << "; the actual output is in " << kept.string();
}

}  // namespace tavrin::testing
