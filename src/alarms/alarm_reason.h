#pragma once
// The reason line of the alarm notice.

#include <cstddef>

#include "alarms/alarm_table.h"
#include "platform/environment.h"

namespace tollwick {

constexpr std::size_t kAlarmReasonChars = 100;

// "Once text has reached £2.50" for a money alarm, "Once connection time has passed 30" for a time
// alarm, "Once data has passed 500 MB" for a data alarm.
void AlarmReasonText(const Alarm& alarm, Environment& environment, char (&out)[kAlarmReasonChars]);

}  // namespace tollwick
