#include "core/other_hive_bill.h"

#include "platform/little_endian.h"

namespace tollwick {
namespace {

constexpr const char* kToldValue = "OtherBillTold";

// The bill's item count (the unnamed value of ".Bill"), read without writing a default.
std::uint32_t StoredBillItems(Registry& registry, RegKey hive) {
  char path[2 * kNameChars];
  RootSubkeyPath(".Bill", path, sizeof path);
  RegKey opened = 0;
  if (registry.OpenKeyToRead(hive, path, &opened) != kRegSuccess) return 0;
  SettingsKey bill(&registry, opened);
  std::uint8_t count[4] = {};
  std::uint32_t size = sizeof count;
  if (registry.QueryValue(bill.get(), nullptr, count, &size) != kRegSuccess) return 0;
  return GetU32(count);
}

}  // namespace

std::uint32_t OtherBillItemsToTell(const SettingsStore& store) {
  std::uint32_t items = StoredBillItems(store.registry(), store.otherHive());
  if (items == 0) return 0;
  SettingsKey root = store.OpenSettingsKey(kRootPath);
  return store.ReadDwordValue(root, kToldValue, 0) == 1 ? 0 : items;
}

void RememberOtherBillTold(const SettingsStore& store) {
  SettingsKey root = store.OpenSettingsKey(kRootPath);
  store.WriteDwordValue(root, kToldValue, 1);
}

}  // namespace tollwick
