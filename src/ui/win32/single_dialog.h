#pragma once
// Dialogs of which one at most is open (Call information, the Options dialog, the About box). Such
// a dialog derives from SingleDialog, which holds its window as the open one of its template from
// WM_INITDIALOG until the window goes; RunSingleModal brings that window to the front instead of
// opening another.

#include <windows.h>

#include <type_traits>

#include "ui/win32/dialog.h"

namespace tollwick {

class SingleDialog : public ModalDialog {
 protected:
  SingleDialog(HWND window, int templateId);
  SingleDialog(HWND window, int templateId, Environment& environment);
  ~SingleDialog() override;

  // A dialog that is closing is no longer the open one: a request meanwhile opens another.
  void Close(INT_PTR result) override;

 private:
  void Release();

  int template_;
};

// The open dialog of this template, or null.
HWND OpenSingleDialog(int templateId);

// RunModal<D> unless a dialog of D's template is open, which is brought to the front instead.
// Returns the dialog's result, or 0 when it was already open.
template <typename D>
INT_PTR RunSingleModal(HWND owner, typename D::Subject& subject) {
  static_assert(std::is_base_of_v<SingleDialog, D>, "one at a time needs a SingleDialog");
  if (HWND open = OpenSingleDialog(D::kTemplate)) {
    SetForegroundWindow(open);
    return 0;
  }
  return RunModal<D>(owner, subject);
}

}  // namespace tollwick
