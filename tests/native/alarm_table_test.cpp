#include "alarms/alarm_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fake_registry.h"
#include "recording_alarm_actions.h"

namespace tollwick {
namespace {

using Bytes = std::vector<std::uint8_t>;

Alarm TimeAlarmOf(const char* name, std::int32_t minutes, bool repeat) {
  Alarm alarm;
  std::snprintf(alarm.name, sizeof alarm.name, "%s", name);
  alarm.kind = kTimeAlarm;
  alarm.minutes = minutes;
  alarm.repeat = repeat ? 1 : 0;
  alarm.displayMessage = 1;
  return alarm;
}

Alarm MoneyAlarmOf(const char* name, float money, bool repeat) {
  Alarm alarm;
  std::snprintf(alarm.name, sizeof alarm.name, "%s", name);
  alarm.kind = kMoneyAlarm;
  alarm.money = money;
  alarm.repeat = repeat ? 1 : 0;
  alarm.displayMessage = 1;
  return alarm;
}

// A check whose call goes on, whatever its notices do.
const SameCallFunction kSameCall = [] { return true; };

// The checks (1-based) at which the slot's notice appeared, over `checks` minute checks of one call.
std::vector<int> FiringChecks(AlarmTable& table, int slot, int checks, float cost = 0.0f) {
  RecordingAlarmActions actions;
  std::vector<int> at;
  for (int check = 1; check <= checks; ++check) {
    const int before = actions.Notices(slot);
    CheckAlarms(table, cost, actions, kSameCall);
    if (actions.Notices(slot) > before) at.push_back(check);
  }
  return at;
}

// ---------------------------------------------------------------------------------------------
// When an alarm goes off

TEST(AlarmCheck, FreeSlotsAndSlotsWithoutAThresholdNeverGoOff) {
  AlarmTable table;
  RecordingAlarmActions actions;
  for (int i = 0; i < 50; ++i) CheckAlarms(table, 1000.0f, actions, kSameCall);
  EXPECT_TRUE(actions.events.empty());

  // Settings but no name; a zero or negative threshold; a NaN sum.
  table.alarms[0] = TimeAlarmOf("", 1, true);
  table.alarms[0].playSound = 1;
  table.alarms[1] = TimeAlarmOf("zero", 0, true);
  table.alarms[2] = TimeAlarmOf("negative", -3, true);
  table.alarms[3] = MoneyAlarmOf("nothing", 0.0f, true);
  table.alarms[4] = MoneyAlarmOf("below", -1.0f, true);
  table.alarms[5] = MoneyAlarmOf("nan", std::nanf(""), true);
  for (int i = 0; i < 50; ++i) CheckAlarms(table, 1000.0f, actions, kSameCall);
  EXPECT_TRUE(actions.events.empty());
  // A skipped slot does not count its minutes.
  for (const AlarmRunState& run : table.run) EXPECT_EQ(run.minuteCount, 0);
}

TEST(AlarmCheck, TimeAlarmWithoutRepeatGoesOffOncePerCall) {
  AlarmTable table;
  table.alarms[3] = TimeAlarmOf("five", 5, false);
  EXPECT_EQ(FiringChecks(table, 3, 20), (std::vector<int>{6}));
  EXPECT_TRUE(table.run[3].disabled);
  ResetAlarmRunStates(table);  // the next call
  EXPECT_EQ(FiringChecks(table, 3, 20), (std::vector<int>{6}));
}

TEST(AlarmCheck, TimeAlarmWithRepeatGoesOffEveryIntervalPlusOne) {
  AlarmTable table;
  table.alarms[0] = TimeAlarmOf("one", 1, true);
  table.alarms[7] = TimeAlarmOf("three", 3, true);
  EXPECT_EQ(FiringChecks(table, 0, 8), (std::vector<int>{2, 4, 6, 8}));
  ResetAlarmRunStates(table);
  EXPECT_EQ(FiringChecks(table, 7, 12), (std::vector<int>{4, 8, 12}));
}

TEST(AlarmCheck, MoneyAlarmNeedsTheCostToExceedTheSum) {
  AlarmTable table;
  table.alarms[2] = MoneyAlarmOf("pound", 1.0f, true);
  RecordingAlarmActions actions;
  CheckAlarms(table, 1.0f, actions, kSameCall);
  EXPECT_EQ(actions.Notices(2), 0);
  CheckAlarms(table, 1.04f, actions, kSameCall);
  EXPECT_EQ(actions.Notices(2), 1);
  EXPECT_EQ(table.run[2].costAtFiring, 1.04f);
  EXPECT_FALSE(table.run[2].disabled);
  // Next time the cost must have risen by more than the sum since it went off.
  for (float cost : {1.5f, 2.0f, 2.04f}) CheckAlarms(table, cost, actions, kSameCall);
  EXPECT_EQ(actions.Notices(2), 1);
  CheckAlarms(table, 2.05f, actions, kSameCall);
  EXPECT_EQ(actions.Notices(2), 2);
  EXPECT_EQ(actions.noticeCosts.back(), 2.05f);

  // Without repeat: once, however far the cost goes.
  table.alarms[2].repeat = 0;
  ResetAlarmRunStates(table);
  actions.events.clear();
  for (float cost : {1.5f, 3.0f, 10.0f}) CheckAlarms(table, cost, actions, kSameCall);
  EXPECT_EQ(actions.Notices(2), 1);
}

TEST(AlarmCheck, AnyNonzeroKindIsAMoneyAlarm) {
  AlarmTable table;
  table.alarms[0] = MoneyAlarmOf("odd kind", 0.5f, false);
  table.alarms[0].kind = -7;
  table.alarms[0].minutes = 1;  // would go off at check 2 as a time alarm
  EXPECT_EQ(FiringChecks(table, 0, 3, 0.25f), std::vector<int>{});
  ResetAlarmRunStates(table);
  EXPECT_EQ(FiringChecks(table, 0, 3, 0.75f), (std::vector<int>{1}));
}

TEST(AlarmCheck, DataAlarmNeedsTheCallsDataToExceedItsMegabytes) {
  constexpr std::uint64_t kMB = kBytesPerMB;
  struct Case {
    std::int32_t megabytes;
    bool repeat;
    std::vector<CallVolume> checks;
    int firings;
  };
  const Case cases[] = {
      {2, true, {{true, kMB, kMB}, {true, kMB, kMB + 1}}, 1},
      {1, true, {{true, kMB + 1, 0}, {true, 2 * kMB + 1, 0}, {true, 2 * kMB + 2, 0}}, 2},
      {1, false, {{true, 2 * kMB, 0}, {true, 9 * kMB, 0}}, 1},
      {1, true, {{false, 0, 0}, {false, 0, 0}}, 0},  // never reported
  };
  for (const Case& c : cases) {
    AlarmTable table;
    table.alarms[4] = MoneyAlarmOf("data", 0.01f, c.repeat);  // the cost plays no part
    table.alarms[4].kind = kDataAlarm;  // received plus sent must exceed the MB
    table.alarms[4].megabytes = c.megabytes;
    RecordingAlarmActions actions;
    for (const CallVolume& volume : c.checks) CheckAlarms(table, 5.0f, actions, kSameCall, volume);
    EXPECT_EQ(actions.Notices(4), c.firings) << c.megabytes;
  }
}

TEST(AlarmCheck, FireAlarmSetsTheRunStateBeforeItsActions) {
  AlarmTable table;
  table.alarms[1] = TimeAlarmOf("t", 2, false);
  table.alarms[1].playSound = 1;
  table.alarms[1].flashTrayIcon = 1;
  table.run[1].minuteCount = 2;
  RecordingAlarmActions actions;
  AlarmRunState seen;
  actions.whileNoticeOpen = [&](int slot, float) { seen = table.run[slot]; };
  FireAlarm(table, 1, 0.75f, actions);
  EXPECT_EQ(actions.events, (std::vector<std::string>{"sound", "flash", "notice 1", "closed 1"}));
  EXPECT_TRUE(seen.disabled);
  EXPECT_EQ(seen.minuteCount, 0);
  EXPECT_EQ(seen.costAtFiring, 0.75f);
  EXPECT_EQ(actions.noticeCosts, (std::vector<float>{0.75f}));
}

TEST(AlarmCheck, ActionsFollowTheAlarmsSwitches) {
  AlarmTable table;
  table.alarms[0] = MoneyAlarmOf("quiet", 0.1f, false);
  table.alarms[0].displayMessage = 0;
  table.alarms[0].flashTrayIcon = 1;
  RecordingAlarmActions actions;
  CheckAlarms(table, 1.0f, actions, kSameCall);
  EXPECT_EQ(actions.events, (std::vector<std::string>{"flash"}));
  // Going off without any action still disarms it.
  EXPECT_TRUE(table.run[0].disabled);
}

TEST(AlarmCheck, AlarmsDueTogetherGoOffInSlotOrderEachCompleteBeforeTheNext) {
  AlarmTable table;
  table.alarms[1] = MoneyAlarmOf("one", 0.5f, false);
  table.alarms[1].playSound = 1;
  table.alarms[1].flashTrayIcon = 1;
  table.alarms[4] = TimeAlarmOf("four", 0, false);  // never
  table.alarms[5] = MoneyAlarmOf("five", 0.25f, false);
  table.alarms[5].playSound = 1;
  table.alarms[6] = TimeAlarmOf("six", 1, false);
  table.alarms[6].flashTrayIcon = 1;
  table.run[6].minuteCount = 1;
  RecordingAlarmActions actions;
  CheckAlarms(table, 0.6f, actions, kSameCall);
  EXPECT_EQ(actions.events,
            (std::vector<std::string>{"sound", "flash", "notice 1", "closed 1", "sound", "notice 5",
                                      "closed 5", "flash", "notice 6", "closed 6"}));
  EXPECT_EQ(actions.noticeCosts, (std::vector<float>{0.6f, 0.6f, 0.6f}));
}

TEST(AlarmCheck, DisableFromTheNoticeStopsTheAlarmForTheRestOfTheCallOnly) {
  AlarmTable table;
  table.alarms[0] = TimeAlarmOf("disabled by the user", 1, true);
  table.alarms[1] = TimeAlarmOf("left alone", 1, true);
  RecordingAlarmActions actions;
  actions.whileNoticeOpen = [&](int slot, float) {
    if (slot == 0) table.run[0].disabled = true;  // the notice's "Disable"
  };
  for (int check = 0; check < 10; ++check) CheckAlarms(table, 0.0f, actions, kSameCall);
  EXPECT_EQ(actions.Notices(0), 1);
  EXPECT_EQ(actions.Notices(1), 5);
  EXPECT_EQ(table.run[0].minuteCount, 0);  // a disabled alarm's count stands still

  ResetAlarmRunStates(table);
  actions.whileNoticeOpen = nullptr;
  EXPECT_EQ(FiringChecks(table, 0, 4), (std::vector<int>{2, 4}));
}

TEST(AlarmCheck, ALaterSlotDisabledWhileANoticeIsOpenDoesNotGoOff) {
  AlarmTable table;
  table.alarms[0] = MoneyAlarmOf("first", 0.5f, false);
  table.alarms[3] = MoneyAlarmOf("second", 0.5f, false);
  table.alarms[3].playSound = 1;
  RecordingAlarmActions actions;
  actions.whileNoticeOpen = [&](int slot, float) {
    if (slot == 0) table.run[3].disabled = true;
  };
  CheckAlarms(table, 1.0f, actions, kSameCall);
  EXPECT_EQ(actions.events, (std::vector<std::string>{"notice 0", "closed 0"}));
}

TEST(AlarmCheck, ANestedCheckDuringANoticeAndTheInterruptedCheckKeepTheirOwnCost) {
  AlarmTable table;
  table.alarms[0] = MoneyAlarmOf("repeating pound", 1.0f, true);
  table.alarms[1] = MoneyAlarmOf("fifty pence", 0.5f, false);
  table.alarms[2] = TimeAlarmOf("one minute", 1, false);
  table.alarms[2].displayMessage = 0;
  table.alarms[2].playSound = 1;
  RecordingAlarmActions actions;
  int depth = 0;
  actions.whileNoticeOpen = [&](int slot, float) {
    // The timer goes on while slot 0's notice is open: the next minute's check runs inside it.
    if (slot == 0 && depth == 0) {
      ++depth;
      CheckAlarms(table, 2.0f, actions, kSameCall);
      --depth;
    }
  };
  CheckAlarms(table, 1.5f, actions, kSameCall);
  // Nested check at 2.00: slot 0 has risen only 0.50 since 1.50; slot 1 goes off with its notice;
  // slot 2 counts its first minute. The interrupted check then resumes at slot 1 (now disarmed) and
  // slot 2, whose second minute sets it off with the interrupted check's cost.
  EXPECT_EQ(actions.events, (std::vector<std::string>{"notice 0", "notice 1", "closed 1", "closed 0",
                                                      "sound"}));
  EXPECT_EQ(actions.noticeCosts, (std::vector<float>{1.5f, 2.0f}));
  EXPECT_EQ(table.run[0].costAtFiring, 1.5f);
  EXPECT_EQ(table.run[1].costAtFiring, 2.0f);
  EXPECT_EQ(table.run[2].costAtFiring, 1.5f);
  EXPECT_TRUE(table.run[2].disabled);
}

TEST(AlarmCheck, TheCheckStopsOnceANoticeLeavesItsCallBehind) {
  AlarmTable table;
  table.alarms[1] = MoneyAlarmOf("first", 0.5f, false);
  table.alarms[2] = MoneyAlarmOf("second", 0.5f, false);
  table.alarms[2].playSound = 1;
  table.alarms[4] = TimeAlarmOf("minute", 1, false);
  table.run[4].minuteCount = 3;
  table.alarms[6] = TimeAlarmOf("ten minutes", 10, false);
  RecordingAlarmActions actions;
  bool sameCall = true;
  int asked = 0;
  actions.whileNoticeOpen = [&](int slot, float) {
    // The connection drops while slot 1's notice is open, and a redial starts the next call.
    if (slot == 1) {
      sameCall = false;
      ResetAlarmRunStates(table);
    }
  };
  CheckAlarms(table, 1.0f, actions, [&] {
    ++asked;
    return sameCall;
  });
  EXPECT_EQ(actions.events, (std::vector<std::string>{"notice 1", "closed 1"}));
  EXPECT_EQ(asked, 1);
  // The new call's alarms are as its start left them: no firing at the old cost, no minute counted.
  EXPECT_FALSE(table.run[2].disabled);
  EXPECT_EQ(table.run[2].costAtFiring, 0.0f);
  EXPECT_EQ(table.run[4].minuteCount, 0);
  EXPECT_EQ(table.run[6].minuteCount, 0);

  // While the call goes on, the check carries on past a notice.
  ResetAlarmRunStates(table);
  actions.events.clear();
  sameCall = true;
  actions.whileNoticeOpen = nullptr;
  CheckAlarms(table, 1.0f, actions, [&] { return sameCall; });
  EXPECT_EQ(actions.events, (std::vector<std::string>{"notice 1", "closed 1", "sound", "notice 2",
                                                      "closed 2"}));
  EXPECT_EQ(table.run[6].minuteCount, 1);
}

TEST(AlarmCheck, AReloadWhileANoticeIsOpenRearmsEveryAlarm) {
  // Cancelling the Options dialog from inside a notice reloads the table and resets the run states.
  FakeRegistry registry;
  SettingsStore store(registry);
  AlarmTable table;
  table.alarms[0] = TimeAlarmOf("a", 1, false);
  table.alarms[1] = TimeAlarmOf("b", 1, false);
  SaveAlarms(store, table);
  RecordingAlarmActions actions;
  actions.whileNoticeOpen = [&](int slot, float) {
    if (slot == 0) LoadAlarms(store, table);
  };
  CheckAlarms(table, 0.0f, actions, kSameCall);
  CheckAlarms(table, 0.0f, actions, kSameCall);
  // Slot 0 went off and was re-armed by the reload; slot 1's count restarted before it reached 2.
  EXPECT_EQ(actions.Notices(0), 1);
  EXPECT_EQ(actions.Notices(1), 0);
  EXPECT_FALSE(table.run[0].disabled);
  EXPECT_EQ(table.run[1].minuteCount, 1);
}

// ---------------------------------------------------------------------------------------------
// The stored "AlarmList"

Bytes StoredList() {
  Bytes bytes(kAlarmListBytes, 0);
  for (int slot = 0; slot < kAlarmSlots; ++slot) {
    std::uint8_t* at = &bytes[slot * kAlarmSlotBytes];
    if (slot == 6) continue;  // a free slot
    std::snprintf(reinterpret_cast<char*>(at), 100, "alarm %d", slot);
    if (slot == 2) {  // bytes after the terminator, up to the field's last byte, are kept
      std::memcpy(at + 20, "left-over bytes", 15);
      at[99] = 'Z';
    }
    const std::uint32_t fields[7] = {static_cast<std::uint32_t>(slot == 5 ? 2 : slot % 2),
                                     static_cast<std::uint32_t>(slot == 3 ? -5 : 10 + slot),
                                     0x3F8CCCCDu + static_cast<std::uint32_t>(slot),  // about 1.1
                                     static_cast<std::uint32_t>(slot & 1),
                                     static_cast<std::uint32_t>((slot >> 1) & 1),
                                     static_cast<std::uint32_t>((slot >> 2) & 1), 1u};
    for (int f = 0; f < 7; ++f) {
      for (int b = 0; b < 4; ++b) at[100 + 4 * f + b] = static_cast<std::uint8_t>(fields[f] >> (8 * b));
    }
  }
  return bytes;
}

class AlarmStore : public ::testing::Test {
 protected:
  FakeRegistry registry;
  SettingsStore store{registry};
  AlarmTable table;

  void Put(const Bytes& bytes) {
    registry.PutValue(kHkeyLocalMachine, kRootPath, "AlarmList", kRegBinary, bytes);
  }
  std::optional<Bytes> Stored() const {
    return registry.ValueBytes(kHkeyLocalMachine, kRootPath, "AlarmList");
  }
};

TEST_F(AlarmStore, LoadAndSaveGiveBackTheStoredBytesExactly) {
  const Bytes stored = StoredList();
  Put(stored);
  LoadAlarms(store, table);
  // Each field from its offset, little-endian.
  EXPECT_STREQ(table.alarms[2].name, "alarm 2");
  EXPECT_EQ(table.alarms[1].kind, 1);
  EXPECT_EQ(table.alarms[2].kind, 0);
  EXPECT_EQ(table.alarms[3].minutes, -5);
  EXPECT_EQ(table.alarms[4].minutes, 14);
  EXPECT_EQ(table.alarms[5].megabytes, 15);  // a data alarm's count is MB, not minutes
  EXPECT_EQ(table.alarms[5].minutes, 0);
  std::uint32_t bits = 0;
  std::memcpy(&bits, &table.alarms[5].money, 4);
  EXPECT_EQ(bits, 0x3F8CCCCDu + 5);
  EXPECT_EQ(table.alarms[5].displayMessage, 1u);
  EXPECT_EQ(table.alarms[2].playSound, 1u);
  EXPECT_EQ(table.alarms[4].flashTrayIcon, 1u);
  EXPECT_EQ(table.alarms[7].repeat, 1u);
  EXPECT_EQ(table.alarms[6].name[0], '\0');

  registry.PutValue(kHkeyLocalMachine, kRootPath, "AlarmList", kRegBinary, Bytes{1});  // overwritten
  SaveAlarms(store, table);
  EXPECT_EQ(registry.ValueType(kHkeyLocalMachine, kRootPath, "AlarmList"), kRegBinary);
  EXPECT_EQ(Stored(), stored);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(AlarmStore, EncodePutsEveryFieldAtItsOffset) {
  table.alarms[7] = MoneyAlarmOf("last", 2.5f, true);  // 2.5 = 0x40200000
  table.alarms[7].kind = -2;
  table.alarms[7].minutes = 0x01020304;
  table.alarms[7].playSound = 1;
  table.alarms[7].flashTrayIcon = 1;
  std::memset(table.alarms[0].name, 'n', sizeof table.alarms[0].name);  // no terminator in memory
  Bytes bytes(kAlarmListBytes, 0xEE);
  EncodeAlarmList(table, bytes.data());
  const std::uint8_t* at = &bytes[7 * 128];
  EXPECT_STREQ(reinterpret_cast<const char*>(at), "last");
  EXPECT_EQ(Bytes(at + 100, at + 128),
            (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01, 0x00, 0x00, 0x20, 0x40, 1, 0, 0, 0,
                   1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 99), Bytes(99, 'n'));
  EXPECT_EQ(bytes[99], 0);
  EXPECT_EQ(Bytes(bytes.begin() + 128, bytes.begin() + 7 * 128), Bytes(6 * 128, 0));
}

TEST_F(AlarmStore, AMissingListIsEightFreeSlotsStoredAsZeros) {
  table.alarms[0] = TimeAlarmOf("stale", 1, true);
  LoadAlarms(store, table);
  for (const Alarm& alarm : table.alarms) EXPECT_EQ(alarm.name[0], '\0');
  EXPECT_EQ(table.alarms[0].minutes, 0);
  EXPECT_EQ(Stored(), Bytes(kAlarmListBytes, 0));
  EXPECT_EQ(registry.ValueType(kHkeyLocalMachine, kRootPath, "AlarmList"), kRegBinary);
}

TEST_F(AlarmStore, AnOverLongListIsReplacedByZeros) {
  Bytes longer = StoredList();
  longer.push_back(0);
  Put(longer);
  LoadAlarms(store, table);
  for (const Alarm& alarm : table.alarms) EXPECT_EQ(alarm.name[0], '\0');
  EXPECT_EQ(Stored(), Bytes(kAlarmListBytes, 0));
}

TEST_F(AlarmStore, AShorterListFillsTheLeadingBytesAndTheRestOfTheTableKeepsWhatItHeld) {
  Put(StoredList());
  LoadAlarms(store, table);
  ASSERT_STREQ(table.alarms[5].name, "alarm 5");
  // Edits on the Alarms tab that a cancelled Options dialog reloads over.
  table.alarms[1].minutes = 42;
  table.alarms[1].repeat = 0;
  std::snprintf(table.alarms[5].name, sizeof table.alarms[5].name, "edited");
  table.run[5].disabled = true;
  Bytes shorter = StoredList();
  shorter.resize(128 + 104);  // slot 0, and slot 1's name and kind
  shorter[128 + kAlarmKindOffset] = 0;  // slot 1 becomes a time alarm
  Put(shorter);
  LoadAlarms(store, table);
  EXPECT_STREQ(table.alarms[0].name, "alarm 0");
  EXPECT_EQ(table.alarms[0].minutes, 10);
  EXPECT_STREQ(table.alarms[1].name, "alarm 1");
  EXPECT_EQ(table.alarms[1].kind, kTimeAlarm);
  EXPECT_EQ(table.alarms[1].minutes, 42);
  EXPECT_EQ(table.alarms[1].repeat, 0u);
  EXPECT_STREQ(table.alarms[5].name, "edited");
  EXPECT_EQ(table.alarms[7].repeat, 1u);
  EXPECT_FALSE(table.run[5].disabled);  // re-armed all the same
  EXPECT_EQ(Stored()->size(), 128u + 104u);  // an accepted value is not rewritten
}

TEST_F(AlarmStore, AStoredSumThatIsNotFiniteLoadsAsZero) {
  const std::uint32_t notFinite[] = {0x7FC00000u, 0xFFFFFFFFu, 0x7F800000u, 0xFF800000u};
  Bytes bytes = StoredList();
  for (int slot = 0; slot < 4; ++slot) {
    for (int b = 0; b < 4; ++b) {
      bytes[slot * kAlarmSlotBytes + kAlarmMoneyOffset + b] =
          static_cast<std::uint8_t>(notFinite[slot] >> (8 * b));
    }
  }
  Put(bytes);
  LoadAlarms(store, table);
  for (int slot = 0; slot < 4; ++slot) {
    std::uint32_t bits = 1;
    std::memcpy(&bits, &table.alarms[slot].money, 4);
    EXPECT_EQ(bits, 0u) << slot;
  }
  std::uint32_t bits = 0;
  std::memcpy(&bits, &table.alarms[4].money, 4);
  EXPECT_EQ(bits, 0x3F8CCCCDu + 4);
}

TEST_F(AlarmStore, AStoredNameWithoutTerminatorIsCutAtItsLastByte) {
  Bytes bytes = StoredList();
  std::memset(&bytes[128], 'w', 100);
  Put(bytes);
  LoadAlarms(store, table);
  EXPECT_EQ(std::string(table.alarms[1].name), std::string(99, 'w'));
  EXPECT_EQ(table.alarms[1].kind, 1);
}

TEST_F(AlarmStore, LoadRearmsAndSaveLeavesTheRunStatesAlone) {
  for (AlarmRunState& run : table.run) run = AlarmRunState{1, 4, 2.5f};
  SaveAlarms(store, table);
  EXPECT_EQ(table.run[3].minuteCount, 4);
  LoadAlarms(store, table);
  for (const AlarmRunState& run : table.run) {
    EXPECT_FALSE(run.disabled);
    EXPECT_EQ(run.minuteCount, 0);
    EXPECT_EQ(run.costAtFiring, 0.0f);
  }
}

}  // namespace
}  // namespace tollwick
