// The NHK FM transmitters the timer can be tuned to, in the order of the station tree, and the
// three television sound channels. These two tables are the program's only copy of the stations.
#pragma once

#include <span>
#include <string_view>

namespace tavrin::radio {

// One row of a table. A row with a region name starts a region; one with a prefecture name starts
// a prefecture of the current region; one with a station name is a station of the current
// prefecture. Names are UTF-8.
struct StationRecord {
  const char* region;
  const char* prefecture;
  const char* station;
  const char* frequency;  // MHz as "82.5"; a television channel as "901"
  int key;                // -1 for regions and prefectures

  bool IsStation() const { return *station != '\0'; }
};

// The tree: 8 regions, 47 prefectures, 234 stations. Frequencies repeat, even inside a
// prefecture, so a station is known by its name or its key, never by its frequency.
std::span<const StationRecord> StationTable();
// The group "テレビ" and its channels "１ｃｈ".."３ｃｈ" (901..903). Not shown in the tree; it
// only tells a television channel's name.
std::span<const StationRecord> TelevisionTable();

// The first station of the tree, or of the television table, whose name is `sjisName` (Shift-JIS,
// as the model keeps it); null when none is.
const StationRecord* FindStation(std::string_view sjisName);
const StationRecord* FindTelevision(std::string_view sjisName);

}  // namespace tavrin::radio
