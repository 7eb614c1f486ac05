#include "charging/setup_edit.h"

#include <algorithm>
#include <cstring>

#include "platform/little_endian.h"

namespace tollwick {
namespace {

// The key a name is stored under, folded as the registry folds key names for these letters.
void FoldedKey(const char* name, char out[kNameChars]) {
  DiscountKeyName(name, 1, out);
  for (char* c = out; *c != '\0'; ++c) *c = FoldCase(*c);
}

}  // namespace

bool AmountAccepted(double amount) {
  // NaN fails both comparisons; what a float cannot hold, or holds too large to be summed safely,
  // is no amount either.
  return amount >= 0.0 && amount <= kLargestAmount;
}

bool DiscountNameAccepted(const ChargeProfile& profile, const char* name, std::size_t editing) {
  if (name == nullptr || name[0] == '\0') return false;
  char wanted[kNameChars];
  FoldedKey(name, wanted);
  for (std::size_t i = 0; i < profile.discounts.size(); ++i) {
    if (i == editing) continue;
    char other[kNameChars];
    FoldedKey(profile.discounts[i].name, other);
    if (std::strcmp(wanted, other) == 0) return false;
  }
  return true;
}

SetupEnabled EnabledFor(const ChargeProfile& profile, const ShownSettings& shown) {
  SetupEnabled enabled;
  const bool isDefault = profile.isDefaultProfile != 0;
  enabled.useDefaultBox = !isDefault;
  enabled.settings = isDefault || !shown.useDefault;
  enabled.minChargeField = enabled.settings && shown.minChargeOn;
  return enabled;
}

SetupEdit::SetupEdit(ProfileLibrary& library, const std::vector<std::string>& entryNames)
    : library_(library) {
  // First, so that the accounts on default settings copy this very record.
  profiles_.push_back(library_.Load(kDefaultProfileName, true));
  for (const std::string& entry : entryNames) profiles_.push_back(library_.Load(entry.c_str(), false));
}

ShownSettings SetupEdit::Shown(std::size_t index) const {
  const ChargeProfile& shown = profile(index);
  return {shown.useDefault != 0, shown.minChargeOn != 0, shown.minCharge};
}

bool SetupEdit::Store(std::size_t index, const ShownSettings& shown) {
  ChargeProfile& stored = profile(index);
  const bool typed = !shown.minChargeAsShown;
  const bool accepted = AmountAccepted(shown.minCharge);
  if (typed && !accepted && EnabledFor(stored, shown).minChargeField) return false;
  if (!stored.isDefaultProfile) stored.useDefault = shown.useDefault ? 1 : 0;
  stored.minChargeOn = shown.minChargeOn ? 1 : 0;
  if (typed && accepted) stored.minCharge = static_cast<float>(shown.minCharge);
  return true;
}

bool SetupEdit::AddDiscount(std::size_t index, const Discount& discount) {
  ChargeProfile& edited = profile(index);
  if (!DiscountNameAccepted(edited, discount.name)) return false;
  edited.discounts.push_back(discount);
  return true;
}

bool SetupEdit::ReplaceDiscount(std::size_t index, std::size_t position, const Discount& edited) {
  ChargeProfile& owner = profile(index);
  if (position >= owner.discounts.size()) return false;
  if (!DiscountNameAccepted(owner, edited.name, position)) return false;
  owner.discounts[position] = edited;
  return true;
}

void SetupEdit::RemoveDiscounts(std::size_t index, std::vector<std::size_t> positions) {
  std::vector<Discount>& discounts = profile(index).discounts;
  std::sort(positions.begin(), positions.end());
  positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
  // From the back, so the positions still to go stay where they were.
  for (auto at = positions.rbegin(); at != positions.rend(); ++at) {
    if (*at < discounts.size()) discounts.erase(discounts.begin() + static_cast<std::ptrdiff_t>(*at));
  }
}

void SetupEdit::SaveAll() const {
  for (const ProfileLibrary::Owned& each : profiles_) library_.SaveChargeProfile(*each);
}

}  // namespace tollwick
