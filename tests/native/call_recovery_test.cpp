// Recovery across the two hives: a call left pending in the hive the program no longer runs on is
// billed once, into the bill of the hive in use, by the first start that may write its record; one
// that may not leaves it. (tests/native/call_crash_test.cpp cuts it short, and starts two accounts.)

#include "call/call_recovery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bill_items.h"
#include "call/curcall_record.h"
#include "fake_environment.h"
#include "fake_registry.h"

namespace tollwick {
namespace {

std::vector<float> Costs(const Bill& bill) {
  std::vector<float> costs;
  for (const BillItem& item : bill) costs.push_back(item.cost);
  return costs;
}

// One registry with both hives.
struct Machine {
  const SettingsStore& Store(RegKey hive) const {
    return hive == kHkeyLocalMachine ? machine : user;
  }
  void Pay(RegKey hive) {
    Bill bill = LoadBill(Store(hive));
    bill.Append(Store(hive), Item(kPayment, -10.0f, ""));
  }
  // What a run killed during a call leaves: its first snapshot and the marker.
  void LeaveCall(RegKey hive, float cost) {
    SaveCurCall(Store(hive),
                CallItem(cost, 0x1500, 0x1504, 5, CalendarDate{2, 5, 2026}, "bob", "Acme"));
    MarkCallInProgress(Store(hive));
  }
  // A start of the program on billHive: the bill loaded, then the records of both hives.
  Bill Start(RegKey billHive) {
    const SettingsStore& billStore = Store(billHive);
    const SettingsStore& other = &billStore == &machine ? user : machine;
    Bill bill = LoadBill(billStore);
    RecoverInterruptedCall(billStore, billStore, env, bill);
    RecoverInterruptedCall(other, billStore, env, bill);
    return bill;
  }
  bool Pending(RegKey hive) { return IsCurCallPending(Store(hive)); }

  FakeRegistry registry;
  SettingsStore machine{registry, kHkeyLocalMachine};
  SettingsStore user{registry, kHkeyCurrentUser};
  FakeEnvironment env;
};

TEST(TwoHives, ACallPendingInTheOtherHiveIsBilledOnceIntoTheBillInUse) {
  const struct {
    const char* what;
    RegKey recordHive, billHive;
    bool recordHiveReadOnly;
  } cases[] = {
      {"machine record, user bill, read-only machine", kHkeyLocalMachine, kHkeyCurrentUser, true},
      {"machine record, user bill", kHkeyLocalMachine, kHkeyCurrentUser, false},
      {"user record, machine bill", kHkeyCurrentUser, kHkeyLocalMachine, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    m.Pay(c.billHive);
    m.LeaveCall(c.recordHive, 1.25f);
    m.registry.DenyWrites(kHkeyLocalMachine, c.recordHiveReadOnly);

    Bill first = m.Start(c.billHive);
    if (c.recordHiveReadOnly) {
      EXPECT_EQ(Costs(first), (std::vector<float>{-10.0f}));
      EXPECT_TRUE(m.Pending(c.recordHive));
      m.registry.DenyWrites(kHkeyLocalMachine, false);
      first = m.Start(c.billHive);
    }
    ASSERT_EQ(Costs(first), (std::vector<float>{-10.0f, 1.25f}));
    EXPECT_STREQ(first[1].account, "Acme");
    EXPECT_FALSE(m.Pending(c.recordHive));
    EXPECT_EQ(Costs(m.Start(c.billHive)), Costs(first));
    // The user deletes the call from the bill: the record left behind must not bring it back.
    first.Delete(m.Store(c.billHive), {1});
    EXPECT_EQ(Costs(m.Start(c.billHive)), (std::vector<float>{-10.0f}));
    EXPECT_EQ(m.registry.OpenHandleCount(), 0u);
  }
}

TEST(TwoHives, ASnapshotMissingAValueIsBilledOnceByTheStartThatMayWriteIt) {
  for (const char* missing : {"Length", "User", "Account", "Start", "Cost", "Date"}) {
    SCOPED_TRACE(missing);
    Machine m;
    m.LeaveCall(kHkeyLocalMachine, 1.25f);
    m.machine.DeleteValue(m.machine.OpenSettingsKey("Software\\Orvo\\Tollwick\\CurCall"), missing);
    // A standard account's start, then an elevated one on the same user's tree, then another.
    m.registry.DenyWrites(kHkeyLocalMachine);
    ASSERT_EQ(m.Start(kHkeyCurrentUser).size(), 0u);
    m.registry.DenyWrites(kHkeyLocalMachine, false);
    EXPECT_EQ(m.Start(kHkeyCurrentUser).size(), 1u);
    EXPECT_EQ(m.Start(kHkeyCurrentUser).size(), 1u);
    EXPECT_FALSE(m.Pending(kHkeyLocalMachine));
  }
}

TEST(TwoHives, ALaterCallOfTheOtherHiveIsBilledAsWell) {
  Machine m;
  m.LeaveCall(kHkeyLocalMachine, 1.25f);
  EXPECT_EQ(Costs(m.Start(kHkeyCurrentUser)), (std::vector<float>{1.25f}));
  m.LeaveCall(kHkeyLocalMachine, 2.5f);  // the program ran on the machine hive once more
  EXPECT_EQ(Costs(m.Start(kHkeyCurrentUser)), (std::vector<float>{1.25f, 2.5f}));
}

TEST(TwoHives, ACallStoredInItsOwnHivesBillIsNotBilledAgain) {
  // The end of the call stored its item in the machine hive's bill, and the crash came before the
  // marker was cleared.
  Machine m;
  m.LeaveCall(kHkeyLocalMachine, 1.25f);
  ReserveBillItem(m.machine, 0);
  m.Pay(kHkeyLocalMachine);
  EXPECT_TRUE(m.Start(kHkeyCurrentUser).empty());
  EXPECT_FALSE(m.Pending(kHkeyLocalMachine));
}

TEST(TwoHives, TheBillsOwnReservedNumberStaysItsOwnWhicheverRecordComesFirst) {
  for (bool otherFirst : {true, false}) {
    SCOPED_TRACE(otherFirst ? "other hive's record first" : "own record first");
    Machine m;
    m.Pay(kHkeyCurrentUser);
    // The end of the user hive's call reserved number 1 and stopped before storing its item.
    m.LeaveCall(kHkeyCurrentUser, 3.0f);
    ReserveBillItem(m.user, 1);
    m.LeaveCall(kHkeyLocalMachine, 1.25f);

    Bill bill = LoadBill(m.user);
    RecoverInterruptedCall(otherFirst ? m.machine : m.user, m.user, m.env, bill);
    RecoverInterruptedCall(otherFirst ? m.user : m.machine, m.user, m.env, bill);
    EXPECT_EQ(Costs(bill), (std::vector<float>{-10.0f, 3.0f, 1.25f}));
    EXPECT_EQ(Costs(LoadBill(m.user)), Costs(bill));
  }
}

}  // namespace
}  // namespace tollwick
