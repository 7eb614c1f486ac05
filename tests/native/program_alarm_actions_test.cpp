#include "core/program_alarm_actions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "fake_environment.h"

namespace tollwick {
namespace {

Alarm MoneyAlarmOf(const char* name, float money) {
  Alarm alarm;
  std::snprintf(alarm.name, sizeof alarm.name, "%s", name);
  alarm.kind = kMoneyAlarm;
  alarm.money = money;
  alarm.displayMessage = 1;
  return alarm;
}

TEST(AlarmCheck, TheProgramsActionsSoundFlashAndShowTheNotice) {
  FakeEnvironment environment;
  TrayFlash flash;
  std::vector<int> notices;
  ProgramAlarmActions actions(environment, flash, [&](int slot, float) { notices.push_back(slot); });
  AlarmTable table;
  for (int slot : {2, 5}) {
    table.alarms[slot] = MoneyAlarmOf("flash", 0.1f);
    table.alarms[slot].playSound = 1;
    table.alarms[slot].flashTrayIcon = 1;
  }
  CheckAlarms(table, 1.0f, actions, [] { return true; });
  EXPECT_EQ(flash.flashCount, 10);
  EXPECT_EQ(environment.soundsPlayed, 2);
  EXPECT_EQ(notices, (std::vector<int>{2, 5}));

  ProgramAlarmActions noNotice(environment, flash, nullptr);
  noNotice.ShowAlarmNotice(0, 1.0f);  // nothing to show: must not fail
}
}  // namespace
}  // namespace tollwick
