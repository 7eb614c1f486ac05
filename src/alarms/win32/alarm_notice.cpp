#include "alarms/win32/alarm_notice.h"

#include "alarms/alarm_reason.h"
#include "resources/alarm_notice_ids.h"
#include "resources/resource.h"
#include "text/win32/dialog_fields.h"

namespace tollwick {
namespace {

constexpr UINT_PTR kNoticeTimerId = 1000;
constexpr UINT kNoticeTimerPeriodMs = 1000;

// Handed to the dialog through DialogBoxParamA; lives on the opener's stack while the notice is open.
struct NoticeOpening {
  AlarmNoticeSource* source;
  int slot;
  float cost;
  PackedTime length;
};

void ShowCurrentState(HWND dialog, const NoticeOpening& opening) {
  SetMoneyField(dialog, IDC_NOTICE_NOW_COST, opening.source->currentCost());
  SetTimeField(dialog, IDC_NOTICE_NOW_TIME, opening.source->callLength());
}

void OnInitDialog(HWND dialog, NoticeOpening& opening) {
  SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&opening));
  const Alarm& alarm = opening.source->alarms.alarms[opening.slot];
  SetDlgItemTextA(dialog, IDC_NOTICE_NAME, alarm.name);
  // A non-repeating alarm was disabled as it went off: nothing left to disable.
  EnableWindow(GetDlgItem(dialog, IDCANCEL), opening.source->alarms.run[opening.slot].disabled == 0);
  char reason[kAlarmReasonChars];
  AlarmReasonText(alarm, opening.source->environment, reason);
  SetDlgItemTextA(dialog, IDC_NOTICE_REASON, reason);
  SetMoneyField(dialog, IDC_NOTICE_FIRED_COST, opening.cost);
  SetTimeField(dialog, IDC_NOTICE_FIRED_TIME, opening.length);
  // The program has no visible window to sit in front of; the notice must not hide behind others.
  SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetTimer(dialog, kNoticeTimerId, kNoticeTimerPeriodMs, nullptr);
  ShowCurrentState(dialog, opening);
}

INT_PTR CALLBACK AlarmNoticeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* opening = reinterpret_cast<NoticeOpening*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog, *reinterpret_cast<NoticeOpening*>(lParam));
      return TRUE;
    case WM_TIMER:
      if (opening != nullptr) ShowCurrentState(dialog, *opening);
      return TRUE;
    case WM_COMMAND:
      if (opening == nullptr) return FALSE;
      if (LOWORD(wParam) == IDOK) {
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        // "Disable" is the dialog's cancel button, so Escape and the close box disable too.
        opening->source->alarms.run[opening->slot].disabled = 1;
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      KillTimer(dialog, kNoticeTimerId);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR ShowAlarmNotice(HINSTANCE instance, AlarmNoticeSource& source, int slot, float cost,
                        PackedTime length) {
  NoticeOpening opening{&source, slot, cost, length};
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ALARM_NOTICE), nullptr, AlarmNoticeProc,
                         reinterpret_cast<LPARAM>(&opening));
}

}  // namespace tollwick
