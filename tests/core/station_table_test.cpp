#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "editors/StationTable.h"
#include "model/ShiftJis.h"

namespace tavrin::radio {
namespace {

std::string Sjis(const char* utf8) { return ToShiftJis(utf8).value(); }

TEST(StationTable, HoldsTheRegionsPrefecturesAndStationsInTreeOrder) {
  std::vector<std::string> regions;
  int prefectures = 0, stations = 0;
  bool inPrefecture = false;
  for (const StationRecord& record : StationTable()) {
    const int kinds = (*record.region != '\0') + (*record.prefecture != '\0') + record.IsStation();
    ASSERT_EQ(kinds, 1) << "each row is a region, a prefecture or a station";
    if (*record.region != '\0') {
      regions.push_back(record.region);
      inPrefecture = false;
    } else if (*record.prefecture != '\0') {
      ASSERT_FALSE(regions.empty()) << record.prefecture << " before any region";
      ++prefectures;
      inPrefecture = true;
    } else {
      ASSERT_TRUE(inPrefecture) << record.station << " outside a prefecture";
      ++stations;
    }
    if (!record.IsStation()) {
      EXPECT_EQ(record.key, -1);
    }
  }
  EXPECT_EQ(regions,
            (std::vector<std::string>{"北海道地方", "東北地方", "関東甲信越地方", "東海北陸地方",
                                      "近畿地方", "中国地方", "四国地方", "九州地方"}));
  EXPECT_EQ(prefectures, 47);
  EXPECT_EQ(stations, 234);
}

TEST(StationTable, KeysAreUniqueAndNumberedInBlocksPerPrefecture) {
  std::set<int> keys;
  int expected = -1;
  for (const StationRecord& record : StationTable()) {
    if (!record.IsStation()) {
      expected = -1;
      continue;
    }
    EXPECT_TRUE(keys.insert(record.key).second) << "key " << record.key << " twice";
    EXPECT_GE(record.key, 0);
    EXPECT_LE(record.key, 502);
    // A prefecture's block starts at a multiple of ten and counts up without gaps.
    EXPECT_EQ(record.key, expected < 0 ? record.key / 10 * 10 : expected) << record.station;
    expected = record.key + 1;
  }
}

TEST(StationTable, EveryStationIsFoundByItsUniqueNameAndHasAnFmFrequency) {
  // Frequencies repeat, even inside one prefecture (氷上 and 北阪神 are both 88.6), so only the
  // name can find a station.
  const std::regex mhz(R"(\d\d\.\d)");
  std::set<std::string> names;
  for (const StationRecord& record : StationTable()) {
    if (!record.IsStation()) continue;
    EXPECT_TRUE(names.insert(record.station).second) << record.station << " twice";
    EXPECT_EQ(FindStation(Sjis(record.station)), &record) << record.station;
    EXPECT_TRUE(std::regex_match(record.frequency, mhz)) << record.station;
    const double value = std::stod(record.frequency);
    EXPECT_GE(value, 77.4) << record.station;
    EXPECT_LE(value, 89.9) << record.station;
  }
  EXPECT_EQ(FindStation(Sjis("ＮＨＫ東京")), nullptr);
  EXPECT_EQ(FindStation(Sjis("東京都")), nullptr) << "a prefecture is no station";
  EXPECT_EQ(FindStation(""), nullptr);
}

TEST(StationTable, TelevisionChannelsAreKnownByNameOnly) {
  std::vector<std::string> found;
  for (const char* name : {"１ｃｈ", "２ｃｈ", "３ｃｈ"}) {
    const StationRecord* channel = FindTelevision(Sjis(name));
    ASSERT_NE(channel, nullptr) << name;
    found.push_back(std::string(channel->frequency) + "/" + std::to_string(channel->key));
    EXPECT_EQ(FindStation(Sjis(name)), nullptr) << "not in the tree";
  }
  EXPECT_EQ(found, (std::vector<std::string>{"901/1000", "902/1001", "903/1002"}));
  EXPECT_EQ(FindTelevision(Sjis("東京")), nullptr);
  EXPECT_EQ(FindTelevision(Sjis("テレビ")), nullptr) << "the group is no channel";
}

}  // namespace
}  // namespace tavrin::radio
