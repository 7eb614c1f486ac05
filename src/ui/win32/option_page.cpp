#include "ui/win32/option_page.h"

namespace tollwick {

INT_PTR OptionPage::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kActivatePageMessage:
      Activated();
      return TRUE;
    case kMayApplyPageMessage:
      SetWindowLongPtrA(window(), DWLP_MSGRESULT, MayApply() ? 0 : 1);
      return TRUE;
    case WM_COMMAND:
      // The frame's commands come without a control; a control of the page may share their ids.
      if (lParam != 0) break;
      switch (LOWORD(wParam)) {
        case IDOK:
          Ok();
          return TRUE;
        case IDCANCEL:
          Cancel();
          return TRUE;
        case kPrintPageCommand:
          Print();
          return TRUE;
        default:
          break;
      }
      break;
    default:
      break;
  }
  return Dialog::Dispatch(message, wParam, lParam);
}

}  // namespace tollwick
