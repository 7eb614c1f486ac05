// Deleting bill items: the stored bill is rewritten from the first changed position only, nothing is
// written when nothing is deleted, and a crash after any write of a delete leaves a stored bill that
// loads as the old one or the new one, never with an item lost or twice.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bill/bill_store.h"
#include "fake_registry.h"

namespace tollwick {
namespace {

constexpr const char* kBillPath = "Software\\Orvo\\Tollwick\\.Bill";

Bill NumberedBill(int items) {
  std::vector<BillItem> bill(static_cast<std::size_t>(items));
  for (int i = 0; i < items; ++i) {
    bill[i].cost = static_cast<float>(i + 1);
    std::snprintf(bill[i].user, sizeof bill[i].user, "user%d", i % 3);
    bill[i].volume = CallVolume{i % 2 == 1, 1000, 7};
  }
  return Bill(std::move(bill));
}

// Negative for an item with its volume, so that every comparison sees the volume stay with its item.
std::vector<float> Costs(const Bill& bill) {
  std::vector<float> costs;
  for (const BillItem& item : bill) costs.push_back(item.volume.known ? -item.cost : item.cost);
  return costs;
}

std::vector<float> CostsWithout(int items, const std::vector<std::uint32_t>& deleted) {
  std::vector<float> costs;
  for (int i = 0; i < items; ++i) {
    if (std::find(deleted.begin(), deleted.end(), static_cast<std::uint32_t>(i)) == deleted.end()) {
      costs.push_back(static_cast<float>(i % 2 == 1 ? -(i + 1) : i + 1));
    }
  }
  return costs;
}

enum class CountState { kBelieved, kMissing };

struct DeleteCase {
  const char* name;
  int items;
  std::vector<std::uint32_t> deleted;
  CountState count;
};

const DeleteCase kDeleteCases[] = {
    {"first", 5, {0}, CountState::kBelieved},
    {"middle", 5, {2}, CountState::kBelieved},
    {"last", 5, {4}, CountState::kBelieved},
    {"several", 6, {4, 1, 2}, CountState::kBelieved},
    {"first and last", 6, {5, 0}, CountState::kBelieved},
    {"all", 3, {0, 1, 2}, CountState::kBelieved},
    {"first with the count missing", 5, {0}, CountState::kMissing},
    {"last with the count missing", 5, {4}, CountState::kMissing},
};

// A registry holding the bill as SaveBill stores it (or without its count).
void StoreBill(FakeRegistry& registry, const SettingsStore& store, int items, CountState count) {
  SaveBill(store, NumberedBill(items));
  if (count == CountState::kMissing) {
    SettingsKey key = store.OpenSettingsKey(kBillPath);
    registry.DeleteValue(key.get(), nullptr);
  }
}

TEST(BillDelete, LeavesExactlyTheNewBillStored) {
  for (const DeleteCase& c : kDeleteCases) {
    SCOPED_TRACE(c.name);
    FakeRegistry registry;
    SettingsStore store(registry);
    StoreBill(registry, store, c.items, c.count);
    Bill bill = LoadBill(store);
    bill.Delete(store, c.deleted);

    const std::vector<float> expected = CostsWithout(c.items, c.deleted);
    EXPECT_EQ(expected, Costs(bill));
    EXPECT_EQ(expected, Costs(LoadBill(store)));
    std::vector<std::string> names{""};
    for (std::size_t i = 0; i < expected.size(); ++i) names.push_back("BillItem" + std::to_string(i));
    std::vector<std::string> stored = registry.ValueNames(kHkeyLocalMachine, kBillPath);
    std::sort(names.begin(), names.end());
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(names, stored);
    EXPECT_EQ(0u, registry.OpenHandleCount());
  }
}

TEST(BillDelete, ACrashAfterAnyWriteLoadsTheOldBillOrTheNew) {
  for (const DeleteCase& c : kDeleteCases) {
    SCOPED_TRACE(c.name);
    const std::vector<float> before = CostsWithout(c.items, {});
    const std::vector<float> after = CostsWithout(c.items, c.deleted);

    std::size_t writes = 0;
    {
      FakeRegistry registry;
      SettingsStore store(registry);
      StoreBill(registry, store, c.items, c.count);
      Bill bill = LoadBill(store);
      const std::size_t start = registry.WritesApplied();
      bill.Delete(store, c.deleted);
      writes = registry.WritesApplied() - start;
    }
    ASSERT_GT(writes, 0u);

    bool sawAfter = false;
    for (std::size_t crash = 0; crash < writes; ++crash) {
      SCOPED_TRACE("crash after write " + std::to_string(crash));
      FakeRegistry registry;
      SettingsStore store(registry);
      StoreBill(registry, store, c.items, c.count);
      Bill bill = LoadBill(store);
      registry.CrashAfterWrites(crash);
      bill.Delete(store, c.deleted);
      registry.Restart();

      const std::vector<float> loaded = Costs(LoadBill(store));
      ASSERT_TRUE(loaded == before || loaded == after);
      // Once the new bill is what a load finds, it stays so for every later crash point.
      if (sawAfter) {
        EXPECT_EQ(after, loaded);
      }
      sawAfter = sawAfter || loaded == after;
      // What the crash left beyond the bill never comes back, neither at the next load nor after
      // the next append.
      EXPECT_EQ(loaded, Costs(LoadBill(store)));
      Bill reloaded = LoadBill(store);
      BillItem next;
      next.cost = 99.0f;
      reloaded.Append(store, next);
      std::vector<float> appended = loaded;
      appended.push_back(99.0f);
      EXPECT_EQ(appended, Costs(LoadBill(store)));
    }
  }
}

TEST(BillDelete, NothingToDeleteWritesNothing) {
  const std::vector<std::vector<std::uint32_t>> nothing{{}, {7}, {5, 9}};
  for (const auto& positions : nothing) {
    FakeRegistry registry;
    SettingsStore store(registry);
    SaveBill(store, NumberedBill(5));
    Bill bill = LoadBill(store);
    const std::size_t start = registry.WritesApplied();
    bill.Delete(store, positions);
    EXPECT_EQ(start, registry.WritesApplied());
    EXPECT_EQ(5u, bill.size());
  }
}

TEST(BillDelete, RewritesOnlyFromTheFirstChangedPosition) {
  struct Case {
    std::vector<std::uint32_t> deleted;
    std::uint32_t firstChanged;
  };
  for (const Case& c : {Case{{9}, 9}, Case{{6, 8}, 6}, Case{{3}, 3}}) {
    FakeRegistry registry;
    SettingsStore store(registry);
    SaveBill(store, NumberedBill(10));
    Bill bill = LoadBill(store);
    registry.ClearWriteLog();
    bill.Delete(store, c.deleted);
    for (const std::string& name : registry.WriteLog()) {
      unsigned number = 0;
      if (std::sscanf(name.c_str(), "BillItem%u", &number) == 1) {
        EXPECT_GE(number, c.firstChanged) << name;
      }
    }
  }
}

TEST(BillDelete, TheNewestGoesWithTheCountAlone) {
  FakeRegistry registry;
  SettingsStore store(registry);
  SaveBill(store, NumberedBill(4));
  Bill bill = LoadBill(store);
  registry.ClearWriteLog();
  bill.Delete(store, {3});
  EXPECT_EQ(std::vector<std::string>{""}, registry.WriteLog());
  EXPECT_FALSE(registry.ValueExists(kHkeyLocalMachine, kBillPath, "BillItem3"));
}

TEST(BillDelete, ARenumberingRecordThatIsNotOursIsDropped) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"short", {1, 0, 0, 0}},
      {"nothing parked", {0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0}},
      {"parked over its own target", {0, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0}},
      {"parked far past the values", {0, 0, 0, 0, 0, 0, 0, 0x10, 1, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeRegistry registry;
    SettingsStore store(registry);
    SaveBill(store, NumberedBill(3));
    registry.PutValue(kHkeyLocalMachine, kBillPath, "Renumbering", 3, c.bytes);
    EXPECT_EQ(CostsWithout(3, {}), Costs(LoadBill(store)));
    EXPECT_FALSE(registry.ValueExists(kHkeyLocalMachine, kBillPath, "Renumbering"));
  }
}

}  // namespace
}  // namespace tollwick
