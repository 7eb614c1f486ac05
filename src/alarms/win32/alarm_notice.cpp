#include "alarms/win32/alarm_notice.h"

#include "alarms/alarm_reason.h"
#include "resources/alarm_notice_ids.h"
#include "resources/resource.h"
#include "ui/win32/dialog.h"

namespace tollwick {
namespace {

constexpr UINT_PTR kNoticeTimerId = 1000;
constexpr UINT kNoticeTimerPeriodMs = 1000;

// Handed to the dialog as its subject; lives on the opener's stack while the notice is open.
struct NoticeOpening {
  AlarmNoticeSource& source;
  int slot;
  float cost;
  PackedTime length;
};

class AlarmNotice : public ModalDialog {
 public:
  using Subject = NoticeOpening;
  static constexpr int kTemplate = IDD_ALARM_NOTICE;
  AlarmNotice(HWND window, NoticeOpening& opening) : ModalDialog(window), opening_(opening) {}

 private:
  void Fill() override {
    const HWND dialog = window();
    const Alarm& alarm = opening_.source.alarms.alarms[opening_.slot];
    SetText(IDC_NOTICE_NAME, alarm.name);
    // A non-repeating alarm was disabled as it went off: nothing left to disable.
    Enable(IDCANCEL, !opening_.source.alarms.run[opening_.slot].disabled);
    char reason[kAlarmReasonChars];
    AlarmReasonText(alarm, opening_.source.environment, reason);
    SetText(IDC_NOTICE_REASON, reason);
    SetMoneyField(IDC_NOTICE_FIRED_COST, opening_.cost);
    SetTimeField(IDC_NOTICE_FIRED_TIME, opening_.length);
    // The program has no visible window to sit in front of; the notice must not hide behind others.
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    StartTimer(kNoticeTimerId, kNoticeTimerPeriodMs);
    ShowCurrentState();
  }

  void ShowCurrentState() {
    SetMoneyField(IDC_NOTICE_NOW_COST, opening_.source.currentCost());
    SetTimeField(IDC_NOTICE_NOW_TIME, opening_.source.callLength());
  }

  // "Disable" is the dialog's cancel button, so Escape and the close box disable too.
  void Dismissed() override { opening_.source.alarms.run[opening_.slot].disabled = true; }

  void Timer(UINT_PTR /*id*/) override { ShowCurrentState(); }

  NoticeOpening& opening_;
};

}  // namespace

INT_PTR ShowAlarmNotice(AlarmNoticeSource& source, int slot, float cost, PackedTime length) {
  NoticeOpening opening{source, slot, cost, length};
  return RunModal<AlarmNotice>(nullptr, opening);
}

}  // namespace tollwick
