#include "alarms/alarm_reason.h"

#include <cstdio>

#include "text/money_text.h"

namespace tollwick {

void AlarmReasonText(const Alarm& alarm, Environment& environment, char (&out)[kAlarmReasonChars]) {
  switch (AlarmKindOf(alarm.kind)) {
    case kTimeAlarm:
      std::snprintf(out, kAlarmReasonChars, "Once connection time has passed %i", alarm.minutes);
      break;
    case kDataAlarm:
      std::snprintf(out, kAlarmReasonChars, "Once data has passed %i MB", alarm.megabytes);
      break;
    default: {
      char money[kMoneyTextChars];
      MoneyText(environment, alarm.money, money);
      std::snprintf(out, kAlarmReasonChars, "Once text has reached %s", money);
      break;
    }
  }
}

}  // namespace tollwick
