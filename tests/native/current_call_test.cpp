// The call in progress against an in-memory registry and a hand-driven clock: timing, pricing, the
// minimum charge, the minute step with its alarm check and snapshot, and the bill item at the end.

#include "call/current_call.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "bill/bill_store.h"
#include "call/call_recovery.h"
#include "call_world.h"
#include "charging/tariff.h"
#include "stored_bytes.h"
#include "platform/little_endian.h"

namespace tollwick {
namespace {

const std::string kRoot = "Software\\Orvo\\Tollwick";

class CurrentCallTest : public ::testing::Test, protected OwnCallWorld {
 protected:
  CurrentCallTest() {
    env.SetDate(2026, 12, 9);
    env.SetNow(3, 12, 0);  // a Wednesday noon
    env.tickCount = 5000;
    env.userName = "alice";
  }

  // Rates stored straight into the registry, as a user who set them up would have left them.
  void StoreRates(const std::string& profile, float day, float evening, float weekend,
                  std::uint32_t minChargeOn, float minCharge, std::int32_t dayFrom = 0x0800,
                  std::int32_t dayTo = 0x1200) {
    std::vector<std::uint8_t> block(20);
    PutI32(&block[0], dayFrom);
    PutI32(&block[4], dayTo);
    PutF32(&block[8], day);
    PutF32(&block[12], evening);
    PutF32(&block[16], weekend);
    std::string path = kRoot + "\\" + profile;
    registry.PutValue(kHkeyLocalMachine, path, "CallChargeInfo", kRegBinary, block);
    registry.PutValue(kHkeyLocalMachine, path, "MinChargeOn", kRegDword, U32Bytes(minChargeOn));
    registry.PutValue(kHkeyLocalMachine, path, "MinCharge", kRegBinary, F32Bytes(minCharge));
    if (profile != ".Default") {
      registry.PutValue(kHkeyLocalMachine, path, "UseDefault", kRegDword, U32Bytes(0));
    }
  }

  // One timer tick after the given number of milliseconds.
  void Tick(std::uint32_t afterMs = 500) {
    env.tickCount += afterMs;
    call.AccrueTick();
  }

  // Seconds of a steady 500 ms timer.
  void RunSeconds(int seconds) {
    for (int i = 0; i < 2 * seconds; ++i) Tick();
  }

  std::uint32_t StoredDword(const std::string& key, const std::string& name) {
    auto bytes = registry.ValueBytes(kHkeyLocalMachine, kRoot + "\\" + key, name);
    EXPECT_TRUE(bytes.has_value() && bytes->size() == 4) << key << "\\" << name;
    return bytes && bytes->size() == 4 ? GetU32(bytes->data()) : 0xDEADBEEF;
  }

  float StoredFloat(const std::string& key, const std::string& name) {
    return GetF32(U32Bytes(StoredDword(key, name)).data());
  }

  // An alarm in a slot that shows its notice when it goes off.
  void SetAlarm(int slot, const char* name, std::int32_t kind, std::int32_t minutes, float money) {
    std::strcpy(alarms.alarms[slot].name, name);
    alarms.alarms[slot].kind = kind;
    alarms.alarms[slot].minutes = minutes;
    alarms.alarms[slot].money = money;
    alarms.alarms[slot].displayMessage = 1;
  }

  struct AppendCounter : BillListener {
    explicit AppendCounter(const Bill& bill) { bill.Listen(*this); }
    void ItemAppended(const BillItem&) override { ++appended; }
    int appended = 0;
  } appendedNotices{bill};
};

TEST_F(CurrentCallTest, CountsOneSecondOnlyAfterMoreThanAThousandMilliseconds) {
  call.StartCall("Dialup");
  Tick(1000);  // exactly 1000: not yet
  EXPECT_EQ(0, call.CallSeconds());
  Tick(1);
  EXPECT_EQ(1, call.CallSeconds());
  Tick(500);
  EXPECT_EQ(1, call.CallSeconds());
}

TEST_F(CurrentCallTest, SteadyTicksFollowRealTime) {
  call.StartCall("Dialup");
  RunSeconds(125);
  // The first second needs 1001 ms, then one per 1000 ms.
  EXPECT_EQ(2, call.CallMinutes());
  EXPECT_EQ(4, call.CallSeconds());
  EXPECT_EQ(0x0003u, call.CallLength());
}

// A late tick counts every whole second since the last one, each priced at the time of day it
// ended: the same single-precision sum as ticks on time would have made. Day rate 0.60 until 18:00,
// evening 0.06, weekend 0.012 a minute.
TEST_F(CurrentCallTest, ALateTickCountsEverySecondOfTheGapAtItsOwnPrice) {
  struct Clock {
    std::uint16_t dayOfWeek, hour, minute, second;
  };
  const struct {
    const char* what;
    Clock start, late;  // the clock at the call's start, and at the late tick (and 500 ms)
    std::uint32_t gapMs;
    std::vector<std::pair<float, int>> priced;  // the seconds it counts: rate a minute, how many
  } cases[] = {
      {"held 10.5 s", {3, 12, 0, 0}, {3, 12, 0, 10}, 10500, {{0.60f, 10}}},
      {"held across the end of the day rate", {3, 17, 59, 30}, {3, 18, 0, 15}, 45500,
       {{0.60f, 29}, {0.06f, 16}}},
      {"held across midnight into Saturday", {5, 23, 59, 50}, {6, 0, 0, 10}, 20500,
       {{0.06f, 9}, {0.012f, 11}}},
      {"a gap longer than any held thread", {3, 12, 0, 0}, {3, 12, 10, 0}, kLongestCountedGapMs + 1,
       {}},
      {"the tick count going backwards", {3, 12, 0, 0}, {3, 12, 0, 0}, 0u - 5000u, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StoreRates("Dialup", 0.60f, 0.06f, 0.012f, 0, 0.0f, 0x0800, 0x1200);
    env.SetNow(c.start.dayOfWeek, c.start.hour, c.start.minute, c.start.second);
    env.now.milliseconds = 0;
    call.StartCall("Dialup");
    env.SetNow(c.late.dayOfWeek, c.late.hour, c.late.minute, c.late.second);
    env.now.milliseconds = 500;
    Tick(c.gapMs);
    float expected = 0.0f;  // the sum ticks on time would have made
    int seconds = 0;
    for (const auto& [perMinute, count] : c.priced) {
      const float price = static_cast<float>(static_cast<double>(perMinute) * kOneSixtieth);
      for (int i = 0; i < count; ++i) expected = AddChargedSecond(expected, price, 0.0f);
      seconds += count;
    }
    EXPECT_EQ(seconds, call.CallSeconds());
    EXPECT_EQ(expected, call.CurrentCost());
    Tick(0);
    EXPECT_EQ(seconds, call.CallSeconds()) << "never ahead of the clock";
    Tick(1500);
    EXPECT_EQ(seconds + 1, call.CallSeconds()) << "counting goes on from the late tick";
    call.EndCall();
  }
}

TEST_F(CurrentCallTest, ALateTickRunsEachCountedMinutesStepInTurn) {
  call.StartCall("Dialup");
  Tick(150500);  // two and a half minutes held
  EXPECT_EQ(1, call.CallMinutes());
  EXPECT_EQ(0x0002u, StoredDword("CurCall", "Length"));
  Tick(0);
  EXPECT_EQ(0x0003u, StoredDword("CurCall", "Length"));
  Tick(0);
  EXPECT_EQ(2, call.CallMinutes());
  EXPECT_EQ(30, call.CallSeconds());
}

TEST_F(CurrentCallTest, FinalSnapshotsCountToTheMomentAndSuspendedTimeIsNotCounted) {
  StoreRates("Dialup", 0.06f, 0.06f, 0.06f, 0, 0.0f);
  call.StartCall("Dialup");
  RunSeconds(95);
  env.tickCount += 3200;  // no tick since: the final snapshot counts what a late one would have
  call.SaveFinalSnapshot();
  EXPECT_EQ(98, call.CallMinutes() * 60 + call.CallSeconds());
  EXPECT_EQ(0x0002u, StoredDword("CurCall", "Length"));
  EXPECT_EQ(call.CurrentCost(), StoredFloat("CurCall", "Cost"));
  EXPECT_EQ(1u, StoredDword("CurCall", ""));

  call.Suspend();
  Tick(3600000);  // an hour asleep
  call.Resume();
  Tick(500);
  EXPECT_EQ(98, call.CallMinutes() * 60 + call.CallSeconds());
  RunSeconds(3);
  EXPECT_EQ(101, call.CallMinutes() * 60 + call.CallSeconds());
}

TEST_F(CurrentCallTest, TickCountWrapAroundKeepsCounting) {
  env.tickCount = 0xFFFFFC00u;  // 1024 ms before the wrap
  call.StartCall("Dialup");
  Tick(600);
  Tick(600);  // now past the wrap, 1200 ms after the start
  EXPECT_EQ(1, call.CallSeconds());
  RunSeconds(5);
  EXPECT_EQ(6, call.CallSeconds());
}

// The volume from the connection's counters: readings a second apart (the first at the start) and
// what is billed. A jump is more than 1 GiB a second.
TEST_F(CurrentCallTest, VolumeCountsWhatTheCountersMovedBetweenReadings) {
  constexpr std::uint64_t kTop = 0xFFFFFFFFu, kGiB = kMostBytesPerSecond;
  using Read = std::optional<TrafficReading>;
  const Read fails;
  auto at = [](std::uint64_t received, std::uint64_t sent, std::uint32_t bits = 32) {
    return Read(TrafficReading{received, sent, bits});
  };
  const struct { const char* what; std::vector<Read> reads; CallVolume billed; } cases[] = {
      {"never reported", {fails, fails}, {false, 0, 0}},
      {"from the first reading", {fails, at(50, 7), at(90, 9)}, {true, 40, 2}},
      {"a failure is tried again", {at(0, 0), fails, at(500, 50)}, {true, 500, 50}},
      {"32-bit wrap", {at(kTop - 99, 10), at(400, 10)}, {true, 500, 0}},
      {"restart", {at(2000000000, 5000), at(1000, 6000)}, {true, 1000, 1000}},
      {"64-bit restart", {at(kTop * 8, 0, 64), at(300, 0, 64)}, {true, 300, 0}},
      {"a jump once", {at(0, 0), at(3 * kGiB, 0), at(1000, 10)}, {true, 1000, 10}},
      {"a jump that stays", {at(0, 0), at(3 * kGiB, 0), at(3 * kGiB + 5, 1)}, {true, 5, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedTraffic traffic;
    traffic.answers.assign(c.reads.begin(), c.reads.end());
    call.StartCall("Dialup", &traffic);
    for (std::size_t i = 1; i < c.reads.size(); ++i) {
      env.tickCount += 1001;
      call.AccrueTick(&traffic);
      call.AccrueTick(&traffic);  // at the same moment: no second counted, nothing read
    }
    call.EndCall();
    EXPECT_TRUE(traffic.answers.empty() && traffic.readsPastScript == 0) << "one reading a second";
    const CallVolume& v = bill.back().volume;
    EXPECT_EQ(std::tuple(c.billed.known, c.billed.received, c.billed.sent),
              std::tuple(v.known, v.received, v.sent));
  }
}

TEST_F(CurrentCallTest, LengthCountsTheMinuteUnderWayAndShows60BeforeTheHour) {
  call.StartCall("Dialup");
  EXPECT_EQ(0x0001u, call.CallLength());
  RunSeconds(59 * 60 + 59);  // 0:59:58 counted
  EXPECT_EQ(0, call.CallHours());
  EXPECT_EQ(59, call.CallMinutes());
  EXPECT_EQ(0x003Cu, call.CallLength()) << "0:60";
  RunSeconds(2);  // 1:00:00 counted
  EXPECT_EQ(1, call.CallHours());
  EXPECT_EQ(0, call.CallMinutes());
  EXPECT_EQ(0x0101u, call.CallLength());
}

TEST_F(CurrentCallTest, MinimumChargeAppliesUntilTheRunningCostPassesIt) {
  StoreRates(".Default", 0.06f, 0.06f, 0.06f, 1, 0.05f);
  call.StartCall("Dialup");  // no key of its own: runs on the .Default settings
  EXPECT_FLOAT_EQ(0.05f, call.CurrentCost());
  RunSeconds(40);  // 0.04 accrued
  EXPECT_FLOAT_EQ(0.05f, call.CurrentCost());
  RunSeconds(20);
  EXPECT_GT(call.CurrentCost(), 0.05f);
}

// The cost shown is what the call would be billed if it ended then, and so is each snapshot's.
TEST_F(CurrentCallTest, ChargingRulesPriceWhatIsShownSnapshottedAndBilled) {
  StoreRates("Dialup", 0.06f, 0.06f, 0.06f, 0, 0.0f);
  registry.PutValue(kHkeyLocalMachine, kRoot + "\\Dialup", "FirstPeriod", kRegDword, U32Bytes(60));
  registry.PutValue(kHkeyLocalMachine, kRoot + "\\Dialup", "Increment", kRegDword, U32Bytes(60));
  call.StartCall("Dialup");
  RunSeconds(65);
  EXPECT_NEAR(0.06f, StoredFloat("CurCall", "Cost"), 1e-6) << "the minute's snapshot: 60 s";
  env.tickCount += 1500;
  call.SaveFinalSnapshot();
  EXPECT_NEAR(0.12f, StoredFloat("CurCall", "Cost"), 1e-6) << "66 s: two started minutes";
  call.StartCall("Dialup");  // inside the plan's allowance it costs nothing
  call.GrantAllowance(Allowance{120, 0});
  RunSeconds(100);
  call.GrantAllowance(Allowance{});  // too late: ignored
  call.EndCall();
  EXPECT_EQ(0.0f, bill[bill.size() - 1].cost);
}

// Priced by the account's own rates, not those of .Default.
TEST_F(CurrentCallTest, EightHourCallMatchesAnIndependentSinglePrecisionSum) {
  StoreRates(".Default", 1.0f, 1.0f, 1.0f, 0, 0.0f);
  StoreRates("Dialup", 0.06f, 0.03f, 0.01f, 0, 0.0f, 0x0800, 0x1200);
  env.SetNow(3, 16, 0);
  call.StartCall("Dialup");
  volatile float expected = 0.0f;  // kept in single precision between steps
  const float sixtieth = 0.016666668f;
  for (int second = 1; second <= 8 * 3600; ++second) {
    int clock = 16 * 3600 + second;  // the clock as the tariff sees it during this second
    env.now.hour = static_cast<std::uint16_t>((clock / 3600) % 24);
    env.now.minute = static_cast<std::uint16_t>((clock / 60) % 60);
    Tick(1000 + (second == 1 ? 1 : 0));
    int packed = env.now.hour * 256 + env.now.minute;
    float rate = (0x0800 < packed && packed < 0x1200) ? 0.06f : 0.03f;
    float price = rate * sixtieth;
    expected = expected + price;
  }
  EXPECT_EQ(8, call.CallHours());
  EXPECT_EQ(static_cast<float>(expected), call.CurrentCost());
}

TEST_F(CurrentCallTest, StoredAmountsThatAreNotFiniteOrAbsurdCountAsZero) {
  // Two minutes from 17:59, the first at the day rate and the second at the evening rate (0.06),
  // with a minimum charge of 0.05 unless it is the one that is not finite.
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    const char* what;
    float dayRate;
    float minCharge;
    float expected;
  };
  const Case cases[] = {
      {"NaN minimum charge", 0.06f, nan, 0.12f},
      {"NaN day rate", nan, 0.05f, 0.06f},
      {"-Inf day rate", -inf, 0.05f, 0.06f},
      {"+Inf day rate", inf, 0.05f, 0.06f},
      {"absurd day rate", 1.7e38f, 0.05f, 0.06f},
      {"absurd minimum charge", 0.06f, 1.0e30f, 0.12f},
  };
  for (const Case& c : cases) {
    StoreRates("Dialup", c.dayRate, 0.06f, 0.06f, 1, c.minCharge);
    env.SetNow(3, 17, 59);
    call.StartCall("Dialup");
    RunSeconds(61);
    env.SetNow(3, 18, 0);
    RunSeconds(60);
    call.EndCall();
    ASSERT_FALSE(bill.empty()) << c.what;
    EXPECT_NEAR(c.expected, bill.back().cost, 1e-6) << c.what;
  }
}

TEST_F(CurrentCallTest, EndCallBillsTheCallAndClearsTheMarker) {
  StoreRates("Dialup", 0.06f, 0.06f, 0.06f, 0, 0.0f);
  env.SetNow(3, 14, 5);
  call.StartCall("Dialup");
  EXPECT_EQ(1u, StoredDword("CurCall", ""));
  RunSeconds(150);
  env.SetNow(3, 14, 8);
  float cost = call.CurrentCost();
  call.EndCall();

  ASSERT_EQ(1u, bill.size());
  const BillItem& item = bill.front();
  EXPECT_EQ(cost, item.cost);
  EXPECT_STREQ("Dialup", item.account);
  EXPECT_STREQ("alice", item.user);
  EXPECT_EQ(0x0003u, item.length);
  EXPECT_EQ(0x0E05u, item.start);
  EXPECT_EQ(0x0E08u, item.end);
  EXPECT_EQ(9u, item.day);
  EXPECT_EQ(12u, item.month);
  EXPECT_EQ(2026u, item.year);
  EXPECT_EQ(static_cast<std::uint32_t>(kCall), item.type);
  EXPECT_EQ(1, appendedNotices.appended);

  EXPECT_EQ(1u, StoredDword(".Bill", ""));
  EXPECT_TRUE(registry.ValueExists(kHkeyLocalMachine, kRoot + "\\.Bill", "BillItem0"));
  EXPECT_EQ(0u, StoredDword("CurCall", ""));
  EXPECT_FALSE(call.IsCallInProgress());
  EXPECT_EQ(0.0f, call.CurrentCost());
  EXPECT_STREQ("alice", call.CallUserName()) << "the last call's values stay readable";
}

TEST_F(CurrentCallTest, ACallShorterThanOneSecondCostsTheMinimumAndLastsOneMinute) {
  StoreRates(".Default", 0.06f, 0.06f, 0.06f, 1, 0.05f);
  call.StartCall("Dialup");
  Tick(300);
  call.EndCall();
  ASSERT_EQ(1u, bill.size());
  EXPECT_FLOAT_EQ(0.05f, bill.front().cost);
  EXPECT_EQ(0x0001u, bill.front().length);
}

TEST_F(CurrentCallTest, StartingWhileACallIsInProgressBillsTheFirst) {
  call.StartCall("First");
  RunSeconds(3);
  call.StartCall("Second");
  ASSERT_EQ(1u, bill.size());
  EXPECT_STREQ("First", bill.front().account);
  EXPECT_STREQ("Second", call.CallProfile()->name);
  EXPECT_EQ(0, call.CallSeconds());
}

TEST_F(CurrentCallTest, SnapshotEveryMinuteAndAtTheStart) {
  StoreRates("Dialup", 0.06f, 0.06f, 0.06f, 0, 0.0f);
  env.SetNow(3, 9, 30);
  call.StartCall("Dialup");
  // Written at once, so a call cut short in its first minute is billed with its own values.
  EXPECT_EQ(0x091Eu, StoredDword("CurCall", "Start"));
  EXPECT_EQ(0x0001u, StoredDword("CurCall", "Length"));
  auto user = registry.ValueBytes(kHkeyLocalMachine, kRoot + "\\CurCall", "User");
  ASSERT_TRUE(user.has_value());
  EXPECT_EQ(std::string("alice", 6), std::string(user->begin(), user->end()));

  env.SetNow(3, 9, 31);
  RunSeconds(61);
  EXPECT_EQ(0x0002u, StoredDword("CurCall", "Length"));
  EXPECT_EQ(0x091Fu, StoredDword("CurCall", "End"));
  EXPECT_EQ(call.CurrentCost(), StoredFloat("CurCall", "Cost"));
  auto date = registry.ValueBytes(kHkeyLocalMachine, kRoot + "\\CurCall", "Date");
  ASSERT_TRUE(date.has_value());
  ASSERT_EQ(12u, date->size());
  EXPECT_EQ(9u, GetU32(&(*date)[0]));
  EXPECT_EQ(12u, GetU32(&(*date)[4]));
  EXPECT_EQ(2026u, GetU32(&(*date)[8]));
}

TEST_F(CurrentCallTest, AlarmCheckRunsOncePerCountedMinuteWithTheCurrentCost) {
  StoreRates(".Default", 0.06f, 0.06f, 0.06f, 1, 0.05f);
  SetAlarm(0, "Every minute", kTimeAlarm, 1, 0.0f);
  alarms.alarms[0].repeat = 1;
  call.StartCall("Dialup");
  RunSeconds(60 * 6 + 1);  // six minute checks
  // A one-minute alarm goes off at checks 2, 4 and 6.
  EXPECT_EQ(3u, actions.notices.size());
  EXPECT_EQ(call.CurrentCost(), actions.noticeCosts.back());
}

TEST_F(CurrentCallTest, StartingACallRearmsTheAlarms) {
  alarms.run[3].disabled = true;
  alarms.run[3].minuteCount = 7;
  call.StartCall("Dialup");
  EXPECT_FALSE(alarms.run[3].disabled);
  EXPECT_EQ(0, alarms.run[3].minuteCount);
}

TEST_F(CurrentCallTest, CallEndingWhileANoticeIsOpenLeavesTheEndedCallAlone) {
  StoreRates("Dialup", 0.06f, 0.06f, 0.06f, 0, 0.0f);
  SetAlarm(0, "Soon", kMoneyAlarm, 0, 0.01f);
  call.StartCall("Dialup");
  // The notice's message loop runs the timer: the connection drops and the call is billed.
  actions.whileNoticeOpen = [this](int, float) { call.EndCall(); };
  RunSeconds(61);
  ASSERT_EQ(1u, actions.notices.size());
  ASSERT_EQ(1u, bill.size());
  EXPECT_FALSE(call.IsCallInProgress());
  EXPECT_EQ(0u, StoredDword("CurCall", "")) << "the ended call's record must not be re-marked";
  EXPECT_EQ(0x0001u, StoredDword("CurCall", "Length")) << "no snapshot of the ended call";
  EXPECT_EQ(0, call.CallMinutes());
}

TEST_F(CurrentCallTest, ARedialDuringANoticeStopsTheCheckThatOpenedIt) {
  StoreRates(".Default", 0.06f, 0.06f, 0.06f, 0, 0.0f);
  SetAlarm(0, "Soon", kMoneyAlarm, 0, 0.01f);
  SetAlarm(1, "Two pence", kMoneyAlarm, 0, 0.02f);
  SetAlarm(2, "After a minute", kTimeAlarm, 1, 0.0f);
  call.StartCall("Dialup");
  // While the first notice is open the line drops and is dialled again at once.
  actions.whileNoticeOpen = [this](int, float) {
    actions.whileNoticeOpen = nullptr;
    call.EndCall();
    call.StartCall("Redial");
  };
  RunSeconds(61);
  EXPECT_EQ(std::vector<int>{0}, actions.notices);
  EXPECT_STREQ("Redial", call.CallProfile()->name);
  EXPECT_EQ(0, call.CallMinutes()) << "the new call is not counted the old one's minute";
  EXPECT_EQ(0.0f, alarms.run[1].costAtFiring);
  EXPECT_EQ(0, alarms.run[2].minuteCount);

  // The new call's alarms go off on its own minutes and at its own cost.
  RunSeconds(60);
  EXPECT_EQ((std::vector<int>{0, 0, 1}), actions.notices);
  EXPECT_EQ(call.CurrentCost(), actions.noticeCosts.back());
  RunSeconds(60);
  EXPECT_EQ((std::vector<int>{0, 0, 1, 2}), actions.notices);
}

TEST_F(CurrentCallTest, CallKilledMidwayIsBilledAtTheNextStartFromItsLastSnapshot) {
  StoreRates("Dialup", 0.06f, 0.06f, 0.06f, 0, 0.0f);
  env.SetNow(3, 10, 0);
  call.StartCall("Dialup");
  env.SetNow(3, 10, 1);
  RunSeconds(90);
  float snapshotCost = StoredFloat("CurCall", "Cost");
  // The process dies here: no EndCall. The next run starts from the registry alone.
  FakeEnvironment later;
  later.SetNow(3, 11, 0);
  Bill nextBill = LoadBill(store);
  RecoverInterruptedCall(store, store, later, nextBill);
  ASSERT_EQ(1u, nextBill.size());
  EXPECT_EQ(snapshotCost, nextBill.front().cost);
  EXPECT_EQ(0x0002u, nextBill.front().length);
  EXPECT_EQ(0x0A00u, nextBill.front().start);
  EXPECT_EQ(0x0A01u, nextBill.front().end);
  EXPECT_STREQ("Dialup", nextBill.front().account);
  EXPECT_STREQ("alice", nextBill.front().user);
  EXPECT_EQ(0u, StoredDword("CurCall", ""));

  // A second start finds nothing more to bill.
  RecoverInterruptedCall(store, store, later, nextBill);
  EXPECT_EQ(1u, nextBill.size());
}

TEST_F(CurrentCallTest, CallKilledInItsFirstMinuteIsBilledWithItsOwnValues) {
  // An earlier call left its last snapshot behind.
  ScriptedTraffic traffic;
  call.StartCall("Old", &traffic);
  RunSeconds(200);
  call.EndCall();
  env.userName = "bob";
  env.SetNow(3, 15, 45);
  call.StartCall("New");
  RunSeconds(20);
  Bill nextBill = LoadBill(store);
  FakeEnvironment later;
  RecoverInterruptedCall(store, store, later, nextBill);
  ASSERT_FALSE(nextBill.empty());
  const BillItem* last = &nextBill.back();
  EXPECT_STREQ("New", last->account);
  EXPECT_STREQ("bob", last->user);
  EXPECT_EQ(0x0F2Du, last->start);
  EXPECT_EQ(0x0001u, last->length);
  EXPECT_FALSE(last->volume.known) << "the new call's connection never reported";
}

}  // namespace
}  // namespace tollwick
