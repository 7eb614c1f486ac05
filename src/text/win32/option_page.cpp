#include "text/win32/option_page.h"

namespace tollwick {
namespace {

OptionPage* PageOf(HWND window) {
  return reinterpret_cast<OptionPage*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace

INT_PTR StartOptionPage(std::unique_ptr<OptionPage> page) {
  OptionPage& kept = *page;
  SetWindowLongPtrA(kept.window(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(page.release()));
  OptionPage::FillScope filling(kept);
  kept.Fill();
  return TRUE;
}

INT_PTR DispatchOptionPage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  OptionPage* page = PageOf(window);
  if (page == nullptr) return FALSE;  // before WM_INITDIALOG
  switch (message) {
    case kActivatePageMessage:
      page->Activated();
      return TRUE;
    case kMayApplyPageMessage:
      SetWindowLongPtrA(window, DWLP_MSGRESULT, page->MayApply() ? 0 : 1);
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const auto control = reinterpret_cast<HWND>(lParam);
      // The frame's commands come without a control; a control of the page may share their ids.
      if (control == nullptr) {
        switch (id) {
          case IDOK:
            page->Ok();
            return TRUE;
          case IDCANCEL:
            page->Cancel();
            return TRUE;
          case kPrintPageCommand:
            page->Print();
            return TRUE;
          default:
            break;
        }
      }
      // Left to the dialog's default handling, which does nothing with it.
      if (control != nullptr && page->filling()) return FALSE;
      page->Command(id, HIWORD(wParam), control);
      return TRUE;
    }
    case WM_NOTIFY:
      // Unhandled, the notification gets the default result: a change going on is allowed.
      if (page->filling()) return FALSE;
      SetWindowLongPtrA(window, DWLP_MSGRESULT,
                        page->Notify(*reinterpret_cast<const NMHDR*>(lParam)));
      return TRUE;
    case WM_NCDESTROY: {
      // The window's data has owned the page since StartOptionPage; it goes with the window.
      const std::unique_ptr<OptionPage> owned(page);
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      return TRUE;
    }
    default:
      return page->Message(message, wParam, lParam) ? TRUE : FALSE;
  }
}

}  // namespace tollwick
