// The Setup tab's model on the in-memory registry: what it loads, the refusals (discount names,
// negative amounts), the "Use setup for .Default" switch, removing several discounts, and that
// nothing is written before SaveAll.

#include "charging/setup_edit.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "discount_checks.h"
#include "fake_registry.h"

namespace tollwick {
namespace {

using Names = std::vector<std::string>;

Names DiscountNames(const ChargeProfile& profile) {
  Names names;
  for (const Discount& d : profile.discounts) names.push_back(d.name);
  return names;
}

class SetupEditTest : public ::testing::Test {
 protected:
  // An account stored with its own settings and these discounts.
  void StoreAccount(const char* name, float dayRate, const Names& discounts) {
    ChargeProfile profile;
    CopyBoundedText(profile.name, kNameChars, name);
    profile.charge.dayRate = dayRate;
    profile.minChargeOn = 1;
    profile.minCharge = 0.1f;
    for (const std::string& d : discounts) profile.discounts.push_back(Named(d.c_str()));
    library.SaveChargeProfile(profile);
  }

  FakeRegistry registry;
  SettingsStore store{registry};
  ProfileLibrary library{store};
};

TEST(AmountAcceptedTest, RefusesWhatWouldLowerTheBill) {
  const struct {
    double amount;
    bool accepted;
  } cases[] = {
      {0.0, true},    {0.05, true},  {12.0, true},  {-0.0, true},
      {-0.01, false}, {-5.0, false}, {1e39, false},  // beyond a single float
      {std::numeric_limits<double>::quiet_NaN(), false},
      {-std::numeric_limits<double>::infinity(), false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.accepted, AmountAccepted(c.amount)) << c.amount;
}

TEST(DiscountNameTest, RefusesEmptyNamesAndNamesOfTheSameKey) {
  ChargeProfile profile;
  for (const char* name : {"Evening", "a\\b", "Week end"}) profile.discounts.push_back(Named(name));
  const struct {
    const char* name;
    std::size_t editing;
    bool accepted;
  } cases[] = {
      {"", kNone, false},
      {"evening", kNone, false},   // case of a to z ignored
      {"EVENING", kNone, false},
      {"Evening 2", kNone, true},
      {"A/B", kNone, false},       // stored under the same key as "a\\b"
      {"a/b", kNone, false},
      {"a\\\\b", kNone, true},
      {"Discount", kNone, true},   // the key an empty name would take, but empty is refused
      {"evening", 0, true},        // a rename of "Evening" may keep its own key
      {"A/B", 0, false},           // but not take another's
      {"", 0, false},
      {"week END", 2, true},
      {"week END", 1, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.accepted, DiscountNameAccepted(profile, c.name, c.editing))
        << c.name << " editing " << c.editing;
  }
}

TEST(EnabledForTest, SettingsTakeInputOnlyOffTheDefaultSwitch) {
  ChargeProfile defaults;
  defaults.isDefaultProfile = 1;
  ChargeProfile account;
  const struct {
    const ChargeProfile* profile;
    ShownSettings shown;
    SetupEnabled expected;
  } cases[] = {
      {&defaults, {false, true, 0}, {false, true, true}},
      {&defaults, {false, false, 0}, {false, true, false}},
      {&defaults, {true, true, 0}, {false, true, true}},  // .Default ignores the switch
      {&account, {false, true, 0}, {true, true, true}},
      {&account, {false, false, 0}, {true, true, false}},
      {&account, {true, true, 0}, {true, false, false}},
      {&account, {true, false, 0}, {true, false, false}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const SetupEnabled got = EnabledFor(*cases[i].profile, cases[i].shown);
    EXPECT_EQ(cases[i].expected.useDefaultBox, got.useDefaultBox) << i;
    EXPECT_EQ(cases[i].expected.settings, got.settings) << i;
    EXPECT_EQ(cases[i].expected.minChargeField, got.minChargeField) << i;
  }
}

TEST_F(SetupEditTest, LoadsDefaultFirstThenEveryEntryWithNamesCutAsACallCutsThem) {
  StoreAccount("Acme", 0.04f, {"Evening"});
  const std::string longName(120, 'x');
  SetupEdit edit(library, {"Acme", "Fresh", longName});
  ASSERT_EQ(4u, edit.size());
  EXPECT_STREQ(".Default", edit.profile(0).name);
  EXPECT_EQ(1u, edit.profile(0).isDefaultProfile);
  EXPECT_EQ(0u, edit.profile(1).useDefault);
  EXPECT_EQ(0.04f, edit.profile(1).charge.dayRate);
  EXPECT_EQ(Names({"Evening"}), DiscountNames(edit.profile(1)));
  EXPECT_EQ(1u, edit.profile(2).useDefault);
  EXPECT_EQ(std::string(kNameChars - 1, 'x'), edit.profile(3).name);
  EXPECT_EQ(library.Load(longName.c_str(), false)->name, std::string(edit.profile(3).name));
}

TEST_F(SetupEditTest, NothingIsWrittenUntilSaveAllAndThenEveryProfile) {
  StoreAccount("Acme", 0.04f, {"Evening"});
  {
    SetupEdit first(library, {"Acme", "Fresh"});  // fills in the defaults of what was never stored
  }
  registry.ClearWriteLog();
  {
    SetupEdit edit(library, {"Acme", "Fresh"});
    ASSERT_TRUE(edit.Store(1, {false, false, 0.5}));
    ASSERT_TRUE(edit.AddDiscount(1, Named("Weekend")));
    edit.RemoveDiscounts(1, {0});
    edit.profile(0).charge.dayRate = 9.0f;
  }  // dropped: the page's Cancel
  EXPECT_EQ(Names{}, registry.WriteLog());

  SetupEdit edit(library, {"Acme", "Fresh"});
  ASSERT_TRUE(edit.Store(1, {false, false, 0.5}));
  ASSERT_TRUE(edit.AddDiscount(1, Named("Weekend")));
  edit.SaveAll();
  ProfileLibrary::Owned defaults = library.Load(kDefaultProfileName, true);
  ProfileLibrary::Owned acme = library.Load("Acme", false);
  EXPECT_EQ(0u, acme->minChargeOn);
  EXPECT_EQ(0.5f, acme->minCharge);
  EXPECT_EQ(Names({"Evening", "Weekend"}), DiscountNames(*acme));
  EXPECT_EQ(1u, library.Load("Fresh", false)->useDefault);
}

// Only what the user typed into an enabled field is refused; an amount nobody typed stays as
// stored, here a negative one an older version let through.
TEST_F(SetupEditTest, OnlyANegativeMinimumChargeTypedIntoAnEnabledFieldIsRefused) {
  const struct {
    const char* name;
    ShownSettings shown;
    bool accepted;
    float kept;
  } cases[] = {
      {"typed -0.01, field enabled", {false, true, -0.01, false}, false, -0.505f},
      {"typed -3, field enabled", {false, true, -3.0, false}, false, -0.505f},
      {"typed 0, field enabled", {false, true, 0.0, false}, true, 0.0f},
      {"typed -1, then unticked", {false, false, -1.0, false}, true, -0.505f},
      {"typed 0.25, then unticked", {false, false, 0.25, false}, true, 0.25f},
      {"typed -1, then on .Default", {true, true, -1.0, false}, true, -0.505f},
      {"shown, field enabled", {false, true, -0.5, true}, true, -0.505f},
      {"shown, field disabled", {false, false, -0.5, true}, true, -0.505f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetupEdit edit(library, {"Acme"});
    edit.profile(1).minCharge = -0.505f;
    EXPECT_EQ(c.accepted, edit.Store(1, c.shown));
    EXPECT_EQ(c.kept, edit.profile(1).minCharge);
    // Nothing of refused controls is taken.
    EXPECT_EQ(c.accepted ? c.shown.useDefault : true, edit.profile(1).useDefault != 0);
  }
}

TEST_F(SetupEditTest, UseDefaultSwitchKeepsItsStateAndTurnedOffStartsFromTheDefaultCopy) {
  // .Default has rates; the two accounts are new, so both start on it.
  ChargeProfile defaults;
  CopyBoundedText(defaults.name, kNameChars, kDefaultProfileName);
  defaults.isDefaultProfile = 1;
  defaults.charge.eveningRate = 0.02f;
  defaults.discounts.push_back(Named("Evening"));
  library.SaveChargeProfile(defaults);
  SetupEdit edit(library, {"One", "Two"});

  // Turned off on "One", then switched away and back: it shows its own copy, editable.
  ASSERT_TRUE(edit.Store(1, {false, true, 0.05}));
  EXPECT_EQ(0.02f, edit.profile(1).charge.eveningRate);
  EXPECT_EQ(Names({"Evening"}), DiscountNames(edit.profile(1)));
  EXPECT_TRUE(EnabledFor(edit.profile(1), edit.Shown(1)).settings);
  // The copy is its own: editing it leaves .Default and "Two" alone.
  ASSERT_TRUE(edit.AddDiscount(1, Named("Late")));
  EXPECT_EQ(Names({"Evening"}), DiscountNames(edit.profile(0)));
  EXPECT_EQ(Names({"Evening"}), DiscountNames(edit.profile(2)));

  // Ticked again: stays ticked and locked after a switch.
  ASSERT_TRUE(edit.Store(1, {true, true, 0.05}));
  EXPECT_TRUE(edit.Shown(1).useDefault);
  EXPECT_FALSE(EnabledFor(edit.profile(1), edit.Shown(1)).settings);

  // .Default cannot be switched to itself.
  ASSERT_TRUE(edit.Store(0, {true, true, 0.05}));
  EXPECT_EQ(0u, edit.profile(0).useDefault);
}

TEST_F(SetupEditTest, AddingAndEditingRefuseClashingNamesAndKeepTheRecord) {
  StoreAccount("Acme", 0.04f, {"Evening", "Weekend"});
  SetupEdit edit(library, {"Acme"});
  const std::size_t weekend = DiscountNames(edit.profile(1))[0] == "Weekend" ? 0 : 1;

  EXPECT_FALSE(edit.AddDiscount(1, Named("evening")));
  EXPECT_FALSE(edit.AddDiscount(1, Named("")));
  EXPECT_TRUE(edit.AddDiscount(1, Named("Evening 2", kFreeCall)));
  EXPECT_EQ(3u, edit.profile(1).discounts.size());

  Discount renamed = edit.profile(1).discounts[weekend];
  CopyBoundedText(renamed.name, kNameChars, "EVENING");
  renamed.percent = 50.0f;
  EXPECT_FALSE(edit.ReplaceDiscount(1, weekend, renamed));
  EXPECT_STREQ("Weekend", edit.profile(1).discounts[weekend].name);
  EXPECT_EQ(0.0f, edit.profile(1).discounts[weekend].percent);

  CopyBoundedText(renamed.name, kNameChars, "weekend");
  EXPECT_TRUE(edit.ReplaceDiscount(1, weekend, renamed));
  EXPECT_STREQ("weekend", edit.profile(1).discounts[weekend].name);
  EXPECT_EQ(50.0f, edit.profile(1).discounts[weekend].percent);
  EXPECT_FALSE(edit.ReplaceDiscount(1, 7, renamed));
}

TEST_F(SetupEditTest, RemovingSeveralDiscountsRemovesExactlyThose) {
  const struct {
    std::vector<std::size_t> positions;
    Names left;
  } cases[] = {
      {{0, 2, 4}, {"B", "D"}},
      {{4, 0, 2}, {"B", "D"}},
      {{1, 1, 3}, {"A", "C", "E"}},
      {{0, 1, 2, 3, 4}, {}},
      {{}, {"A", "B", "C", "D", "E"}},
      {{9}, {"A", "B", "C", "D", "E"}},
  };
  for (const auto& c : cases) {
    SetupEdit edit(library, {});
    for (const char* name : {"A", "B", "C", "D", "E"}) ASSERT_TRUE(edit.AddDiscount(0, Named(name)));
    edit.RemoveDiscounts(0, c.positions);
    EXPECT_EQ(c.left, DiscountNames(edit.profile(0)));
  }
}

}  // namespace
}  // namespace tollwick
