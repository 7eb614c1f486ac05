// A crash can stop the program after any registry change. For every change that the start of a call,
// its minute snapshot, its end, its recovery at start-up and a payment added by hand make, the test
// stops the registry there and starts again from what survived (LoadBill and recovery): the bill must
// be the one that starting from the state before the step gives, or the one after it. Never an item
// twice, never a call or an older item lost.
//
// A snapshot is several values written one after another, so a crash within one leaves a record
// whose values come partly from the previous snapshot and partly from the new one. For those, "before
// or after" holds field by field: the call is billed once, each of its fields as one of the two
// snapshots had it.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bill/add_to_bill.h"
#include "call/call_recovery.h"
#include "call/current_call.h"
#include "fake_environment.h"
#include "fake_registry.h"
#include "platform/little_endian.h"

namespace tollwick {
namespace {

class NoAlarmActions : public AlarmActions {
 public:
  void PlayAlarmSound() override {}
  void FlashTrayIcon() override {}
  void ShowAlarmNotice(int, float) override {}
};

// One run of the program on one registry.
struct Run {
  explicit Run(FakeRegistry& registry) : store(registry) {
    // Priced by the second, with no minimum charge, so that every snapshot differs from the last.
    std::vector<std::uint8_t> rates(20);
    PutU32(&rates[8], 0x3D75C28Fu);  // 0.06 a minute by day, evening and weekend
    PutU32(&rates[12], 0x3D75C28Fu);
    PutU32(&rates[16], 0x3D75C28Fu);
    const std::string profile = std::string(kRootPath) + "\\.Default";
    registry.PutValue(kHkeyLocalMachine, profile, "CallChargeInfo", kRegBinary, rates);
    registry.PutValue(kHkeyLocalMachine, profile, "MinChargeOn", kRegDword, {0, 0, 0, 0});
    env.now.year = 2026;
    env.now.month = 3;
    env.now.day = 14;
    env.SetNow(6, 20, 0);
    env.tickCount = 1000;
    env.userName = "alice";
  }
  void Seconds(int seconds) {
    for (int i = 0; i < 2 * seconds; ++i) {
      env.tickCount += 500;
      call.AccrueTick();
    }
  }
  // Starts again from what the registry holds, as the program does when it is started.
  Bill Restart() {
    Bill loaded = LoadBill(store);
    FakeEnvironment later;
    later.SetNow(1, 9, 0);
    RecoverInterruptedCall(store, store, later, loaded, nullptr);
    return loaded;
  }

  SettingsStore store;
  FakeEnvironment env;
  ProfileLibrary profiles{store};
  Bill bill;
  AlarmTable alarms;
  NoAlarmActions actions;
  CurrentCall call{CallServices{store, env, profiles, bill, alarms, actions, nullptr}};
};

BillItem PaymentOf(float amount) {
  BillItem item;
  item.cost = amount;
  CopyBoundedText(item.user, kNameChars, "alice");
  item.type = Payment;
  return item;
}

struct Step {
  const char* name;
  std::function<void(Run&)> before;  // brings the registry to the state the step starts from
  std::function<void(Run&)> step;
  bool snapshot;  // the step writes a snapshot: a crash within it may mix two
};

const Step kSteps[] = {
    {"start of a call",
     [](Run& run) {
       run.bill = LoadBill(run.store);
       AddToBill(run.store, run.bill, PaymentOf(-10.0f), nullptr);
       run.call.StartCall("Earlier");  // an earlier call leaves its record behind
       run.Seconds(150);
       run.call.EndCall();
     },
     [](Run& run) { run.call.StartCall("Dialup"); }, true},
    {"minute snapshot",
     [](Run& run) {
       run.bill = LoadBill(run.store);
       run.call.StartCall("Dialup");
       run.Seconds(70);
       run.env.SetNow(6, 20, 2);
     },
     [](Run& run) { run.Seconds(60); }, true},
    {"end of a call",
     [](Run& run) {
       run.bill = LoadBill(run.store);
       AddToBill(run.store, run.bill, PaymentOf(-10.0f), nullptr);
       run.call.StartCall("Dialup");
       run.Seconds(90);
       run.env.SetNow(6, 20, 3);
     },
     [](Run& run) { run.call.EndCall(); }, false},
    {"recovery at start-up",
     [](Run& run) {
       run.bill = LoadBill(run.store);
       AddToBill(run.store, run.bill, PaymentOf(-10.0f), nullptr);
       run.call.StartCall("Dialup");
       run.Seconds(90);  // and the program is killed
     },
     [](Run& run) { run.bill = run.Restart(); }, false},
    {"payment added by hand",
     [](Run& run) {
       run.bill = LoadBill(run.store);
       AddToBill(run.store, run.bill, PaymentOf(-10.0f), nullptr);
       AddToBill(run.store, run.bill, PaymentOf(-5.0f), nullptr);
     },
     [](Run& run) { AddToBill(run.store, run.bill, PaymentOf(-2.5f), nullptr); }, false},
};

// The bill that starting again gives after the registry stopped at `crashAfter` changes of the step
// (none: the step ran whole; skip: the step did not run).
struct Outcome {
  Bill bill;
  Bill again;  // a second start after the first
  std::size_t changes = 0;
};

Outcome RunStep(const Step& s, bool run, std::size_t crashAfter = SIZE_MAX) {
  FakeRegistry registry;
  Outcome outcome;
  {
    Run first(registry);
    s.before(first);
    const std::size_t start = registry.WritesApplied();
    if (run) {
      if (crashAfter != SIZE_MAX) registry.CrashAfterWrites(crashAfter);
      s.step(first);
    }
    outcome.changes = registry.WritesApplied() - start;
  }
  registry.Restart();
  Run next(registry);
  outcome.bill = next.Restart();
  outcome.again = next.Restart();
  return outcome;
}

std::vector<std::uint8_t> Encoded(const BillItem& item) {
  std::vector<std::uint8_t> bytes(kBillItemBytes);
  EncodeBillItem(item, bytes.data());
  return bytes;
}

bool SameBill(const Bill& a, const Bill& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Encoded(a[i]) != Encoded(b[i])) return false;
  }
  return true;
}

// Every field of the item as one of the two had it.
bool FieldsFromEither(const BillItem& item, const BillItem& a, const BillItem& b) {
  auto either = [](auto x, auto y, auto z) { return x == y || x == z; };
  auto text = [](const char* x, const char* y, const char* z) {
    return std::string(x) == y || std::string(x) == z;
  };
  return either(item.cost, a.cost, b.cost) && text(item.account, a.account, b.account) &&
         text(item.user, a.user, b.user) && either(item.length, a.length, b.length) &&
         either(item.start, a.start, b.start) && either(item.end, a.end, b.end) &&
         either(item.day, a.day, b.day) && either(item.month, a.month, b.month) &&
         either(item.year, a.year, b.year) && item.type == a.type;
}

bool BeforeOrAfter(const Bill& bill, const Bill& before, const Bill& after, bool mixed) {
  if (SameBill(bill, before) || SameBill(bill, after)) return true;
  if (!mixed || bill.empty() || before.size() != bill.size() || after.size() != bill.size()) {
    return false;
  }
  const Bill older(bill.begin(), bill.end() - 1);
  return SameBill(older, Bill(after.begin(), after.end() - 1)) &&
         FieldsFromEither(bill.back(), before.back(), after.back());
}

std::string Describe(const Bill& bill) {
  std::string text;
  for (const BillItem& item : bill) {
    text += "[" + std::to_string(item.cost) + " " + item.account + " length " +
            std::to_string(item.length) + " end " + std::to_string(item.end) + "] ";
  }
  return text;
}

TEST(CrashPoints, EveryStepStartsAgainFromTheStateBeforeOrAfterIt) {
  for (const Step& s : kSteps) {
    SCOPED_TRACE(s.name);
    const Outcome before = RunStep(s, false);
    const Outcome after = RunStep(s, true);
    ASSERT_GT(after.changes, 0u);
    EXPECT_TRUE(SameBill(before.bill, before.again));
    EXPECT_TRUE(SameBill(after.bill, after.again));
    for (std::size_t k = 0; k < after.changes; ++k) {
      const Outcome crashed = RunStep(s, true, k);
      EXPECT_TRUE(BeforeOrAfter(crashed.bill, before.bill, after.bill, s.snapshot))
          << "crash after change " << k << " of " << after.changes << ": "
          << Describe(crashed.bill) << "\n  before: " << Describe(before.bill)
          << "\n  after:  " << Describe(after.bill);
      EXPECT_TRUE(SameBill(crashed.bill, crashed.again)) << "a second start changed the bill";
    }
  }
}

}  // namespace
}  // namespace tollwick
