// Picking an item of a drop-down list by typing its start, as list boxes do: keys typed within a
// short pause of each other add up, so "1" then "2" picks "12 時" rather than "2 時".
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace tavrin {

class ListTypeAhead {
 public:
  // Keys further apart than this start a new search.
  static constexpr int64_t kPauseMs = 1000;

  // The first item whose text starts with `typed`, letter case aside; a typed number with leading
  // zeros also finds its unpadded item ("08" finds "8 時"). -1 when none does.
  static int FirstMatch(const QStringList& items, const QString& typed);

  // Adds `text`, typed at `nowMs`, to what was typed before (or starts afresh after the pause)
  // and answers the item it picks. When the whole typing fits no item, `text` alone starts a new
  // search, so a slip does not block the keys after it; -1 when that fits nothing either.
  int Type(const QStringList& items, const QString& text, int64_t nowMs);
  void Reset() { typed_.clear(); }

 private:
  QString typed_;
  int64_t lastMs_ = 0;
};

}  // namespace tavrin
