// The settings store's reading and writing rules, run on the fake and on the real registry: these are
// the cases where the store's result depends on what the registry does with sizes and texts.

#include <algorithm>
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
  std::vector<std::string> names;
  f.store.ForEachValueName(f.key, [&names](const char* name) { names.emplace_back(name); });
  std::sort(names.begin(), names.end());
  EXPECT_EQ(std::vector<std::string>({"Date", "Sunday", "User"}), names);
  EXPECT_EQ(3u, f.store.ValueCount(f.key));
  EXPECT_TRUE(f.store.DeleteValue(f.key, "Date"));
  EXPECT_FALSE(f.store.DeleteValue(f.key, "Date"));
}

// ---- Binary records -----------------------------------------------------------------------------

// A read as stored leaves the destination and the registry alone; a read with a default then
// writes the default, or zeros, back.
TEST_P(SettingsStoreOnRegistry, AMissingOrOverlongBinaryValueIsReplacedByTheDefaultOrZeros) {
  StoreFixture f(*registry_, scratchPath_);
  const std::vector<std::uint8_t> fallback = {0xCD, 0xCC, 0x4C, 0x3D};
  const struct {
    const char* what;
    std::vector<std::uint8_t> stored;  // empty: missing
    const std::vector<std::uint8_t>* fallback;
  } cases[] = {{"missing, with a default", {}, &fallback},
               {"missing, without", {}, nullptr},
               {"over-long", std::vector<std::uint8_t>(8, 0x55), &fallback},
               {"over-long, without a default", std::vector<std::uint8_t>(8, 0x55), nullptr}};
  for (const auto& c : cases) {
    registry_->DeleteValue(scratch_, "MinCharge");
    if (!c.stored.empty())
      registry_->SetValue(scratch_, "MinCharge", kRegBinary, c.stored.data(), 8);
    std::vector<std::uint8_t> out(4, 0xEE);
    const SettingsStore::StoredValue found =
        f.store.ReadAsStored(f.key, "MinCharge", out.data(), 4);
    EXPECT_EQ(!c.stored.empty(), found.exists()) << c.what;
    EXPECT_FALSE(found.read()) << c.what;
    EXPECT_EQ(found.exists() ? 8u : found.size, found.size) << c.what;  // also when too long
    EXPECT_EQ(std::vector<std::uint8_t>(4, 0xEE), out) << c.what;
    EXPECT_EQ(c.stored, BytesOf(scratch_, "MinCharge")) << c.what;

    f.store.ReadBinaryValue(f.key, "MinCharge", out.data(),
                            c.fallback ? c.fallback->data() : nullptr, 4);
    const std::vector<std::uint8_t> expected =
        c.fallback ? *c.fallback : std::vector<std::uint8_t>(4);
    EXPECT_EQ(expected, out) << c.what;
    EXPECT_EQ(kRegBinary, TypeOf(scratch_, "MinCharge")) << c.what;
    EXPECT_EQ(expected, BytesOf(scratch_, "MinCharge")) << c.what;
  }
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
    std::vector<std::uint8_t> expected = c.stored;
    expected.resize(20, 0xEE);
    std::uint8_t record[20];
    std::memset(record, 0xEE, sizeof record);
    const SettingsStore::StoredValue found =
        f.store.ReadAsStored(f.key, "CallChargeInfo", record, 20);
    EXPECT_TRUE(found.read() && found.size == c.stored.size()) << c.what;
    EXPECT_EQ(expected, std::vector<std::uint8_t>(record, record + 20)) << c.what;
    std::memset(record, 0xEE, sizeof record);
    f.store.ReadBinaryValue(f.key, "CallChargeInfo", record, fallback, 20);
    EXPECT_EQ(expected, std::vector<std::uint8_t>(record, record + 20)) << c.what;
    // Nothing is written back.
    EXPECT_EQ(c.stored, BytesOf(scratch_, "CallChargeInfo")) << c.what;
    EXPECT_EQ(c.type, TypeOf(scratch_, "CallChargeInfo")) << c.what;
  }
}

TEST_P(SettingsStoreOnRegistry, RootBinaryValuesLiveInTheRootKey) {
  SettingsStore store(*registry_);
  const SettingsKey root = store.OpenSettingsKey(kRootPath);
  store.DeleteValue(root, "NoDCC");
  std::uint8_t value[4] = {};
  std::uint8_t fallback[4];
  PutU32(fallback, 1);
  store.ReadRootBinary("NoDCC", value, 4, fallback);
  EXPECT_EQ(1u, GetU32(value));
  EXPECT_EQ(kRegBinary, TypeOf(root.get(), "NoDCC"));
  EXPECT_EQ(U32Bytes(1), BytesOf(root.get(), "NoDCC"));

  PutU32(fallback, 0);
  store.WriteRootBinary("NoDCC", fallback, 4);
  EXPECT_EQ(U32Bytes(0), BytesOf(root.get(), "NoDCC"));
  store.DeleteValue(root, "NoDCC");
}

// A list of network connections' aliases: UTF-16 kept whole, read as stored, and anything that is
// not a terminated REG_MULTI_SZ read as no list, with nothing written back.
TEST_P(SettingsStoreOnRegistry, AMultiStringIsReadOnlyWhenItIsOneAndTerminated) {
  StoreFixture f(*registry_, scratchPath_);
  const std::u16string cyrillic = u"\u0421\u0435\u0442\u044C";
  f.store.WriteMultiStringValue(f.key, "Written", {u"Phone", cyrillic, u"", u"USB"});
  EXPECT_EQ(kRegMultiSz, TypeOf(scratch_, "Written"));
  struct Case {
    const char* what;
    std::uint32_t type;
    Bytes bytes;  // empty with type 0: the value is missing
    std::vector<std::u16string> read;
  };
  const Case cases[] = {
      {"missing", 0, {}, {}},
      {"terminated", kRegMultiSz, RawBytes("a\0b\0\0\0c\0\0\0\0\0", 12), {u"ab", u"c"}},
      {"an empty list", kRegMultiSz, RawBytes("\0\0", 2), {}},
      {"no closing empty text", kRegMultiSz, RawBytes("a\0b\0\0\0", 6), {}},
      {"no terminator at all", kRegMultiSz, RawBytes("a\0b\0", 4), {}},
      {"an odd size", kRegMultiSz, RawBytes("a\0\0\0\0", 5), {}},
      {"a text", kRegSz, RawBytes("a\0\0\0\0\0", 6), {}},
      {"binary", kRegBinary, RawBytes("a\0\0\0\0\0", 6), {}},
  };
  for (const Case& c : cases) {
    f.store.DeleteValue(f.key, "Adapters");
    if (c.type != 0) {
      ASSERT_EQ(kRegSuccess, registry_->SetValueWide(scratch_, "Adapters", c.type, c.bytes.data(),
                                                     static_cast<std::uint32_t>(c.bytes.size())))
          << c.what;
    }
    EXPECT_EQ(c.read, f.store.ReadMultiStringAsStored(f.key, "Adapters")) << c.what;
    EXPECT_EQ(c.type, TypeOf(scratch_, "Adapters")) << c.what;  // nothing written back
  }
  EXPECT_EQ((std::vector<std::u16string>{u"Phone", cyrillic, u"USB"}),
            f.store.ReadMultiStringAsStored(f.key, "Written"));
}

// ---- Texts --------------------------------------------------------------------------------------

// A hundred bytes without a terminator count as too long: one byte more than is stored is given,
// and it is not a terminator either.
TEST_P(SettingsStoreOnRegistry, ATextMissingOrTooLongForTheBufferTakesTheDefaultAndWritesItBack) {
  StoreFixture f(*registry_, scratchPath_);
  const std::string stored(150, 'n');
  for (std::uint32_t size : {0u, 151u, kNameChars}) {
    registry_->DeleteValue(scratch_, "User");
    if (size > 0) registry_->SetValue(scratch_, "User", kRegSz, stored.data(), size);
    char buffer[kNameChars];
    std::memset(buffer, 'x', sizeof buffer);
    f.store.ReadStringValue(f.key, "User", buffer, sizeof buffer, "Unknown");
    EXPECT_STREQ("Unknown", buffer) << size;
    for (std::size_t i = 7; i < sizeof buffer; ++i) ASSERT_EQ(0, buffer[i]) << size << " " << i;
    EXPECT_EQ(kRegSz, TypeOf(scratch_, "User")) << size;
    EXPECT_EQ(RawBytes("Unknown", 8), BytesOf(scratch_, "User")) << size;
  }
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
  const std::string longName(200,
                             'd');  // longer than a name field: listed never, deleted all the same
  for (const char* name : {"Evenings\\Inner\\Deepest", "Evenings\\Inner\\Deep2", "Evenings\\Other",
                           "Weekend", "alpha\\b", longName.c_str()}) {
    SettingsKey child = f.store.OpenSubkey(f.key, name);
    f.store.WriteDwordValue(child, "Mode", 1);
  }
  std::vector<std::string> names = f.store.SubkeyNames(f.key);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(std::vector<std::string>({"Evenings", "Weekend", "alpha"}), names);
  EXPECT_TRUE(f.store.SubkeyExists(f.key, "Weekend"));
  f.store.OpenSettingsKey((scratchPath_ + "\\Sibling\\Child").c_str());
  f.store.DeleteAllSubkeys(f.key);

  EXPECT_EQ(0u, f.store.SubkeyCount(f.key));
  EXPECT_FALSE(f.store.SubkeyExists(f.key, "Weekend"));
  EXPECT_EQ(5u, f.store.ReadDwordValue(f.key, "Kept", 0));
  // Only below the key: its own siblings stay.
  const SettingsKey scratch = f.store.OpenSettingsKey(scratchPath_.c_str());
  EXPECT_EQ(2u, f.store.SubkeyCount(scratch));
  const SettingsKey sibling = f.store.OpenSubkey(scratch, "Sibling");
  EXPECT_TRUE(f.store.DeleteSubkey(sibling, "Child"));
  EXPECT_FALSE(f.store.DeleteSubkey(sibling, "Child"));
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
