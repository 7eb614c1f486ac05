#include "core/win32/about_box.h"

#include "core/win32/desktop_calls.h"
#include "resources/about_ids.h"
#include "resources/resource.h"
#include "ui/win32/single_dialog.h"

namespace tollwick {
namespace {

class AboutBox : public SingleDialog {
 public:
  // What opens the web page.
  using Subject = DesktopCalls::ShellExecuteFunction;
  static constexpr int kTemplate = IDD_ABOUT;
  AboutBox(HWND window, Subject& shellExecute)
      : SingleDialog(window, kTemplate), shellExecute_(shellExecute) {}

 private:
  void Fill() override {
    // The template's icon is whichever image LoadIcon picks; the task bar's is drawn for the size
    // shown.
    SendDlgItemMessageA(window(), IDC_ABOUT_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(ShowOnTaskBar(IDI_APP)), 0);
  }

  void Command(int id, int /*code*/, HWND /*control*/) override {
    if (id == IDC_ABOUT_WEB_PAGE) OpenWebPage();
  }

  // At once, rather than through the Cancel that the default handling posts.
  bool Message(UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/) override {
    if (message != WM_CLOSE) return false;
    Close(IDCANCEL);
    return true;
  }

  // The address is the button's own label, so what it shows is what it opens.
  void OpenWebPage() {
    char address[256] = "";
    GetDlgItemTextA(window(), IDC_ABOUT_WEB_PAGE, address, sizeof address);
    shellExecute_(nullptr, "open", address, nullptr, nullptr, SW_SHOWMAXIMIZED);
  }

  Subject& shellExecute_;
};

}  // namespace

void ShowAboutBox(HWND owner, DesktopCalls::ShellExecuteFunction shellExecute) {
  RunSingleModal<AboutBox>(owner, shellExecute);
}

}  // namespace tollwick
