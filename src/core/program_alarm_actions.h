#pragma once
// What an alarm does in the running program: the sound of the environment, the tray flash and the
// alarm notice.

#include <functional>
#include <utility>

#include "alarms/alarm_table.h"
#include "core/tray_flash.h"
#include "platform/environment.h"

namespace tollwick {

// The program's actions: the "Exclamation" sound of the environment, five more flashing tray ticks,
// and the notice through the given function (empty: no notice can be shown).
class ProgramAlarmActions : public AlarmActions {
 public:
  using NoticeFunction = std::function<void(int slot, float cost)>;
  ProgramAlarmActions(Environment& environment, TrayFlash& trayFlash, NoticeFunction notice)
      : environment_(environment), trayFlash_(trayFlash), notice_(std::move(notice)) {}
  void PlayAlarmSound() override;
  void FlashTrayIcon() override;
  void ShowAlarmNotice(int slot, float cost) override;

 private:
  Environment& environment_;
  TrayFlash& trayFlash_;
  NoticeFunction notice_;
};

}  // namespace tollwick
