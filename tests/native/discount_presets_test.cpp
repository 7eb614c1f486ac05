// Discount presets on the in-memory registry: listing, replacing by name, loading with defaults and
// the names a registry key cannot take.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "charging/discount_presets.h"
#include "discount_checks.h"
#include "fake_registry.h"
#include "platform/little_endian.h"

namespace tollwick {
namespace {

using Names = std::vector<std::string>;

const std::string kPresets = std::string(kRootPath) + "\\.Presets\\Discounts";

class DiscountPresetsTest : public ::testing::Test {
 protected:
  Discount Load(const char* name) {
    Discount d;
    CopyBoundedText(d.name, kNameChars, name);
    LoadPreset(store, d);
    return d;
  }

  FakeRegistry registry;
  SettingsStore store{registry};
};

TEST_F(DiscountPresetsTest, NoPresetsListsNothingAndMakesThePresetsKey) {
  EXPECT_EQ(Names{}, PresetNames(store));
  EXPECT_TRUE(registry.KeyExists(kHkeyLocalMachine, kPresets));
  EXPECT_EQ(0u, registry.OpenHandleCount());
}

TEST_F(DiscountPresetsTest, SavedPresetsAreListedInEnumerationOrder) {
  SavePreset(store, MakeDiscount("Weekend free", kFreeCall, 0.0f, 0.0f));
  SavePreset(store, MakeDiscount("Evening half", kPercentageDiscount, 50.0f, 0.0f));
  EXPECT_EQ(registry.SubkeyNames(kHkeyLocalMachine, kPresets), PresetNames(store));
  EXPECT_EQ((Names{"Evening half", "Weekend free"}), PresetNames(store));
  EXPECT_EQ(0u, registry.OpenHandleCount());
}

TEST_F(DiscountPresetsTest, SavingUnderAnExistingNameReplacesItsValuesAndKeepsOthers) {
  const Discount other = MakeDiscount("Evening half", kPercentageDiscount, 50.0f, 0.0f);
  SavePreset(store, other);
  SavePreset(store, MakeDiscount("Weekend free", kFreeCall, 0.0f, 0.0f));
  // Registry names ignore case: this is the same preset, which keeps the name it was stored under.
  Discount replacement = MakeDiscount("WEEKEND FREE", kTimeFree, 0.0f, 30.0f);
  replacement.someTimes = 0;
  replacement.days[3] = 1;
  replacement.certain = 0;
  replacement.from = static_cast<std::int32_t>(MakePackedTime(6, 5));
  replacement.to = -1;  // a time the dialog could not read is stored as it is
  SavePreset(store, replacement);

  EXPECT_EQ((Names{"Evening half", "Weekend free"}), PresetNames(store));
  ExpectSameDiscountValues(replacement, Load("Weekend free"));
  ExpectSameDiscountValues(other, Load("Evening half"));
}

TEST_F(DiscountPresetsTest, LoadingFillsAllFourteenValuesAndKeepsTheChosenName) {
  const Discount stored = MakeDiscount("Night owl", kTimeFree, 12.5f, 90.0f);
  SavePreset(store, stored);
  Discount loaded = NewDiscount();
  CopyBoundedText(loaded.name, kNameChars, "night OWL");
  LoadPreset(store, loaded);
  EXPECT_STREQ("night OWL", loaded.name);
  ExpectSameDiscountValues(stored, loaded);
}

TEST_F(DiscountPresetsTest, AnAbsentPresetLoadsTheDiscountDefaultsAndStoresThem) {
  Discount loaded = NewDiscount();
  CopyBoundedText(loaded.name, kNameChars, "Gone");
  LoadPreset(store, loaded);
  ExpectSameDiscountValues(Discount{}, loaded);
  EXPECT_EQ(14u, registry.ValueNames(kHkeyLocalMachine, kPresets + "\\Gone").size());
  EXPECT_EQ(Names{"Gone"}, PresetNames(store));
}

// A name is one key name: nothing lands on the presets key itself and nothing is nested, and either
// spelling of a name finds the preset that was stored for it.
TEST_F(DiscountPresetsTest, NamesAKeyCannotTakeAreStoredUnderOneSafeKey) {
  struct Case {
    const char* saved;
    const char* listed;
    const char* loadedAs;
  };
  const Case cases[] = {
      {"Peak\\Off", "Peak/Off", "Peak/Off"},
      {"a\\b\\c", "a/b/c", "a\\b\\c"},
      {"", "Discount", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.listed);
    FakeRegistry fresh;
    SettingsStore freshStore{fresh};
    const Discount stored = MakeDiscount(c.saved, kFreeCall, 3.0f, 4.0f);
    SavePreset(freshStore, stored);
    EXPECT_EQ(Names{c.listed}, PresetNames(freshStore));
    EXPECT_EQ(Names{}, fresh.SubkeyNames(kHkeyLocalMachine, kPresets + "\\" + c.listed));
    EXPECT_EQ(Names{}, fresh.ValueNames(kHkeyLocalMachine, kPresets));
    Discount loaded;
    CopyBoundedText(loaded.name, kNameChars, c.loadedAs);
    LoadPreset(freshStore, loaded);
    ExpectSameDiscountValues(stored, loaded);
  }
}

TEST_F(DiscountPresetsTest, AKeyNameTooLongForANameIsLeftOutOfTheList) {
  SavePreset(store, MakeDiscount("Short", kFreeCall, 0.0f, 0.0f));
  const std::string longName(kNameChars + 5, 'x');
  registry.PutValue(kHkeyLocalMachine, kPresets + "\\" + longName, "Mode",
                    kRegDword, {2, 0, 0, 0});
  EXPECT_EQ(Names{"Short"}, PresetNames(store));
}

}  // namespace
}  // namespace tollwick
