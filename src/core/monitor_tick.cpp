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

namespace {

// A network connection's counters, read with its state on this tick.
class AdapterTraffic : public TrafficSource {
 public:
  explicit AdapterTraffic(const TrafficReading& reading) : reading_(reading) {}
  std::optional<TrafficReading> ReadTraffic() override { return reading_; }

 private:
  TrafficReading reading_;
};

// The traffic of the connection found on this tick: the service's is read from the probe.
TrafficSource* TrafficOf(const std::optional<ListedConnection>& connection, ConnectionProbe& probe,
                         AdapterTraffic& adapter) {
  if (!connection) return nullptr;
  return connection->adapter ? static_cast<TrafficSource*>(&adapter) : &probe;
}

}  // namespace

void RunMonitorTick(const Monitor& monitor) {
  CurrentCall& call = monitor.call;
  std::optional<ListedConnection> connection =
      FindActiveConnection(monitor.probe, monitor.adapters, monitor.settings);
  // The service's connections keep today's rule (the call goes on while one is listed, whichever);
  // a network connection is the call only while it is the one found.
  const bool replaced = monitor.online && connection &&
                        (connection->adapter || monitor.timed.adapter) &&
                        (connection->adapter != monitor.timed.adapter ||
                         connection->entryName != monitor.timed.entryName);
  if (replaced) call.EndCall();
  AdapterTraffic adapter(connection ? connection->adapterTraffic : TrafficReading{});
  if (connection) {
    if (!monitor.online || replaced) {
      call.StartCall(connection->entryName.c_str(), TrafficOf(connection, monitor.probe, adapter));
      monitor.planWarnings.CallStarted(call);
      monitor.online = true;
      monitor.timed = *connection;
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
  call.AccrueTick(TrafficOf(connection, monitor.probe, adapter));
}

}  // namespace tollwick
