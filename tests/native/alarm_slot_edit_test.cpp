// The Alarms tab's edits of one slot: what each leaves in the slot, and so in the stored "AlarmList".

#include "alarms/alarm_slot_edit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tollwick {
namespace {

// A slot with every field set and the bytes after its name's terminator filled, as a stored value
// may hold them.
Alarm FullSlot() {
  Alarm alarm;
  std::memset(alarm.name, 'z', sizeof alarm.name);
  std::memcpy(alarm.name, "Old", 4);
  alarm.kind = kTimeAlarm;
  alarm.minutes = 30;
  alarm.money = 2.5f;
  alarm.megabytes = 500;
  alarm.displayMessage = alarm.playSound = alarm.flashTrayIcon = alarm.repeat = 1;
  return alarm;
}

TEST(AlarmSlotEdit, NamesAreCutTo99CharactersAndLeaveTheBytesAfterThem) {
  struct Case {
    std::string typed;
    std::string kept;
  };
  const Case cases[] = {
      {"Evening", "Evening"},
      {"", ""},  // frees the slot
      {std::string(99, 'a'), std::string(99, 'a')},
      {std::string(150, 'b'), std::string(99, 'b')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.size());
    const Alarm before = FullSlot();
    Alarm alarm = before;
    SetAlarmName(alarm, c.typed);
    EXPECT_EQ(std::string(alarm.name), c.kept);
    for (std::size_t i = c.kept.size() + 1; i < sizeof alarm.name; ++i) {
      ASSERT_EQ(alarm.name[i], before.name[i]) << "byte " << i;
    }
  }
}

TEST(AlarmSlotEdit, MinutesKeepTheirBitsAndSumsTheirSinglePrecision) {
  Alarm alarm = FullSlot();
  SetAlarmMinutes(alarm, 10);
  EXPECT_EQ(alarm.minutes, 10);
  SetAlarmMinutes(alarm, 4294967286u);  // what an unsigned field shows for -10
  EXPECT_EQ(alarm.minutes, -10);
  SetAlarmMoney(alarm, 1.239);
  EXPECT_EQ(alarm.money, 1.239f);
  EXPECT_EQ(alarm.kind, kTimeAlarm);  // a value alone never changes the kind
}

TEST(AlarmSlotEdit, EachActionBoxSetsItsOwnFlagOnly) {
  struct Case {
    AlarmAction action;
    std::uint32_t Alarm::*flag;
  };
  const Case cases[] = {
      {AlarmAction::kDisplayMessage, &Alarm::displayMessage},
      {AlarmAction::kPlaySound, &Alarm::playSound},
      {AlarmAction::kFlashTrayIcon, &Alarm::flashTrayIcon},
      {AlarmAction::kRepeat, &Alarm::repeat},
  };
  for (const Case& c : cases) {
    Alarm alarm = FullSlot();
    SetAlarmAction(alarm, c.action, false);
    for (const Case& other : cases) {
      EXPECT_EQ(alarm.*other.flag, other.flag == c.flag ? 0u : 1u);
      EXPECT_EQ(AlarmActionOn(alarm, other.action), other.flag != c.flag);
    }
    SetAlarmAction(alarm, c.action, true);
    EXPECT_EQ(alarm.*c.flag, 1u);
  }
  Alarm stored;
  stored.playSound = 7;  // any nonzero stored flag is on
  EXPECT_TRUE(AlarmActionOn(stored, AlarmAction::kPlaySound));
}

TEST(AlarmSlotEdit, ChoosingAKindKeepsOnlyTheValueOnShow) {
  struct Case {
    const char* name;
    std::int32_t from;
    std::int32_t chosen;
    std::int32_t minutes;
    float money;
    std::int32_t megabytes;
  };
  // The slot holds 30 minutes, 2.50 and 500 MB whatever its kind.
  const Case cases[] = {
      {"time again", kTimeAlarm, kTimeAlarm, 30, 0.0f, 0},
      {"money again", kMoneyAlarm, kMoneyAlarm, 0, 2.5f, 0},
      {"data again", kDataAlarm, kDataAlarm, 0, 0.0f, 500},
      {"any other kind is money", 7, kMoneyAlarm, 0, 2.5f, 0},
      {"time to money", kTimeAlarm, kMoneyAlarm, 0, 0.0f, 0},
      {"money to time", kMoneyAlarm, kTimeAlarm, 0, 0.0f, 0},
      {"time to data", kTimeAlarm, kDataAlarm, 0, 0.0f, 0},
      {"data to money", kDataAlarm, kMoneyAlarm, 0, 0.0f, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Alarm alarm = FullSlot();
    alarm.kind = c.from;
    SetAlarmKind(alarm, c.chosen);
    EXPECT_EQ(alarm.kind, c.chosen);
    EXPECT_EQ(alarm.minutes, c.minutes);
    EXPECT_EQ(alarm.money, c.money);
    EXPECT_EQ(alarm.megabytes, c.megabytes);
    EXPECT_STREQ(alarm.name, "Old");
    EXPECT_EQ(alarm.repeat, 1u);
  }
}

}  // namespace
}  // namespace tollwick
