#include "options/win32/options_dialog.h"

#include <commctrl.h>

#include "core/win32/single_dialog.h"
#include "platform/win32/scoped_handles.h"
#include "resources/options_frame_ids.h"
#include "resources/resource.h"

namespace tollwick {
namespace {

constexpr int kTabImageWidth = 16;
constexpr COLORREF kTabImageMask = RGB(0, 128, 128);

// The frame's state while it is open, on the stack of ShowOptionsDialog; the dialog's window data
// points at it from WM_INITDIALOG on.
struct Frame {
  explicit Frame(const OptionsPageTable& table) : pages(table) {}
  const OptionsPageTable& pages;
  std::array<OptionsPageWindow, kOptionsPageCount> made;  // by row; no window for a page not made
  ScopedImageList images;
};

Frame* FrameOf(HWND dialog) {
  return reinterpret_cast<Frame*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

HWND Tabs(HWND dialog) { return GetDlgItem(dialog, IDC_OPTIONS_TABS); }

// The row of the selected tab (its item data), or -1 when there is no tab.
int SelectedRow(HWND dialog) {
  const int tab = TabCtrl_GetCurSel(Tabs(dialog));
  if (tab < 0) return -1;
  TCITEMA item{};
  item.mask = TCIF_PARAM;
  if (!SendMessageA(Tabs(dialog), TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&item))) return -1;
  return static_cast<int>(item.lParam);
}

void AddPages(HWND dialog, Frame& frame) {
  HWND tabs = Tabs(dialog);
  for (int row = 0; row < kOptionsPageCount; ++row) {
    const OptionsPageRow& page = frame.pages[row];
    frame.made[row] = page.create(dialog, page.dialog, App());
    if (frame.made[row].window == nullptr) continue;
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    item.pszText = const_cast<char*>(page.tabText);
    item.iImage = page.image;
    item.lParam = row;
    SendMessageA(tabs, TCM_INSERTITEMA, TabCtrl_GetItemCount(tabs),
                 reinterpret_cast<LPARAM>(&item));
  }
}

// Every page goes at the top left of the tab control's display area, just above it in the z-order.
void PlacePages(HWND dialog, const Frame& frame) {
  HWND tabs = Tabs(dialog);
  RECT window;
  GetWindowRect(tabs, &window);
  POINT corner{window.left, window.top};
  ScreenToClient(dialog, &corner);
  RECT display;
  GetClientRect(tabs, &display);
  TabCtrl_AdjustRect(tabs, FALSE, &display);
  for (const OptionsPageWindow& page : frame.made) {
    if (page.window == nullptr) continue;
    SetWindowPos(page.window, tabs, corner.x + display.left, corner.y + display.top, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void ShowSelectedPage(HWND dialog, const Frame& frame) {
  for (const OptionsPageWindow& page : frame.made) {
    if (page.window != nullptr) ShowWindow(page.window, SW_HIDE);
  }
  const int row = SelectedRow(dialog);
  const bool printable = row >= 0 && frame.pages[row].printable;
  if (row >= 0) {
    HWND page = frame.made[row].window;
    SendMessageA(page, kActivatePageMessage, 0, 0);
    ShowWindow(page, SW_SHOW);
  }
  EnableWindow(GetDlgItem(dialog, IDC_OPTIONS_PRINT), printable);
}

// Brings the page of this row to the front as a click on its tab would.
void SelectRow(HWND dialog, const Frame& frame, int row) {
  HWND tabs = Tabs(dialog);
  for (int tab = 0; tab < TabCtrl_GetItemCount(tabs); ++tab) {
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    SendMessageA(tabs, TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&item));
    if (item.lParam != row) continue;
    TabCtrl_SetCurSel(tabs, tab);
    ShowSelectedPage(dialog, frame);
    return;
  }
}

// OK closes the dialog only when every page can keep its edits; the first that cannot is shown.
bool PagesMayApply(HWND dialog, const Frame& frame) {
  for (int row = 0; row < kOptionsPageCount; ++row) {
    HWND page = frame.made[row].window;
    if (page == nullptr || SendMessageA(page, kMayApplyPageMessage, 0, 0) == 0) continue;
    SelectRow(dialog, frame, row);
    return false;
  }
  return true;
}

void OnInitDialog(HWND dialog, Frame& frame) {
  Program& app = App();
  SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&frame));
  SetClassLongPtrA(dialog, GCLP_HICON,
                   reinterpret_cast<LONG_PTR>(LoadIconA(app.instance, MAKEINTRESOURCEA(IDI_APP))));
  // A button on the task bar, although the owner is the hidden main window.
  SetWindowLongPtrA(dialog, GWL_EXSTYLE, GetWindowLongPtrA(dialog, GWL_EXSTYLE) | WS_EX_APPWINDOW);
  frame.images.reset(ImageList_LoadImageA(app.instance, MAKEINTRESOURCEA(IDB_TAB_IMAGES),
                                          kTabImageWidth, 0, kTabImageMask, IMAGE_BITMAP, 0));
  TabCtrl_SetImageList(Tabs(dialog), frame.images.get());
  app.optionsDialog = dialog;
  AddPages(dialog, frame);
  PlacePages(dialog, frame);
  // The first tab comes to the front as if the user had clicked it.
  NMHDR selected{Tabs(dialog), IDC_OPTIONS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(dialog, WM_NOTIFY, IDC_OPTIONS_TABS, reinterpret_cast<LPARAM>(&selected));
}

void OnDestroy(HWND dialog, Frame& frame) {
  TabCtrl_SetImageList(Tabs(dialog), nullptr);
  frame.images.reset();
  // Before their subjects, which the frame keeps a little longer.
  for (OptionsPageWindow& page : frame.made) {
    if (page.window != nullptr) DestroyWindow(page.window);
    page.window = nullptr;
  }
  App().optionsDialog = nullptr;
}

INT_PTR CALLBACK OptionsFrameProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInitDialog(dialog, *reinterpret_cast<Frame*>(lParam));
    return TRUE;
  }
  Frame* frame = FrameOf(dialog);
  if (frame == nullptr) return FALSE;
  switch (message) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom != IDC_OPTIONS_TABS || header->code != static_cast<UINT>(TCN_SELCHANGE)) {
        return FALSE;
      }
      ShowSelectedPage(dialog, *frame);
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDOK || id == IDCANCEL) {
        if (id == IDOK && !PagesMayApply(dialog, *frame)) return TRUE;
        for (const OptionsPageWindow& page : frame->made) {
          if (page.window != nullptr) SendMessageA(page.window, WM_COMMAND, id, 0);
        }
        EndDialog(dialog, id);
        return TRUE;
      }
      if (id == IDC_OPTIONS_PRINT) {
        const int row = SelectedRow(dialog);
        if (row >= 0) SendMessageA(frame->made[row].window, WM_COMMAND, kPrintPageCommand, 0);
        return TRUE;
      }
      return FALSE;
    }
    case WM_DESTROY:
      OnDestroy(dialog, *frame);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR ShowOptionsDialog(HWND owner, const OptionsPageTable& pages) {
  Program& app = App();
  Frame frame(pages);
  return ShowSingleDialog(app.optionsDialog, app.instance, IDD_OPTIONS, owner, OptionsFrameProc,
                          reinterpret_cast<LPARAM>(&frame));
}

void ShowOptionsDialog(HWND owner) { ShowOptionsDialog(owner, kOptionsPages); }

}  // namespace tollwick
