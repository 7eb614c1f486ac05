#pragma once
// Loading and saving charge profiles, and the one `.Default` record that accounts with "UseDefault"
// take their settings from. The library only observes that record (whoever loaded it owns it)
// through a weak reference, so the reference can never outlive its record: once the record is
// gone, the library has no `.Default` record.

#include <memory>

#include "charging/charge_profile.h"
#include "platform/settings_store.h"

namespace tollwick {

class ProfileLibrary {
 public:
  // A loaded profile on the heap, so that the library can observe the `.Default` one. A copy of the
  // record itself (ChargeProfile is a value) is never the `.Default` record.
  using Owned = std::shared_ptr<ChargeProfile>;

  explicit ProfileLibrary(const SettingsStore& store) : store_(store) {}
  ProfileLibrary(const ProfileLibrary&) = delete;
  ProfileLibrary& operator=(const ProfileLibrary&) = delete;

  const SettingsStore& store() const { return store_; }
  // The `.Default` record loaded last and still alive, or null.
  std::shared_ptr<const ChargeProfile> DefaultProfile() const { return defaultProfile_.lock(); }

  // A new record with the name (cut to a name field) and the `.Default` flag, loaded.
  Owned Load(const char* name, bool isDefaultProfile);

  // Fills the record from the registry; its name and `isDefaultProfile` must be set. Whatever it
  // held is replaced. Loading `.Default` makes it the record accounts copy from; an account with
  // "UseDefault" loaded while there is none gets the stored `.Default` settings. A stored amount
  // (a rate, the minimum charge, a discount's "Percent" or "FreeMins") that is not a finite number
  // loads as 0.
  void LoadChargeProfile(const Owned& profile);
  // Writes "UseDefault" and, when it is 0, the rates, the minimum charge and the discounts. The
  // `.Default` profile always writes "UseDefault" 0.
  void SaveChargeProfile(const ChargeProfile& profile) const;

 private:
  SettingsKey OpenProfileKey(const char* name) const;

  const SettingsStore& store_;
  std::weak_ptr<const ChargeProfile> defaultProfile_;
};

}  // namespace tollwick
