#include "alarms/alarm_reason.h"

#include <gtest/gtest.h>

#include "fake_environment.h"

namespace tollwick {

TEST(AlarmReason, TimeAndDataAlarmsNameTheirCounts) {
  FakeEnvironment env;
  Alarm alarm;
  alarm.kind = kTimeAlarm;
  alarm.minutes = 30;
  alarm.money = 9.0f;
  char text[kAlarmReasonChars];
  AlarmReasonText(alarm, env, text);
  EXPECT_STREQ("Once connection time has passed 30", text);
  alarm.kind = kDataAlarm;
  alarm.megabytes = 500;
  AlarmReasonText(alarm, env, text);
  EXPECT_STREQ("Once data has passed 500 MB", text);
}

TEST(AlarmReason, MoneyAlarmShowsTheSumInTheUsersCurrency) {
  FakeEnvironment env;
  Alarm alarm;
  alarm.kind = 7;  // any nonzero kind is a money alarm
  alarm.minutes = 30;
  alarm.money = 2.5f;
  char text[kAlarmReasonChars];
  AlarmReasonText(alarm, env, text);
  EXPECT_STREQ("Once text has reached \xA3" "2.50", text);
}

}  // namespace tollwick
