#pragma once
// One tick of the main window's 500 ms timer, without the window: ask the Remote Access Service for
// the first connection, start or end the call in progress, renew the tray tip and icon, and let the
// call accrue. The main window runs it with the real service and tray; tests with a table of answers.

#include <string>

#include "call/current_call.h"
#include "core/adapter_probe.h"
#include "core/connection_probe.h"
#include "core/plan_warnings.h"
#include "core/program_settings.h"
#include "core/tray_flash.h"
#include "core/tray_look.h"
#include "platform/environment.h"

namespace tollwick {

constexpr const char* kProgramTitle = "Tollwick";  // the window title, and the tray tip while idle

// What a tick works with, all owned elsewhere for the life of the program.
struct Monitor {
  ConnectionProbe& probe;
  AdapterProbe& adapters;
  TrayView& tray;
  CurrentCall& call;
  Environment& environment;
  const ProgramSettings& settings;
  TrayFlash& flash;
  PlanWarnings& planWarnings;
  bool& online;  // from the tick that found a connection until the tick that found none
  // The connection the call was started on: a call on a chosen network connection ends when
  // another connection takes its place (the service's, or an adapter earlier in the chosen order).
  ListedConnection& timed;
};

// In this order: find the active connection; if there is one, start the call on the first such tick
// (ending the call of another network connection first), then show the on-line tip and picture; if
// there is none after being on line, show the idle icon and tip, end the call (billing it) and go
// idle; in every case, last, let the call accrue. The tip thus shows the length and cost from before
// the tick's own accrual. While "WarnAllowance" is on, an on-line tick hands the tray the plan's
// notice that is due. The tray is changed only when what it should show differs from what it shows.
void RunMonitorTick(const Monitor& monitor);

// "Tollwick On - <entry> (IP:<ip>) <h>:<m>:<s> - <money>", the numbers unpadded; an IP text that is
// not a dotted quad shows as "Unavailable". Not cut: the tray keeps the first 63 characters.
std::string OnlineTip(const std::string& entryName, const std::string& ipText, int hours,
                      int minutes, int seconds, const char* money);

// The look of an on-line tick, advancing a pending alarm flash: the alarm icon on the flash's alarm
// ticks, otherwise the clock face of the call length while "ClockIcon" is on, or the on-line icon.
TrayLook OnlineLook(TrayFlash& flash, bool clockIcon, int minutes, int hours,
                    const std::string& tip);

}  // namespace tollwick
