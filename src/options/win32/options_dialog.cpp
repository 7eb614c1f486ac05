#include "options/win32/options_dialog.h"

#include <commctrl.h>

#include "platform/win32/scoped_handles.h"
#include "resources/options_frame_ids.h"
#include "resources/resource.h"
#include "ui/win32/single_dialog.h"

namespace tollwick {
namespace {

// The pages and the program they are made over.
struct OptionsOpening {
  const OptionsPageTable& pages;
  Program& program;
};

class OptionsFrame : public SingleDialog {
 public:
  using Subject = OptionsOpening;
  static constexpr int kTemplate = IDD_OPTIONS;
  OptionsFrame(HWND window, Subject& opening)
      : SingleDialog(window, kTemplate), pages_(opening.pages), program_(opening.program) {}

 private:
  HWND Tabs() const { return Control(IDC_OPTIONS_TABS); }

  void Fill() override {
    ShowOnTaskBar(IDI_APP);
    images_.reset(LoadImageStrip(IDB_TAB_IMAGES));
    TabCtrl_SetImageList(Tabs(), images_.get());
    AddPages();
    PlacePages();
    // The first tab comes to the front as if the user had clicked it.
    ShowSelectedPage();
  }

  // The row of the selected tab (its item data), or -1 when there is no tab.
  int SelectedRow() const {
    const int tab = TabCtrl_GetCurSel(Tabs());
    if (tab < 0) return -1;
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    if (!SendMessageA(Tabs(), TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&item))) return -1;
    return static_cast<int>(item.lParam);
  }

  void AddPages() {
    HWND tabs = Tabs();
    for (int row = 0; row < kOptionsPageCount; ++row) {
      const OptionsPageRow& page = pages_[row];
      made_[row] = page.create(window(), page.dialog, program_);
      if (made_[row].window == nullptr) continue;
      TCITEMA item{};
      item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
      item.pszText = const_cast<char*>(page.tabText);
      item.iImage = page.image;
      item.lParam = row;
      SendMessageA(tabs, TCM_INSERTITEMA, TabCtrl_GetItemCount(tabs),
                   reinterpret_cast<LPARAM>(&item));
    }
  }

  // Every page goes at the top left of the tab control's display area, just above it in the
  // z-order.
  void PlacePages() const {
    HWND tabs = Tabs();
    RECT window;
    GetWindowRect(tabs, &window);
    POINT corner{window.left, window.top};
    ScreenToClient(this->window(), &corner);
    RECT display;
    GetClientRect(tabs, &display);
    TabCtrl_AdjustRect(tabs, FALSE, &display);
    for (const OptionsPageWindow& page : made_) {
      if (page.window == nullptr) continue;
      SetWindowPos(page.window, tabs, corner.x + display.left, corner.y + display.top, 0, 0,
                   SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }

  void ShowSelectedPage() const {
    for (const OptionsPageWindow& page : made_) {
      if (page.window != nullptr) ShowWindow(page.window, SW_HIDE);
    }
    const int row = SelectedRow();
    const bool printable = row >= 0 && pages_[row].printable;
    if (row >= 0) {
      HWND page = made_[row].window;
      SendMessageA(page, kActivatePageMessage, 0, 0);
      ShowWindow(page, SW_SHOW);
    }
    Enable(IDC_OPTIONS_PRINT, printable);
  }

  // Brings the page of this row to the front as a click on its tab would.
  void SelectRow(int row) const {
    HWND tabs = Tabs();
    for (int tab = 0; tab < TabCtrl_GetItemCount(tabs); ++tab) {
      TCITEMA item{};
      item.mask = TCIF_PARAM;
      SendMessageA(tabs, TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&item));
      if (item.lParam != row) continue;
      TabCtrl_SetCurSel(tabs, tab);
      ShowSelectedPage();
      return;
    }
  }

  // OK closes the dialog only when every page can keep its edits; the first that cannot is shown.
  bool PagesMayApply() const {
    for (int row = 0; row < kOptionsPageCount; ++row) {
      HWND page = made_[row].window;
      if (page == nullptr || SendMessageA(page, kMayApplyPageMessage, 0, 0) == 0) continue;
      SelectRow(row);
      return false;
    }
    return true;
  }

  void TellPages(int command) const {
    for (const OptionsPageWindow& page : made_) {
      if (page.window != nullptr) SendMessageA(page.window, WM_COMMAND, command, 0);
    }
  }

  bool Accept() override {
    if (!PagesMayApply()) return false;
    TellPages(IDOK);
    return true;
  }

  void Dismissed() override { TellPages(IDCANCEL); }

  void Command(int id, int /*code*/, HWND /*control*/) override {
    if (id != IDC_OPTIONS_PRINT) return;
    const int row = SelectedRow();
    if (row >= 0) SendMessageA(made_[row].window, WM_COMMAND, kPrintPageCommand, 0);
  }

  LRESULT Notify(const NMHDR& header) override {
    if (header.idFrom == IDC_OPTIONS_TABS && header.code == static_cast<UINT>(TCN_SELCHANGE)) {
      ShowSelectedPage();
    }
    return 0;
  }

  bool Message(UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/) override {
    if (message != WM_DESTROY) return false;
    TabCtrl_SetImageList(Tabs(), nullptr);
    images_.reset();
    // Before their subjects, which the frame keeps a little longer.
    for (OptionsPageWindow& page : made_) {
      if (page.window != nullptr) DestroyWindow(page.window);
      page.window = nullptr;
    }
    return true;
  }

  const OptionsPageTable& pages_;
  Program& program_;
  std::array<OptionsPageWindow, kOptionsPageCount> made_;  // by row; no window for a page not made
  ScopedImageList images_;
};

}  // namespace

INT_PTR ShowOptionsDialog(HWND owner, const OptionsPageTable& pages, Program& program) {
  OptionsOpening opening{pages, program};
  return RunSingleModal<OptionsFrame>(owner, opening);
}

void ShowOptionsDialog(HWND owner, Program& program) {
  ShowOptionsDialog(owner, kOptionsPages, program);
}

}  // namespace tollwick
