// The bill against the real registry: what SaveLastBillItem and SaveBill leave there byte for byte, as
// RegQueryValueExA reads it back, and what LoadBill makes of it.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bill/bill_store.h"
#include "platform/win32/win32_registry.h"

namespace tollwick {
namespace {

constexpr const char* kBillPath = "Software\\Orvo\\Tollwick\\.Bill";

using Bytes = std::vector<std::uint8_t>;

struct RawValue {
  LONG result = ERROR_FILE_NOT_FOUND;
  DWORD type = 0;
  Bytes bytes;
};

// Straight from the registry, without any of the program's code in between.
RawValue ReadRaw(const char* name) {
  RawValue value;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kBillPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
  DWORD size = 0;
  value.result = RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size);
  if (value.result == ERROR_SUCCESS) {
    value.bytes.resize(size);
    value.result = RegQueryValueExA(key, name, nullptr, &value.type, value.bytes.data(), &size);
  }
  RegCloseKey(key);
  return value;
}

void WriteRaw(const char* name, DWORD type, const Bytes& bytes) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kBillPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
}

class BillStoreWine : public ::testing::Test {
 protected:
  void SetUp() override {
    // Every test starts from an empty bill; other tests in this program may have stored one.
    HKEY root = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Orvo\\Tollwick", 0, KEY_ALL_ACCESS, &root) ==
        ERROR_SUCCESS) {
      RegDeleteKeyA(root, ".Bill");
      RegCloseKey(root);
    }
  }

  Win32Registry registry;
  SettingsStore store{registry};
};

BillItem SampleItem(float cost, const char* account, const char* user, std::uint32_t type) {
  BillItem item;
  item.cost = cost;
  std::snprintf(item.account, sizeof item.account, "%s", account);
  std::snprintf(item.user, sizeof item.user, "%s", user);
  item.length = MakePackedTime(2, 7);
  item.start = MakePackedTime(21, 30);
  item.end = MakePackedTime(23, 37);
  item.day = 29;
  item.month = 2;
  item.year = 2004;
  item.type = type;
  return item;
}

TEST_F(BillStoreWine, AppendedItemsAreStoredByteForByteAndLoadBack) {
  Bill bill = LoadBill(store);
  EXPECT_TRUE(bill.empty());
  RawValue count = ReadRaw(nullptr);
  ASSERT_EQ(count.result, ERROR_SUCCESS);
  EXPECT_EQ(count.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(count.bytes, (Bytes{0, 0, 0, 0}));

  bill.Append(store, SampleItem(12.345f, "Dial-up One", "alice", kCall));
  bill.Append(store, SampleItem(-20.0f, "", "Jos\xE9", kPayment));

  RawValue first = ReadRaw("BillItem0");
  ASSERT_EQ(first.result, ERROR_SUCCESS);
  EXPECT_EQ(first.type, static_cast<DWORD>(REG_BINARY));
  ASSERT_EQ(first.bytes.size(), 240u);
  std::uint32_t costBits = 0;
  const float cost = 12.345f;
  std::memcpy(&costBits, &cost, 4);
  EXPECT_EQ(Bytes(first.bytes.begin(), first.bytes.begin() + 4),
            (Bytes{static_cast<std::uint8_t>(costBits), static_cast<std::uint8_t>(costBits >> 8),
                   static_cast<std::uint8_t>(costBits >> 16), static_cast<std::uint8_t>(costBits >> 24)}));
  Bytes account(100, 0);
  std::memcpy(account.data(), "Dial-up One", 11);
  EXPECT_EQ(Bytes(first.bytes.begin() + 4, first.bytes.begin() + 104), account);
  Bytes user(100, 0);
  std::memcpy(user.data(), "alice", 5);
  EXPECT_EQ(Bytes(first.bytes.begin() + 104, first.bytes.begin() + 204), user);
  EXPECT_EQ(Bytes(first.bytes.begin() + 204, first.bytes.end()),
            (Bytes{7, 2, 0, 0,  30, 21, 0, 0,  37, 23, 0, 0,  29, 0, 0, 0,  2, 0, 0, 0,
                   0xD4, 0x07, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0}));

  RawValue second = ReadRaw("BillItem1");
  ASSERT_EQ(second.bytes.size(), 240u);
  EXPECT_EQ(Bytes(second.bytes.begin(), second.bytes.begin() + 4), (Bytes{0, 0, 0xA0, 0xC1}));
  EXPECT_EQ(second.bytes[4], 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&second.bytes[104])), "Jos\xE9");
  EXPECT_EQ(Bytes(second.bytes.begin() + 228, second.bytes.begin() + 232), (Bytes{1, 0, 0, 0}));
  EXPECT_EQ(ReadRaw(nullptr).bytes, (Bytes{2, 0, 0, 0}));

  Bill loaded = LoadBill(store);
  ASSERT_EQ(loaded.size(), 2u);
  for (std::size_t i = 0; i < loaded.size(); ++i) {
    std::uint8_t ea[kBillItemMostBytes];
    std::uint8_t eb[kBillItemMostBytes];
    EXPECT_EQ(Bytes(ea, ea + EncodeBillItem(bill[i], ea)), Bytes(eb, eb + EncodeBillItem(loaded[i], eb)));
  }
}

TEST_F(BillStoreWine, RepairsAndRenumbersAgainstTheRealRegistry) {
  // Count 3, item 1 missing, item 2 too long, a stale item 3 beyond the count.
  std::vector<BillItem> original;
  for (int i = 0; i < 4; ++i) original.push_back(SampleItem(float(i + 1), "acct", "bob", kCall));
  SaveBill(store, Bill(original));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kBillPath, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  RegDeleteValueA(key, "BillItem1");
  RegCloseKey(key);
  WriteRaw("BillItem2", REG_BINARY, Bytes(241, 0x11));
  WriteRaw(nullptr, REG_DWORD, Bytes{3, 0, 0, 0});

  Bill bill = LoadBill(store);
  ASSERT_EQ(bill.size(), 3u);
  EXPECT_EQ(bill[0].cost, 1.0f);
  EXPECT_EQ(bill[1].cost, 0.0f);
  EXPECT_EQ(bill[2].cost, 0.0f);
  EXPECT_EQ(ReadRaw("BillItem1").bytes, Bytes(240, 0));
  EXPECT_EQ(ReadRaw("BillItem2").bytes, Bytes(240, 0));

  // Delete the head: the rest is renumbered from 0, and the deletes after the new count of 2 take
  // the old last value and the stale one after it, up to the first number not stored.
  SaveBill(store, Bill(std::vector<BillItem>(bill.begin() + 1, bill.end())));
  EXPECT_EQ(ReadRaw(nullptr).bytes, (Bytes{2, 0, 0, 0}));
  EXPECT_EQ(ReadRaw("BillItem0").bytes, Bytes(240, 0));
  EXPECT_EQ(ReadRaw("BillItem2").result, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ReadRaw("BillItem3").result, ERROR_FILE_NOT_FOUND);
}

TEST_F(BillStoreWine, ACountOfAnotherSizeOrTypeLosesNoStoredItem) {
  // What RegQueryInfoKeyA and RegEnumValueA report decides the bill when the count cannot be read.
  const struct {
    DWORD type;
    Bytes count;
  } cases[] = {{REG_QWORD, Bytes{1, 0, 0, 0, 0, 0, 0, 0}}, {REG_SZ, Bytes{'1', '2', 0}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    SetUp();
    std::vector<BillItem> original;
    for (int i = 0; i < 3; ++i) original.push_back(SampleItem(float(i + 1), "acct", "bob", kCall));
    SaveBill(store, Bill(original));
    const Bytes first = ReadRaw("BillItem0").bytes;
    WriteRaw(nullptr, c.type, c.count);

    Bill bill = LoadBill(store);
    ASSERT_EQ(bill.size(), 3u);
    EXPECT_EQ(bill[2].cost, 3.0f);
    RawValue count = ReadRaw(nullptr);
    EXPECT_EQ(count.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(count.bytes, (Bytes{3, 0, 0, 0}));
    bill.Append(store, SampleItem(4.0f, "", "bob", kPayment));
    EXPECT_EQ(ReadRaw("BillItem0").bytes, first);
    EXPECT_EQ(LoadBill(store).size(), 4u);
  }
}

}  // namespace
}  // namespace tollwick
