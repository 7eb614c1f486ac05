#include "charging/profile_library.h"

#include <cstring>

#include "platform/little_endian.h"

namespace tollwick {

SettingsKey ProfileLibrary::OpenProfileKey(const char* name) const {
  char path[2 * kNameChars];
  RootSubkeyPath(name, path, sizeof path);
  return store_.OpenSettingsKey(path);
}

ProfileLibrary::Owned ProfileLibrary::Load(const char* name, bool isDefaultProfile) {
  Owned profile = std::make_shared<ChargeProfile>();
  CopyBoundedText(profile->name, kNameChars, name);
  profile->isDefaultProfile = isDefaultProfile ? 1 : 0;
  LoadChargeProfile(profile);
  return profile;
}

void ProfileLibrary::LoadChargeProfile(const Owned& record) {
  ChargeProfile& profile = *record;
  // It is no longer the `.Default` record until loaded as one.
  if (DefaultProfile() == record) defaultProfile_.reset();
  char name[kNameChars];
  CopyBoundedText(name, kNameChars, profile.name);
  std::memcpy(profile.name, name, kNameChars);
  const bool isDefault = profile.isDefaultProfile != 0;

  SettingsKey key = OpenProfileKey(name);
  profile.useDefault = isDefault ? 0 : store_.ReadDwordValue(key, "UseDefault", 1);

  if (profile.useDefault != 0) {
    // Without a live `.Default` record, the stored one stands in for it just for this copy; it is
    // freed on return, and the reference to it with it.
    std::shared_ptr<const ChargeProfile> source = DefaultProfile();
    if (!source) source = Load(kDefaultProfileName, true);
    profile.charge = source->charge;
    profile.minChargeOn = source->minChargeOn;
    profile.minCharge = source->minCharge;
    profile.discounts = source->discounts;
    profile.useDefault = 1;
    profile.isDefaultProfile = 0;
    return;
  }

  std::uint8_t block[kCallChargeInfoBytes] = {};
  store_.ReadBinaryValue(key, "CallChargeInfo", block, nullptr, sizeof block);
  DecodeCallChargeInfo(block, profile.charge);
  profile.minChargeOn = store_.ReadDwordValue(key, "MinChargeOn", 1);
  std::uint8_t minCharge[4] = {};
  std::uint8_t minChargeDefault[4];
  PutU32(minChargeDefault, kMinChargeDefaultBits);
  store_.ReadBinaryValue(key, "MinCharge", minCharge, minChargeDefault, sizeof minCharge);
  profile.minCharge = GetAmountF32(minCharge);
  profile.discounts = LoadDiscountList(store_, key);

  if (isDefault) defaultProfile_ = record;
}

void ProfileLibrary::SaveChargeProfile(const ChargeProfile& profile) const {
  char name[kNameChars];
  CopyBoundedText(name, kNameChars, profile.name);
  SettingsKey key = OpenProfileKey(name);
  const std::uint32_t useDefault = profile.isDefaultProfile ? 0 : profile.useDefault;
  store_.WriteDwordValue(key, "UseDefault", useDefault);
  if (useDefault != 0) return;  // the account's own settings stay as they were stored
  std::uint8_t block[kCallChargeInfoBytes];
  EncodeCallChargeInfo(profile.charge, block);
  store_.WriteBinaryValue(key, "CallChargeInfo", block, sizeof block);
  store_.WriteDwordValue(key, "MinChargeOn", profile.minChargeOn);
  std::uint8_t minCharge[4];
  PutF32(minCharge, profile.minCharge);
  store_.WriteBinaryValue(key, "MinCharge", minCharge, sizeof minCharge);
  SaveDiscountList(store_, key, profile.discounts);
}

}  // namespace tollwick
