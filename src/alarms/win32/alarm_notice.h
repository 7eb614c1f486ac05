#pragma once
// The alarm notice: which alarm went off and why, the state of the call then and now, and a way to
// disable the alarm for the rest of the call. Modal, topmost and without an owner, so it shows although
// the program has no visible window.

#include <windows.h>

#include <functional>

#include "alarms/alarm_table.h"
#include "platform/environment.h"
#include "platform/packed_time.h"

namespace tollwick {

// What the notice reads while it is open: the live alarm table and the call in progress.
struct AlarmNoticeSource {
  AlarmTable& alarms;
  Environment& environment;
  std::function<float()> currentCost;
  std::function<PackedTime()> callLength;
};

// Opens the notice for one slot, with the cost and length of the call when the alarm went off.
// Returns IDOK, or IDCANCEL when the user pressed "Disable".
INT_PTR ShowAlarmNotice(AlarmNoticeSource& source, int slot, float cost, PackedTime length);

}  // namespace tollwick
