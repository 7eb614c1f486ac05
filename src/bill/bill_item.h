#pragma once
// One ledger entry: a call or a payment.

#include <cstdint>

#include "platform/call_volume.h"
#include "platform/packed_time.h"
#include "platform/settings_store.h"

namespace tollwick {

enum BillItemType : std::uint32_t { kCall = 0, kPayment = 1 };  // readers treat nonzero as Payment

struct BillItem {
  float cost = 0.0f;
  char account[kNameChars] = {};
  char user[kNameChars] = {};
  PackedTime length = 0;
  PackedTime start = 0;
  PackedTime end = 0;
  std::uint32_t day = 0;
  std::uint32_t month = 0;
  std::uint32_t year = 0;
  std::uint32_t type = kCall;
  CallVolume volume;  // unknown for payments, items added by hand and items stored without it
};

constexpr std::uint32_t kBillItemBytes = 240;
// A call whose volume is known is stored as 244 bytes, the volume in the reserved bytes and four
// more: a value of at most 244 bytes is one server call to read under Wine, a longer one two.
constexpr std::uint32_t kBillVolumeItemBytes = 244;
// The stored form of a known volume apart from an item (the call's snapshot holds it so):
// bytes received, then sent, each 64-bit little-endian.
constexpr std::uint32_t kBillVolumeBytes = 16;
// Items stored with their volume by earlier builds: the 240 bytes, then that form.
constexpr std::uint32_t kBillWideVolumeItemBytes = kBillItemBytes + kBillVolumeBytes;
constexpr std::uint32_t kBillItemMostBytes = kBillWideVolumeItemBytes;

}  // namespace tollwick
