// The settings store's reading and writing rules, run on the fake and on the real registry: these are
// the cases where the store's result depends on what the registry does with sizes and texts.

#include <cstring>
#include <string>
#include <vector>

#include "platform/little_endian.h"
#include "platform/settings_store.h"
#include "registry_conformance.h"
#include "stored_bytes.h"

namespace tollwick {
class StoreFixture {
 public:
  // The store opens the scratch key by its full path, as every caller opens its keys.
  StoreFixture(Registry& registry, const std::string& path)
      : store(registry), key(store.OpenSettingsKey(path.c_str())) {}
  SettingsStore store;
  SettingsKey key;
};

// ---- Numbers ------------------------------------------------------------------------------------

TEST_P(SettingsStoreOnRegistry, ReadDwordWritesAMissingDefaultBack) {
  StoreFixture f(*registry_, scratchPath_);
  EXPECT_EQ(0x01020304u, f.store.ReadDwordValue(f.key, "MinChargeOn", 0x01020304u));
  EXPECT_EQ(kRegDword, TypeOf(scratch_, "MinChargeOn"));
  EXPECT_EQ(RawBytes("\x04\x03\x02\x01", 4), BytesOf(scratch_, "MinChargeOn"));
  // Read again: now the stored value, not the new default.
  EXPECT_EQ(0x01020304u, f.store.ReadDwordValue(f.key, "MinChargeOn", 7));
}

TEST_P(SettingsStoreOnRegistry, ReadDwordTakesAShorterValueZeroExtendedAndLeavesIt) {
  StoreFixture f(*registry_, scratchPath_);
  ASSERT_EQ(kRegSuccess, registry_->SetValue(scratch_, "Mode", kRegBinary, "\x34\x12", 2));
  EXPECT_EQ(0x1234u, f.store.ReadDwordValue(f.key, "Mode", 9));
  EXPECT_EQ(RawBytes("\x34\x12", 2), BytesOf(scratch_, "Mode"));
}

TEST_P(SettingsStoreOnRegistry, ReadDwordReplacesAnOverlongValue) {
  StoreFixture f(*registry_, scratchPath_);
  ASSERT_EQ(kRegSuccess, registry_->SetValue(scratch_, "Mode", kRegBinary, "12345678", 8));
  EXPECT_EQ(2u, f.store.ReadDwordValue(f.key, "Mode", 2));
  EXPECT_EQ(kRegDword, TypeOf(scratch_, "Mode"));
  EXPECT_EQ(U32Bytes(2), BytesOf(scratch_, "Mode"));
}

TEST_P(SettingsStoreOnRegistry, TheUnnamedValueIsReadAndWrittenLikeAnyOther) {
  StoreFixture f(*registry_, scratchPath_);
  EXPECT_EQ(0u, f.store.ReadDwordValue(f.key, nullptr, 0));
  EXPECT_EQ(kRegDword, TypeOf(scratch_, nullptr));
  f.store.WriteDwordValue(f.key, nullptr, 1);
  EXPECT_EQ(1u, f.store.ReadDwordValue(f.key, "", 0));
}

TEST_P(SettingsStoreOnRegistry, WritesStoreTheirTypeAndExactBytes) {
  StoreFixture f(*registry_, scratchPath_);
  f.store.WriteStringValue(f.key, "User", "alice");
  f.store.WriteDwordValue(f.key, "Sunday", 0xA1B2C3D4u);
  f.store.WriteBinaryValue(f.key, "Date", "\x01\x02\x03", 3);
  EXPECT_EQ(kRegSz, TypeOf(scratch_, "User"));
  EXPECT_EQ(RawBytes("alice", 6), BytesOf(scratch_, "User"));
  EXPECT_EQ(kRegDword, TypeOf(scratch_, "Sunday"));
  EXPECT_EQ(RawBytes("\xD4\xC3\xB2\xA1", 4), BytesOf(scratch_, "Sunday"));
  EXPECT_EQ(kRegBinary, TypeOf(scratch_, "Date"));
  EXPECT_EQ(RawBytes("\x01\x02\x03", 3), BytesOf(scratch_, "Date"));
}

// ---- Binary records -----------------------------------------------------------------------------

TEST_P(SettingsStoreOnRegistry, ReadBinaryWritesTheDefaultOrZerosBack) {
  StoreFixture f(*registry_, scratchPath_);
  const std::uint8_t fallback[4] = {0xCD, 0xCC, 0x4C, 0x3D};
  std::uint8_t out[4] = {9, 9, 9, 9};
  f.store.ReadBinaryValue(f.key, "MinCharge", out, fallback, 4);
  EXPECT_EQ(0, std::memcmp(fallback, out, 4));
  EXPECT_EQ(kRegBinary, TypeOf(scratch_, "MinCharge"));
  EXPECT_EQ(RawBytes("\xCD\xCC\x4C\x3D", 4), BytesOf(scratch_, "MinCharge"));

  std::uint8_t record[20];
  std::memset(record, 0xEE, sizeof record);
  f.store.ReadBinaryValue(f.key, "CallChargeInfo", record, nullptr, 20);
  EXPECT_EQ(std::vector<std::uint8_t>(20, 0), std::vector<std::uint8_t>(record, record + 20));
  EXPECT_EQ(std::vector<std::uint8_t>(20, 0), BytesOf(scratch_, "CallChargeInfo"));
}

TEST_P(SettingsStoreOnRegistry, AnOverlongBinaryValueIsReplacedByTheDefault) {
  StoreFixture f(*registry_, scratchPath_);
  const std::vector<std::uint8_t> stored(24, 0x55);
  ASSERT_EQ(kRegSuccess,
            registry_->SetValue(scratch_, "CallChargeInfo", kRegBinary, stored.data(), 24));
  std::uint8_t record[20];
  std::memset(record, 0xEE, sizeof record);
  f.store.ReadBinaryValue(f.key, "CallChargeInfo", record, nullptr, 20);
  EXPECT_EQ(std::vector<std::uint8_t>(20, 0), std::vector<std::uint8_t>(record, record + 20));
  EXPECT_EQ(std::vector<std::uint8_t>(20, 0), BytesOf(scratch_, "CallChargeInfo"));
}

TEST_P(SettingsStoreOnRegistry, AShorterValueFillsTheStartAndLeavesTheRestOfTheDestination) {
  StoreFixture f(*registry_, scratchPath_);
  struct Case {
    const char* what;
    std::uint32_t type;
    std::vector<std::uint8_t> stored;
  };
  // Accepted as it is whatever its type; a text stored without its terminator gets none in the
  // destination either.
  const Case cases[] = {
      {"binary", kRegBinary, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {"number", kRegDword, {1, 2, 3, 4}},
      {"text without terminator", kRegSz, {'D', 'i', 'a', 'l'}},
      {"empty", kRegBinary, {}},
  };
  const std::uint8_t fallback[20] = {0xAA};
  for (const Case& c : cases) {
    // The byte after a text's given size is read too; it is not a terminator here.
    std::vector<std::uint8_t> given = c.stored;
    given.push_back('x');
    ASSERT_EQ(kRegSuccess, registry_->SetValue(scratch_, "CallChargeInfo", c.type, given.data(),
                                               static_cast<std::uint32_t>(c.stored.size())));
    std::uint8_t record[20];
    std::memset(record, 0xEE, sizeof record);
    f.store.ReadBinaryValue(f.key, "CallChargeInfo", record, fallback, 20);
    std::vector<std::uint8_t> expected = c.stored;
    expected.resize(20, 0xEE);
    EXPECT_EQ(expected, std::vector<std::uint8_t>(record, record + 20)) << c.what;
    // Nothing is written back.
    EXPECT_EQ(c.stored, BytesOf(scratch_, "CallChargeInfo")) << c.what;
    EXPECT_EQ(c.type, TypeOf(scratch_, "CallChargeInfo")) << c.what;
  }
}

TEST_P(SettingsStoreOnRegistry, RootBinaryValuesLiveInTheRootKey) {
  SettingsStore store(*registry_);
  {
    SettingsKey root = store.OpenSettingsKey(kRootPath);
    registry_->DeleteValue(root.get(), "NoDCC");
  }
  std::uint8_t value[4] = {};
  std::uint8_t fallback[4];
  PutU32(fallback, 1);
  store.ReadRootBinary("NoDCC", value, 4, fallback);
  EXPECT_EQ(1u, GetU32(value));
  RegKey root = 0;
  ASSERT_EQ(kRegSuccess, registry_->CreateKey(kHkeyLocalMachine, kRootPath, &root));
  EXPECT_EQ(kRegBinary, TypeOf(root, "NoDCC"));
  EXPECT_EQ(U32Bytes(1), BytesOf(root, "NoDCC"));

  PutU32(fallback, 0);
  store.WriteRootBinary("NoDCC", fallback, 4);
  EXPECT_EQ(U32Bytes(0), BytesOf(root, "NoDCC"));
  registry_->DeleteValue(root, "NoDCC");
  registry_->CloseKey(root);
}

// ---- Texts --------------------------------------------------------------------------------------

TEST_P(SettingsStoreOnRegistry, AMissingTextTakesTheDefaultAndWritesItBack) {
  StoreFixture f(*registry_, scratchPath_);
  char buffer[kNameChars];
  std::memset(buffer, 'x', sizeof buffer);
  f.store.ReadStringValue(f.key, "User", buffer, sizeof buffer, "Unknown");
  EXPECT_STREQ("Unknown", buffer);
  for (std::size_t i = 7; i < sizeof buffer; ++i) ASSERT_EQ(0, buffer[i]) << i;
  EXPECT_EQ(kRegSz, TypeOf(scratch_, "User"));
  EXPECT_EQ(RawBytes("Unknown", 8), BytesOf(scratch_, "User"));
}

TEST_P(SettingsStoreOnRegistry, ATextTooLongForTheBufferIsReplaced) {
  StoreFixture f(*registry_, scratchPath_);
  const std::string longName(150, 'n');
  f.store.WriteStringValue(f.key, "User", longName.c_str());
  char buffer[kNameChars];
  f.store.ReadStringValue(f.key, "User", buffer, sizeof buffer, "Unknown");
  EXPECT_STREQ("Unknown", buffer);
  EXPECT_EQ(RawBytes("Unknown", 8), BytesOf(scratch_, "User"));
}

TEST_P(SettingsStoreOnRegistry, AHundredByteTextWithoutTerminatorCountsAsTooLong) {
  StoreFixture f(*registry_, scratchPath_);
  // One byte more than is stored, and not a terminator, so exactly 100 bytes are stored.
  const std::string hundred(101, 'h');
  ASSERT_EQ(kRegSuccess, registry_->SetValue(scratch_, "Account", kRegSz, hundred.data(), 100));
  ASSERT_EQ(100u, BytesOf(scratch_, "Account").size());
  char buffer[kNameChars];
  std::memset(buffer, 'x', sizeof buffer);
  f.store.ReadStringValue(f.key, "Account", buffer, sizeof buffer, "Unknown");
  EXPECT_STREQ("Unknown", buffer);
  for (std::size_t i = 7; i < sizeof buffer; ++i) ASSERT_EQ(0, buffer[i]) << i;
  EXPECT_EQ(RawBytes("Unknown", 8), BytesOf(scratch_, "Account"));
}

TEST_P(SettingsStoreOnRegistry, JunkAfterTheTerminatorNeverReachesTheBuffer) {
  StoreFixture f(*registry_, scratchPath_);
  std::string stored = "abc";
  stored += '\0';
  stored += std::string(97, 'j');  // 100 bytes stored, and a non-terminator after them
  ASSERT_EQ(kRegSuccess, registry_->SetValue(scratch_, "Account", kRegSz, stored.data(), 100));
  ASSERT_EQ(100u, BytesOf(scratch_, "Account").size());
  char buffer[kNameChars];
  std::memset(buffer, 'x', sizeof buffer);
  f.store.ReadStringValue(f.key, "Account", buffer, sizeof buffer, "Unknown");
  EXPECT_STREQ("abc", buffer);
  for (std::size_t i = 3; i < sizeof buffer; ++i) ASSERT_EQ(0, buffer[i]) << i;
}

TEST_P(SettingsStoreOnRegistry, ALongestNameFitsAndAShortUnterminatedOneIsTerminated) {
  StoreFixture f(*registry_, scratchPath_);
  const std::string longest(kNameChars - 1, 'L');
  f.store.WriteStringValue(f.key, "User", longest.c_str());
  char buffer[kNameChars];
  f.store.ReadStringValue(f.key, "User", buffer, sizeof buffer, "Unknown");
  EXPECT_EQ(longest, buffer);

  ASSERT_EQ(kRegSuccess, registry_->SetValue(scratch_, "Account", kRegBinary, "Dial", 4));
  std::memset(buffer, 'x', sizeof buffer);
  f.store.ReadStringValue(f.key, "Account", buffer, sizeof buffer, "Unknown");
  EXPECT_STREQ("Dial", buffer);
  for (std::size_t i = 4; i < sizeof buffer; ++i) ASSERT_EQ(0, buffer[i]) << i;
}

// ---- Keys ---------------------------------------------------------------------------------------

TEST_P(SettingsStoreOnRegistry, DeleteAllSubkeysEmptiesAThreeLevelTreeAndKeepsTheKey) {
  StoreFixture f(*registry_, scratchPath_ + "\\Discounts");
  f.store.WriteDwordValue(f.key, "Kept", 5);
  for (const char* name : {"Evenings\\Inner\\Deepest", "Evenings\\Inner\\Deep2", "Evenings\\Other",
                           "Weekend", "alpha\\b"}) {
    SettingsKey child = f.store.OpenSubkey(f.key, name);
    f.store.WriteDwordValue(child, "Mode", 1);
  }
  SettingsKey sibling = f.store.OpenSettingsKey((scratchPath_ + "\\Sibling\\Child").c_str());
  f.store.DeleteAllSubkeys(f.key);

  std::uint32_t count = 99;
  EXPECT_EQ(kRegSuccess, registry_->QuerySubkeyCount(f.key.get(), &count));
  EXPECT_EQ(0u, count);
  EXPECT_EQ(5u, f.store.ReadDwordValue(f.key, "Kept", 0));
  // Only below the key: its own siblings stay.
  EXPECT_EQ(kRegSuccess, registry_->QuerySubkeyCount(scratch_, &count));
  EXPECT_EQ(2u, count);
}

TEST_P(SettingsStoreOnRegistry, AReservedNameOpensTheReservedKeyWhateverItsCase) {
  SettingsStore store(*registry_);
  char path[2 * kNameChars];
  RootSubkeyPath("curcall", path, sizeof path);
  SettingsKey asAccount = store.OpenSettingsKey(path);
  store.WriteDwordValue(asAccount, "UseDefault", 3);
  SettingsKey curCall = store.OpenSettingsKey("Software\\Orvo\\Tollwick\\CurCall");
  EXPECT_EQ(3u, store.ReadDwordValue(curCall, "UseDefault", 0));
  registry_->DeleteValue(curCall.get(), "UseDefault");
}

}  // namespace tollwick
