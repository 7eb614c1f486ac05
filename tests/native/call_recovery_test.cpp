// Recovery across the two hives: a call left pending in the hive the program no longer runs on is
// billed once, into the bill of the hive in use, also when its own hive cannot be written and its
// marker therefore stays set at every start.

#include "call/call_recovery.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "call/curcall_record.h"
#include "fake_environment.h"
#include "fake_registry.h"
#include "platform/little_endian.h"

namespace tollwick {
namespace {

const std::string kCurCall = std::string(kRootPath) + "\\CurCall";

BillItem PaymentOf(float amount) {
  BillItem item;
  item.cost = amount;
  CopyBoundedText(item.user, kNameChars, "bob");
  item.type = Payment;
  return item;
}

// What a run killed during a call leaves: its first snapshot and the marker.
void LeavePendingCall(const SettingsStore& store, float cost, const char* account) {
  SaveCurCall(store, cost, MakePackedTime(21, 0), MakePackedTime(21, 4), MakePackedTime(0, 5),
              CalendarDate{2, 5, 2026}, "bob", account);
  MarkCallInProgress(store);
}

std::vector<float> Costs(const Bill& bill) {
  std::vector<float> costs;
  for (const BillItem& item : bill) costs.push_back(item.cost);
  return costs;
}

// One machine: one registry with both hives.
struct Machine {
  Machine() { env.SetNow(2, 9, 30); }
  const SettingsStore& Store(RegKey hive) const { return hive == kHkeyLocalMachine ? machine : user; }
  // One start of the program on billHive: the bill loaded, then the records of both hives.
  Bill Start(RegKey billHive) {
    const SettingsStore& billStore = Store(billHive);
    const SettingsStore& other =
        Store(billHive == kHkeyLocalMachine ? kHkeyCurrentUser : kHkeyLocalMachine);
    Bill bill = LoadBill(billStore);
    RecoverInterruptedCall(billStore, billStore, env, bill, nullptr);
    RecoverInterruptedCall(other, billStore, env, bill, nullptr);
    return bill;
  }
  std::uint32_t Marker(RegKey hive) const {
    auto bytes = registry.ValueBytes(hive, kCurCall, "");
    return bytes && bytes->size() == 4 ? GetU32(bytes->data()) : 0xDEADBEEF;
  }

  FakeRegistry registry;
  SettingsStore machine{registry, kHkeyLocalMachine};
  SettingsStore user{registry, kHkeyCurrentUser};
  FakeEnvironment env;
};

TEST(TwoHives, ACallPendingInTheOtherHiveIsBilledOnceIntoTheBillInUse) {
  const struct {
    const char* what;
    RegKey recordHive;
    RegKey billHive;
    bool recordHiveDenied;
  } cases[] = {
      {"machine record, user bill, machine hive read-only", kHkeyLocalMachine, kHkeyCurrentUser, true},
      {"machine record, user bill", kHkeyLocalMachine, kHkeyCurrentUser, false},
      {"user record, machine bill", kHkeyCurrentUser, kHkeyLocalMachine, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    const SettingsStore& billStore = m.Store(c.billHive);
    Bill bill = LoadBill(billStore);
    AddToBill(billStore, bill, PaymentOf(-10.0f), nullptr);
    LeavePendingCall(m.Store(c.recordHive), 1.25f, "Acme");
    m.registry.DenyAccess(kHkeyLocalMachine, c.recordHiveDenied);

    Bill first = m.Start(c.billHive);
    ASSERT_EQ(Costs(first), (std::vector<float>{-10.0f, 1.25f}));
    EXPECT_STREQ(first[1].account, "Acme");
    EXPECT_EQ(first[1].type, static_cast<std::uint32_t>(Call));
    EXPECT_EQ(m.Marker(c.recordHive), c.recordHiveDenied ? 1u : 0u);
    EXPECT_EQ(Costs(m.Start(c.billHive)), Costs(first));

    // The user deletes the call from the bill: it must not come back from the record left behind.
    first.pop_back();
    SaveBill(billStore, first);
    EXPECT_EQ(Costs(m.Start(c.billHive)), (std::vector<float>{-10.0f}));
    EXPECT_EQ(m.registry.OpenHandleCount(), 0u);
  }
}

TEST(TwoHives, ALaterCallOfTheOtherHiveIsBilledAsWell) {
  Machine m;
  LeavePendingCall(m.machine, 1.25f, "Acme");
  EXPECT_EQ(Costs(m.Start(kHkeyCurrentUser)), (std::vector<float>{1.25f}));
  LeavePendingCall(m.machine, 2.5f, "Acme");  // the program ran on the machine hive once more
  EXPECT_EQ(Costs(m.Start(kHkeyCurrentUser)), (std::vector<float>{1.25f, 2.5f}));
}

TEST(TwoHives, ACallTheEndOfTheCallStoredInItsOwnHiveIsNotBilledAgain) {
  // The end of the call stored the item in the machine hive's bill; the crash came before the
  // marker was cleared, and now the machine hive cannot be written.
  Machine m;
  Bill machineBill = LoadBill(m.machine);
  LeavePendingCall(m.machine, 1.25f, "Acme");
  ReserveBillItem(m.machine, 0);
  AddToBill(m.machine, machineBill, PaymentOf(1.25f), nullptr);
  m.registry.DenyAccess(kHkeyLocalMachine);
  EXPECT_TRUE(m.Start(kHkeyCurrentUser).empty());
  EXPECT_TRUE(m.Start(kHkeyCurrentUser).empty());
}

TEST(TwoHives, TheBillsOwnReservedNumberStaysItsOwnWhicheverRecordComesFirst) {
  for (bool otherFirst : {true, false}) {
    SCOPED_TRACE(otherFirst ? "other hive's record first" : "own record first");
    Machine m;
    const SettingsStore& machineStore = m.machine;
    const SettingsStore& userStore = m.user;
    Bill bill = LoadBill(userStore);
    AddToBill(userStore, bill, PaymentOf(-10.0f), nullptr);
    // The end of the user hive's call reserved number 1 and stopped before storing the item.
    LeavePendingCall(userStore, 3.0f, "Own");
    ReserveBillItem(userStore, 1);
    LeavePendingCall(machineStore, 1.25f, "Other");
    m.registry.DenyAccess(kHkeyLocalMachine);

    Bill started = LoadBill(userStore);
    const SettingsStore* order[] = {&userStore, &machineStore};
    if (otherFirst) std::swap(order[0], order[1]);
    for (const SettingsStore* record : order) {
      RecoverInterruptedCall(*record, userStore, m.env, started, nullptr);
    }
    EXPECT_EQ(Costs(started), (std::vector<float>{-10.0f, 3.0f, 1.25f}));
    EXPECT_EQ(Costs(LoadBill(userStore)), Costs(started));
  }
}

TEST(TwoHives, EveryCrashPointOfTheRecoveryFromAReadOnlyHiveBillsTheCallOnce) {
  std::size_t changes = 0;
  for (std::size_t crashAfter = 0;; ++crashAfter) {
    Machine m;
    FakeRegistry& fresh = m.registry;
    const SettingsStore& machineStore = m.machine;
    const SettingsStore& userStore = m.user;
    Bill bill = LoadBill(userStore);
    AddToBill(userStore, bill, PaymentOf(-10.0f), nullptr);
    LeavePendingCall(machineStore, 1.25f, "Acme");
    fresh.DenyAccess(kHkeyLocalMachine);
    const std::size_t before = fresh.WritesApplied();
    fresh.CrashAfterWrites(crashAfter);
    Bill crashed = LoadBill(userStore);
    RecoverInterruptedCall(machineStore, userStore, m.env, crashed, nullptr);
    changes = fresh.WritesApplied() - before;
    fresh.Restart();
    for (int start = 0; start < 2; ++start) {
      Bill again = LoadBill(userStore);
      RecoverInterruptedCall(machineStore, userStore, m.env, again, nullptr);
      EXPECT_EQ(Costs(again), (std::vector<float>{-10.0f, 1.25f}))
          << "crash after change " << crashAfter << ", start " << start;
    }
    if (changes < crashAfter) break;  // this run was not cut short: every point is covered
  }
  EXPECT_GT(changes, 0u);
}

}  // namespace
}  // namespace tollwick
