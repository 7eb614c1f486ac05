// The settings store's own decisions that need the fake's controls: a hive that refuses access, a key
// that refuses deletion, and that every key opened is closed again.

#include "platform/settings_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fake_registry.h"

namespace tollwick {
namespace {

const std::string kRoot = kRootPath;

class SettingsStoreTest : public ::testing::Test {
 protected:
  FakeRegistry registry;
  SettingsStore store{registry};
};

// ---- Hive ---------------------------------------------------------------------------------------

TEST_F(SettingsStoreTest, ChooseHiveKeepsTheMachineHiveWhenItCanBeOpened) {
  EXPECT_FALSE(store.ChooseHive());
  EXPECT_EQ(kHkeyLocalMachine, store.hive());
  EXPECT_EQ(0u, registry.OpenHandleCount());
}

TEST_F(SettingsStoreTest, ChooseHiveFallsBackToTheUserHiveWhenTheMachineHiveIsDenied) {
  registry.DenyAccess(kHkeyLocalMachine);
  EXPECT_TRUE(store.ChooseHive());
  EXPECT_EQ(kHkeyCurrentUser, store.hive());

  std::uint8_t value[4] = {};
  const std::uint8_t fallback[4] = {1, 0, 0, 0};
  store.ReadRootBinary("NoDCC", value, 4, fallback);
  EXPECT_EQ(std::vector<std::uint8_t>({1, 0, 0, 0}),
            registry.ValueBytes(kHkeyCurrentUser, kRoot, "NoDCC"));
  EXPECT_FALSE(registry.KeyExists(kHkeyLocalMachine, "Software"));
  EXPECT_EQ(0u, registry.OpenHandleCount());
}

TEST_F(SettingsStoreTest, AKeyThatCannotBeOpenedGivesDefaultsAndWritesNothing) {
  registry.DenyAccess(kHkeyLocalMachine);
  SettingsKey key = store.OpenSettingsKey(kRootPath);
  EXPECT_FALSE(key.valid());
  EXPECT_FALSE(store.OpenSubkey(key, "Discounts").valid());

  EXPECT_EQ(7u, store.ReadDwordValue(key, "UseDefault", 7));
  char text[kNameChars];
  std::memset(text, 'x', sizeof text);
  store.ReadStringValue(key, "User", text, sizeof text, "Unknown");
  EXPECT_STREQ("Unknown", text);
  EXPECT_EQ(0, text[sizeof text - 1]);
  std::uint8_t record[20];
  std::memset(record, 0xEE, sizeof record);
  store.ReadBinaryValue(key, "CallChargeInfo", record, nullptr, sizeof record);
  EXPECT_EQ(std::vector<std::uint8_t>(20, 0), std::vector<std::uint8_t>(record, record + 20));
  std::uint8_t one[4] = {1, 0, 0, 0};
  std::uint8_t out[4] = {};
  store.ReadRootBinary("NoDCC", out, 4, one);
  EXPECT_EQ(1, out[0]);
  store.WriteDwordValue(key, "UseDefault", 1);
  store.WriteRootBinary("ClockIcon", one, 4);
  store.DeleteAllSubkeys(key);

  registry.DenyAccess(kHkeyLocalMachine, false);
  EXPECT_FALSE(registry.KeyExists(kHkeyLocalMachine, "Software"));
  EXPECT_EQ(0u, registry.OpenHandleCount());
}

// ---- Deleting subkeys ---------------------------------------------------------------------------

TEST_F(SettingsStoreTest, DeleteAllSubkeysStepsPastAKeyThatCannotBeDeleted) {
  const std::string discounts = kRoot + "\\Acme\\Discounts";
  for (const char* name : {"Alpha", "Beta\\Inner", "Beta\\Other\\Deep", "Gamma", "Zulu\\Z"}) {
    registry.PutValue(kHkeyLocalMachine, discounts + "\\" + name, "Mode", kRegDword, {0, 0, 0, 0});
  }
  registry.FailDeletionOf(kHkeyLocalMachine, discounts + "\\Beta");
  registry.FailDeletionOf(kHkeyLocalMachine, discounts + "\\Zulu\\Z");

  SettingsKey key = store.OpenSettingsKey(discounts.c_str());
  store.DeleteAllSubkeys(key);  // must come back

  // Everything deletable went, at every level; what refused stays, and with it its parent.
  EXPECT_EQ(std::vector<std::string>({"Beta", "Zulu"}),
            registry.SubkeyNames(kHkeyLocalMachine, discounts));
  EXPECT_TRUE(registry.SubkeyNames(kHkeyLocalMachine, discounts + "\\Beta").empty());
  EXPECT_EQ(std::vector<std::string>({"Z"}),
            registry.SubkeyNames(kHkeyLocalMachine, discounts + "\\Zulu"));
}

// ---- Keys are closed ----------------------------------------------------------------------------

TEST_F(SettingsStoreTest, EveryOperationClosesWhatItOpens) {
  {
    SettingsKey key = store.OpenSettingsKey((kRoot + "\\Acme").c_str());
    SettingsKey sub = store.OpenSubkey(key, "Discounts\\Evening");
    EXPECT_EQ(2u, registry.OpenHandleCount());
    store.WriteDwordValue(sub, "Mode", 1);
    store.DeleteAllSubkeys(key);
  }
  std::uint8_t value[4] = {};
  store.ReadRootBinary("ClockIcon", value, 4, nullptr);
  store.WriteRootBinary("ClockIcon", value, 4);
  EXPECT_EQ(0u, registry.OpenHandleCount());
}

TEST_F(SettingsStoreTest, AMovedKeyIsClosedOnceByItsLastOwner) {
  SettingsKey first = store.OpenSettingsKey(kRootPath);
  RegKey handle = first.get();
  SettingsKey second(std::move(first));
  EXPECT_FALSE(first.valid());  // NOLINT(bugprone-use-after-move): the moved-from state is the point
  EXPECT_EQ(handle, second.get());
  EXPECT_EQ(1u, registry.OpenHandleCount());

  SettingsKey third = store.OpenSettingsKey(kRootPath);
  EXPECT_EQ(2u, registry.OpenHandleCount());
  third = std::move(second);  // closes third's own key
  EXPECT_EQ(1u, registry.OpenHandleCount());
  EXPECT_EQ(handle, third.get());
  third = SettingsKey();
  EXPECT_EQ(0u, registry.OpenHandleCount());
}

// ---- Text helpers -------------------------------------------------------------------------------

TEST(SettingsTextTest, CopyBoundedTextCutsTerminatesAndClearsTheRest) {
  char field[8];
  std::memset(field, 'x', sizeof field);
  CopyBoundedText(field, sizeof field, "abc");
  EXPECT_EQ(0, std::memcmp("abc\0\0\0\0\0", field, 8));
  CopyBoundedText(field, sizeof field, "abcdefghij");
  EXPECT_EQ(0, std::memcmp("abcdefg\0", field, 8));
  CopyBoundedText(field, sizeof field, nullptr);
  EXPECT_EQ(0, std::memcmp("\0\0\0\0\0\0\0\0", field, 8));
}

TEST(SettingsTextTest, RootSubkeyPathIsCutToFit) {
  char path[200];
  RootSubkeyPath("My ISP", path, sizeof path);
  EXPECT_STREQ("Software\\Orvo\\Tollwick\\My ISP", path);
  char small[12];
  RootSubkeyPath("My ISP", small, sizeof small);
  EXPECT_STREQ("Software\\Or", small);
}

}  // namespace
}  // namespace tollwick
