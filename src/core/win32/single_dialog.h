#pragma once
// Dialogs of which one at most is open: each keeps its window in an open-dialog handle of the
// Program while it exists (set at WM_INITDIALOG, cleared when the dialog goes), and a second request
// brings that window to the front instead of opening another.

#include <windows.h>

namespace tollwick {

// DialogBoxParamA(instance, dialog, owner, procedure, parameter) unless `open` holds a window, which is
// brought to the front instead. Returns the dialog's result, or 0 when it was already open.
INT_PTR ShowSingleDialog(HWND open, HINSTANCE instance, int dialog, HWND owner, DLGPROC procedure,
                         LPARAM parameter);

}  // namespace tollwick
