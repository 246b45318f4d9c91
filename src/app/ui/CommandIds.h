// Command identifiers of the main menu, toolbar and accelerators.
#pragma once

namespace tavrin {

inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_REDO = 57644;
// In the accelerator table without a handler: they do nothing on the main window.
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;
inline constexpr int ID_FILE_EXPORT = 32780;
inline constexpr int ID_USB_WRITE = 32774;
inline constexpr int ID_USB_READ = 32775;
inline constexpr int ID_CABLE_WRITE = 32776;
inline constexpr int ID_CABLE_READ = 32778;
inline constexpr int ID_APP_ABOUT = 32781;
// Added by this program: the report as a PDF file, the agenda and the schedule check, the
// comparison with a file, the guide, and the next school year.
inline constexpr int ID_FILE_PDF = 32790;
inline constexpr int ID_VIEW_AGENDA = 32791;
inline constexpr int ID_VIEW_CHECK = 32792;
inline constexpr int ID_FILE_COMPARE = 32793;
inline constexpr int ID_HELP_GUIDE = 32794;
inline constexpr int ID_EDIT_NEXT_YEAR = 32795;

}  // namespace tavrin
