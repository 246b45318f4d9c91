// The control identifiers of the program's dialog templates, window by window. The widgets carry
// them as object names (platform/ControlNames.h), so that the program, its tests and the
// screenshot hooks find a control the same way. A number means different controls in different
// windows, as the templates number each window on its own.
#pragma once

namespace tavrin::ids {

// The channel and weekly-program windows.
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

// The main form.
namespace main {
inline constexpr int kFormView = 101;
inline constexpr int kFileName = 1089;
}  // namespace main

// The summer-time page.
namespace summer {
inline constexpr int kGrid = 1054;
inline constexpr int kEnabled = 1087;
inline constexpr int kDelete = 1040;
}  // namespace summer

// The annual page: a radio button and a grid for each kind of setting, then the row commands.
namespace annual {
inline constexpr int kBasic = 1053;
inline constexpr int kBasicGrid = 1144;
inline constexpr int kPeriod = 1065;
inline constexpr int kPeriodGrid = 1055;
inline constexpr int kHoliday = 1068;
inline constexpr int kHolidayGrid = 1069;
inline constexpr int kIndividual = 1067;
inline constexpr int kIndividualGrid = 1060;
inline constexpr int kHolidayEnabled = 1088;
inline constexpr int kCopy = 1056;
inline constexpr int kPaste = 1057;
inline constexpr int kDelete = 1058;
inline constexpr int kConfirmRows = 1064;
inline constexpr int kConfirmSingle = 1145;
}  // namespace annual

// The annual confirmation calendar.
namespace confirmation {
inline constexpr int kYear = 1078;
inline constexpr int kMonth = 1079;
inline constexpr int kMonthUpDown = 1081;
inline constexpr int kYearUpDown = 1082;
inline constexpr int kGrid = 1063;
}  // namespace confirmation

// The radio page.
namespace radio {
inline constexpr int kTree = 1084;
inline constexpr int kStation = 1085;
inline constexpr int kFrequency = 1077;
inline constexpr int kUnit = 1146;
inline constexpr int kFrequencyLabel = 1147;
}  // namespace radio

// The transfer dialogs.
namespace transfer {
inline constexpr int kText = 1038;
inline constexpr int kStatus = 1140;
inline constexpr int kPort = 1141;  // the cable dialogs' port line, which the templates lack
inline constexpr int kDrives = 1148;
inline constexpr int kPorts = 1005;
inline constexpr int kSpeeds = 1006;
}  // namespace transfer

// The serial diagnostics window: its commands, then its fields.
namespace serial {
inline constexpr int kSettings = 1004;
inline constexpr int kConnect = 1010;
inline constexpr int kReset = 1040;
inline constexpr int kLine = 1132;
inline constexpr int kClear = 1133;
inline constexpr int kFile = 1127;
inline constexpr int kOpenMode = 1128;
inline constexpr int kCommand = 1129;
inline constexpr int kStatus = 1130;
inline constexpr int kAnswer = 1150;
inline constexpr int kByteCount = 1131;
inline constexpr int kStatusLine = 1140;
inline constexpr int kReceiveEvents = 1152;
inline constexpr int kReceiveBytes = 1151;
inline constexpr int kSendRequests = 1154;
inline constexpr int kSendCompletions = 1153;
inline constexpr int kLinkState = 1155;
}  // namespace serial

// The settings-file display.
namespace display {
inline constexpr int kDataFolder = 1163;
inline constexpr int kHolidayFileName = 1164;
inline constexpr int kHolidayFileRead = 1178;
inline constexpr int kHolidayVersion = 1167;
inline constexpr int kYearCount = 1159;
inline constexpr int kYears = 1160;
inline constexpr int kMonths = 1161;
inline constexpr int kSettingsFileName = 1175;
inline constexpr int kSettingsFileRead = 1179;
inline constexpr int kRadioButton = 1174;
inline constexpr int kTimeSignalMark = 1176;
inline constexpr int kDayMark = 1177;
inline constexpr int kChimeCount = 1172;
inline constexpr int kChimes = 1171;
}  // namespace display

// The version box.
namespace about {
inline constexpr int kHolidayVersion = 1168;
inline constexpr int kProgramVersion = 1169;
}  // namespace about

}  // namespace tavrin::ids
