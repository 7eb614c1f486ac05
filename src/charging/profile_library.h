#pragma once
// Loading, saving, copying and freeing charge profiles, and the one `.Default` record that accounts
// with "UseDefault" take their settings from. The library only refers to that record (the caller that
// loaded it owns it); freeing it clears the reference, so the library never reads a freed record.

#include <memory>

#include "charging/charge_profile.h"
#include "platform/settings_store.h"

namespace tollwick {

class ProfileLibrary {
 public:
  // Frees a heap profile through its library (see FreeChargeProfile).
  struct Deleter {
    ProfileLibrary* library = nullptr;
    void operator()(ChargeProfile* profile) const;
  };
  using Owned = std::unique_ptr<ChargeProfile, Deleter>;

  explicit ProfileLibrary(const SettingsStore& store) : store_(store) {}
  ProfileLibrary(const ProfileLibrary&) = delete;
  ProfileLibrary& operator=(const ProfileLibrary&) = delete;

  const SettingsStore& store() const { return store_; }
  // The `.Default` record loaded last and not yet freed, or null.
  const ChargeProfile* DefaultProfile() const { return defaultProfile_; }

  // A new record with the name (cut to a name field) and the `.Default` flag, loaded.
  Owned Load(const char* name, bool isDefaultProfile);
  // Takes a record allocated with new, so that it is freed through the library.
  Owned Adopt(ChargeProfile* profile) { return Owned(profile, Deleter{this}); }
  // A copy with discounts of its own; it is not the `.Default` record even when the original is.
  Owned Copy(const ChargeProfile& profile);

  // Fills the record from the registry; its name and `isDefaultProfile` must be set. A list the
  // record already holds is freed first. Loading `.Default` makes it the record accounts copy from;
  // an account with "UseDefault" loaded while there is none gets the stored `.Default` settings.
  void LoadChargeProfile(ChargeProfile& profile);
  // Writes "UseDefault" and, when it is 0, the rates, the minimum charge and the discounts. The
  // `.Default` profile always writes "UseDefault" 0.
  void SaveChargeProfile(const ChargeProfile& profile) const;
  // Frees the discounts and the record (allocated with new); clears the `.Default` reference when
  // it is this record.
  void FreeChargeProfile(ChargeProfile* profile);

 private:
  SettingsKey OpenProfileKey(const char* name) const;

  const SettingsStore& store_;
  ChargeProfile* defaultProfile_ = nullptr;
};

}  // namespace tollwick
