#include "charging/profile_library.h"

#include <cstring>

#include "platform/little_endian.h"

namespace tollwick {

namespace {

// A save of an account's own settings writes them all beside the stored ones first, under this
// subkey, then commits with its one value "Committed" (REG_DWORD 1), then copies them into place
// and removes the subkey. Without the commit the stored settings stand; with it, every load and
// save first finishes the copy, so a profile reloads as it was before a save or after it, whichever
// registry change a crash comes after.
constexpr const char* kSavingKey = "Saving";
constexpr const char* kCommittedValue = "Committed";

// The values added after the first stored profiles (the billing rules and the plan) keep a profile
// that never set them byte for byte as it was: an absent one is read as its default without writing
// it back, and a save writes one only when it differs from that default, deleting it otherwise. A
// stored one out of its range reads as its default. The type is not examined (as no read of the
// store does), except that "PeriodDay" must be a 4-byte value.
std::uint32_t ReadAddedCount(const SettingsStore& store, const SettingsKey& key, const char* name,
                             std::uint32_t absent, std::uint32_t lowest, std::uint32_t highest,
                             bool wholeDword = false) {
  std::uint8_t bytes[4] = {};
  const SettingsStore::StoredValue stored = store.ReadAsStored(key, name, bytes, sizeof bytes);
  if (!stored.read() || (wholeDword && stored.size != sizeof bytes)) return absent;
  const std::uint32_t value = GetU32(bytes);  // a shorter value is taken zero-extended
  return value >= lowest && value <= highest ? value : absent;
}

// An amount of pounds: a NaN, an infinity, a negative one or one above kLargestAmount reads as 0.
float ReadAddedAmount(const SettingsStore& store, const SettingsKey& key, const char* name) {
  std::uint8_t bytes[4] = {};
  if (!store.ReadAsStored(key, name, bytes, sizeof bytes).read()) return 0.0f;
  const float amount = GetAmountF32(bytes);
  return amount > 0.0f ? amount : 0.0f;
}

void WriteAddedCount(const SettingsStore& store, const SettingsKey& key, const char* name,
                     std::uint32_t value, std::uint32_t absent) {
  if (value == absent) {
    store.DeleteValue(key, name);
  } else {
    store.WriteDwordValue(key, name, value);
  }
}

void WriteAddedAmount(const SettingsStore& store, const SettingsKey& key, const char* name,
                      float amount) {
  if (amount == 0.0f) {
    store.DeleteValue(key, name);
    return;
  }
  std::uint8_t bytes[4];
  PutF32(bytes, amount);
  store.WriteBinaryValue(key, name, bytes, sizeof bytes);
}

void WriteRulesAndPlan(const SettingsStore& store, const SettingsKey& key,
                       const BillingRules& rules, const PlanSettings& plan) {
  const BillingRules absent;
  WriteAddedAmount(store, key, "ConnectionFee", rules.connectionFee);
  WriteAddedCount(store, key, "FirstPeriod", rules.firstPeriod, absent.firstPeriod);
  WriteAddedCount(store, key, "Increment", rules.increment, absent.increment);
  WriteAddedCount(store, key, "RateAtStart", rules.rateAtStart ? 1 : 0, 0);
  WriteAddedCount(store, key, "RoundUp", rules.roundUp ? 1 : 0, 0);
  WriteAddedAmount(store, key, "VolumeRate", rules.volumeRate);
  WriteAddedCount(store, key, "VolumeFirst", rules.volumeFirst, absent.volumeFirst);
  WriteAddedCount(store, key, "VolumeStep", rules.volumeStep, absent.volumeStep);
  const PlanSettings none;
  WriteAddedCount(store, key, "PeriodDay", plan.periodDay, none.periodDay);
  WriteAddedCount(store, key, "IncludedMinutes", plan.includedMinutes, none.includedMinutes);
  WriteAddedCount(store, key, "IncludedMB", plan.includedMB, none.includedMB);
  WriteAddedAmount(store, key, "PeriodFee", plan.periodFee);
}

void ReadRulesAndPlan(const SettingsStore& store, const SettingsKey& key, BillingRules& rules,
                      PlanSettings& plan) {
  const BillingRules absent;
  rules.connectionFee = ReadAddedAmount(store, key, "ConnectionFee");
  rules.firstPeriod =
      ReadAddedCount(store, key, "FirstPeriod", absent.firstPeriod, 0, kLongestChargingSeconds);
  rules.increment =
      ReadAddedCount(store, key, "Increment", absent.increment, 1, kLongestChargingSeconds);
  rules.rateAtStart = ReadAddedCount(store, key, "RateAtStart", 0, 0, 1) != 0;
  rules.roundUp = ReadAddedCount(store, key, "RoundUp", 0, 0, 1) != 0;
  rules.volumeRate = ReadAddedAmount(store, key, "VolumeRate");
  rules.volumeFirst =
      ReadAddedCount(store, key, "VolumeFirst", absent.volumeFirst, 0, kLargestVolumeKB);
  rules.volumeStep = ReadAddedCount(store, key, "VolumeStep", absent.volumeStep, 1, kLargestVolumeKB);
  const PlanSettings none;
  plan.periodDay = ReadAddedCount(store, key, "PeriodDay", none.periodDay, 1, kLastPeriodDay, true);
  plan.includedMinutes =
      ReadAddedCount(store, key, "IncludedMinutes", none.includedMinutes, 0, kLargestIncluded);
  plan.includedMB = ReadAddedCount(store, key, "IncludedMB", none.includedMB, 0, kLargestIncluded);
  plan.periodFee = ReadAddedAmount(store, key, "PeriodFee");
}

// The stored form of the settings, in the order they are written; a save cut short between two
// values is finished or dropped as a whole (FinishSave).
void WriteSettings(const SettingsStore& store, const SettingsKey& key,
                   const ChargeSettings& settings) {
  std::uint8_t block[kCallChargeInfoBytes];
  EncodeCallChargeInfo(settings.charge, block);
  store.WriteBinaryValue(key, "CallChargeInfo", block, sizeof block);
  store.WriteDwordValue(key, "MinChargeOn", settings.minChargeOn);
  std::uint8_t minCharge[4];
  PutF32(minCharge, settings.minCharge);
  store.WriteBinaryValue(key, "MinCharge", minCharge, sizeof minCharge);
  WriteRulesAndPlan(store, key, settings.rules, settings.plan);
  SaveDiscountList(store, key, settings.discounts);
}

// Each value with its default, which a read writes back when the value is missing (the rules and the
// plan excepted: ReadRulesAndPlan).
void ReadSettings(const SettingsStore& store, const SettingsKey& key, ChargeSettings& settings) {
  std::uint8_t block[kCallChargeInfoBytes] = {};
  store.ReadBinaryValue(key, "CallChargeInfo", block, nullptr, sizeof block);
  DecodeCallChargeInfo(block, settings.charge);
  settings.minChargeOn = store.ReadDwordValue(key, "MinChargeOn", 1);
  std::uint8_t minCharge[4] = {};
  std::uint8_t minChargeDefault[4];
  PutU32(minChargeDefault, kMinChargeDefaultBits);
  store.ReadBinaryValue(key, "MinCharge", minCharge, minChargeDefault, sizeof minCharge);
  settings.minCharge = GetAmountF32(minCharge);
  ReadRulesAndPlan(store, key, settings.rules, settings.plan);
  settings.discounts = LoadDiscountList(store, key);
}

// Finishes a committed save, or drops one that never committed.
void FinishSave(const SettingsStore& store, const SettingsKey& key) {
  if (!store.SubkeyExists(key, kSavingKey)) return;
  {
    SettingsKey saving = store.OpenSubkey(key, kSavingKey);
    std::uint8_t committed[4] = {};
    const SettingsStore::StoredValue commit =
        store.ReadAsStored(saving, kCommittedValue, committed, sizeof committed);
    if (commit.read() && commit.size == sizeof committed && GetU32(committed) == 1) {
      ChargeSettings saved;
      ReadSettings(store, saving, saved);
      store.WriteDwordValue(key, "UseDefault", 0);
      WriteSettings(store, key, saved);
    }
    // The commit goes first, so a crash while the copy is removed finishes nothing half-written.
    store.DeleteValue(saving, kCommittedValue);
    store.DeleteAllSubkeys(saving);
  }
  store.DeleteSubkey(key, kSavingKey);
}

}  // namespace

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
  FinishSave(store_, key);
  profile.useDefault = isDefault ? 0 : store_.ReadDwordValue(key, "UseDefault", 1);

  if (profile.useDefault != 0) {
    // Without a live `.Default` record, the stored one stands in for it just for this copy; it is
    // freed on return, and the reference to it with it.
    std::shared_ptr<const ChargeProfile> source = DefaultProfile();
    if (!source) source = Load(kDefaultProfileName, true);
    static_cast<ChargeSettings&>(profile) = *source;  // the settings alone, not the name
    profile.useDefault = 1;
    profile.isDefaultProfile = 0;
    return;
  }

  ReadSettings(store_, key, profile);
  if (isDefault) defaultProfile_ = record;
}

void ProfileLibrary::SaveChargeProfile(const ChargeProfile& profile) const {
  char name[kNameChars];
  CopyBoundedText(name, kNameChars, profile.name);
  SettingsKey key = OpenProfileKey(name);
  // An earlier save cut short is finished first, or its copy would later overwrite this one.
  FinishSave(store_, key);
  const std::uint32_t useDefault = profile.isDefaultProfile ? 0 : profile.useDefault;
  if (useDefault != 0) {
    // One value: the account's own settings stay as they were stored.
    store_.WriteDwordValue(key, "UseDefault", useDefault);
    return;
  }
  {
    SettingsKey saving = store_.OpenSubkey(key, kSavingKey);
    WriteSettings(store_, saving, profile);
    store_.WriteDwordValue(saving, kCommittedValue, 1);
  }
  FinishSave(store_, key);
}

}  // namespace tollwick
