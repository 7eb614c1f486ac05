// Which hive holds a user's data from run to run, what the program may do to the hive it does not
// use, and when it tells the user of a bill left there.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/other_hive_bill.h"
#include "fake_registry.h"
#include "platform/settings_store.h"

namespace tollwick {
namespace {

const std::string kRoot = kRootPath;

// What this run may do to HKEY_LOCAL_MACHINE.
enum class Machine { kWritable, kReadOnly, kUnreadable };

void Restrict(FakeRegistry& registry, Machine machine) {
  registry.DenyWrites(kHkeyLocalMachine, machine == Machine::kReadOnly);
  registry.DenyAccess(kHkeyLocalMachine, machine == Machine::kUnreadable);
}

void PutTree(FakeRegistry& registry, RegKey hive) {
  registry.PutValue(hive, kRoot, "NoDCC", kRegBinary, {1, 0, 0, 0});
}

struct HiveCase {
  const char* name;
  bool userTree;     // HKEY_CURRENT_USER\Software\Orvo\Tollwick exists
  bool machineTree;  // HKEY_LOCAL_MACHINE\Software\Orvo\Tollwick exists
  Machine machine;
  RegKey expectedHive;
  bool expectedFirstPerUserRun;
};

const HiveCase kHiveCases[] = {
    {"first run that may write the machine", false, false, Machine::kWritable, kHkeyLocalMachine,
     false},
    {"machine data, may write the machine", false, true, Machine::kWritable, kHkeyLocalMachine,
     false},
    {"machine data, ordinary user", false, true, Machine::kReadOnly, kHkeyCurrentUser, true},
    {"first run, ordinary user", false, false, Machine::kReadOnly, kHkeyCurrentUser, true},
    {"first run, machine unreadable", false, false, Machine::kUnreadable, kHkeyCurrentUser, true},
    {"user data, run elevated", true, false, Machine::kWritable, kHkeyCurrentUser, false},
    {"user and machine data, run elevated", true, true, Machine::kWritable, kHkeyCurrentUser,
     false},
    {"user data, ordinary user", true, true, Machine::kReadOnly, kHkeyCurrentUser, false},
    {"user data, machine unreadable", true, false, Machine::kUnreadable, kHkeyCurrentUser, false},
};

TEST(ChooseHive, KeepsEachUsersDataInOneHive) {
  for (const HiveCase& c : kHiveCases) {
    SCOPED_TRACE(c.name);
    FakeRegistry registry;
    if (c.userTree) PutTree(registry, kHkeyCurrentUser);
    if (c.machineTree) PutTree(registry, kHkeyLocalMachine);
    Restrict(registry, c.machine);
    SettingsStore store(registry);

    EXPECT_EQ(c.expectedFirstPerUserRun, store.ChooseHive());
    EXPECT_EQ(c.expectedHive, store.hive());
    EXPECT_NE(store.hive(), store.otherHive());
    // Choosing creates no tree for the user: that would settle every later run on the user's hive.
    EXPECT_EQ(c.userTree, registry.KeyExists(kHkeyCurrentUser, kRoot));
    EXPECT_EQ(0u, registry.OpenHandleCount());
  }
}

struct OtherStoreCase {
  const char* name;
  RegKey inUse;
  bool otherTree;
  Machine machine;
  bool expectedStore;
};

const OtherStoreCase kOtherStoreCases[] = {
    {"machine data the run may write", kHkeyCurrentUser, true, Machine::kWritable, true},
    {"machine data the run may only read", kHkeyCurrentUser, true, Machine::kReadOnly, true},
    {"machine data the run cannot read", kHkeyCurrentUser, true, Machine::kUnreadable, false},
    {"no machine data", kHkeyCurrentUser, false, Machine::kWritable, false},
    {"user data beside the machine's", kHkeyLocalMachine, true, Machine::kWritable, true},
    {"no user data", kHkeyLocalMachine, false, Machine::kWritable, false},
};

TEST(OtherHiveStore, OnlyAnExistingTreeThatCanBeReadAndNothingIsCreated) {
  for (const OtherStoreCase& c : kOtherStoreCases) {
    SCOPED_TRACE(c.name);
    FakeRegistry registry;
    PutTree(registry, c.inUse);
    RegKey other = c.inUse == kHkeyCurrentUser ? kHkeyLocalMachine : kHkeyCurrentUser;
    if (c.otherTree) PutTree(registry, other);
    Restrict(registry, c.machine);
    SettingsStore store(registry, c.inUse);

    std::optional<SettingsStore> otherStore = store.OtherHiveStore();
    ASSERT_EQ(c.expectedStore, otherStore.has_value());
    if (otherStore) {
      EXPECT_EQ(other, otherStore->hive());
    }
    EXPECT_EQ(c.otherTree, registry.KeyExists(other, kRoot));
    EXPECT_EQ(0u, registry.OpenHandleCount());
  }
}

struct NoticeCase {
  const char* name;
  std::vector<std::uint8_t> otherCount;  // the other bill's stored count; empty = no bill key
  bool toldBefore;
  std::uint32_t expectedItems;
};

const NoticeCase kNoticeCases[] = {
    {"no bill there", {}, false, 0},
    {"an empty bill there", {0, 0, 0, 0}, false, 0},
    {"a bill there", {3, 0, 0, 0}, false, 3},
    {"a bill there, already told", {3, 0, 0, 0}, true, 0},
    {"a short count", {2}, false, 2},
};

TEST(OtherBillNotice, TellsOfABillInTheOtherHiveOnceAndOnlyReadsThatHive) {
  for (const NoticeCase& c : kNoticeCases) {
    for (Machine machine : {Machine::kWritable, Machine::kReadOnly}) {
      SCOPED_TRACE(std::string(c.name) + (machine == Machine::kReadOnly ? ", read only" : ""));
      FakeRegistry registry;
      PutTree(registry, kHkeyCurrentUser);
      PutTree(registry, kHkeyLocalMachine);
      if (!c.otherCount.empty()) {
        registry.PutValue(kHkeyLocalMachine, kRoot + "\\.Bill", "", kRegDword, c.otherCount);
      }
      if (c.toldBefore) {
        registry.PutValue(kHkeyCurrentUser, kRoot, "OtherBillTold", kRegDword, {1, 0, 0, 0});
      }
      Restrict(registry, machine);
      SettingsStore store(registry, kHkeyCurrentUser);
      std::vector<std::string> machineValues = registry.ValueNames(kHkeyLocalMachine, kRoot);

      EXPECT_EQ(c.expectedItems, OtherBillItemsToTell(store));
      RememberOtherBillTold(store);
      EXPECT_EQ(0u, OtherBillItemsToTell(store)) << "told again";

      EXPECT_EQ(std::vector<std::uint8_t>({1, 0, 0, 0}),
                registry.ValueBytes(kHkeyCurrentUser, kRoot, "OtherBillTold"));
      EXPECT_EQ(machineValues, registry.ValueNames(kHkeyLocalMachine, kRoot));
      EXPECT_EQ(c.otherCount.empty(), !registry.KeyExists(kHkeyLocalMachine, kRoot + "\\.Bill"));
      EXPECT_EQ(0u, registry.OpenHandleCount());
    }
  }
}

}  // namespace
}  // namespace tollwick
