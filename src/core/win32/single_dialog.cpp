#include "core/win32/single_dialog.h"

namespace tollwick {

INT_PTR ShowSingleDialog(HWND open, HINSTANCE instance, int dialog, HWND owner, DLGPROC procedure,
                         LPARAM parameter) {
  if (open != nullptr) {
    SetForegroundWindow(open);
    return 0;
  }
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(dialog), owner, procedure, parameter);
}

}  // namespace tollwick
