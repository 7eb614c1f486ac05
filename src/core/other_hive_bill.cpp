#include "core/other_hive_bill.h"

#include <optional>

#include "platform/little_endian.h"

namespace tollwick {
namespace {

constexpr const char* kToldValue = "OtherBillTold";

// The item count of the other hive's bill (the unnamed value of ".Bill"), read as stored.
std::uint32_t OtherHiveBillItems(const SettingsStore& store) {
  const std::optional<SettingsStore> other = store.OtherHiveStore();
  if (!other) return 0;
  char path[2 * kNameChars];
  RootSubkeyPath(".Bill", path, sizeof path);
  std::uint8_t count[4] = {};
  if (!other->ReadAsStored(other->OpenKeyReadOnly(path), nullptr, count, sizeof count).read()) {
    return 0;
  }
  return GetU32(count);
}

}  // namespace

std::uint32_t OtherBillItemsToTell(const SettingsStore& store) {
  const std::uint32_t items = OtherHiveBillItems(store);
  if (items == 0) return 0;
  SettingsKey root = store.OpenSettingsKey(kRootPath);
  return store.ReadDwordValue(root, kToldValue, 0) == 1 ? 0 : items;
}

void RememberOtherBillTold(const SettingsStore& store) {
  SettingsKey root = store.OpenSettingsKey(kRootPath);
  store.WriteDwordValue(root, kToldValue, 1);
}

}  // namespace tollwick
