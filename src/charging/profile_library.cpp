#include "charging/profile_library.h"

#include <cstring>

#include "platform/little_endian.h"

namespace tollwick {

void ProfileLibrary::Deleter::operator()(ChargeProfile* profile) const {
  if (library) {
    library->FreeChargeProfile(profile);
  } else if (profile) {
    FreeDiscountList(profile->discounts);
    delete profile;
  }
}

SettingsKey ProfileLibrary::OpenProfileKey(const char* name) const {
  char path[2 * kNameChars];
  RootSubkeyPath(name, path, sizeof path);
  return store_.OpenSettingsKey(path);
}

ProfileLibrary::Owned ProfileLibrary::Load(const char* name, bool isDefaultProfile) {
  Owned profile = Adopt(new ChargeProfile);
  CopyBoundedText(profile->name, kNameChars, name);
  profile->isDefaultProfile = isDefaultProfile ? 1 : 0;
  LoadChargeProfile(*profile);
  return profile;
}

ProfileLibrary::Owned ProfileLibrary::Copy(const ChargeProfile& profile) {
  Owned copy = Adopt(new ChargeProfile(profile));
  copy->discounts = CopyDiscountList(profile.discounts);
  return copy;
}

void ProfileLibrary::LoadChargeProfile(ChargeProfile& profile) {
  // Whatever the record held goes, and it is no longer the `.Default` record until loaded as one.
  if (&profile == defaultProfile_) defaultProfile_ = nullptr;
  FreeDiscountList(profile.discounts);
  profile.discounts = nullptr;
  char name[kNameChars];
  CopyBoundedText(name, kNameChars, profile.name);
  std::memcpy(profile.name, name, kNameChars);
  const bool isDefault = profile.isDefaultProfile != 0;

  SettingsKey key = OpenProfileKey(name);
  profile.useDefault = isDefault ? 0 : store_.ReadDwordValue(key, "UseDefault", 1);

  if (profile.useDefault != 0) {
    // Without a live `.Default` record, the stored one stands in for it just for this copy.
    Owned storedDefault;
    const ChargeProfile* source = defaultProfile_;
    if (!source) {
      storedDefault = Load(kDefaultProfileName, true);
      source = storedDefault.get();
    }
    profile.charge = source->charge;
    profile.minChargeOn = source->minChargeOn;
    profile.minCharge = source->minCharge;
    profile.discounts = CopyDiscountList(source->discounts);
    profile.useDefault = 1;
    profile.isDefaultProfile = 0;
    return;  // storedDefault is freed here, and the reference to it with it
  }

  std::uint8_t block[kCallChargeInfoBytes];
  store_.ReadBinaryValue(key, "CallChargeInfo", block, nullptr, sizeof block);
  DecodeCallChargeInfo(block, profile.charge);
  profile.minChargeOn = store_.ReadDwordValue(key, "MinChargeOn", 1);
  std::uint8_t minCharge[4];
  std::uint8_t minChargeDefault[4];
  PutU32(minChargeDefault, kMinChargeDefaultBits);
  store_.ReadBinaryValue(key, "MinCharge", minCharge, minChargeDefault, sizeof minCharge);
  profile.minCharge = GetF32(minCharge);
  profile.discounts = LoadDiscountList(store_, key);

  if (isDefault) defaultProfile_ = &profile;
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

void ProfileLibrary::FreeChargeProfile(ChargeProfile* profile) {
  if (!profile) return;
  if (profile == defaultProfile_) defaultProfile_ = nullptr;
  FreeDiscountList(profile->discounts);
  delete profile;
}

}  // namespace tollwick
