#include "charging/charge_profile.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "platform/little_endian.h"
#include "platform/packed_time.h"

namespace tollwick {

namespace {

constexpr const char* kDiscountsKey = "Discounts";
constexpr const char* kDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};

// "Percent" and "FreeMins".
float ReadAmount(const SettingsStore& store, const SettingsKey& key, const char* name) {
  std::uint8_t bytes[4] = {};
  store.ReadBinaryValue(key, name, bytes, nullptr, sizeof bytes);
  return GetAmountF32(bytes);
}

void WriteFloat(const SettingsStore& store, const SettingsKey& key, const char* name, float value) {
  std::uint8_t bytes[4];
  PutF32(bytes, value);
  store.WriteBinaryValue(key, name, bytes, sizeof bytes);
}

// A key below "Discounts" that no earlier discount of this save took, for a discount of that name
// (see SaveDiscountList).
SettingsKey OpenFreeDiscountKey(const SettingsStore& store, const SettingsKey& discounts,
                                const char* name) {
  const std::optional<std::uint32_t> before = store.SubkeyCount(discounts);
  // Numbers 2 to before + 2 give before + 1 different names, so one of them is free. Should the
  // registry still say otherwise, or its counts not tell, the key is taken as it is.
  for (std::uint32_t number = 1;; ++number) {
    char keyName[kNameChars];
    DiscountKeyName(name, number, keyName);
    SettingsKey key = store.OpenSubkey(discounts, keyName);
    const std::optional<std::uint32_t> after =
        before && key.valid() ? store.SubkeyCount(discounts) : std::nullopt;
    if (!after || *after > *before || number == *before + 2) return key;
  }
}

}  // namespace

void EncodeCallChargeInfo(const CallChargeInfo& info, std::uint8_t out[kCallChargeInfoBytes]) {
  PutI32(out, info.dayFrom);
  PutI32(out + 4, info.dayTo);
  PutF32(out + 8, info.dayRate);
  PutF32(out + 12, info.eveningRate);
  PutF32(out + 16, info.weekendRate);
}

void DecodeCallChargeInfo(const std::uint8_t in[kCallChargeInfoBytes], CallChargeInfo& info) {
  info.dayFrom = GetI32(in);
  info.dayTo = GetI32(in + 4);
  info.dayRate = GetAmountF32(in + 8);
  info.eveningRate = GetAmountF32(in + 12);
  info.weekendRate = GetAmountF32(in + 16);
}

void LoadDiscount(const SettingsStore& store, const SettingsKey& key, Discount& discount) {
  discount.mode = store.ReadDwordValue(key, "Mode", kPercentageDiscount);
  discount.percent = ReadAmount(store, key, "Percent");
  discount.freeMins = ReadAmount(store, key, "FreeMins");
  discount.someTimes = store.ReadDwordValue(key, "SomeTimes", 0);
  for (int day = 0; day < 7; ++day) discount.days[day] = store.ReadDwordValue(key, kDayNames[day], 0);
  discount.certain = store.ReadDwordValue(key, "Certain", 0);
  discount.from = static_cast<std::int32_t>(store.ReadDwordValue(key, "From", 0));
  discount.to = static_cast<std::int32_t>(store.ReadDwordValue(key, "To", 0));
}

void SaveDiscount(const SettingsStore& store, const SettingsKey& key, const Discount& discount) {
  store.WriteDwordValue(key, "Mode", discount.mode);
  WriteFloat(store, key, "Percent", discount.percent);
  WriteFloat(store, key, "FreeMins", discount.freeMins);
  store.WriteDwordValue(key, "SomeTimes", discount.someTimes);
  for (int day = 0; day < 7; ++day) store.WriteDwordValue(key, kDayNames[day], discount.days[day]);
  store.WriteDwordValue(key, "Certain", discount.certain);
  store.WriteDwordValue(key, "From", static_cast<std::uint32_t>(discount.from));
  store.WriteDwordValue(key, "To", static_cast<std::uint32_t>(discount.to));
}

Discount NewDiscount() {
  Discount discount;
  CopyBoundedText(discount.name, kNameChars, "Untitled");
  for (std::uint32_t& day : discount.days) day = 1;
  discount.from = static_cast<std::int32_t>(MakePackedTime(18, 0));
  discount.to = static_cast<std::int32_t>(MakePackedTime(23, 59));
  return discount;
}

void DiscountKeyName(const char* name, std::uint32_t number, char out[kNameChars]) {
  CopyBoundedText(out, kNameChars, name);
  if (out[0] == '\0') CopyBoundedText(out, kNameChars, "Discount");
  for (std::uint32_t i = 0; i < kNameChars && out[i] != '\0'; ++i) {
    if (out[i] == '\\') out[i] = '/';
  }
  if (number <= 1) return;
  char suffix[16];
  const int suffixChars =
      std::snprintf(suffix, sizeof suffix, " (%lu)", static_cast<unsigned long>(number));
  const std::size_t keep = kNameChars - 1 - static_cast<std::size_t>(suffixChars);
  if (std::strlen(out) > keep) out[keep] = '\0';
  std::strcat(out, suffix);
}

std::vector<Discount> LoadDiscountList(const SettingsStore& store, const SettingsKey& parent) {
  std::vector<Discount> list;
  SettingsKey discounts = store.OpenSubkey(parent, kDiscountsKey);
  for (const std::string& name : store.SubkeyNames(discounts)) {
    Discount discount;
    CopyBoundedText(discount.name, kNameChars, name.c_str());
    SettingsKey key = store.OpenSubkey(discounts, name.c_str());
    LoadDiscount(store, key, discount);
    list.push_back(discount);
  }
  return list;
}

void SaveDiscountList(const SettingsStore& store, const SettingsKey& parent,
                      const std::vector<Discount>& list) {
  SettingsKey discounts = store.OpenSubkey(parent, kDiscountsKey);
  store.DeleteAllSubkeys(discounts);
  for (const Discount& discount : list) {
    SettingsKey key = OpenFreeDiscountKey(store, discounts, discount.name);
    SaveDiscount(store, key, discount);
  }
}

}  // namespace tollwick
