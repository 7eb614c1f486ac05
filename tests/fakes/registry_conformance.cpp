// The registry rules the program relies on, checked on whichever registry the test program supplies.

#include "registry_conformance.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "stored_bytes.h"

namespace tollwick {

namespace {

constexpr const char* kTestsPath = "Software\\TollwickTests";

// The whole scratch area goes, so that a rerun in a kept Wine prefix starts from nothing.
void RemoveScratchArea(Registry& registry) {
  SettingsStore store(registry);
  {
    SettingsKey tests = store.OpenSettingsKey(kTestsPath);
    store.DeleteAllSubkeys(tests);
  }
  RegKey software = 0;
  registry.CreateKey(kHkeyLocalMachine, "Software", &software);
  registry.DeleteKey(software, "TollwickTests");
  registry.CloseKey(software);
}

RegKey Open(Registry& registry, RegKey parent, const char* path) {
  RegKey key = 0;
  EXPECT_EQ(kRegSuccess, registry.CreateKey(parent, path, &key)) << path;
  EXPECT_NE(0u, key) << path;
  return key;
}

std::vector<std::string> Subkeys(Registry& registry, RegKey key) {
  std::vector<std::string> names;
  for (std::uint32_t i = 0;; ++i) {
    char name[256];
    std::uint32_t size = sizeof name;
    long result = registry.EnumKey(key, i, name, &size);
    if (result == kRegNoMoreItems) break;
    EXPECT_EQ(kRegSuccess, result);
    if (result != kRegSuccess) break;
    EXPECT_EQ(std::strlen(name), size);
    names.push_back(name);
  }
  return names;
}

std::uint32_t SubkeyCount(Registry& registry, RegKey key) {
  std::uint32_t count = 12345;
  EXPECT_EQ(kRegSuccess, registry.QuerySubkeyCount(key, &count));
  return count;
}

}  // namespace

std::string RegistryUnderTestName(const ::testing::TestParamInfo<RegistryUnderTest>& info) {
  return info.param.name;
}

void RegistryTest::SetUp() {
  registry_ = GetParam().make();
  RemoveScratchArea(*registry_);
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string testName = test->name();
  for (char& c : testName) {
    if (c == '/') c = '_';
  }
  scratchPath_ = std::string(kTestsPath) + "\\" + testName;
  scratch_ = Open(*registry_, kHkeyLocalMachine, scratchPath_.c_str());
}

void RegistryTest::TearDown() {
  registry_->CloseKey(scratch_);
  RemoveScratchArea(*registry_);
}

std::uint32_t RegistryTest::TypeOf(RegKey key, const char* name) const {
  std::uint32_t type = 0;
  if (GetParam().valueType(*registry_, key, name, &type) != kRegSuccess) return 0;
  return type;
}

std::vector<std::uint8_t> RegistryTest::BytesOf(RegKey key, const char* name) const {
  std::uint32_t size = 0;
  if (registry_->QueryValue(key, name, nullptr, &size) != kRegSuccess) return {};
  std::vector<std::uint8_t> bytes(size + 1);  // never a zero-length buffer
  if (registry_->QueryValue(key, name, bytes.data(), &size) != kRegSuccess) return {};
  bytes.resize(size);
  return bytes;
}

// ---- Keys ---------------------------------------------------------------------------------------

TEST_P(RegistryConformance, OpeningCreatesEveryMissingKeyOnThePath) {
  Registry& reg = *registry_;
  RegKey deep = Open(reg, scratch_, "One\\Two\\Three");
  EXPECT_EQ(kRegSuccess, reg.SetValue(deep, "Mark", kRegDword, "\x07\0\0\0", 4));
  reg.CloseKey(deep);

  EXPECT_EQ(std::vector<std::string>{"One"}, Subkeys(reg, scratch_));
  // Names are matched without regard to case, and keep the case they were created with.
  RegKey two = Open(reg, scratch_, "ONE\\two");
  EXPECT_EQ(std::vector<std::string>{"Three"}, Subkeys(reg, two));
  RegKey three = Open(reg, two, "three");
  std::uint8_t mark[4] = {};
  std::uint32_t size = sizeof mark;
  EXPECT_EQ(kRegSuccess, reg.QueryValue(three, "Mark", mark, &size));
  EXPECT_EQ(7, mark[0]);
  reg.CloseKey(three);
  reg.CloseKey(two);
  EXPECT_EQ(1u, SubkeyCount(reg, scratch_));
}

TEST_P(RegistryConformance, OpeningAnEmptyPathOpensTheKeyItself) {
  Registry& reg = *registry_;
  RegKey same = Open(reg, scratch_, "");
  EXPECT_EQ(kRegSuccess, reg.SetValue(same, "Seen", kRegSz, "yes", 4));
  reg.CloseKey(same);
  char text[8] = {};
  std::uint32_t size = sizeof text;
  EXPECT_EQ(kRegSuccess, reg.QueryValue(scratch_, "Seen", text, &size));
  EXPECT_STREQ("yes", text);
  EXPECT_EQ(0u, SubkeyCount(reg, scratch_));
}

TEST_P(RegistryConformance, SubkeysEnumerateSortedWithoutRegardToCase) {
  Registry& reg = *registry_;
  for (const char* name : {"zeta", "Evening 2", "beta", ".Default", "evening", "Alpha", "_x"}) {
    reg.CloseKey(Open(reg, scratch_, name));
  }
  reg.CloseKey(Open(reg, scratch_, "ALPHA"));  // the same key as "Alpha"
  std::vector<std::string> expected = {".Default", "_x",        "Alpha", "beta",
                                       "evening",  "Evening 2", "zeta"};
  EXPECT_EQ(expected, Subkeys(reg, scratch_));
  EXPECT_EQ(7u, SubkeyCount(reg, scratch_));

  char name[256];
  std::uint32_t size = sizeof name;
  EXPECT_EQ(kRegNoMoreItems, reg.EnumKey(scratch_, 7, name, &size));
}

TEST_P(RegistryConformance, EnumerationNeedsRoomForTheNameAndItsTerminator) {
  Registry& reg = *registry_;
  reg.CloseKey(Open(reg, scratch_, "Alpha"));
  char name[16];
  std::memset(name, 'x', sizeof name);
  std::uint32_t size = 5;  // "Alpha" without room for the terminator
  EXPECT_EQ(kRegMoreData, reg.EnumKey(scratch_, 0, name, &size));
  size = 6;
  EXPECT_EQ(kRegSuccess, reg.EnumKey(scratch_, 0, name, &size));
  EXPECT_EQ(5u, size);
  EXPECT_STREQ("Alpha", name);
}

TEST_P(RegistryConformance, KeyWithSubkeysCannotBeDeletedButALeafCan) {
  Registry& reg = *registry_;
  RegKey a = Open(reg, scratch_, "A\\B");
  reg.CloseKey(a);
  EXPECT_EQ(kRegAccessDenied, reg.DeleteKey(scratch_, "A"));
  EXPECT_EQ(1u, SubkeyCount(reg, scratch_));

  a = Open(reg, scratch_, "a");
  EXPECT_EQ(kRegSuccess, reg.DeleteKey(a, "b"));
  EXPECT_EQ(0u, SubkeyCount(reg, a));
  EXPECT_EQ(kRegFileNotFound, reg.DeleteKey(a, "B"));
  reg.CloseKey(a);
  EXPECT_EQ(kRegSuccess, reg.DeleteKey(scratch_, "A"));
  EXPECT_EQ(0u, SubkeyCount(reg, scratch_));
}

TEST_P(RegistryConformance, DepthFirstDeletionEmptiesATreeAndKeepsTheTopValues) {
  Registry& reg = *registry_;
  EXPECT_EQ(kRegSuccess, reg.SetValue(scratch_, "Keep", kRegDword, "\x01\0\0\0", 4));
  for (const char* path : {"P\\Q\\R", "P\\Q\\S", "P\\T", "U"}) reg.CloseKey(Open(reg, scratch_, path));
  // Always index 0: each deletion moves the next subkey down.
  struct Walk {
    static void Delete(Registry& reg, RegKey key) {
      for (;;) {
        char name[256];
        std::uint32_t size = sizeof name;
        if (reg.EnumKey(key, 0, name, &size) != kRegSuccess) return;
        RegKey child = 0;
        ASSERT_EQ(kRegSuccess, reg.CreateKey(key, name, &child));
        Delete(reg, child);
        reg.CloseKey(child);
        ASSERT_EQ(kRegSuccess, reg.DeleteKey(key, name));
      }
    }
  };
  Walk::Delete(reg, scratch_);
  EXPECT_EQ(0u, SubkeyCount(reg, scratch_));
  std::uint32_t size = 0;
  EXPECT_EQ(kRegSuccess, reg.QueryValue(scratch_, "Keep", nullptr, &size));
  EXPECT_EQ(4u, size);
}

TEST_P(RegistryConformance, AnOpenHandleToADeletedKeyFails) {
  Registry& reg = *registry_;
  RegKey doomed = Open(reg, scratch_, "Doomed");
  EXPECT_EQ(kRegSuccess, reg.DeleteKey(scratch_, "Doomed"));
  EXPECT_NE(kRegSuccess, reg.SetValue(doomed, "Late", kRegDword, "\0\0\0\0", 4));
  EXPECT_EQ(kRegSuccess, reg.CloseKey(doomed));
  EXPECT_EQ(0u, SubkeyCount(reg, scratch_));
}

TEST_P(RegistryConformance, NullAndClosedHandlesAreInvalid) {
  Registry& reg = *registry_;
  RegKey out = 99;
  EXPECT_EQ(kRegInvalidHandle, reg.CreateKey(0, "X", &out));
  EXPECT_EQ(0u, out);
  std::uint32_t size = 4;
  std::uint8_t data[4];
  EXPECT_EQ(kRegInvalidHandle, reg.QueryValue(0, "X", data, &size));
  EXPECT_EQ(kRegInvalidHandle, reg.SetValue(0, "X", kRegDword, data, 4));
  EXPECT_EQ(kRegInvalidHandle, reg.CloseKey(0));

  RegKey key = Open(reg, scratch_, "Closed");
  EXPECT_EQ(kRegSuccess, reg.CloseKey(key));
  EXPECT_EQ(kRegInvalidHandle, reg.SetValue(key, "X", kRegDword, data, 4));
  EXPECT_EQ(kRegInvalidHandle, reg.CloseKey(key));
}

TEST_P(RegistryConformance, AKeyOpenedToReadReadsButRefusesEveryChange) {
  Registry& reg = *registry_;
  RegKey inner = Open(reg, scratch_, "Locked\\Inner");
  ASSERT_EQ(kRegSuccess, reg.SetValue(inner, "Kept", kRegDword, "\x07\0\0\0", 4));
  reg.CloseKey(inner);

  RegKey locked = 0;
  ASSERT_EQ(kRegSuccess, reg.OpenKeyToRead(scratch_, "locked\\inner", &locked));
  ASSERT_NE(0u, locked);
  std::uint8_t data[4] = {};
  std::uint32_t size = sizeof data;
  EXPECT_EQ(kRegSuccess, reg.QueryValue(locked, "Kept", data, &size));
  EXPECT_EQ(7, data[0]);
  EXPECT_EQ(kRegAccessDenied, reg.SetValue(locked, "Kept", kRegDword, "\x08\0\0\0", 4));
  EXPECT_EQ(kRegAccessDenied, reg.SetValue(locked, "New", kRegDword, "\x08\0\0\0", 4));
  EXPECT_EQ(kRegAccessDenied, reg.DeleteValue(locked, "Kept"));
  EXPECT_EQ(kRegSuccess, reg.CloseKey(locked));
  inner = Open(reg, scratch_, "Locked\\Inner");
  EXPECT_EQ((std::vector<std::uint8_t>{7, 0, 0, 0}), BytesOf(inner, "Kept"));
  reg.CloseKey(inner);
}

TEST_P(RegistryConformance, OpeningToReadNeverCreatesAKey) {
  Registry& reg = *registry_;
  RegKey out = 99;
  EXPECT_EQ(kRegFileNotFound, reg.OpenKeyToRead(scratch_, "Absent\\Deeper", &out));
  EXPECT_EQ(0u, out);
  EXPECT_EQ(0u, SubkeyCount(reg, scratch_));
  EXPECT_EQ(kRegInvalidHandle, reg.OpenKeyToRead(0, "Absent", &out));
}

// ---- Values -------------------------------------------------------------------------------------

TEST_P(RegistryConformance, QueryGivesTheStoredSizeAndMoreDataWhenTheBufferIsSmall) {
  Registry& reg = *registry_;
  const std::uint8_t twelve[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "Date", kRegBinary, twelve, 12));

  std::uint32_t size = 0;
  EXPECT_EQ(kRegSuccess, reg.QueryValue(scratch_, "Date", nullptr, &size));
  EXPECT_EQ(12u, size);

  std::uint8_t small[4] = {};
  size = sizeof small;
  EXPECT_EQ(kRegMoreData, reg.QueryValue(scratch_, "Date", small, &size));
  EXPECT_EQ(12u, size);

  std::uint8_t exact[12] = {};
  size = sizeof exact;
  EXPECT_EQ(kRegSuccess, reg.QueryValue(scratch_, "Date", exact, &size));
  EXPECT_EQ(12u, size);
  EXPECT_EQ(0, std::memcmp(twelve, exact, 12));

  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "Flag", kRegDword, "\x2A\0\0\0", 4));
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "Text", kRegSz, "abc", 4));
  size = 0;
  EXPECT_EQ(kRegSuccess, reg.QueryValue(scratch_, "Flag", nullptr, &size));
  EXPECT_EQ(4u, size);
  size = 0;
  EXPECT_EQ(kRegSuccess, reg.QueryValue(scratch_, "Text", nullptr, &size));
  EXPECT_EQ(4u, size);
  char text[3];
  size = sizeof text;
  EXPECT_EQ(kRegMoreData, reg.QueryValue(scratch_, "Text", text, &size));
  EXPECT_EQ(4u, size);
}

TEST_P(RegistryConformance, AShorterValueCopiesOnlyItsOwnBytes) {
  Registry& reg = *registry_;
  const std::uint8_t twelve[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "CallChargeInfo", kRegBinary, twelve, 12));
  std::uint8_t buffer[20];
  std::memset(buffer, 0xEE, sizeof buffer);
  std::uint32_t size = sizeof buffer;
  EXPECT_EQ(kRegSuccess, reg.QueryValue(scratch_, "CallChargeInfo", buffer, &size));
  EXPECT_EQ(12u, size);
  EXPECT_EQ(0, std::memcmp(twelve, buffer, 12));
  for (int i = 12; i < 20; ++i) EXPECT_EQ(0xEE, buffer[i]) << i;
}

TEST_P(RegistryConformance, ATextWrittenWithoutItsTerminatorCountsTheOneThatFollows) {
  Registry& reg = *registry_;
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "User", kRegSz, "abc", 3));
  EXPECT_EQ(RawBytes("abc", 4), BytesOf(scratch_, "User"));
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "User", kRegSz, "abcd", 3));
  EXPECT_EQ(RawBytes("abc", 3), BytesOf(scratch_, "User"));
  // Only texts: a binary value is stored as given.
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "Raw", kRegBinary, "abc", 3));
  EXPECT_EQ(RawBytes("abc", 3), BytesOf(scratch_, "Raw"));
}

TEST_P(RegistryConformance, ATextWithoutTerminatorGetsOneOnlyWhenThereIsRoom) {
  Registry& reg = *registry_;
  // The byte after the given size is not a terminator, so exactly three bytes are stored.
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "User", kRegSz, "abcd", 3));
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  std::uint32_t size = sizeof buffer;
  EXPECT_EQ(kRegSuccess, reg.QueryValue(scratch_, "User", buffer, &size));
  EXPECT_EQ(3u, size);
  EXPECT_EQ(0, std::memcmp("abc\0x", buffer, 5));

  std::memset(buffer, 'x', sizeof buffer);
  size = 3;
  EXPECT_EQ(kRegSuccess, reg.QueryValue(scratch_, "User", buffer, &size));
  EXPECT_EQ(3u, size);
  EXPECT_EQ(0, std::memcmp("abcx", buffer, 4));

  // A binary value gets no terminator.
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "Raw", kRegBinary, "abcd", 3));
  std::memset(buffer, 'x', sizeof buffer);
  size = sizeof buffer;
  EXPECT_EQ(kRegSuccess, reg.QueryValue(scratch_, "Raw", buffer, &size));
  EXPECT_EQ(0, std::memcmp("abcx", buffer, 4));
}

TEST_P(RegistryConformance, AMissingValueIsNotFound) {
  Registry& reg = *registry_;
  std::uint8_t data[4];
  std::uint32_t size = sizeof data;
  EXPECT_EQ(kRegFileNotFound, reg.QueryValue(scratch_, "Absent", data, &size));
  EXPECT_EQ(kRegFileNotFound, reg.DeleteValue(scratch_, "Absent"));
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "Present", kRegDword, "\0\0\0\0", 4));
  EXPECT_EQ(kRegSuccess, reg.DeleteValue(scratch_, "present"));
  size = sizeof data;
  EXPECT_EQ(kRegFileNotFound, reg.QueryValue(scratch_, "Present", data, &size));
}

TEST_P(RegistryConformance, NullAndEmptyNamesAreBothTheDefaultValue) {
  Registry& reg = *registry_;
  std::uint8_t data[4] = {};
  std::uint32_t size = sizeof data;
  EXPECT_EQ(kRegFileNotFound, reg.QueryValue(scratch_, nullptr, data, &size));
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, nullptr, kRegDword, "\x05\0\0\0", 4));
  size = sizeof data;
  EXPECT_EQ(kRegSuccess, reg.QueryValue(scratch_, "", data, &size));
  EXPECT_EQ(5, data[0]);
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "", kRegDword, "\x06\0\0\0", 4));
  size = sizeof data;
  EXPECT_EQ(kRegSuccess, reg.QueryValue(scratch_, nullptr, data, &size));
  EXPECT_EQ(6, data[0]);
  EXPECT_EQ(kRegSuccess, reg.DeleteValue(scratch_, nullptr));
  size = sizeof data;
  EXPECT_EQ(kRegFileNotFound, reg.QueryValue(scratch_, "", data, &size));
}

TEST_P(RegistryConformance, ValueNamesIgnoreCaseAndARewriteReplacesTypeAndSize) {
  Registry& reg = *registry_;
  const std::uint8_t long24[24] = {};
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "NoDCC", kRegBinary, long24, 24));
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "nodcc", kRegDword, "\x01\0\0\0", 4));
  std::uint8_t data[4] = {};
  std::uint32_t size = sizeof data;
  EXPECT_EQ(kRegSuccess, reg.QueryValue(scratch_, "NODCC", data, &size));
  EXPECT_EQ(4u, size);
  EXPECT_EQ(1, data[0]);
}

TEST_P(RegistryConformance, EachValueKeepsTheTypeItWasWrittenWith) {
  Registry& reg = *registry_;
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "S", kRegSz, "a", 2));
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "D", kRegDword, "\0\0\0\0", 4));
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "B", kRegBinary, "\0\0\0\0", 4));
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, nullptr, kRegDword, "\0\0\0\0", 4));
  EXPECT_EQ(kRegSz, TypeOf(scratch_, "S"));
  EXPECT_EQ(kRegDword, TypeOf(scratch_, "D"));
  EXPECT_EQ(kRegBinary, TypeOf(scratch_, "B"));
  EXPECT_EQ(kRegDword, TypeOf(scratch_, nullptr));
  std::uint32_t type = 0;
  EXPECT_EQ(kRegFileNotFound, GetParam().valueType(reg, scratch_, "Absent", &type));
}

TEST_P(RegistryConformance, ValuesAreCountedAndEnumeratedWithTheDefaultOne) {
  Registry& reg = *registry_;
  std::uint32_t count = 12345;
  EXPECT_EQ(kRegSuccess, reg.QueryValueCount(scratch_, &count));
  EXPECT_EQ(0u, count);
  for (const char* name : {"BillItem10", "billitem2", "Cost", "BILLITEM2"}) {
    ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, name, kRegBinary, "\0\0\0\0", 4));
  }
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, nullptr, kRegDword, "\0\0\0\0", 4));
  reg.CloseKey(Open(reg, scratch_, "Sub"));  // subkeys are not values
  EXPECT_EQ(kRegSuccess, reg.QueryValueCount(scratch_, &count));
  EXPECT_EQ(4u, count);

  std::vector<std::string> names;
  for (std::uint32_t i = 0;; ++i) {
    char name[32];
    std::uint32_t size = sizeof name;
    const long result = reg.EnumValue(scratch_, i, name, &size);
    if (result == kRegNoMoreItems) break;
    ASSERT_EQ(kRegSuccess, result);
    EXPECT_EQ(std::strlen(name), size);
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());  // the order is the registry's own
  EXPECT_EQ((std::vector<std::string>{"", "BillItem10", "Cost", "billitem2"}), names);

  // A buffer without room for the name and its terminator.
  for (std::uint32_t i = 0; i < 4; ++i) {
    char name[32];
    std::uint32_t size = sizeof name;
    ASSERT_EQ(kRegSuccess, reg.EnumValue(scratch_, i, name, &size));
    if (std::strcmp(name, "BillItem10") != 0) continue;
    size = 10;
    EXPECT_EQ(kRegMoreData, reg.EnumValue(scratch_, i, name, &size));
  }
}

TEST_P(RegistryConformance, AnEmptyValueHasSizeZero) {
  Registry& reg = *registry_;
  ASSERT_EQ(kRegSuccess, reg.SetValue(scratch_, "Empty", kRegBinary, nullptr, 0));
  std::uint8_t data[4] = {9, 9, 9, 9};
  std::uint32_t size = sizeof data;
  EXPECT_EQ(kRegSuccess, reg.QueryValue(scratch_, "Empty", data, &size));
  EXPECT_EQ(0u, size);
  EXPECT_EQ(9, data[0]);
}

}  // namespace tollwick
