#include "core/win32/call_info_dialog.h"

#include "core/call_length_text.h"
#include "core/win32/program.h"
#include "core/win32/single_dialog.h"
#include "platform/packed_time.h"
#include "resources/call_info_ids.h"
#include "resources/resource.h"
#include "text/win32/dialog_fields.h"

namespace tollwick {
namespace {

constexpr UINT_PTR kRefreshTimerId = 1000;
constexpr UINT kRefreshPeriodMs = 1000;

void Refresh(HWND dialog) {
  Program& app = App();
  const CurrentCall& call = app.call;
  const PackedTime now = LocalTimeOfDay(app.environment);
  if (call.IsCallInProgress()) {
    SetDlgItemTextA(dialog, IDC_CALL_ACCOUNT, call.CallProfile()->name);
    SetDlgItemTextA(dialog, IDC_CALL_USER, call.CallUserName());
    SetTimeField(dialog, IDC_CALL_START, call.CallStartTime());
    SetTimeField(dialog, IDC_CALL_END, now);
    SetCurrencyField(dialog, IDC_CALL_COST, call.CurrentCost(), app.environment);
    SetDlgItemTextA(dialog, IDC_CALL_LENGTH,
                    FormatCallLength(call.CallHours(), call.CallMinutes(), call.CallSeconds()).c_str());
  } else {
    SetDlgItemTextA(dialog, IDC_CALL_ACCOUNT, "");
    SetDlgItemTextA(dialog, IDC_CALL_USER, "");
    SetTimeField(dialog, IDC_CALL_START, now);
    SetTimeField(dialog, IDC_CALL_END, now);
    SetCurrencyField(dialog, IDC_CALL_COST, 0.0f, app.environment);
    SetDlgItemTextA(dialog, IDC_CALL_LENGTH, "");
  }
}

INT_PTR CALLBACK CallInfoProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      App().callInfoDialog = dialog;
      SetTimer(dialog, kRefreshTimerId, kRefreshPeriodMs, nullptr);
      Refresh(dialog);
      return TRUE;
    case WM_TIMER:
      Refresh(dialog);
      return TRUE;
    case WM_COMMAND:
      // OK, and Cancel: the Esc key and the close box.
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 1);
      return TRUE;
    case WM_DESTROY:
      KillTimer(dialog, kRefreshTimerId);
      App().callInfoDialog = nullptr;
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowCallInfoDialog(HWND owner) {
  Program& app = App();
  ShowSingleDialog(app.callInfoDialog, app.instance, IDD_CALL_INFO, owner, CallInfoProc, 0);
}

}  // namespace tollwick
