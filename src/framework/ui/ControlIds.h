// The control identifiers of the channel and weekly-program windows' templates.
#pragma once

namespace tavrin::ids {

inline constexpr int kGrid = 1054;
inline constexpr int kCopy = 1056;
inline constexpr int kPaste = 1057;
inline constexpr int kDelete = 1058;
inline constexpr int kReset = 1059;
inline constexpr int kConfirm = 1064;
inline constexpr int kOverview = 1065;
inline constexpr int kNameList = 1066;
inline constexpr int kName = 1067;
inline constexpr int kProgram = 1068;
inline constexpr int kChannel = 1070;
inline constexpr int kKind = 1071;
inline constexpr int kClose = 1072;
inline constexpr int kFirstLegend = 1200;  // eleven labels

}  // namespace tavrin::ids
