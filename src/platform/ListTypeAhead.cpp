#include "platform/ListTypeAhead.h"

namespace tavrin {
namespace {

int FirstStartingWith(const QStringList& items, const QString& typed) {
  for (int i = 0; i < items.size(); ++i)
    if (items[i].startsWith(typed, Qt::CaseInsensitive)) return i;
  return -1;
}

// "0", "08", "008" become "0", "8", "8"; anything but digits stays as it is.
QString WithoutLeadingZeros(const QString& typed) {
  for (QChar c : typed)
    if (!c.isDigit()) return typed;
  qsizetype first = 0;
  while (first + 1 < typed.size() && typed[first] == '0') ++first;
  return typed.mid(first);
}

}  // namespace

int ListTypeAhead::FirstMatch(const QStringList& items, const QString& typed) {
  if (typed.isEmpty()) return -1;
  const int found = FirstStartingWith(items, typed);
  if (found >= 0) return found;
  const QString unpadded = WithoutLeadingZeros(typed);
  return unpadded == typed ? -1 : FirstStartingWith(items, unpadded);
}

int ListTypeAhead::Type(const QStringList& items, const QString& text, int64_t nowMs) {
  if (nowMs - lastMs_ > kPauseMs) typed_.clear();
  lastMs_ = nowMs;
  typed_ += text;
  int found = FirstMatch(items, typed_);
  if (found < 0 && typed_ != text) {
    typed_ = text;
    found = FirstMatch(items, typed_);
  }
  return found;
}

}  // namespace tavrin
