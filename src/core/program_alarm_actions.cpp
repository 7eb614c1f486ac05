#include "core/program_alarm_actions.h"

namespace tollwick {

void ProgramAlarmActions::PlayAlarmSound() { environment_.PlayExclamation(); }

void ProgramAlarmActions::FlashTrayIcon() { tollwick::FlashTrayIcon(trayFlash_); }

void ProgramAlarmActions::ShowAlarmNotice(int slot, float cost) {
  if (notice_) notice_(slot, cost);
}

}  // namespace tollwick
