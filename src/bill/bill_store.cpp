#include "bill/bill_store.h"

#include <cstdio>
#include <cstring>

#include "platform/little_endian.h"

namespace tollwick {

namespace {

constexpr std::uint32_t kValueNameChars = 24;  // "BillItem" and any 32-bit number

void ItemValueName(std::uint32_t index, char (&name)[kValueNameChars]) {
  std::snprintf(name, sizeof name, "BillItem%u", static_cast<unsigned>(index));
}

SettingsKey OpenBillKey(const SettingsStore& store) {
  char path[2 * kNameChars];
  RootSubkeyPath(".Bill", path, sizeof path);
  return store.OpenSettingsKey(path);
}

// The text fields go through CopyBoundedText both ways: cut to 99 characters, terminated and zero
// after the terminator, so nothing past a stored or typed name ever leaks into the other side.
void CopyNameField(const void* from, void* to) {
  CopyBoundedText(static_cast<char*>(to), kNameChars, static_cast<const char*>(from));
}

// Deletes the values numbered from `first` on, stopping at the first delete that fails (normally the
// first number not stored); values beyond a gap in the numbering stay.
void DeleteItemValuesFrom(const SettingsStore& store, const SettingsKey& key, std::uint32_t first) {
  char name[kValueNameChars];
  for (std::uint32_t i = first;; ++i) {
    ItemValueName(i, name);
    if (store.registry().DeleteValue(key.get(), name) != kRegSuccess) break;
  }
}

}  // namespace

void EncodeBillItem(const BillItem& item, std::uint8_t* out) {
  PutF32(out + kBillCostOffset, item.cost);
  CopyNameField(item.account, out + kBillAccountOffset);
  CopyNameField(item.user, out + kBillUserOffset);
  PutU32(out + kBillLengthOffset, item.length);
  PutU32(out + kBillStartOffset, item.start);
  PutU32(out + kBillEndOffset, item.end);
  PutU32(out + kBillDayOffset, item.day);
  PutU32(out + kBillMonthOffset, item.month);
  PutU32(out + kBillYearOffset, item.year);
  PutU32(out + kBillTypeOffset, item.type);
  std::memset(out + kBillReservedOffset, 0, kBillItemBytes - kBillReservedOffset);
}

void DecodeBillItem(const std::uint8_t* in, BillItem& item) {
  item.cost = GetAmountF32(in + kBillCostOffset);
  CopyNameField(in + kBillAccountOffset, item.account);
  CopyNameField(in + kBillUserOffset, item.user);
  item.length = GetU32(in + kBillLengthOffset);
  item.start = GetU32(in + kBillStartOffset);
  item.end = GetU32(in + kBillEndOffset);
  item.day = GetU32(in + kBillDayOffset);
  item.month = GetU32(in + kBillMonthOffset);
  item.year = GetU32(in + kBillYearOffset);
  item.type = GetU32(in + kBillTypeOffset);
}

Bill LoadBill(const SettingsStore& store) {
  Bill bill;
  SettingsKey key = OpenBillKey(store);
  const std::int32_t count = static_cast<std::int32_t>(store.ReadDwordValue(key, nullptr, 0));
  std::uint8_t bytes[kBillItemBytes];
  char name[kValueNameChars];
  for (std::int32_t i = 0; i < count; ++i) {
    ItemValueName(static_cast<std::uint32_t>(i), name);
    // A missing or over-long item reads as zeros and the zeros are stored in its place; a shorter
    // one fills the leading bytes and the rest stays zero.
    store.ReadBinaryValue(key, name, bytes, nullptr, kBillItemBytes);
    bill.emplace_back();
    DecodeBillItem(bytes, bill.back());
  }
  return bill;
}

void SaveBill(const SettingsStore& store, const Bill& bill) {
  SettingsKey key = OpenBillKey(store);
  std::uint8_t bytes[kBillItemBytes];
  char name[kValueNameChars];
  std::uint32_t count = 0;
  for (const BillItem& item : bill) {
    EncodeBillItem(item, bytes);
    ItemValueName(count++, name);
    store.WriteBinaryValue(key, name, bytes, kBillItemBytes);
  }
  store.WriteDwordValue(key, nullptr, count);
  DeleteItemValuesFrom(store, key, count);
}

void SaveLastBillItem(const SettingsStore& store, const Bill& bill) {
  if (bill.empty()) return;
  SettingsKey key = OpenBillKey(store);
  std::uint32_t count = store.ReadDwordValue(key, nullptr, 0);
  // LoadBill reads a negative count as an empty bill; storing after it would put the item under a
  // number that no load ever reaches.
  if (static_cast<std::int32_t>(count) < 0) count = 0;

  std::uint8_t bytes[kBillItemBytes];
  char name[kValueNameChars];
  EncodeBillItem(bill.back(), bytes);
  ItemValueName(count, name);
  store.WriteBinaryValue(key, name, bytes, kBillItemBytes);
  store.WriteDwordValue(key, nullptr, count + 1);
  // Values left over from a longer stored bill must not reappear at a later load.
  DeleteItemValuesFrom(store, key, count + 1);
}

UserKey MakeUserKey(const char* user) {
  UserKey key;
  CopyBoundedText(key.text, kNameChars, user);
  for (char& c : key.text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return key;
}

bool UserMatches(const UserKey* filter, const char* user) {
  if (filter == nullptr || user == nullptr) return true;
  const UserKey a = MakeUserKey(filter->text);
  const UserKey b = MakeUserKey(user);
  return std::strcmp(a.text, b.text) == 0;
}

}  // namespace tollwick
