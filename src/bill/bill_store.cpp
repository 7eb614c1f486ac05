#include "bill/bill_store.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/little_endian.h"

namespace tollwick {

namespace {

constexpr std::uint32_t kValueNameChars = 24;  // "BillItem" and any 32-bit number

void ItemValueName(std::uint32_t index, char (&name)[kValueNameChars]) {
  std::snprintf(name, sizeof name, "BillItem%u", static_cast<unsigned>(index));
}

// An item's volume: bytes received from kBillReservedOffset, bytes sent from here, 48 bits each.
constexpr std::uint32_t kItemSentOffset = kBillReservedOffset + 6;

void PutU48(std::uint8_t* out, std::uint64_t value) {
  PutU32(out, static_cast<std::uint32_t>(value));
  out[4] = static_cast<std::uint8_t>(value >> 32);
  out[5] = static_cast<std::uint8_t>(value >> 40);
}

std::uint64_t GetU48(const std::uint8_t* in) {
  return GetU32(in) | static_cast<std::uint64_t>(in[4]) << 32 |
         static_cast<std::uint64_t>(in[5]) << 40;
}

// Only a look at how many items are stored may settle for reading a hive it cannot write.
enum class BillKeyAccess { kFull, kReadWhereDenied };

SettingsKey OpenBillKey(const SettingsStore& store, BillKeyAccess access = BillKeyAccess::kFull) {
  char path[2 * kNameChars];
  RootSubkeyPath(".Bill", path, sizeof path);
  return access == BillKeyAccess::kFull ? store.OpenSettingsKey(path)
                                        : store.OpenSettingsKeyToRead(path);
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
    if (!store.DeleteValue(key, name)) break;
  }
}

constexpr char kItemPrefix[] = "billitem";  // value names compare without regard to case
constexpr std::uint32_t kItemPrefixChars = sizeof kItemPrefix - 1;

// The number of a value named "BillItem<n>" as ItemValueName writes it (decimal, no leading zero),
// below the largest 32-bit number so that one past it still fits.
bool ParseItemNumber(const char* name, std::uint32_t* number) {
  for (std::uint32_t i = 0; i < kItemPrefixChars; ++i) {
    const char c = name[i];
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != kItemPrefix[i]) return false;
  }
  const char* digits = name + kItemPrefixChars;
  if (digits[0] == '\0' || (digits[0] == '0' && digits[1] != '\0')) return false;
  std::uint64_t value = 0;
  for (const char* p = digits; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return false;
    value = value * 10 + static_cast<std::uint64_t>(*p - '0');
    if (value >= 0xFFFFFFFFu) return false;
  }
  *number = static_cast<std::uint32_t>(value);
  return true;
}

// One past the highest item number stored below `limit`, 0 when there is none.
std::uint32_t EndOfItemNumbers(const SettingsStore& store, const SettingsKey& key,
                               std::uint64_t limit) {
  std::uint32_t end = 0;
  store.ForEachValueName(key, [&end, limit](const char* name) {
    std::uint32_t number = 0;
    if (ParseItemNumber(name, &number) && number < limit && number >= end) end = number + 1;
  });
  return end;
}

struct StoredCount {
  std::uint32_t items;  // the number of items the stored bill holds, and the next one's number
  bool asStored;        // the count value says so itself
};

// The count value is taken when it is a 4-byte number that the key could hold: the key holds at
// least that many values besides it. Anything else (a value too long or too short to be a count,
// text, a number far beyond the items) says nothing about the bill, and trusting it would have the
// load build items without end, or the next append overwrite item 0 and delete the rest. The items
// actually stored decide then: one past the highest number present, so that no append overwrites or
// deletes one. Numbers are taken only below twice the values the key holds (the items and at most as
// many gaps again), so a stray value named far beyond the others cannot inflate the bill either.
StoredCount ReadStoredCount(const SettingsStore& store, const SettingsKey& key) {
  if (!key.valid()) return {0, false};
  const std::uint32_t values = store.ValueCount(key);
  std::uint8_t bytes[4];
  const SettingsStore::StoredValue count = store.ReadAsStored(key, nullptr, bytes, sizeof bytes);
  if (count.read() && count.size == sizeof bytes && GetU32(bytes) < values) {
    return {GetU32(bytes), true};
  }
  return {EndOfItemNumbers(store, key, 2 * static_cast<std::uint64_t>(values)), false};
}

// A delete that must renumber items cannot change the stored bill in one write: item i is read from
// "BillItem<i>" alone, so rewriting positions in place passes through bills that are neither the old
// one nor the new one. The new items from the first changed position on are therefore first parked
// after the stored bill, where the believed count hides them; then this record, written in one value,
// says where they are and commits the delete; LoadBill finishes a committed delete a crash cut short.
// Its three little-endian numbers: the first changed position, the number of the first parked item
// (past every stored item, so the copy never reads what it has written) and how many are parked.
constexpr char kRenumberingValue[] = "Renumbering";
constexpr std::uint32_t kRenumberingBytes = 12;

struct Renumbering {
  std::uint32_t first;
  std::uint32_t parked;
  std::uint32_t items;
};

// Copies the parked items into place, makes the count the new one, drops the record and then the
// values past the new bill from the top down, so that whatever is left beyond the count stays one
// unbroken run that the next append's cleanup removes. Running it again after a crash at any of
// these writes ends the same way, since the parked items stay until the record is gone.
void FinishRenumbering(const SettingsStore& store, const SettingsKey& key, const Renumbering& r,
                       std::uint32_t storedEnd) {
  char name[kValueNameChars];
  for (std::uint32_t i = 0; i < r.items; ++i) {
    std::uint8_t bytes[kBillItemMostBytes] = {};
    ItemValueName(r.parked + i, name);
    const SettingsStore::StoredValue parked = store.ReadAsStored(key, name, bytes, sizeof bytes);
    ItemValueName(r.first + i, name);
    store.WriteBinaryValue(key, name, bytes, parked.read() ? std::max(parked.size, kBillItemBytes)
                                                           : kBillItemBytes);
  }
  const std::uint32_t count = r.first + r.items;
  store.WriteDwordValue(key, nullptr, count);
  if (r.items > 0) store.DeleteValue(key, kRenumberingValue);
  for (std::uint32_t i = std::max(storedEnd, r.parked + r.items); i-- > count;) {
    ItemValueName(i, name);
    store.DeleteValue(key, name);
  }
}

// A delete committed but not finished before a crash is finished now. A record that cannot be one of
// ours is dropped: a delete parks its items among the key's values, so it never reaches past twice
// their number (the bound of the count rule), and a stray record cannot start a copy without end.
void FinishInterruptedDelete(const SettingsStore& store, const SettingsKey& key) {
  std::uint8_t bytes[kRenumberingBytes] = {};
  const SettingsStore::StoredValue record =
      store.ReadAsStored(key, kRenumberingValue, bytes, sizeof bytes);
  if (!record.exists()) return;
  const std::uint32_t values = store.ValueCount(key);
  const Renumbering r{GetU32(bytes), GetU32(bytes + 4), GetU32(bytes + 8)};
  const std::uint64_t end = static_cast<std::uint64_t>(r.parked) + r.items;
  if (!record.read() || record.size != kRenumberingBytes || r.items == 0 || r.first >= r.parked ||
      r.items >= r.parked - r.first || end > 2 * static_cast<std::uint64_t>(values)) {
    store.DeleteValue(key, kRenumberingValue);
    return;
  }
  FinishRenumbering(store, key, r, 0);
}

}  // namespace

void EncodeVolume(const CallVolume& volume, std::uint8_t* out) {
  PutU64(out, volume.received);
  PutU64(out + 8, volume.sent);
}

CallVolume DecodeVolume(const std::uint8_t* in) {
  const CallVolume volume{true, GetU64(in), GetU64(in + 8)};
  if (volume.received > kLargestCallBytes || volume.sent > kLargestCallBytes) return CallVolume();
  return volume;
}

std::uint32_t EncodeBillItem(const BillItem& item, std::uint8_t* out) {
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
  if (item.type != kCall || !item.volume.known) return kBillItemBytes;
  // No call comes near the bound; were one to pass it, the item keeps the most it can hold.
  PutU48(out + kBillReservedOffset, std::min(item.volume.received, kLargestCallBytes));
  PutU48(out + kItemSentOffset, std::min(item.volume.sent, kLargestCallBytes));
  return kBillVolumeItemBytes;
}

void DecodeBillItem(const std::uint8_t* in, BillItem& item, std::uint32_t size) {
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
  item.volume = CallVolume();
  if (item.type != kCall) return;
  if (size == kBillVolumeItemBytes) {
    item.volume = CallVolume{true, GetU48(in + kBillReservedOffset), GetU48(in + kItemSentOffset)};
  } else if (size == kBillWideVolumeItemBytes) {
    item.volume = DecodeVolume(in + kBillItemBytes);
  }
}

Bill LoadBill(const SettingsStore& store) {
  std::vector<BillItem> bill;
  SettingsKey key = OpenBillKey(store);
  if (key.valid()) FinishInterruptedDelete(store, key);
  const StoredCount stored = ReadStoredCount(store, key);
  bill.reserve(stored.items);
  char name[kValueNameChars];
  for (std::uint32_t i = 0; i < stored.items; ++i) {
    ItemValueName(i, name);
    std::uint8_t bytes[kBillItemMostBytes] = {};
    // A missing or over-long item (of a length no item with its volume has) reads as zeros and the
    // zeros are stored in its place, so the numbers stay those of the bill's positions; a shorter
    // one fills the leading bytes and the rest stays zero. One read whether or not the item has its
    // volume.
    const SettingsStore::StoredValue stored = store.ReadAsStored(key, name, bytes, sizeof bytes);
    std::uint32_t size = stored.size;
    if (!stored.read() || (size > kBillItemBytes && size != kBillVolumeItemBytes &&
                           size != kBillWideVolumeItemBytes)) {
      std::memset(bytes, 0, sizeof bytes);
      size = kBillItemBytes;
      store.WriteBinaryValue(key, name, bytes, size);
    }
    bill.emplace_back();
    DecodeBillItem(bytes, bill.back(), size);
  }
  // After the items, as every save does: a load cut short here finds the same count again.
  if (!stored.asStored) store.WriteDwordValue(key, nullptr, stored.items);
  return Bill(std::move(bill));
}

void SaveBill(const SettingsStore& store, const Bill& bill) {
  SettingsKey key = OpenBillKey(store);
  std::uint8_t bytes[kBillItemMostBytes];
  char name[kValueNameChars];
  std::uint32_t count = 0;
  for (const BillItem& item : bill) {
    const std::uint32_t size = EncodeBillItem(item, bytes);
    ItemValueName(count++, name);
    store.WriteBinaryValue(key, name, bytes, size);
  }
  store.WriteDwordValue(key, nullptr, count);
  DeleteItemValuesFrom(store, key, count);
}

void DeleteBillItems(const SettingsStore& store, std::vector<BillItem>& bill,
                     std::vector<std::uint32_t> positions) {
  std::sort(positions.begin(), positions.end());
  positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
  while (!positions.empty() && positions.back() >= bill.size()) positions.pop_back();
  if (positions.empty()) return;

  const std::uint32_t oldSize = static_cast<std::uint32_t>(bill.size());
  std::uint32_t first = positions.front();
  std::size_t next = 0;
  std::uint32_t kept = first;
  for (std::uint32_t i = first; i < oldSize; ++i) {
    if (next < positions.size() && positions[next] == i) {
      ++next;
    } else {
      bill[kept++] = bill[i];
    }
  }
  bill.resize(kept);

  SettingsKey key = OpenBillKey(store);
  const StoredCount stored = ReadStoredCount(store, key);
  // Parked items would otherwise lengthen a bill whose count is not believed.
  if (!stored.asStored) store.WriteDwordValue(key, nullptr, stored.items);
  // A stored bill shorter than the one in memory (its writes failed) is mended from where it ends.
  first = std::min(first, stored.items);
  const Renumbering r{first, std::max(stored.items, oldSize), kept - first};
  if (r.items > 0) {
    DeleteItemValuesFrom(store, key, stored.items);
    std::uint8_t bytes[kBillItemMostBytes];
    char name[kValueNameChars];
    for (std::uint32_t i = 0; i < r.items; ++i) {
      const std::uint32_t size = EncodeBillItem(bill[first + i], bytes);
      ItemValueName(r.parked + i, name);
      store.WriteBinaryValue(key, name, bytes, size);
    }
    std::uint8_t record[kRenumberingBytes];
    PutU32(record, r.first);
    PutU32(record + 4, r.parked);
    PutU32(record + 8, r.items);
    store.WriteBinaryValue(key, kRenumberingValue, record, kRenumberingBytes);
  }
  // Without items to move, the count alone switches from the old bill to the new one.
  FinishRenumbering(store, key, r, stored.items);
}

void SaveLastBillItem(const SettingsStore& store, const Bill& bill) {
  if (bill.empty()) return;
  SettingsKey key = OpenBillKey(store);
  const std::uint32_t count = ReadStoredCount(store, key).items;

  std::uint8_t bytes[kBillItemMostBytes];
  char name[kValueNameChars];
  const std::uint32_t size = EncodeBillItem(bill.back(), bytes);
  ItemValueName(count, name);
  store.WriteBinaryValue(key, name, bytes, size);
  store.WriteDwordValue(key, nullptr, count + 1);
  // Values left over from a longer stored bill must not reappear at a later load.
  DeleteItemValuesFrom(store, key, count + 1);
}

std::uint32_t NextBillItemNumber(const SettingsStore& store) {
  return ReadStoredCount(store, OpenBillKey(store, BillKeyAccess::kReadWhereDenied)).items;
}

UserKey MakeUserKey(const char* user) {
  UserKey key;
  CopyBoundedText(key.text, kNameChars, user);
  for (char* c = key.text; *c != '\0'; ++c) *c = FoldCase(*c);
  return key;
}

// Every view filters the whole bill on each refresh, so the names are compared in place, each cut
// to 99 characters as its 100-byte copy would be, rather than copied per item.
bool UserMatches(const UserKey* filter, const char* user) {
  if (filter == nullptr || user == nullptr) return true;
  for (std::uint32_t i = 0; i + 1 < kNameChars; ++i) {
    const char a = FoldCase(filter->text[i]);
    if (a != FoldCase(user[i])) return false;
    if (a == '\0') return true;
  }
  return true;
}

}  // namespace tollwick
