#include "ui/win32/dialog.h"

#include <cassert>
#include <string>

#include "text/field_text.h"
#include "text/money_text.h"
#include "ui/win32/icon_sizes.h"

namespace tollwick {
namespace {

constexpr int kImageStripWidth = 16;
constexpr COLORREF kImageStripMask = RGB(0, 128, 128);
constexpr int kSymbolChars = 10;

Dialog* DialogOf(HWND window) {
  return reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace

HINSTANCE DialogInstance() { return GetModuleHandleA(nullptr); }

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const auto control = reinterpret_cast<HWND>(lParam);
      // Left to the dialog's default handling, which does nothing with it.
      if (control != nullptr && filling()) return FALSE;
      Command(LOWORD(wParam), HIWORD(wParam), control);
      return TRUE;
    }
    case WM_NOTIFY:
      // Unhandled, the notification gets the default result: a change going on is allowed.
      if (filling()) return FALSE;
      SetWindowLongPtrA(window_, DWLP_MSGRESULT, Notify(*reinterpret_cast<const NMHDR*>(lParam)));
      return TRUE;
    case WM_TIMER:
      Timer(static_cast<UINT_PTR>(wParam));
      return TRUE;
    case WM_DESTROY:
      for (const UINT_PTR id : timers_) KillTimer(window_, id);
      return Message(message, wParam, lParam) ? TRUE : FALSE;
    default:
      return Message(message, wParam, lParam) ? TRUE : FALSE;
  }
}

void Dialog::StartTimer(UINT_PTR id, UINT periodMs) {
  SetTimer(window_, id, periodMs, nullptr);
  timers_.push_back(id);
}

HIMAGELIST Dialog::LoadImageStrip(int bitmap) const {
  return ImageList_LoadImageA(DialogInstance(), MAKEINTRESOURCEA(bitmap), kImageStripWidth, 0,
                              kImageStripMask, IMAGE_BITMAP, 0);
}

std::vector<int> Dialog::SelectedRows(int list) const {
  std::vector<int> rows;
  const HWND control = Control(list);
  for (LRESULT row = SendMessageA(control, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
       row >= 0; row = SendMessageA(control, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED)) {
    rows.push_back(static_cast<int>(row));
  }
  return rows;
}

double Dialog::GetNumberField(int id) const {
  char text[kFieldChars] = {};
  GetDlgItemTextA(window_, id, text, static_cast<int>(kFieldChars));
  return ParseNumberText(text);
}

void Dialog::SetMoneyField(int id, float value) const {
  char text[kFieldChars];
  MoneyFieldText(value, text);
  SetText(id, text);
}

void Dialog::SetNumberField(int id, float value) const {
  char text[kFieldChars];
  NumberFieldText(value, text);
  SetText(id, text);
}

std::int32_t Dialog::GetTimeField(int id) const {
  char text[kFieldChars] = {};
  GetDlgItemTextA(window_, id, text, static_cast<int>(kFieldChars));
  return ParseTimeText(text);
}

void Dialog::SetTimeField(int id, PackedTime time) const {
  char text[kPackedTimeTextChars];
  PackedTimeText(time, text);
  SetText(id, text);
}

void Dialog::SetCurrencyField(int id, float value) const {
  assert(environment_ != nullptr);
  char text[kMoneyTextChars];
  MoneyText(*environment_, value, text);
  SetText(id, text);
}

void Dialog::SetCurrencyLabel(int id, const char* format) const {
  assert(environment_ != nullptr);
  char symbol[kSymbolChars] = {};
  environment_->CurrencySymbol(symbol, kSymbolChars);
  char text[kFieldChars];
  CurrencyLabelText(format, symbol, text, sizeof text);
  SetText(id, text);
}

void Dialog::ShowError(const char* text, const char* caption) const {
  MessageBoxA(GetAncestor(window_, GA_ROOT), text, caption, MB_ICONERROR);
}

bool Dialog::RefuseField(int id, const char* what, const char* field) const {
  ShowError((std::string("Invalid ") + what + " entered for '" + field + "'!").c_str());
  SetFocus(Control(id));
  return false;
}

HICON Dialog::ShowOnTaskBar(int icon) {
  bigIcon_ = LoadIconOfSize(DialogInstance(), icon, GetSystemMetrics(SM_CXICON));
  smallIcon_ = LoadIconOfSize(DialogInstance(), icon, GetSystemMetrics(SM_CXSMICON));
  SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  SetWindowLongPtrA(window_, GWL_EXSTYLE, GetWindowLongPtrA(window_, GWL_EXSTYLE) | WS_EX_APPWINDOW);
  return bigIcon_.get();
}

INT_PTR ModalDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    switch (LOWORD(wParam)) {
      case IDOK:
        if (Accept()) Close(IDOK);
        return TRUE;
      case IDCANCEL:
        Dismissed();
        Close(IDCANCEL);
        return TRUE;
      default:
        break;
    }
  }
  return Dialog::Dispatch(message, wParam, lParam);
}

void ModalDialog::Close(INT_PTR result) { EndDialog(window(), result); }

INT_PTR StartDialog(std::unique_ptr<Dialog> dialog) {
  Dialog& kept = *dialog;
  SetWindowLongPtrA(kept.window(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(dialog.release()));
  Dialog::FillScope filling(kept);
  kept.Fill();
  return TRUE;
}

INT_PTR DispatchDialog(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* dialog = DialogOf(window);
  if (dialog == nullptr) return FALSE;  // before WM_INITDIALOG
  if (message == WM_NCDESTROY) {
    // The window's data has owned the dialog since StartDialog; it goes with the window.
    const std::unique_ptr<Dialog> owned(dialog);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    return TRUE;
  }
  return dialog->Dispatch(message, wParam, lParam);
}

}  // namespace tollwick
