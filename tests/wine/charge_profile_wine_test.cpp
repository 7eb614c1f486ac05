// A charge profile stored in the real registry and read back with the plain registry calls: every
// value's type and bytes, and the profile loaded again.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "charging/charge_profile.h"
#include "charging/profile_library.h"
#include "platform/settings_store.h"
#include "platform/win32/win32_registry.h"

namespace tollwick {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kAccount = "Wine Round Trip";

struct Raw {
  DWORD type = 0;
  Bytes bytes;
};

Raw ReadRaw(const std::string& path, const char* name) {
  Raw raw;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return raw;
  BYTE buffer[64] = {};
  DWORD size = sizeof buffer;
  if (RegQueryValueExA(key, name, nullptr, &raw.type, buffer, &size) == ERROR_SUCCESS) {
    raw.bytes.assign(buffer, buffer + size);
  }
  RegCloseKey(key);
  return raw;
}

class ChargeProfileWineTest : public ::testing::Test {
 protected:
  void SetUp() override { RemoveAccount(); }
  void TearDown() override { RemoveAccount(); }
  void RemoveAccount() {
    char path[2 * kNameChars];
    RootSubkeyPath(kAccount, path, sizeof path);
    {
      SettingsKey key = store.OpenSettingsKey(path);
      store.DeleteAllSubkeys(key);
    }
    SettingsKey root = store.OpenSettingsKey(kRootPath);
    registry.DeleteKey(root.get(), kAccount);
  }

  Win32Registry registry;
  SettingsStore store{registry};
  ProfileLibrary library{store};
};

TEST_F(ChargeProfileWineTest, AProfileIsStoredByteForByteAndLoadsBackEqual) {
  {
    ChargeProfile profile;
    CopyBoundedText(profile.name, kNameChars, kAccount);
    profile.charge = CallChargeInfo{static_cast<std::int32_t>(MakePackedTime(8, 0)),
                                    static_cast<std::int32_t>(MakePackedTime(18, 30)), 0.04f, 0.01f,
                                    0.5f};
    profile.minChargeOn = 1;
    profile.minCharge = 0.05f;
    Discount discount;
    CopyBoundedText(discount.name, kNameChars, "Evenings");
    discount.mode = kTimeFree;
    discount.percent = 25.0f;
    discount.freeMins = 30.0f;
    discount.someTimes = 1;
    discount.days[6] = 1;
    discount.certain = 1;
    discount.from = static_cast<std::int32_t>(MakePackedTime(18, 0));
    discount.to = static_cast<std::int32_t>(MakePackedTime(23, 59));
    profile.discounts = {discount};
    library.SaveChargeProfile(profile);
  }

  const std::string key = std::string(kRootPath) + "\\" + kAccount;
  Raw useDefault = ReadRaw(key, "UseDefault");
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), useDefault.type);
  EXPECT_EQ(Bytes({0, 0, 0, 0}), useDefault.bytes);
  Raw rates = ReadRaw(key, "CallChargeInfo");
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), rates.type);
  // 8:00, 18:30, then 0.04, 0.01 and 0.5 as IEEE singles, all little-endian.
  EXPECT_EQ(Bytes({0x00, 0x08, 0, 0, 0x1E, 0x12, 0, 0, 0x0A, 0xD7, 0x23, 0x3D, 0x0A, 0xD7, 0x23, 0x3C,
                   0, 0, 0, 0x3F}),
            rates.bytes);
  Raw minChargeOn = ReadRaw(key, "MinChargeOn");
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), minChargeOn.type);
  EXPECT_EQ(Bytes({1, 0, 0, 0}), minChargeOn.bytes);
  Raw minCharge = ReadRaw(key, "MinCharge");
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), minCharge.type);
  EXPECT_EQ(Bytes({0xCD, 0xCC, 0x4C, 0x3D}), minCharge.bytes);

  const std::string discountKey = key + "\\Discounts\\Evenings";
  struct Expected {
    const char* name;
    DWORD type;
    Bytes bytes;
  };
  const Expected values[] = {
      {"Mode", REG_DWORD, {1, 0, 0, 0}},          {"Percent", REG_BINARY, {0, 0, 0xC8, 0x41}},
      {"FreeMins", REG_BINARY, {0, 0, 0xF0, 0x41}}, {"SomeTimes", REG_DWORD, {1, 0, 0, 0}},
      {"Sunday", REG_DWORD, {0, 0, 0, 0}},        {"Monday", REG_DWORD, {0, 0, 0, 0}},
      {"Tuesday", REG_DWORD, {0, 0, 0, 0}},       {"Wednesday", REG_DWORD, {0, 0, 0, 0}},
      {"Thursday", REG_DWORD, {0, 0, 0, 0}},      {"Friday", REG_DWORD, {0, 0, 0, 0}},
      {"Saturday", REG_DWORD, {1, 0, 0, 0}},      {"Certain", REG_DWORD, {1, 0, 0, 0}},
      {"From", REG_DWORD, {0, 18, 0, 0}},         {"To", REG_DWORD, {59, 23, 0, 0}},
  };
  for (const Expected& value : values) {
    Raw raw = ReadRaw(discountKey, value.name);
    EXPECT_EQ(value.type, raw.type) << value.name;
    EXPECT_EQ(value.bytes, raw.bytes) << value.name;
  }

  ProfileLibrary::Owned loaded = library.Load(kAccount, false);
  EXPECT_EQ(0u, loaded->useDefault);
  EXPECT_EQ(static_cast<std::int32_t>(MakePackedTime(18, 30)), loaded->charge.dayTo);
  EXPECT_EQ(0.04f, loaded->charge.dayRate);
  EXPECT_EQ(0.5f, loaded->charge.weekendRate);
  EXPECT_EQ(0.05f, loaded->minCharge);
  ASSERT_EQ(1u, loaded->discounts.size());
  const Discount& evenings = loaded->discounts[0];
  EXPECT_STREQ("Evenings", evenings.name);
  EXPECT_EQ(30.0f, evenings.freeMins);
  EXPECT_EQ(1u, evenings.days[6]);
  EXPECT_EQ(static_cast<std::int32_t>(MakePackedTime(23, 59)), evenings.to);
}

TEST_F(ChargeProfileWineTest, DiscountsThatTheRegistryTakesForOneNameKeepKeysOfTheirOwn) {
  // The real registry decides which names are one: case, code page 1252 letters included.
  const char* names[] = {"Evening", "EVENING", "", "Discount", "\xC9t\xE9", "\xE9T\xC9"};
  const char* keys[] = {"Evening", "EVENING (2)", "Discount", "Discount (2)", "\xC9t\xE9",
                        "\xE9T\xC9 (2)"};
  ChargeProfile profile;
  CopyBoundedText(profile.name, kNameChars, kAccount);
  for (std::size_t i = 0; i < std::size(names); ++i) {
    Discount discount;
    CopyBoundedText(discount.name, kNameChars, names[i]);
    discount.percent = static_cast<float>(i + 1);
    profile.discounts.push_back(discount);
  }
  library.SaveChargeProfile(profile);

  const std::string discounts = std::string(kRootPath) + "\\" + kAccount + "\\Discounts\\";
  for (std::size_t i = 0; i < std::size(keys); ++i) {
    Raw percent = ReadRaw(discounts + keys[i], "Percent");
    ASSERT_EQ(4u, percent.bytes.size()) << keys[i];
    float value = 0.0f;
    std::memcpy(&value, percent.bytes.data(), 4);
    EXPECT_EQ(static_cast<float>(i + 1), value) << keys[i];
  }
  ProfileLibrary::Owned loaded = library.Load(kAccount, false);
  EXPECT_EQ(std::size(names), loaded->discounts.size());
}

}  // namespace
}  // namespace tollwick
