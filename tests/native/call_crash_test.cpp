// A crash can stop the program after any registry change. For every change that a step makes (the
// start of a call, its minute snapshot, its final snapshot at exit, its end, recovery at start-up,
// also of a call left in the other hive, and a payment added by hand), the registry
// stops there and the program starts again from what survived: the bill must be the one that
// starting from the state before the step gives, or the one after it. Never an item twice, never a
// call or an older item lost.
//
// A snapshot is several values written one after another, so a crash within one leaves a record
// mixing the previous snapshot and the new one. There "before or after" holds field by field: the
// call is billed once, each of its fields as one of the two snapshots had it.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "bill_items.h"
#include "call/call_recovery.h"
#include "call/curcall_record.h"
#include "call_world.h"
#include "discount_checks.h"
#include "platform/little_endian.h"
#include "recording_alarm_actions.h"

namespace tollwick {
namespace {

// One run of the program, on the user hive; the machine hive holds the other record.
struct Run : CallWorld {
  explicit Run(FakeRegistry& fake)
      : CallWorld(fake, kHkeyCurrentUser), registry(fake), other(fake, kHkeyLocalMachine) {
    // Priced by the second with no minimum charge, so that every snapshot differs from the last.
    std::vector<std::uint8_t> rates(20);
    for (int offset : {8, 12, 16}) PutF32(&rates[offset], 0.06f);
    const std::string profile = std::string(kRootPath) + "\\.Default";
    registry.PutValue(kHkeyCurrentUser, profile, "CallChargeInfo", kRegBinary, rates);
    registry.PutValue(kHkeyCurrentUser, profile, "MinChargeOn", kRegDword, {0, 0, 0, 0});
    env.SetNow(6, 20, 0);
  }
  void Seconds(int seconds) {
    for (int i = 0; i < 2 * seconds; ++i) {
      env.tickCount += 500;
      call.AccrueTick(&traffic);
    }
  }
  void Pay(float amount) {
    BillItem item;
    item.cost = amount;
    item.type = kPayment;
    bill.Append(store, item);
  }
  // What the program does when it starts.
  Bill Restart() {
    Bill loaded = LoadBill(store);
    RecoverInterruptedCall(store, store, env, loaded);
    RecoverInterruptedCall(other, store, env, loaded);
    return loaded;
  }

  FakeRegistry& registry;
  SettingsStore other;
  ScriptedTraffic traffic;  // every snapshot's volume differs from the last
};

struct Step {
  const char* name;
  std::function<void(Run&)> before;  // brings the registry to the state the step starts from
  std::function<void(Run&)> step;
  std::size_t adds;  // items a start after the step finds beyond those a start before it finds
  bool snapshot;     // the step writes a snapshot: a crash within it may mix two
};

void CallUnderWay(Run& run) {
  run.bill = LoadBill(run.store);
  run.Pay(-10.0f);
  run.call.StartCall("Dialup", &run.traffic);
  run.Seconds(90);
  run.env.SetNow(6, 20, 3);
}

const Step kSteps[] = {
    {"start of a call",
     [](Run& run) {
       CallUnderWay(run);  // an earlier call leaves its record and reserved number behind
       run.call.EndCall();
     },
     [](Run& run) { run.call.StartCall("Dialup", &run.traffic); }, 1, true},
    {"minute snapshot", CallUnderWay, [](Run& run) { run.Seconds(60); }, 0, true},
    {"final snapshot at exit",
     [](Run& run) {
       CallUnderWay(run);
       run.Seconds(20);
     },
     [](Run& run) { run.call.SaveFinalSnapshot(); }, 0, true},
    {"end of a call", CallUnderWay, [](Run& run) { run.call.EndCall(); }, 0, false},
    {"recovery at start-up", CallUnderWay, [](Run& run) { run.Restart(); }, 0, false},
    {"recovery from the other hive",
     [](Run& run) {
       run.bill = LoadBill(run.store);
       run.Pay(-10.0f);
       SaveCurCall(run.other,
                   CallItem(1.25f, 0x1400, 0x1404, 5, CalendarDate{2, 5, 2026}, "bob", "Acme"));
       MarkCallInProgress(run.other);
     },
     [](Run& run) { run.Restart(); }, 0, false},
    {"payment added by hand", [](Run& run) { CallUnderWay(run); run.call.EndCall(); },
     [](Run& run) { run.Pay(-2.5f); }, 1, false},
};

struct Outcome {
  Bill bill;   // what the next start finds
  Bill again;  // and a start after that
  std::size_t changes = 0;
};

// stop: the registry applies this many of the step's changes; SIZE_MAX runs it whole.
Outcome RunStep(const Step& s, bool run, std::size_t stop = SIZE_MAX) {
  FakeRegistry registry;
  Outcome outcome;
  {
    Run first(registry);
    s.before(first);
    const std::size_t start = registry.WritesApplied();
    if (stop != SIZE_MAX) registry.CrashAfterWrites(stop);
    if (run) s.step(first);
    outcome.changes = registry.WritesApplied() - start;
  }
  registry.Restart();
  Run next(registry);
  outcome.bill = next.Restart();
  outcome.again = next.Restart();
  return outcome;
}

std::vector<std::vector<std::uint8_t>> Stored(const Bill& bill) {
  std::vector<std::vector<std::uint8_t>> items;
  for (const BillItem& item : bill) {
    items.emplace_back(kBillItemMostBytes);
    items.back().resize(EncodeBillItem(item, items.back().data()));
  }
  return items;
}

// The last item's fields each as one of the two had them, the items before it as after the step.
bool Mixed(const Bill& bill, const Bill& before, const Bill& after) {
  if (bill.empty() || bill.size() != before.size() || bill.size() != after.size()) return false;
  if (Stored(Bill(bill.begin(), bill.end() - 1)) != Stored(Bill(after.begin(), after.end() - 1))) {
    return false;
  }
  const BillItem &x = bill.back(), &a = before.back(), &b = after.back();
  auto either = [](auto v, auto p, auto q) { return v == p || v == q; };
  return either(x.cost, a.cost, b.cost) && either(x.length, a.length, b.length) &&
         either(x.start, a.start, b.start) && either(x.end, a.end, b.end) &&
         either(x.day, a.day, b.day) && either(x.volume.sent, a.volume.sent, b.volume.sent) &&
         std::string(x.account) == b.account &&
         std::string(x.user) == b.user && x.type == b.type;
}

TEST(CrashPoints, EveryStepStartsAgainFromTheStateBeforeOrAfterIt) {
  for (const Step& s : kSteps) {
    SCOPED_TRACE(s.name);
    const Outcome before = RunStep(s, false);
    const Outcome after = RunStep(s, true);
    ASSERT_EQ(after.bill.size(), before.bill.size() + s.adds);
    std::size_t endedBefore = 0;
    for (std::size_t k = 0; k < after.changes; ++k) {
      const Outcome crashed = RunStep(s, true, k);
      const bool asBefore = Stored(crashed.bill) == Stored(before.bill);
      endedBefore += asBefore;
      EXPECT_TRUE(asBefore || Stored(crashed.bill) == Stored(after.bill) ||
                  (s.snapshot && Mixed(crashed.bill, before.bill, after.bill)))
          << "crash after change " << k << " of " << after.changes;
      EXPECT_EQ(Stored(crashed.bill), Stored(crashed.again)) << "a second start changed the bill";
    }
    // The crash took effect: the first change alone cannot have done the whole step.
    if (Stored(before.bill) != Stored(after.bill)) {
      EXPECT_GT(endedBefore, 0u);
    }
  }
}

// Two accounts share the machine's tree, which no installer opened to them, and may keep trees of
// their own. A call left in progress in the machine's tree is billed once whichever account starts
// next, standard or elevated, and whichever change of either start a crash comes after: never in
// two trees, and in one once each account has started elevated.
struct Start { const char* account; bool elevated; };

// What the program does when an account starts: it chooses its tree, loads its bill, recovers.
void StartAs(FakeRegistry& registry, const Start& start) {
  registry.UseAccount(start.account);
  registry.DenyWrites(kHkeyLocalMachine, !start.elevated);
  FakeEnvironment env;
  SettingsStore store(registry);
  store.ChooseHive();
  Bill bill = LoadBill(store);
  RecoverInterruptedCall(store, store, env, bill);
  if (std::optional<SettingsStore> other = store.OtherHiveStore()) {
    RecoverInterruptedCall(*other, store, env, bill);
  }
}

// The call's items in the machine's bill and in both accounts' bills. Only trees that exist are
// read: a load creates what it reads.
std::size_t TimesBilled(FakeRegistry& registry) {
  std::size_t times = 0;
  auto count = [&](RegKey hive) {
    if (!registry.KeyExists(hive, kRootPath)) return;
    for (const BillItem& item : LoadBill(SettingsStore(registry, hive))) times += item.cost == 1.25f;
  };
  count(kHkeyLocalMachine);
  for (const char* account : {"alice", "bob"}) {
    registry.UseAccount(account);
    count(kHkeyCurrentUser);
  }
  return times;
}

TEST(CrashPoints, ACallInTheMachineTreeIsBilledOnceWhicheverAccountsStartNext) {
  const Start starts[] = {{"alice", false}, {"alice", true}, {"bob", false}, {"bob", true}};
  for (bool ownTrees : {true, false}) {
    for (const Start& first : starts) {
      for (const Start& second : starts) {
        if (std::string(first.account) == second.account) continue;
        for (int crashed : {0, 1}) {
          for (std::size_t stop = 0;; ++stop) {
            SCOPED_TRACE(testing::Message()
                         << first.account << (first.elevated ? " elevated" : " standard") << ", then "
                         << second.account << (second.elevated ? " elevated" : " standard")
                         << (ownTrees ? ", own trees" : "") << ", crash in start " << crashed + 1
                         << " after change " << stop);
            FakeRegistry registry;
            const SettingsStore machine(registry);
            SaveCurCall(machine,
                        CallItem(1.25f, 0x1400, 0x1404, 5, CalendarDate{2, 5, 2026}, "bob", "Acme"));
            MarkCallInProgress(machine);
            for (const char* account : {"alice", "bob"}) {
              registry.UseAccount(account);
              if (ownTrees) SettingsStore(registry, kHkeyCurrentUser).OpenSettingsKey(kRootPath);
            }
            bool cut = false;
            for (int k = 0; k < 2; ++k) {
              const std::size_t start = registry.WritesApplied();
              if (k == crashed) registry.CrashAfterWrites(stop);
              StartAs(registry, k == 0 ? first : second);
              if (k == crashed) {
                cut = registry.WritesApplied() - start == stop;
                registry.Restart();
              }
              ASSERT_LE(TimesBilled(registry), 1u);
            }
            StartAs(registry, {"alice", true});
            StartAs(registry, {"bob", true});
            ASSERT_EQ(TimesBilled(registry), 1u);
            if (!cut) break;  // the start ran whole: no change left to crash after
          }
        }
      }
    }
  }
}

// The Setup tab's save rewrites a profile's rates and every discount: whichever change a crash comes
// after, the profile reloads as it was before the save or as after it, and stays so.
std::string ProfileText(const ChargeProfile& p) {
  std::ostringstream text;
  text << p.useDefault << ' ' << p.charge.dayFrom << '-' << p.charge.dayTo << ' ' << p.charge.dayRate
       << ' ' << p.charge.eveningRate << ' ' << p.charge.weekendRate << ' ' << p.minChargeOn << ' '
       << p.minCharge;
  for (const Discount& d : p.discounts) {
    text << " | " << d.name << ' ' << d.mode << ' ' << d.percent << ' ' << d.freeMins << ' '
         << d.someTimes << ' ' << d.certain << ' ' << d.from << '-' << d.to << ' ';
    for (std::uint32_t day : d.days) text << day;
  }
  return text.str();
}

ChargeProfile Account(float rate, std::vector<Discount> discounts) {
  ChargeProfile profile;
  CopyBoundedText(profile.name, kNameChars, "Acme");
  profile.charge = CallChargeInfo{0x0800, 0x1200, rate, rate / 2, rate / 4};
  profile.discounts = std::move(discounts);
  return profile;
}

TEST(CrashPoints, AProfileSaveReloadsAsBeforeOrAfterIt) {
  const ChargeProfile before =
      Account(0.5f, {MakeDiscount("Evening", 0, 50, 0), MakeDiscount("Weekend", 0, 20, 0)});
  const ChargeProfile after =
      Account(0.8f, {MakeDiscount("Evening", 0, 25, 0), MakeDiscount("Night", kTimeFree, 0, 30)});
  std::size_t changes = 0;
  auto reload = [&](std::size_t stop) {
    FakeRegistry registry;
    const SettingsStore store(registry);
    {
      ProfileLibrary library(store);
      library.SaveChargeProfile(before);
      const std::size_t start = registry.WritesApplied();
      if (stop != SIZE_MAX) registry.CrashAfterWrites(stop);
      library.SaveChargeProfile(after);
      if (stop == SIZE_MAX) changes = registry.WritesApplied() - start;
    }
    registry.Restart();
    ProfileLibrary library(store);
    const std::string first = ProfileText(*library.Load("Acme", false));
    EXPECT_EQ(first, ProfileText(*library.Load("Acme", false))) << "a second load changed it";
    return first;
  };
  const std::string saved = reload(SIZE_MAX);
  ASSERT_EQ(saved, ProfileText(after));
  for (std::size_t k = 0; k < changes; ++k) {
    const std::string crashed = reload(k);
    EXPECT_TRUE(crashed == ProfileText(before) || crashed == saved)
        << "crash after change " << k << " of " << changes << ": " << crashed;
  }
}

}  // namespace
}  // namespace tollwick
