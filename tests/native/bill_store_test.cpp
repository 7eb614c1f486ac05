#include "bill/bill_store.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "fake_registry.h"
#include "stored_bytes.h"
#include "platform/little_endian.h"

namespace tollwick {
namespace {

constexpr const char* kBillPath = "Software\\Orvo\\Tollwick\\.Bill";

BillItem MakeItem(float cost, const char* account, const char* user, std::uint32_t type = kCall) {
  BillItem item;
  item.cost = cost;
  std::snprintf(item.account, sizeof item.account, "%s", account);
  std::snprintf(item.user, sizeof item.user, "%s", user);
  item.type = type;
  return item;
}

std::vector<float> Costs(const Bill& bill) {
  std::vector<float> costs;
  for (const BillItem& item : bill) costs.push_back(item.cost);
  return costs;
}

std::uint32_t U32At(const Bytes& bytes, std::size_t offset) { return GetU32(&bytes[offset]); }

Bytes Encoded(const BillItem& item) {
  Bytes bytes(kBillItemMostBytes, 0xAA);
  bytes.resize(EncodeBillItem(item, bytes.data()));
  return bytes;
}

// ---------------------------------------------------------------------------------------------
// The stored item

TEST(BillItemCodec, EveryFieldAtItsOffsetLittleEndian) {
  BillItem item;
  item.cost = 1.5f;  // IEEE bits 0x3FC00000
  std::snprintf(item.account, sizeof item.account, "%s", "Dial-up One");
  std::snprintf(item.user, sizeof item.user, "%s", "alice");
  item.length = MakePackedTime(1, 5);
  item.start = MakePackedTime(23, 59);
  item.end = 0x01020304u;
  item.day = 31;
  item.month = 12;
  item.year = 2000;
  item.type = 0xA1B2C3D4u;

  const Bytes bytes = Encoded(item);
  ASSERT_EQ(bytes.size(), 240u);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{0x00, 0x00, 0xC0, 0x3F}));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[4])), "Dial-up One");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[104])), "alice");
  EXPECT_EQ(Bytes(bytes.begin() + 204, bytes.begin() + 208), (Bytes{0x05, 0x01, 0x00, 0x00}));
  EXPECT_EQ(U32At(bytes, 208), 0x173Bu);
  EXPECT_EQ(Bytes(bytes.begin() + 212, bytes.begin() + 216), (Bytes{0x04, 0x03, 0x02, 0x01}));
  EXPECT_EQ(U32At(bytes, 216), 31u);
  EXPECT_EQ(U32At(bytes, 220), 12u);
  EXPECT_EQ(Bytes(bytes.begin() + 224, bytes.begin() + 228), (Bytes{0xD0, 0x07, 0x00, 0x00}));
  EXPECT_EQ(Bytes(bytes.begin() + 228, bytes.begin() + 232), (Bytes{0xD4, 0xC3, 0xB2, 0xA1}));
  // The reserved tail and everything after each text's terminator are zero, not what the buffer held.
  EXPECT_EQ(Bytes(bytes.begin() + 232, bytes.end()), Bytes(8, 0));
  EXPECT_EQ(Bytes(bytes.begin() + 4 + 11, bytes.begin() + 104), Bytes(100 - 11, 0));
  EXPECT_EQ(Bytes(bytes.begin() + 104 + 5, bytes.begin() + 204), Bytes(100 - 5, 0));

  BillItem back;
  DecodeBillItem(bytes.data(), back);
  EXPECT_EQ(Encoded(back), bytes);
  EXPECT_EQ(back.cost, 1.5f);
  EXPECT_STREQ(back.account, "Dial-up One");
  EXPECT_STREQ(back.user, "alice");
  EXPECT_EQ(back.length, item.length);
  EXPECT_EQ(back.start, item.start);
  EXPECT_EQ(back.end, item.end);
  EXPECT_EQ(back.day, 31u);
  EXPECT_EQ(back.month, 12u);
  EXPECT_EQ(back.year, 2000u);
  EXPECT_EQ(back.type, 0xA1B2C3D4u);
}

TEST(BillItemCodec, FloatBitsSurviveExactly) {
  // Negative, subnormal and a value with every mantissa bit set: the bits, not a rounded number.
  for (std::uint32_t bits : {0xBF800000u, 0x00000001u, 0x3F7FFFFFu, 0x80000000u}) {
    BillItem item;
    std::memcpy(&item.cost, &bits, 4);
    const Bytes bytes = Encoded(item);
    EXPECT_EQ(U32At(bytes, 0), bits);
    BillItem back;
    DecodeBillItem(bytes.data(), back);
    std::uint32_t backBits = 0;
    std::memcpy(&backBits, &back.cost, 4);
    EXPECT_EQ(backBits, bits);
  }
}

TEST(BillItemCodec, AStoredCostThatIsNotAFiniteNumberReadsAsZero) {
  // One such cost would make every balance of the bill meaningless.
  for (std::uint32_t bits : {0x7FC00000u, 0xFFC00001u, 0x7F800000u, 0xFF800000u}) {
    Bytes stored(kBillItemBytes, 0);
    PutU32(stored.data(), bits);
    BillItem item;
    item.cost = 5.0f;
    DecodeBillItem(stored.data(), item);
    EXPECT_EQ(item.cost, 0.0f) << std::hex << bits;
  }
}

TEST(BillItemCodec, TextsAreAlwaysTerminatedAndCleanAfterTheTerminator) {
  Bytes stored(kBillItemBytes, 0);
  std::memset(&stored[4], 'x', 100);           // account without any terminator
  std::memcpy(&stored[104], "bob\0junk", 8);   // user with bytes after its terminator
  std::memset(&stored[112], 'z', 92);
  BillItem item;
  std::memset(item.account, '#', sizeof item.account);
  std::memset(item.user, '#', sizeof item.user);
  DecodeBillItem(stored.data(), item);
  EXPECT_EQ(std::string(item.account), std::string(99, 'x'));
  EXPECT_EQ(item.account[99], '\0');
  EXPECT_STREQ(item.user, "bob");
  for (std::size_t i = 3; i < kNameChars; ++i) ASSERT_EQ(item.user[i], '\0') << i;

  // An in-memory text that fills its field is stored cut to 99 characters and terminated.
  BillItem full;
  std::memset(full.account, 'y', sizeof full.account);
  const Bytes bytes = Encoded(full);
  EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 103), Bytes(99, 'y'));
  EXPECT_EQ(bytes[103], 0);
  EXPECT_EQ(bytes[104], 0);  // the user field did not receive any of the account
}

// ---------------------------------------------------------------------------------------------
// The stored bill

class BillStore : public ::testing::Test {
 protected:
  FakeRegistry registry;
  SettingsStore store{registry};

  void PutItem(std::uint32_t index, const Bytes& bytes) {
    registry.PutValue(kHkeyLocalMachine, kBillPath, "BillItem" + std::to_string(index), kRegBinary,
                      bytes);
  }
  void PutItem(std::uint32_t index, float cost) {
    BillItem item;
    item.cost = cost;
    PutItem(index, Encoded(item));
  }
  void PutCount(std::uint32_t count) {
    registry.PutValue(kHkeyLocalMachine, kBillPath, "", kRegDword, U32Bytes(count));
  }
  std::optional<Bytes> Value(const std::string& name) const {
    return registry.ValueBytes(kHkeyLocalMachine, kBillPath, name);
  }
  bool Has(std::uint32_t index) const {
    return registry.ValueExists(kHkeyLocalMachine, kBillPath, "BillItem" + std::to_string(index));
  }
  std::optional<Bytes> Item(std::uint32_t index) const { return Value("BillItem" + std::to_string(index)); }
  std::uint32_t Count() const {
    auto bytes = Value("");
    return bytes && bytes->size() == 4 ? U32At(*bytes, 0) : 0xFFFFFFFFu;
  }
  // The views hear of the item once it is in the bill and stored.
  struct Listener : BillListener {
    Listener(BillStore& test, const Bill& bill) : test(test), bill(bill) { bill.Listen(*this); }
    ~Listener() { bill.StopListening(*this); }
    void ItemAppended(const BillItem& appended) override {
      EXPECT_EQ(&appended, &bill.back());
      EXPECT_EQ(test.Item(static_cast<std::uint32_t>(test.Count() - 1)), Encoded(appended));
      ++test.notices;
    }
    BillStore& test;
    const Bill& bill;
  };
  const BillItem& Append(Bill& bill, const BillItem& item) {
    const Listener listener(*this, bill);
    bill.Append(store, item);
    return bill.back();
  }
  int notices = 0;
};

TEST_F(BillStore, EmptyKeyCreatesCountZeroAndFirstAppendStoresItemZero) {
  Bill bill = LoadBill(store);
  EXPECT_TRUE(bill.empty());
  EXPECT_EQ(registry.ValueType(kHkeyLocalMachine, kBillPath, ""), kRegDword);
  EXPECT_EQ(Value(""), U32Bytes(0));

  const BillItem& added = Append(bill, MakeItem(0.25f, "Dial", "alice"));
  EXPECT_EQ(Count(), 1u);
  EXPECT_EQ(registry.ValueType(kHkeyLocalMachine, kBillPath, "BillItem0"), kRegBinary);
  EXPECT_EQ(Item(0), Encoded(added));
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(registry.ValueNames(kHkeyLocalMachine, kBillPath),
            (std::vector<std::string>{"", "BillItem0"}));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(BillStore, LoadKeepsStoredOrderAndLinks) {
  PutCount(12);  // two-digit numbers: BillItem10, BillItem11
  for (std::uint32_t i = 0; i < 12; ++i) PutItem(i, float(i));
  Bill bill = LoadBill(store);
  std::vector<float> expected;
  for (int i = 0; i < 12; ++i) expected.push_back(float(i));
  EXPECT_EQ(Costs(bill), expected);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(BillStore, MissingItemLoadsZeroedAndIsStoredAsZeros) {
  PutCount(3);
  PutItem(0, 1.0f);
  PutItem(2, 3.0f);
  Bill bill = LoadBill(store);
  ASSERT_EQ(Costs(bill), (std::vector<float>{1, 0, 3}));
  const BillItem& second = bill[1];
  EXPECT_EQ(second.type, kCall);
  EXPECT_STREQ(second.account, "");
  EXPECT_STREQ(second.user, "");
  EXPECT_EQ(second.length, 0u);
  EXPECT_EQ(second.year, 0u);
  EXPECT_EQ(Item(1), Bytes(240, 0));
  EXPECT_EQ(registry.ValueType(kHkeyLocalMachine, kBillPath, "BillItem1"), kRegBinary);
}

TEST_F(BillStore, OverLongItemIsReplacedByZeros) {
  PutCount(1);
  Bytes longer = Encoded(MakeItem(7.0f, "acct", "user"));
  longer.push_back(0x55);
  PutItem(0, longer);
  Bill bill = LoadBill(store);
  ASSERT_EQ(bill.size(), 1u);
  EXPECT_EQ(bill.front().cost, 0.0f);
  EXPECT_STREQ(bill.front().account, "");
  EXPECT_EQ(Item(0), Bytes(240, 0));
}

TEST_F(BillStore, ShorterItemFillsTheLeadingFieldsAndLeavesTheRestZero) {
  PutCount(1);
  Bytes shorter = Encoded(MakeItem(2.5f, "abcdef", "user"));
  shorter.resize(7);  // the cost and the first three letters of the account, no terminator
  PutItem(0, shorter);
  Bill bill = LoadBill(store);
  ASSERT_EQ(bill.size(), 1u);
  EXPECT_EQ(bill.front().cost, 2.5f);
  EXPECT_STREQ(bill.front().account, "abc");
  EXPECT_STREQ(bill.front().user, "");
  EXPECT_EQ(bill.front().length, 0u);
  EXPECT_EQ(bill.front().type, kCall);
  EXPECT_EQ(Item(0)->size(), 7u);  // an accepted value is not rewritten
}

// A call's volume is stored in its item (244 bytes; 256 as earlier builds stored it); items stored
// before hold zeros or what memory held in the reserved bytes, and no volume. Rows: type, reserved
// bytes, volume stored (received; sent is one more), the earlier form, known.
TEST_F(BillStore, AVolumeIsKnownOnlyForACallStoredWithAPlausibleOne) {
  using Case = std::tuple<std::uint32_t, std::uint8_t, std::optional<std::uint64_t>, bool, bool>;
  const Case cases[] = {
      {kCall, 0, {}, false, false},       {kCall, 0xC7, {}, false, false},
      {kCall, 0, 0, false, true},         {kCall, 0, kLargestCallBytes - 1, false, true},
      {kCall, 0xC7, 5, true, true},       {kCall, 0, 1ull << 50, true, false},
      {kPayment, 0, 5, false, false},     {kPayment, 0, 5, true, false}};
  for (const auto& [type, reserved, volume, earlier, known] : cases) {
    BillItem item = MakeItem(1.0f, "acct", "user");
    if (volume && !earlier) item.volume = CallVolume{true, *volume, *volume + 1};
    Bytes bytes = Encoded(item);
    if (!volume || earlier) std::fill(bytes.begin() + kBillReservedOffset, bytes.end(), reserved);
    if (earlier) bytes.resize(kBillWideVolumeItemBytes);
    if (earlier) EncodeVolume(CallVolume{true, *volume, *volume + 1}, &bytes[kBillItemBytes]);
    PutU32(&bytes[kBillTypeOffset], type);
    PutCount(1);
    PutItem(0, bytes);
    const CallVolume v = LoadBill(store).front().volume;
    EXPECT_EQ(std::tuple(known, known ? *volume : 0, known ? *volume + 1 : 0),
              std::tuple(v.known, v.received, v.sent));
  }
}

TEST_F(BillStore, JunkTextsComeBackTerminated) {
  PutCount(1);
  Bytes junk(kBillItemBytes, 'Q');
  PutItem(0, junk);
  Bill bill = LoadBill(store);
  ASSERT_EQ(bill.size(), 1u);
  EXPECT_EQ(std::string(bill.front().account), std::string(99, 'Q'));
  EXPECT_EQ(std::string(bill.front().user), std::string(99, 'Q'));
}

TEST_F(BillStore, StoredCountDecidesTheNextNumberAndLaterValuesAreDeleted) {
  PutCount(2);
  for (std::uint32_t i = 0; i < 5; ++i) PutItem(i, float(i));
  Bill bill = LoadBill(store);
  EXPECT_EQ(Costs(bill), (std::vector<float>{0, 1}));

  const BillItem& added = Append(bill, MakeItem(9.0f, "new", "u"));
  EXPECT_EQ(Item(2), Encoded(added));
  EXPECT_EQ(Count(), 3u);
  EXPECT_FALSE(Has(3));
  EXPECT_FALSE(Has(4));
  EXPECT_EQ(Item(0), Encoded(MakeItem(0.0f, "", "")));
}

TEST_F(BillStore, AppendDeletesStopAtTheFirstGap) {
  PutCount(1);
  PutItem(0, 1.0f);
  PutItem(2, 2.0f);
  PutItem(4, 4.0f);
  Bill bill = LoadBill(store);
  Append(bill, MakeItem(5.0f, "", ""));
  EXPECT_TRUE(Has(1));
  EXPECT_FALSE(Has(2));
  EXPECT_FALSE(Has(3));
  EXPECT_TRUE(Has(4));  // beyond the gap
  EXPECT_EQ(Count(), 2u);
}

TEST_F(BillStore, AppendUsesTheStoredCountNotTheListLength) {
  Bill bill = LoadBill(store);
  Append(bill, MakeItem(1.0f, "", ""));
  for (std::uint32_t i = 1; i < 5; ++i) PutItem(i, float(i));  // someone else stored more meanwhile
  PutCount(5);
  const BillItem& added = Append(bill, MakeItem(2.0f, "", ""));
  EXPECT_EQ(Item(5), Encoded(added));
  EXPECT_EQ(Count(), 6u);
  EXPECT_EQ(Item(0), Encoded(bill.front()));
}

// A count that cannot be read, or that claims more items than the key holds, must neither make the
// load build items without end nor let the next append overwrite or delete a stored item.
TEST(BillStoreCount, ACountTheKeyCannotHoldNeverCostsAStoredItem) {
  constexpr std::uint32_t kRegQword = 11;
  struct Case {
    const char* what;
    std::uint32_t countType;  // 0: no count stored
    Bytes count;
    std::vector<std::uint32_t> numbers;  // the items stored, each costing its number + 1
    std::vector<float> loaded;
  };
  const std::vector<std::uint32_t> three = {0, 1, 2};
  const Case cases[] = {
      {"far beyond the items", kRegDword, U32Bytes(0x7FFFFFFF), three, {1, 2, 3}},
      {"more than the key holds", kRegDword, U32Bytes(1000), three, {1, 2, 3}},
      {"negative", kRegDword, U32Bytes(0xFFFFFFFF), three, {1, 2, 3}},
      {"text", kRegSz, Bytes{'1', '2', 0}, three, {1, 2, 3}},
      {"too long to read", kRegQword, Bytes{3, 0, 0, 0, 0, 0, 0, 0}, three, {1, 2, 3}},
      {"too short to be one", kRegBinary, Bytes{3, 0}, three, {1, 2, 3}},
      {"missing", 0, Bytes{}, three, {1, 2, 3}},
      {"text, with an item missing", kRegSz, Bytes{'1', '2', 0}, {0, 2}, {1, 0, 3}},
      {"too long, with a stray number", kRegQword, Bytes(8, 0), {0, 1, 4000000000u}, {1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeRegistry registry;
    SettingsStore store(registry);
    if (c.countType != 0) registry.PutValue(kHkeyLocalMachine, kBillPath, "", c.countType, c.count);
    std::vector<std::pair<std::string, Bytes>> stored;
    for (std::uint32_t number : c.numbers) {
      stored.emplace_back("BillItem" + std::to_string(number),
                          Encoded(MakeItem(float(number + 1), "acct", "user")));
      registry.PutValue(kHkeyLocalMachine, kBillPath, stored.back().first, kRegBinary,
                        stored.back().second);
    }
    auto expectStoredItemsKept = [&] {
      for (const auto& item : stored) {
        EXPECT_EQ(registry.ValueBytes(kHkeyLocalMachine, kBillPath, item.first), item.second)
            << item.first;
      }
    };

    Bill bill = LoadBill(store);
    const auto loaded = static_cast<std::uint32_t>(c.loaded.size());
    EXPECT_EQ(Costs(bill), c.loaded);
    EXPECT_EQ(registry.ValueType(kHkeyLocalMachine, kBillPath, ""), kRegDword);
    EXPECT_EQ(registry.ValueBytes(kHkeyLocalMachine, kBillPath, ""), U32Bytes(loaded));
    expectStoredItemsKept();

    bill.Append(store, MakeItem(9.0f, "", ""));
    EXPECT_EQ(registry.ValueBytes(kHkeyLocalMachine, kBillPath, "BillItem" + std::to_string(loaded)),
              Encoded(MakeItem(9.0f, "", "")));
    expectStoredItemsKept();
    std::vector<float> appended = c.loaded;
    appended.push_back(9.0f);
    EXPECT_EQ(Costs(LoadBill(store)), appended);
  }
}

TEST_F(BillStore, DeletingTheHeadThenSaveBillRenumbersAndDropsTheOldLast) {
  Bill bill = LoadBill(store);
  for (int i = 1; i <= 3; ++i) Append(bill, MakeItem(float(i), "a", "u"));
  ASSERT_EQ(Count(), 3u);

  bill = Bill(std::vector<BillItem>(bill.begin() + 1, bill.end()));
  SaveBill(store, bill);
  EXPECT_EQ(Count(), 2u);
  EXPECT_EQ(Item(0), Encoded(bill.front()));
  EXPECT_EQ(Item(1), Encoded(bill[1]));
  EXPECT_FALSE(Has(2));
  EXPECT_EQ(Costs(LoadBill(store)), (std::vector<float>{2, 3}));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(BillStore, SaveBillOfAnEmptyListClearsTheStoreUpToAGap) {
  PutCount(3);
  PutItem(0, 1.0f);
  PutItem(1, 1.0f);
  PutItem(3, 1.0f);
  SaveBill(store, Bill());
  EXPECT_EQ(Count(), 0u);
  EXPECT_FALSE(Has(0));
  EXPECT_FALSE(Has(1));
  EXPECT_TRUE(Has(3));
}

TEST_F(BillStore, WithoutAccessTheBillLoadsEmptyAndNothingIsStored) {
  registry.DenyAccess(kHkeyLocalMachine);
  Bill bill = LoadBill(store);
  EXPECT_TRUE(bill.empty());
  bill.Append(store, MakeItem(1.0f, "", ""));
  SaveBill(store, bill);
  registry.DenyAccess(kHkeyLocalMachine, false);
  EXPECT_FALSE(registry.KeyExists(kHkeyLocalMachine, kBillPath));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(BillStore, SaveLastOfAnEmptyBillWritesNothing) {
  SaveLastBillItem(store, Bill());
  EXPECT_FALSE(registry.ValueExists(kHkeyLocalMachine, kBillPath, ""));
}

// ---------------------------------------------------------------------------------------------
// The user filter

TEST(UserFilter, IgnoresTheCaseOfAToZOnly) {
  const UserKey bob = MakeUserKey("Bob");
  EXPECT_STREQ(bob.text, "BOB");
  EXPECT_TRUE(UserMatches(&bob, "bob"));
  EXPECT_TRUE(UserMatches(&bob, "Bob"));
  EXPECT_TRUE(UserMatches(&bob, "BOB"));
  EXPECT_FALSE(UserMatches(&bob, "Bobby"));
  EXPECT_FALSE(UserMatches(&bob, "Bo"));
  EXPECT_FALSE(UserMatches(&bob, ""));
  // No filter, or no user: every item passes.
  EXPECT_TRUE(UserMatches(nullptr, "anyone"));
  EXPECT_TRUE(UserMatches(nullptr, ""));
  EXPECT_TRUE(UserMatches(&bob, nullptr));
}

TEST(UserFilter, LettersOutsideAToZMatchOnlyWhenIdentical) {
  // Code page 1252: e-acute 0xE9, E-acute 0xC9.
  const UserKey jose = MakeUserKey("Jos\xE9");
  EXPECT_STREQ(jose.text, "JOS\xE9");
  EXPECT_TRUE(UserMatches(&jose, "jos\xE9"));
  EXPECT_FALSE(UserMatches(&jose, "JOS\xC9"));
  EXPECT_FALSE(UserMatches(&jose, "jose"));
  const UserKey punct = MakeUserKey("a-b_c@[`{");  // neighbours of the letter ranges stay as they are
  EXPECT_STREQ(punct.text, "A-B_C@[`{");
  EXPECT_FALSE(UserMatches(&punct, "A-B_C`[@{"));
}

TEST(UserFilter, NamesAreBoundedToTheirHundredBytes) {
  const std::string longName(150, 'k');
  const UserKey key = MakeUserKey(longName.c_str());
  EXPECT_EQ(std::string(key.text), std::string(99, 'K'));
  EXPECT_TRUE(UserMatches(&key, std::string(99, 'k').c_str()));
}

}  // namespace
}  // namespace tollwick
