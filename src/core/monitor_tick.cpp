#include "core/monitor_tick.h"

#include <cstdio>

#include "core/connection_rules.h"
#include "resources/resource.h"
#include "text/money_text.h"

namespace tollwick {

std::string OnlineTip(const std::string& entryName, const std::string& ipText, int hours,
                      int minutes, int seconds, const char* money) {
  const char* ip = IsDottedQuad(ipText.c_str()) ? ipText.c_str() : kUnavailableIp;
  // Room for the longest entry name (256), the IP (15), a money text (19) and three numbers.
  char tip[400];
  std::snprintf(tip, sizeof tip, "Tollwick On - %s (IP:%s) %i:%i:%i - %s", entryName.c_str(), ip,
                hours, minutes, seconds, money);
  return tip;
}

TrayLook OnlineLook(TrayFlash& flash, bool clockIcon, int minutes, int hours,
                    const std::string& tip) {
  if (NextOnlinePicture(flash) == TrayPicture::kAlarm) return TrayLook::Resource(IDI_ALARM, tip.c_str());
  if (clockIcon) return TrayLook::Clock(minutes, hours, tip.c_str());
  return TrayLook::Resource(IDI_ONLINE, tip.c_str());
}

void RunMonitorTick(const Monitor& monitor) {
  CurrentCall& call = monitor.call;
  std::optional<ListedConnection> connection = FindActiveConnection(monitor.probe, monitor.settings);
  if (connection) {
    if (!monitor.online) {
      call.StartCall(connection->entryName.c_str(), &monitor.probe);
      monitor.planWarnings.CallStarted(call);
      monitor.online = true;
    }
    char money[kMoneyTextChars];
    MoneyText(monitor.environment, call.CurrentCost(), money);
    std::string tip = OnlineTip(connection->entryName, connection->ipText, call.CallHours(),
                                call.CallMinutes(), call.CallSeconds(), money);
    TrayLook look = OnlineLook(monitor.flash, monitor.settings.clockIcon == 1, call.CallMinutes(),
                               call.CallHours(), tip);
    // The tip changes about once a second and the picture once a minute or on a flash; in between
    // the shell is left alone.
    if (look != monitor.tray.Shown()) monitor.tray.Show(look);
    if (monitor.settings.warnAllowance != 0) {
      if (std::optional<PlanNotice> notice = monitor.planWarnings.Due(call)) {
        monitor.tray.Notify(notice->title, notice->text);
      }
    }
  } else if (monitor.online) {
    monitor.tray.Show(TrayLook::Resource(IDI_IDLE, kProgramTitle));
    call.EndCall();
    monitor.online = false;
  }
  // The probe's traffic is that of the connection it found on this tick.
  call.AccrueTick(connection ? &monitor.probe : nullptr);
}

}  // namespace tollwick
