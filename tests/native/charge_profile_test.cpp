// Charge profiles on the in-memory registry: the stored layout byte by byte, the "UseDefault" rules,
// the `.Default` reference's lifetime, discount lists and names.

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "charging/charge_profile.h"
#include "charging/profile_library.h"
#include "discount_checks.h"
#include "fake_registry.h"
#include "stored_bytes.h"
#include "platform/little_endian.h"

namespace tollwick {
namespace {

using Names = std::vector<std::string>;

const std::string kRoot = kRootPath;
const std::string kDefaultKey = kRoot + "\\.Default";
const std::string kAcmeKey = kRoot + "\\Acme";

const Names kDiscountValueOrder = {"Mode",     "Percent",  "FreeMins",  "SomeTimes", "Sunday",
                                   "Monday",   "Tuesday",  "Wednesday", "Thursday",  "Friday",
                                   "Saturday", "Certain",  "From",      "To"};

const CallChargeInfo kRates{static_cast<std::int32_t>(MakePackedTime(8, 0)),
                            static_cast<std::int32_t>(MakePackedTime(18, 0)), 0.04f, 0.01f,
                            0.005f};

class ChargeProfileTest : public ::testing::Test {
 protected:
  Bytes Stored(const std::string& path, const char* name) const {
    return registry.ValueBytes(kHkeyLocalMachine, path, name).value_or(Bytes{});
  }
  std::uint32_t TypeOf(const std::string& path, const char* name) const {
    return registry.ValueType(kHkeyLocalMachine, path, name).value_or(0);
  }
  // An account stored with its own settings.
  void StoreOwnSettings(const char* name, const CallChargeInfo& rates, float minCharge,
                        const std::vector<Discount>& discounts) {
    ChargeProfile profile;
    CopyBoundedText(profile.name, kNameChars, name);
    profile.useDefault = 0;
    profile.charge = rates;
    profile.minChargeOn = 1;
    profile.minCharge = minCharge;
    profile.discounts = discounts;
    library.SaveChargeProfile(profile);
  }

  FakeRegistry registry;
  SettingsStore store{registry};
  ProfileLibrary library{store};
};

// ---- Stored form --------------------------------------------------------------------------------

TEST(CallChargeInfoCodec, FieldsAreLittleEndianInRecordOrder) {
  CallChargeInfo info{-2, 0x1234, 1.0f, -2.0f, 0.5f};
  std::uint8_t bytes[kCallChargeInfoBytes];
  EncodeCallChargeInfo(info, bytes);
  const Bytes expected = {0xFE, 0xFF, 0xFF, 0xFF, 0x34, 0x12, 0, 0, 0, 0, 0x80, 0x3F,
                          0,    0,    0,    0xC0, 0,    0,    0, 0x3F};
  EXPECT_EQ(expected, Bytes(bytes, bytes + kCallChargeInfoBytes));
  CallChargeInfo back;
  DecodeCallChargeInfo(bytes, back);
  EXPECT_EQ(-2, back.dayFrom);
  EXPECT_EQ(0x1234, back.dayTo);
  EXPECT_EQ(1.0f, back.dayRate);
  EXPECT_EQ(-2.0f, back.eveningRate);
  EXPECT_EQ(0.5f, back.weekendRate);
}

TEST_F(ChargeProfileTest, AFreshDefaultProfileWritesItsDefaultsAndNoUseDefault) {
  ProfileLibrary::Owned profile = library.Load(kDefaultProfileName, true);
  EXPECT_EQ(0u, profile->useDefault);
  EXPECT_EQ(0, profile->charge.dayFrom);
  EXPECT_EQ(0.0f, profile->charge.weekendRate);
  EXPECT_EQ(1u, profile->minChargeOn);
  EXPECT_EQ(0.05f, profile->minCharge);
  EXPECT_TRUE(profile->discounts.empty());
  EXPECT_EQ(profile.get(), library.DefaultProfile().get());

  EXPECT_EQ(Names({"CallChargeInfo", "MinChargeOn", "MinCharge"}), registry.WriteLog());
  EXPECT_FALSE(registry.ValueExists(kHkeyLocalMachine, kDefaultKey, "UseDefault"));
  EXPECT_EQ(kRegBinary, TypeOf(kDefaultKey, "CallChargeInfo"));
  EXPECT_EQ(Bytes(20, 0), Stored(kDefaultKey, "CallChargeInfo"));
  EXPECT_EQ(kRegDword, TypeOf(kDefaultKey, "MinChargeOn"));
  EXPECT_EQ(U32Bytes(1), Stored(kDefaultKey, "MinChargeOn"));
  EXPECT_EQ(kRegBinary, TypeOf(kDefaultKey, "MinCharge"));
  EXPECT_EQ(Bytes({0xCD, 0xCC, 0x4C, 0x3D}), Stored(kDefaultKey, "MinCharge"));
  EXPECT_TRUE(registry.KeyExists(kHkeyLocalMachine, kDefaultKey + "\\Discounts"));
  EXPECT_EQ(0u, registry.OpenHandleCount());
}

TEST_F(ChargeProfileTest, SavingWritesEveryValueInOrderWithItsTypeAndBytes) {
  Discount evening = MakeDiscount("Evening", kTimeFree, 12.5f, 30.0f);
  StoreOwnSettings("Acme", kRates, 0.1f, {evening});

  // Written beside the stored settings and committed, then copied into place (see the crash-point
  // test), leaving nothing beside them.
  const std::vector<std::string> settings = {
      "CallChargeInfo", "MinChargeOn", "MinCharge", "Mode", "Percent", "FreeMins", "SomeTimes",
      "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Certain",
      "From", "To"};
  std::vector<std::string> written = settings;
  written.push_back("Committed");
  written.push_back("UseDefault");
  written.insert(written.end(), settings.begin(), settings.end());
  EXPECT_EQ(written, registry.WriteLog());
  EXPECT_FALSE(registry.KeyExists(kHkeyLocalMachine, kAcmeKey + "\\Saving"));
  EXPECT_EQ(kRegDword, TypeOf(kAcmeKey, "UseDefault"));
  EXPECT_EQ(U32Bytes(0), Stored(kAcmeKey, "UseDefault"));
  std::uint8_t rates[kCallChargeInfoBytes];
  EncodeCallChargeInfo(kRates, rates);
  EXPECT_EQ(kRegBinary, TypeOf(kAcmeKey, "CallChargeInfo"));
  EXPECT_EQ(Bytes(rates, rates + 20), Stored(kAcmeKey, "CallChargeInfo"));
  EXPECT_EQ(kRegDword, TypeOf(kAcmeKey, "MinChargeOn"));
  EXPECT_EQ(U32Bytes(1), Stored(kAcmeKey, "MinChargeOn"));
  EXPECT_EQ(kRegBinary, TypeOf(kAcmeKey, "MinCharge"));
  EXPECT_EQ(F32Bytes(0.1f), Stored(kAcmeKey, "MinCharge"));

  const std::string key = kAcmeKey + "\\Discounts\\Evening";
  for (const std::string& name : kDiscountValueOrder) {
    const bool isFloat = name == "Percent" || name == "FreeMins";
    EXPECT_EQ(isFloat ? kRegBinary : kRegDword, TypeOf(key, name.c_str())) << name;
    EXPECT_EQ(4u, Stored(key, name.c_str()).size()) << name;
  }
  EXPECT_EQ(U32Bytes(kTimeFree), Stored(key, "Mode"));
  EXPECT_EQ(Bytes({0, 0, 0x48, 0x41}), Stored(key, "Percent"));  // 12.5
  EXPECT_EQ(Bytes({0, 0, 0xF0, 0x41}), Stored(key, "FreeMins"));  // 30.0
  EXPECT_EQ(U32Bytes(1), Stored(key, "SomeTimes"));
  EXPECT_EQ(U32Bytes(1), Stored(key, "Sunday"));
  EXPECT_EQ(U32Bytes(0), Stored(key, "Monday"));
  EXPECT_EQ(U32Bytes(1), Stored(key, "Saturday"));
  EXPECT_EQ(U32Bytes(1), Stored(key, "Certain"));
  EXPECT_EQ(Bytes({30, 8, 0, 0}), Stored(key, "From"));
  EXPECT_EQ(Bytes({45, 17, 0, 0}), Stored(key, "To"));
  EXPECT_EQ(0u, registry.OpenHandleCount());
}

TEST_F(ChargeProfileTest, ADiscountKeyWithoutValuesReadsAndWritesItsDefaults) {
  registry.PutValue(kHkeyLocalMachine, kAcmeKey, "UseDefault", kRegDword, U32Bytes(0));
  store.OpenSettingsKey((kAcmeKey + "\\Discounts\\Bare").c_str());  // a key, no values
  registry.ClearWriteLog();
  ProfileLibrary::Owned acme = library.Load("Acme", false);
  ASSERT_EQ(1u, acme->discounts.size());
  Discount defaults;
  CopyBoundedText(defaults.name, kNameChars, "Bare");
  ExpectSameDiscount(defaults, acme->discounts[0]);

  Names written = registry.WriteLog();
  Names discountWrites(written.end() - 14, written.end());
  EXPECT_EQ(kDiscountValueOrder, discountWrites);
  EXPECT_EQ(Bytes(4, 0), Stored(kAcmeKey + "\\Discounts\\Bare", "Percent"));
  EXPECT_EQ(kRegBinary, TypeOf(kAcmeKey + "\\Discounts\\Bare", "FreeMins"));
  EXPECT_EQ(kRegDword, TypeOf(kAcmeKey + "\\Discounts\\Bare", "To"));
}

TEST_F(ChargeProfileTest, AnOverlongRateBlockIsZeroedAndAShortOneSuppliesItsStart) {
  registry.PutValue(kHkeyLocalMachine, kAcmeKey, "UseDefault", kRegDword, U32Bytes(0));
  registry.PutValue(kHkeyLocalMachine, kAcmeKey, "CallChargeInfo", kRegBinary, Bytes(24, 0x11));
  ProfileLibrary::Owned acme = library.Load("Acme", false);
  EXPECT_EQ(0, acme->charge.dayFrom);
  EXPECT_EQ(0.0f, acme->charge.weekendRate);
  EXPECT_EQ(Bytes(20, 0), Stored(kAcmeKey, "CallChargeInfo"));

  std::uint8_t rates[kCallChargeInfoBytes];
  EncodeCallChargeInfo(kRates, rates);
  registry.PutValue(kHkeyLocalMachine, kAcmeKey, "CallChargeInfo", kRegBinary,
                    Bytes(rates, rates + 12));
  library.LoadChargeProfile(acme);
  EXPECT_EQ(kRates.dayFrom, acme->charge.dayFrom);
  EXPECT_EQ(kRates.dayTo, acme->charge.dayTo);
  EXPECT_EQ(kRates.dayRate, acme->charge.dayRate);
  EXPECT_EQ(0.0f, acme->charge.eveningRate);
  EXPECT_EQ(0.0f, acme->charge.weekendRate);
}

TEST_F(ChargeProfileTest, StoredAmountsThatAreNotFiniteLoadAsZeroAndStayStored) {
  struct Case {
    const char* what;
    std::uint32_t bits;
  };
  const Case cases[] = {{"NaN", 0x7FC00000u}, {"+Inf", 0x7F800000u}, {"-Inf", 0xFF800000u}};
  const std::string discountKey = kAcmeKey + "\\Discounts\\Evening";
  for (const Case& c : cases) {
    Bytes rates(kCallChargeInfoBytes);
    PutI32(&rates[0], static_cast<std::int32_t>(MakePackedTime(8, 0)));
    PutI32(&rates[4], static_cast<std::int32_t>(MakePackedTime(18, 0)));
    for (std::size_t at : {8u, 12u, 16u}) PutU32(&rates[at], c.bits);
    registry.PutValue(kHkeyLocalMachine, kAcmeKey, "UseDefault", kRegDword, U32Bytes(0));
    registry.PutValue(kHkeyLocalMachine, kAcmeKey, "CallChargeInfo", kRegBinary, rates);
    registry.PutValue(kHkeyLocalMachine, kAcmeKey, "MinCharge", kRegBinary, U32Bytes(c.bits));
    registry.PutValue(kHkeyLocalMachine, discountKey, "Percent", kRegBinary, U32Bytes(c.bits));
    registry.PutValue(kHkeyLocalMachine, discountKey, "FreeMins", kRegBinary, U32Bytes(c.bits));

    ProfileLibrary::Owned acme = library.Load("Acme", false);
    EXPECT_EQ(static_cast<std::int32_t>(MakePackedTime(8, 0)), acme->charge.dayFrom) << c.what;
    EXPECT_EQ(static_cast<std::int32_t>(MakePackedTime(18, 0)), acme->charge.dayTo) << c.what;
    EXPECT_EQ(F32Bytes(0.0f), F32Bytes(acme->charge.dayRate)) << c.what;
    EXPECT_EQ(F32Bytes(0.0f), F32Bytes(acme->charge.eveningRate)) << c.what;
    EXPECT_EQ(F32Bytes(0.0f), F32Bytes(acme->charge.weekendRate)) << c.what;
    EXPECT_EQ(F32Bytes(0.0f), F32Bytes(acme->minCharge)) << c.what;
    ASSERT_EQ(1u, acme->discounts.size()) << c.what;
    EXPECT_EQ(F32Bytes(0.0f), F32Bytes(acme->discounts[0].percent)) << c.what;
    EXPECT_EQ(F32Bytes(0.0f), F32Bytes(acme->discounts[0].freeMins)) << c.what;
    // Only the reading is guarded: what is stored stays as it is.
    EXPECT_EQ(rates, Stored(kAcmeKey, "CallChargeInfo")) << c.what;
    EXPECT_EQ(U32Bytes(c.bits), Stored(kAcmeKey, "MinCharge")) << c.what;
    EXPECT_EQ(U32Bytes(c.bits), Stored(discountKey, "FreeMins")) << c.what;
  }
}

TEST(CallChargeInfoCodec, WritesARateAsTheRecordHoldsIt) {
  CallChargeInfo info;
  info.dayRate = std::numeric_limits<float>::infinity();
  std::uint8_t bytes[kCallChargeInfoBytes];
  EncodeCallChargeInfo(info, bytes);
  EXPECT_EQ(0x7F800000u, GetU32(bytes + 8));
}

// ---- Round trips and discount lists -------------------------------------------------------------

TEST_F(ChargeProfileTest, AProfileWithThreeDiscountsReloadsEqualInEnumerationOrder) {
  const Discount zeta = MakeDiscount("zeta", kFreeCall, 0.0f, 0.0f);
  const Discount alpha = MakeDiscount("Alpha", kPercentageDiscount, 50.0f, 0.0f);
  const Discount beta = MakeDiscount("beta", kTimeFree, 0.0f, 10.0f);
  StoreOwnSettings("Acme", kRates, 0.25f, {zeta, alpha, beta});

  ProfileLibrary::Owned acme = library.Load("Acme", false);
  EXPECT_STREQ("Acme", acme->name);
  EXPECT_EQ(0u, acme->useDefault);
  EXPECT_EQ(0u, acme->isDefaultProfile);
  EXPECT_EQ(kRates.dayFrom, acme->charge.dayFrom);
  EXPECT_EQ(kRates.dayTo, acme->charge.dayTo);
  EXPECT_EQ(kRates.dayRate, acme->charge.dayRate);
  EXPECT_EQ(kRates.eveningRate, acme->charge.eveningRate);
  EXPECT_EQ(kRates.weekendRate, acme->charge.weekendRate);
  EXPECT_EQ(1u, acme->minChargeOn);
  EXPECT_EQ(0.25f, acme->minCharge);
  ASSERT_EQ(3u, acme->discounts.size());
  ExpectSameDiscount(alpha, acme->discounts[0]);
  ExpectSameDiscount(beta, acme->discounts[1]);
  ExpectSameDiscount(zeta, acme->discounts[2]);
}

TEST_F(ChargeProfileTest, SavingFewerDiscountsLeavesExactlyTheListedOnes) {
  StoreOwnSettings("Acme", kRates, 0.05f,
                   {MakeDiscount("One", 0, 1, 0), MakeDiscount("Two", 0, 2, 0),
                    MakeDiscount("Three", 0, 3, 0)});
  StoreOwnSettings("Acme", kRates, 0.05f, {MakeDiscount("Two", 0, 22, 0)});
  EXPECT_EQ(Names({"Two"}), registry.SubkeyNames(kHkeyLocalMachine, kAcmeKey + "\\Discounts"));
  EXPECT_EQ(F32Bytes(22), Stored(kAcmeKey + "\\Discounts\\Two", "Percent"));
}

TEST_F(ChargeProfileTest, DiscountsThatAskForOneKeyAreEachStoredUnderAKeyOfTheirOwn) {
  const std::string l99(99, 'L');
  const std::string lower99(99, 'l');
  struct Case {
    const char* what;
    Names names;          // in list order; discount i has Percent i + 1
    Names expectedKeys;   // the key each of them is stored under
  };
  std::vector<Case> cases = {
      {"empty beside its stand-in", {"", "Discount"}, {"Discount", "Discount (2)"}},
      {"stand-in beside empty", {"Discount", ""}, {"Discount", "Discount (2)"}},
      {"backslash beside slash", {"a\\b", "a/b"}, {"a/b", "a/b (2)"}},
      {"case", {"Evening", "EVENING", "evening"}, {"Evening", "EVENING (2)", "evening (3)"}},
      {"code page 1252 letters", {"\xC9t\xE9", "\xE9t\xC9"}, {"\xC9t\xE9", "\xE9t\xC9 (2)"}},
      {"a numbered name already taken", {"x", "X", "x (2)"}, {"x", "X (2)", "x (2) (2)"}},
      {"names that fill a name field",
       {l99, lower99, l99},
       {l99, std::string(95, 'l') + " (2)", std::string(95, 'L') + " (3)"}},
      {"a full name whose second number is itself",
       {std::string(95, 'L') + " (2)", std::string(95, 'L') + " (2)"},
       {std::string(95, 'L') + " (2)", std::string(95, 'L') + " (3)"}},
      {"distinct names", {"Evening", "Evenings", "Weekend"}, {"Evening", "Evenings", "Weekend"}},
  };
  Case many{"twelve of one name", {}, {}};
  for (int i = 1; i <= 12; ++i) {
    many.names.push_back("Same");
    many.expectedKeys.push_back(i == 1 ? "Same" : "Same (" + std::to_string(i) + ")");
  }
  cases.push_back(many);

  for (const Case& c : cases) {
    std::vector<Discount> discounts;
    for (std::size_t i = 0; i < c.names.size(); ++i) {
      discounts.push_back(MakeDiscount(c.names[i].c_str(), 0, static_cast<float>(i + 1), 0));
    }
    StoreOwnSettings("Acme", kRates, 0.05f, discounts);
    for (std::size_t i = 0; i < c.expectedKeys.size(); ++i) {
      EXPECT_EQ(F32Bytes(static_cast<float>(i + 1)),
                Stored(kAcmeKey + "\\Discounts\\" + c.expectedKeys[i], "Percent"))
          << c.what << ": " << c.expectedKeys[i];
    }
    ProfileLibrary::Owned acme = library.Load("Acme", false);
    EXPECT_EQ(c.names.size(), acme->discounts.size()) << c.what;
  }
}

TEST_F(ChargeProfileTest, EmptyAndBackslashNamesAreStoredAsSingleKeysOfSafeNames) {
  StoreOwnSettings("Acme", kRates, 0.05f,
                   {MakeDiscount("", 0, 5, 0), MakeDiscount("Peak\\Off-peak", 0, 7, 0)});
  const std::string discounts = kAcmeKey + "\\Discounts";
  EXPECT_EQ(Names({"Discount", "Peak/Off-peak"}),
            registry.SubkeyNames(kHkeyLocalMachine, discounts));
  EXPECT_TRUE(registry.ValueNames(kHkeyLocalMachine, discounts).empty());
  EXPECT_TRUE(registry.SubkeyNames(kHkeyLocalMachine, discounts + "\\Peak/Off-peak").empty());

  ProfileLibrary::Owned acme = library.Load("Acme", false);
  ASSERT_EQ(2u, acme->discounts.size());
  EXPECT_STREQ("Discount", acme->discounts[0].name);
  EXPECT_EQ(5.0f, acme->discounts[0].percent);
  EXPECT_STREQ("Peak/Off-peak", acme->discounts[1].name);
  EXPECT_EQ(7.0f, acme->discounts[1].percent);
}

TEST(DiscountKeyNameTest, SafeNamesAndNumbersThatStillFitANameField) {
  const std::string l99(99, 'L');
  struct Case {
    std::string name;
    std::uint32_t number;
    std::string expected;
  };
  const Case cases[] = {
      {"Evening", 1, "Evening"},
      {"", 1, "Discount"},
      {"a\\b\\c", 1, "a/b/c"},
      {"Evening", 2, "Evening (2)"},
      {"", 3, "Discount (3)"},
      {"a\\b", 12, "a/b (12)"},
      {l99, 1, l99},
      {std::string(150, 'L'), 1, l99},
      {l99, 2, std::string(95, 'L') + " (2)"},
      {l99, 10, std::string(94, 'L') + " (10)"},
      // A numbered name can be the very name asked for.
      {std::string(95, 'L') + " (2)", 2, std::string(95, 'L') + " (2)"},
      {std::string(96, 'L'), 2, std::string(95, 'L') + " (2)"},
      {std::string(95, 'L'), 2, std::string(95, 'L') + " (2)"},
  };
  for (const Case& c : cases) {
    char keyName[kNameChars];
    std::memset(keyName, 'x', sizeof keyName);
    DiscountKeyName(c.name.c_str(), c.number, keyName);
    EXPECT_EQ(c.expected, std::string(keyName)) << c.name << " #" << c.number;
  }
}

TEST_F(ChargeProfileTest, ADiscountKeyNameTooLongForANameIsLeftOut) {
  StoreOwnSettings("Acme", kRates, 0.05f, {MakeDiscount("Short", 0, 5, 0)});
  const std::string longName(120, 'L');
  registry.PutValue(kHkeyLocalMachine, kAcmeKey + "\\Discounts\\" + longName, "Mode", kRegDword,
                    U32Bytes(1));
  ProfileLibrary::Owned acme = library.Load("Acme", false);
  ASSERT_EQ(1u, acme->discounts.size());
  EXPECT_STREQ("Short", acme->discounts[0].name);
  // Nothing was made under a cut name.
  EXPECT_EQ(2u, registry.SubkeyNames(kHkeyLocalMachine, kAcmeKey + "\\Discounts").size());
}

// ---- UseDefault -----------------------------------------------------------------------------------

TEST_F(ChargeProfileTest, AnAccountWithoutAKeyRunsOnCopiesOfTheDefaultAndStoresOnlyUseDefault) {
  ProfileLibrary::Owned defaults = library.Load(kDefaultProfileName, true);
  defaults->charge = kRates;
  defaults->minCharge = 0.2f;
  defaults->discounts = {MakeDiscount("A", kTimeFree, 0, 5), MakeDiscount("B", 0, 10, 0)};
  registry.ClearWriteLog();

  ProfileLibrary::Owned acme = library.Load("Acme", false);
  EXPECT_STREQ("Acme", acme->name);
  EXPECT_EQ(1u, acme->useDefault);
  EXPECT_EQ(0u, acme->isDefaultProfile);
  EXPECT_EQ(kRates.eveningRate, acme->charge.eveningRate);
  EXPECT_EQ(0.2f, acme->minCharge);
  ASSERT_EQ(2u, acme->discounts.size());
  ExpectSameDiscount(defaults->discounts[0], acme->discounts[0]);
  ExpectSameDiscount(defaults->discounts[1], acme->discounts[1]);
  acme->discounts[0].freeMins = 0.0f;
  EXPECT_EQ(5.0f, defaults->discounts[0].freeMins);

  EXPECT_EQ(Names({"UseDefault"}), registry.WriteLog());
  EXPECT_EQ(Names({"UseDefault"}), registry.ValueNames(kHkeyLocalMachine, kAcmeKey));
  EXPECT_EQ(U32Bytes(1), Stored(kAcmeKey, "UseDefault"));
  EXPECT_TRUE(registry.SubkeyNames(kHkeyLocalMachine, kAcmeKey).empty());
  // Still the `.Default` record: loading an account does not move the reference.
  EXPECT_EQ(defaults.get(), library.DefaultProfile().get());
}

TEST_F(ChargeProfileTest, TheDefaultProfileNeverReadsUseDefaultAndAlwaysSavesZero) {
  registry.PutValue(kHkeyLocalMachine, kDefaultKey, "UseDefault", kRegDword, U32Bytes(1));
  std::uint8_t rates[kCallChargeInfoBytes];
  EncodeCallChargeInfo(kRates, rates);
  registry.PutValue(kHkeyLocalMachine, kDefaultKey, "CallChargeInfo", kRegBinary,
                    Bytes(rates, rates + 20));
  ProfileLibrary::Owned defaults = library.Load(kDefaultProfileName, true);
  EXPECT_EQ(0u, defaults->useDefault);
  EXPECT_EQ(kRates.dayRate, defaults->charge.dayRate);
  EXPECT_EQ(U32Bytes(1), Stored(kDefaultKey, "UseDefault"));  // neither read nor rewritten

  defaults->useDefault = 1;  // never honoured for `.Default`
  defaults->charge.dayRate = 0.5f;
  library.SaveChargeProfile(*defaults);
  EXPECT_EQ(U32Bytes(0), Stored(kDefaultKey, "UseDefault"));
  const Bytes block = Stored(kDefaultKey, "CallChargeInfo");
  ASSERT_EQ(20u, block.size());
  EXPECT_EQ(F32Bytes(0.5f), Bytes(block.begin() + 8, block.begin() + 12));
}

TEST_F(ChargeProfileTest, AnAccountSavedWithUseDefaultKeepsItsStoredSettings) {
  StoreOwnSettings("Acme", kRates, 0.3f, {MakeDiscount("Own", 0, 15, 0)});
  const Bytes ratesBefore = Stored(kAcmeKey, "CallChargeInfo");
  ProfileLibrary::Owned acme = library.Load("Acme", false);
  acme->useDefault = 1;
  acme->charge.dayRate = 7.0f;
  acme->minCharge = 7.0f;
  acme->discounts.clear();
  registry.ClearWriteLog();
  library.SaveChargeProfile(*acme);

  EXPECT_EQ(Names({"UseDefault"}), registry.WriteLog());
  EXPECT_EQ(U32Bytes(1), Stored(kAcmeKey, "UseDefault"));
  EXPECT_EQ(ratesBefore, Stored(kAcmeKey, "CallChargeInfo"));
  EXPECT_EQ(F32Bytes(0.3f), Stored(kAcmeKey, "MinCharge"));
  EXPECT_EQ(Names({"Own"}), registry.SubkeyNames(kHkeyLocalMachine, kAcmeKey + "\\Discounts"));

  // Switched back off, the account's own stored settings are what it gets.
  registry.PutValue(kHkeyLocalMachine, kAcmeKey, "UseDefault", kRegDword, U32Bytes(0));
  library.LoadChargeProfile(acme);
  EXPECT_EQ(kRates.dayRate, acme->charge.dayRate);
  EXPECT_EQ(0.3f, acme->minCharge);
  ASSERT_EQ(1u, acme->discounts.size());
}

// ---- The `.Default` reference -------------------------------------------------------------------

TEST_F(ChargeProfileTest, FreeingTheDefaultRecordClearsTheReference) {
  ProfileLibrary::Owned first = library.Load(kDefaultProfileName, true);
  ProfileLibrary::Owned second = library.Load(kDefaultProfileName, true);
  EXPECT_EQ(second.get(), library.DefaultProfile().get());
  first.reset();  // not the one referred to
  EXPECT_EQ(second.get(), library.DefaultProfile().get());
  second.reset();
  EXPECT_EQ(nullptr, library.DefaultProfile());
}

TEST_F(ChargeProfileTest, UseDefaultWithoutALiveDefaultRecordTakesTheStoredDefault) {
  StoreOwnSettings(kDefaultProfileName, kRates, 0.15f, {MakeDiscount("Weekend", kFreeCall, 0, 0)});
  {
    ProfileLibrary::Owned loadedAndFreed = library.Load(kDefaultProfileName, true);
  }
  ASSERT_EQ(nullptr, library.DefaultProfile());

  ProfileLibrary::Owned acme = library.Load("Acme", false);
  EXPECT_EQ(1u, acme->useDefault);
  EXPECT_STREQ("Acme", acme->name);
  EXPECT_EQ(kRates.weekendRate, acme->charge.weekendRate);
  EXPECT_EQ(0.15f, acme->minCharge);
  ASSERT_EQ(1u, acme->discounts.size());
  EXPECT_STREQ("Weekend", acme->discounts[0].name);
  // The stand-in was freed and is not left behind as the `.Default` record.
  EXPECT_EQ(nullptr, library.DefaultProfile());
  EXPECT_EQ(0u, registry.OpenHandleCount());
}

TEST_F(ChargeProfileTest, ReloadingTheDefaultRecordAsAnAccountDropsTheReference) {
  ProfileLibrary::Owned profile = library.Load(kDefaultProfileName, true);
  CopyBoundedText(profile->name, kNameChars, "Acme");
  profile->isDefaultProfile = 0;
  library.LoadChargeProfile(profile);
  EXPECT_EQ(nullptr, library.DefaultProfile());
  EXPECT_EQ(1u, profile->useDefault);
}

TEST_F(ChargeProfileTest, ALongEntryNameIsCutToANameField) {
  const std::string longName(150, 'e');
  ProfileLibrary::Owned profile = library.Load(longName.c_str(), false);
  EXPECT_EQ(std::string(kNameChars - 1, 'e'), profile->name);
  EXPECT_TRUE(registry.KeyExists(kHkeyLocalMachine, kRoot + "\\" + std::string(99, 'e')));
}


// The billing rules and the plan: read as stored (no default written back), out of range as absent,
// and saved only where they differ from absent, so an account that never set one keeps its bytes.
TEST_F(ChargeProfileTest, RulesAndPlanReadInRangeAndSaveOnlyWhatDiffersFromAbsent) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    const char* name;
    std::uint32_t type;
    Bytes stored;  // empty: absent
    Bytes saved;   // what a save of the loaded profile leaves; empty: no value
  } rows[] = {
      {"ConnectionFee", kRegBinary, F32Bytes(0.05f), F32Bytes(0.05f)},
      {"ConnectionFee", kRegBinary, F32Bytes(-0.05f), {}},
      {"PeriodFee", kRegBinary, F32Bytes(nan), {}},
      {"FirstPeriod", kRegBinary, U32Bytes(86400), U32Bytes(86400)},  // the type is not examined
      {"FirstPeriod", kRegDword, U32Bytes(86401), {}},
      {"Increment", kRegDword, U32Bytes(0), {}},
      {"Increment", kRegDword, Bytes{6}, U32Bytes(6)},  // a short value zero-extended
      {"RoundUp", kRegDword, U32Bytes(2), {}},
      {"VolumeStep", kRegDword, U32Bytes(1024 * 1024 + 1), {}},
      {"PeriodDay", kRegDword, U32Bytes(32), {}},
      {"PeriodDay", kRegSz, TextBytes("15"), {}},  // not a 4-byte number
      {"IncludedMinutes", kRegDword, U32Bytes(10000001), {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FakeRegistry fresh;
    SettingsStore freshStore{fresh};
    ProfileLibrary freshLibrary{freshStore};
    fresh.PutValue(kHkeyLocalMachine, kAcmeKey, "UseDefault", kRegDword, U32Bytes(0));
    if (!row.stored.empty()) fresh.PutValue(kHkeyLocalMachine, kAcmeKey, row.name, row.type, row.stored);
    ProfileLibrary::Owned acme = freshLibrary.Load("Acme", false);
    EXPECT_EQ(row.stored, fresh.ValueBytes(kHkeyLocalMachine, kAcmeKey, row.name).value_or(Bytes{}));
    freshLibrary.SaveChargeProfile(*acme);
    EXPECT_EQ(row.saved, fresh.ValueBytes(kHkeyLocalMachine, kAcmeKey, row.name).value_or(Bytes{}));
  }
}

}  // namespace
}  // namespace tollwick
