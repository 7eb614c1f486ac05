#pragma once
// The bill: its stored form (one 240-byte value per item under ".Bill", the item count in the key's
// unnamed value) and the user filter of every view of the bill.

#include <cstdint>
#include <vector>

#include "bill/bill.h"
#include "bill/bill_item.h"
#include "platform/settings_store.h"

namespace tollwick {

// Byte offsets of the stored item.
constexpr std::uint32_t kBillCostOffset = 0;
constexpr std::uint32_t kBillAccountOffset = 4;
constexpr std::uint32_t kBillUserOffset = 104;
constexpr std::uint32_t kBillLengthOffset = 204;
constexpr std::uint32_t kBillStartOffset = 208;
constexpr std::uint32_t kBillEndOffset = 212;
constexpr std::uint32_t kBillDayOffset = 216;
constexpr std::uint32_t kBillMonthOffset = 220;
constexpr std::uint32_t kBillYearOffset = 224;
constexpr std::uint32_t kBillTypeOffset = 228;
// 8 bytes, written as zero, read only in an item of kBillVolumeItemBytes: there they and the 4
// bytes after them hold the bytes received, then sent, each 48-bit little-endian.
constexpr std::uint32_t kBillReservedOffset = 232;

// The stored form of a known volume (kBillVolumeBytes). Decoded, a volume beyond kLargestCallBytes
// either way is unknown.
void EncodeVolume(const CallVolume& volume, std::uint8_t* out);
CallVolume DecodeVolume(const std::uint8_t* in);

// Writes the stored form of the item into out (room for kBillItemMostBytes) and returns its size:
// kBillItemBytes, or kBillVolumeItemBytes for a call with a known volume.
// Texts are cut to 99 characters and zero-filled after their terminator.
std::uint32_t EncodeBillItem(const BillItem& item, std::uint8_t* out);
// Fills the item's fields from a stored form of `size` bytes, at least kBillItemBytes (the rest of a
// shorter value reads as zeros). The texts come back terminated within their 100 bytes whatever the
// stored bytes hold, zero after it; a cost that is not a finite number reads as 0. The volume is
// known only for a call stored with its volume (in either form); the reserved bytes of a
// 240-byte item are never read.
void DecodeBillItem(const std::uint8_t* in, BillItem& item, std::uint32_t size = kBillItemBytes);

// Builds the bill from ".Bill". Missing or over-long items come back zeroed and are stored as zeros.
// A count the key could not hold (unreadable, or more than its values) is replaced by one past the
// highest item number stored, and written back.
Bill LoadBill(const SettingsStore& store);
// Rewrites the whole stored bill and deletes the values numbered after it.
void SaveBill(const SettingsStore& store, const Bill& bill);
// Deletes the items at these positions (any order, repeats allowed) from the bill's items and from
// their stored form; Bill::Delete's work. Only the stored items from the first deleted position on
// are rewritten, and nothing is written when there is nothing to delete. A crash at any write
// leaves the stored bill as it was before or as it is after: the next LoadBill finishes a rewrite
// that had passed its point of no return.
void DeleteBillItems(const SettingsStore& store, std::vector<BillItem>& bill,
                     std::vector<std::uint32_t> positions);
// Stores the last item of the bill after the items already stored (the stored count, taken as
// LoadBill takes it, decides its number). Bill::Append's store step.
void SaveLastBillItem(const SettingsStore& store, const Bill& bill);
// The number the next stored item takes, which is also the number of items stored. Reads a hive
// the program may not write as well.
std::uint32_t NextBillItemNumber(const SettingsStore& store);

// A user name with the letters a to z turned into A to Z, nothing else changed.
struct UserKey {
  char text[kNameChars] = {};
};
UserKey MakeUserKey(const char* user);
// True when there is no filter or no user, or when the user's name equals the filter's ignoring
// the case of a to z only.
bool UserMatches(const UserKey* filter, const char* user);

}  // namespace tollwick
