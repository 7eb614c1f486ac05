#include "options/win32/about_box.h"

#include "core/win32/program.h"
#include "core/win32/single_dialog.h"
#include "resources/about_ids.h"
#include "resources/resource.h"

namespace tollwick {
namespace {

// The address is the button's own label, so what it shows is what it opens.
void OpenWebPage(HWND dialog) {
  char address[256] = "";
  GetDlgItemTextA(dialog, IDC_ABOUT_WEB_PAGE, address, sizeof address);
  App().shellExecute(nullptr, "open", address, nullptr, nullptr, SW_SHOWMAXIMIZED);
}

void Close(HWND dialog) {
  App().aboutDialog = nullptr;
  EndDialog(dialog, 1);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  Program& app = App();
  switch (message) {
    case WM_INITDIALOG:
      SetClassLongPtrA(dialog, GCLP_HICON,
                       reinterpret_cast<LONG_PTR>(LoadIconA(app.instance, MAKEINTRESOURCEA(IDI_APP))));
      // A button on the task bar, although the owner is the hidden main window.
      SetWindowLongPtrA(dialog, GWL_EXSTYLE,
                        GetWindowLongPtrA(dialog, GWL_EXSTYLE) | WS_EX_APPWINDOW);
      app.aboutDialog = dialog;
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_ABOUT_WEB_PAGE:
          OpenWebPage(dialog);
          break;
        case IDOK:
        case IDCANCEL:
          Close(dialog);
          break;
        default:
          break;
      }
      return TRUE;
    case WM_CLOSE:
      Close(dialog);
      return TRUE;
    case WM_DESTROY:
      app.aboutDialog = nullptr;
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowAboutBox(HWND owner) {
  Program& app = App();
  ShowSingleDialog(app.aboutDialog, app.instance, IDD_ABOUT, owner, AboutProc, 0);
}

}  // namespace tollwick
