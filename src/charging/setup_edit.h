#pragma once
// What the Setup tab edits, without its window: every profile (".Default" first, then one per
// dial-up entry) held in memory while the page is open, the rules of its edits, and the one save on
// OK. Nothing reaches the registry before SaveAll, so dropping the model is the Cancel.

#include <cstddef>
#include <string>
#include <vector>

#include "charging/charge_profile.h"
#include "charging/profile_library.h"

namespace tollwick {

// An amount the user may store as a rate or a minimum charge: a number, not below 0, since a
// negative price would let a call lower the bill, and not above kLargestAmount, which keeps every
// sum of it finite.
bool AmountAccepted(double amount);

// Whether a discount may carry this name in the profile: not empty, and not stored under the same
// key as another of its discounts (DiscountKeyName's backslash rule, then equal without regard to
// the case of a to z). `editing` is the position of the discount being renamed, which may keep its
// own name; kNone when the name is for a new one.
constexpr std::size_t kNone = static_cast<std::size_t>(-1);
bool DiscountNameAccepted(const ChargeProfile& profile, const char* name,
                          std::size_t editing = kNone);

// What the page's controls hold for the account shown.
struct ShownSettings {
  bool useDefault = false;
  bool minChargeOn = false;
  double minCharge = 0.0;
  // The minimum charge field still holds the amount as it was shown: nothing was typed into it.
  bool minChargeAsShown = false;
};

// Which controls take input for the account shown. An account on ".Default" settings shows them
// but lets nothing but its switch change them; "&e" goes with the list it edits.
struct SetupEnabled {
  bool useDefaultBox = false;
  bool settings = false;  // "&Rates...", "&Billing...", "+", "-", "&e", "Minimum charge", the list
  bool minChargeField = false;
};
SetupEnabled EnabledFor(const ChargeProfile& profile, const ShownSettings& shown);

class SetupEdit {
 public:
  // Loads ".Default" and then the entries' profiles, each name cut as the call in progress cuts it
  // (ProfileLibrary::Load), so an account here and its calls find the same key. Accounts on the
  // default settings start from copies of ".Default" as loaded now.
  SetupEdit(ProfileLibrary& library, const std::vector<std::string>& entryNames);

  std::size_t size() const { return profiles_.size(); }
  // Position 0 is ".Default".
  ChargeProfile& profile(std::size_t index) { return *profiles_[index]; }
  const ChargeProfile& profile(std::size_t index) const { return *profiles_[index]; }

  ShownSettings Shown(std::size_t index) const;
  // Takes the controls' values into the profile; false (and nothing taken) when a minimum charge
  // typed into an enabled field is refused by AmountAccepted. An amount nobody typed is kept as
  // stored, whatever it is, and so is the stored one when a refused amount was typed into a field
  // since disabled: a stored value can neither trap the page nor be changed by being shown.
  bool Store(std::size_t index, const ShownSettings& shown);

  // Appends a new discount; false when its name is refused, and the profile is unchanged.
  bool AddDiscount(std::size_t index, const Discount& discount);
  // Puts the edited copy of discount `position` in its place; false when its new name is refused,
  // and the discount stays as it was.
  bool ReplaceDiscount(std::size_t index, std::size_t position, const Discount& edited);
  // Removes the discounts at these positions (any order, repeats ignored); the others keep their
  // order.
  void RemoveDiscounts(std::size_t index, std::vector<std::size_t> positions);

  // Writes every profile, changed or not, ".Default" first.
  void SaveAll() const;

 private:
  ProfileLibrary& library_;
  std::vector<ProfileLibrary::Owned> profiles_;
};

}  // namespace tollwick
