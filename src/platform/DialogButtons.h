// The OK and "キャンセル" buttons of the program's modal windows.
#pragma once

class QDialog;
class QDialogButtonBox;

namespace tavrin {

// Named by kIdOk and kIdCancel, OK the default; they run the dialog's accept() and reject().
QDialogButtonBox* OkCancelButtons(QDialog& dialog);

}  // namespace tavrin
