#include "alarms/alarm_reason.h"

#include <cstdio>

#include "text/money_text.h"

namespace tollwick {

void AlarmReasonText(const Alarm& alarm, Environment& environment, char (&out)[kAlarmReasonChars]) {
  if (alarm.kind != kTimeAlarm) {
    char money[kMoneyTextChars];
    MoneyText(environment, alarm.money, money);
    std::snprintf(out, kAlarmReasonChars, "Once text has reached %s", money);
  } else {
    std::snprintf(out, kAlarmReasonChars, "Once connection time has passed %i", alarm.minutes);
  }
}

}  // namespace tollwick
