// The current-call record on the in-memory registry: the marker, the snapshot's stored form, and what
// a read makes of missing or unusable values.

#include "call/curcall_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "bill_items.h"
#include "fake_environment.h"
#include "fake_registry.h"
#include "stored_bytes.h"

namespace tollwick {
namespace {

using Names = std::vector<std::string>;

const std::string kCurCallKey = std::string(kRootPath) + "\\CurCall";

class CurCallRecordTest : public ::testing::Test {
 protected:
  CurCallRecordTest() {
    env.SetDate(2000, 12, 7);
    env.SetNow(4, 14, 35, 20);
  }
  Bytes Stored(const char* name) const {
    return registry.ValueBytes(kHkeyLocalMachine, kCurCallKey, name).value_or(Bytes{});
  }
  std::uint32_t TypeOf(const char* name) const {
    return registry.ValueType(kHkeyLocalMachine, kCurCallKey, name).value_or(0);
  }
  void Put(const char* name, std::uint32_t type, const Bytes& bytes) {
    registry.PutValue(kHkeyLocalMachine, kCurCallKey, name, type, bytes);
  }

  FakeRegistry registry;
  SettingsStore store{registry};
  FakeEnvironment env;
};

// ---- Marker -------------------------------------------------------------------------------------

TEST_F(CurCallRecordTest, TheMarkerIsTheUnnamedDwordAndOnlyOneMeansPending) {
  EXPECT_FALSE(IsCurCallPending(store));
  EXPECT_EQ(kRegDword, TypeOf(""));
  EXPECT_EQ(U32Bytes(0), Stored(""));

  MarkCallInProgress(store);
  EXPECT_EQ(kRegDword, TypeOf(""));
  EXPECT_EQ(U32Bytes(1), Stored(""));
  EXPECT_TRUE(IsCurCallPending(store));

  MarkCallEnded(store);
  EXPECT_EQ(U32Bytes(0), Stored(""));
  EXPECT_FALSE(IsCurCallPending(store));

  Put("", kRegDword, U32Bytes(2));
  EXPECT_FALSE(IsCurCallPending(store));
  EXPECT_EQ(0u, registry.OpenHandleCount());
}

// ---- Snapshot -----------------------------------------------------------------------------------

TEST_F(CurCallRecordTest, TheSnapshotIsStoredInOrderWithExactTypesAndBytes) {
  SaveCurCall(store,
              CallItem(0.25f, MakePackedTime(23, 55), MakePackedTime(0, 5), MakePackedTime(0, 11),
                       CalendarDate{31, 12, 1999}, "alice", "My ISP"));
  EXPECT_EQ(Names({"Cost", "Start", "End", "Length", "Date", "User", "Account"}),
            registry.WriteLog());
  for (const char* name : {"Cost", "Start", "End", "Length", "Date"}) {
    EXPECT_EQ(kRegBinary, TypeOf(name)) << name;
  }
  EXPECT_EQ(Bytes({0, 0, 0x80, 0x3E}), Stored("Cost"));
  EXPECT_EQ(Bytes({55, 23, 0, 0}), Stored("Start"));
  EXPECT_EQ(Bytes({5, 0, 0, 0}), Stored("End"));
  EXPECT_EQ(Bytes({11, 0, 0, 0}), Stored("Length"));
  EXPECT_EQ(Bytes({31, 0, 0, 0, 12, 0, 0, 0, 0xCF, 0x07, 0, 0}), Stored("Date"));
  EXPECT_EQ(kRegSz, TypeOf("User"));
  EXPECT_EQ(TextBytes("alice"), Stored("User"));
  EXPECT_EQ(kRegSz, TypeOf("Account"));
  EXPECT_EQ(TextBytes("My ISP"), Stored("Account"));
  EXPECT_EQ(0u, registry.OpenHandleCount());
}

TEST_F(CurCallRecordTest, ASavedSnapshotReadsBackIntoABillItem) {
  SaveCurCall(store, CallItem(3.75f, MakePackedTime(9, 0), MakePackedTime(10, 30),
                              MakePackedTime(1, 31), CalendarDate{29, 2, 2000}, "bob", "Acme"));
  registry.ClearWriteLog();
  BillItem item;
  item.type = kPayment;
  ReadCurCall(store, env, item);
  EXPECT_EQ(3.75f, item.cost);
  EXPECT_EQ(MakePackedTime(9, 0), item.start);
  EXPECT_EQ(MakePackedTime(10, 30), item.end);
  EXPECT_EQ(MakePackedTime(1, 31), item.length);
  EXPECT_EQ(29u, item.day);
  EXPECT_EQ(2u, item.month);
  EXPECT_EQ(2000u, item.year);
  EXPECT_STREQ("bob", item.user);
  EXPECT_STREQ("Acme", item.account);
  EXPECT_EQ(static_cast<std::uint32_t>(kPayment), item.type);  // not the record's business
  EXPECT_TRUE(registry.WriteLog().empty());
}

TEST_F(CurCallRecordTest, ANameFillingItsWholeFieldIsStoredCut) {
  BillItem call = CallItem(0.0f, 0, 0, 1, CalendarDate{1, 1, 2000}, "", "Acme");
  std::memset(call.user, 'u', sizeof call.user);  // no terminator within the field
  SaveCurCall(store, call);
  EXPECT_EQ(TextBytes(std::string(kNameChars - 1, 'u')), Stored("User"));
  BillItem item;
  ReadCurCall(store, env, item);
  EXPECT_EQ(std::string(kNameChars - 1, 'u'), item.user);
}

// ---- Reading with defaults ----------------------------------------------------------------------

TEST_F(CurCallRecordTest, AnEmptyRecordReadsTheClockAndUnknownNamesAndWritesThemBack) {
  BillItem item;
  ReadCurCall(store, env, item);
  EXPECT_EQ(0.0f, item.cost);
  EXPECT_EQ(MakePackedTime(14, 35), item.start);
  EXPECT_EQ(MakePackedTime(14, 35), item.end);
  EXPECT_EQ(MakePackedTime(0, 1), item.length);  // not the time of day
  EXPECT_EQ(7u, item.day);
  EXPECT_EQ(12u, item.month);
  EXPECT_EQ(2000u, item.year);
  EXPECT_STREQ("Unknown", item.user);
  EXPECT_STREQ("Unknown", item.account);

  EXPECT_EQ(Names({"Cost", "Start", "End", "Length", "Date", "User", "Account"}),
            registry.WriteLog());
  EXPECT_EQ(Bytes(4, 0), Stored("Cost"));
  EXPECT_EQ(Bytes({35, 14, 0, 0}), Stored("Start"));
  EXPECT_EQ(Bytes({35, 14, 0, 0}), Stored("End"));
  EXPECT_EQ(kRegBinary, TypeOf("Length"));
  EXPECT_EQ(Bytes({1, 0, 0, 0}), Stored("Length"));
  EXPECT_EQ(Bytes({7, 0, 0, 0, 12, 0, 0, 0, 0xD0, 0x07, 0, 0}), Stored("Date"));
  EXPECT_EQ(TextBytes("Unknown"), Stored("User"));
  EXPECT_EQ(TextBytes("Unknown"), Stored("Account"));
}

TEST_F(CurCallRecordTest, AStoredCostThatIsNotAFiniteNumberReadsAsZero) {
  for (std::uint32_t bits : {0x7FC00000u, 0x7F800000u, 0xFF800000u}) {
    Put("Cost", kRegBinary, U32Bytes(bits));
    BillItem item;
    item.cost = 5.0f;
    ReadCurCall(store, env, item);
    EXPECT_EQ(0.0f, item.cost) << std::hex << bits;
  }
}

TEST_F(CurCallRecordTest, AMissingLengthIsTheSnapshotsOwnStartToEnd) {
  Put("Start", kRegBinary, U32Bytes(MakePackedTime(23, 50)));
  Put("End", kRegBinary, U32Bytes(MakePackedTime(0, 5)));
  BillItem item;
  ReadCurCall(store, env, item);
  EXPECT_EQ(MakePackedTime(0, 16), item.length);
  EXPECT_EQ(U32Bytes(MakePackedTime(0, 16)), Stored("Length"));
}

TEST_F(CurCallRecordTest, MissingNamesAreUnknownAndTheRestIsKept) {
  SaveCurCall(store, CallItem(2.0f, MakePackedTime(9, 0), MakePackedTime(9, 5),
                              MakePackedTime(0, 6), CalendarDate{1, 2, 2001}, "alice", "Acme"));
  for (const char* name : {"User", "Account"}) {
    store.DeleteValue(store.OpenSettingsKey(kCurCallKey.c_str()), name);
  }
  registry.ClearWriteLog();

  BillItem item;
  ReadCurCall(store, env, item);
  EXPECT_STREQ("Unknown", item.user);
  EXPECT_STREQ("Unknown", item.account);
  EXPECT_EQ(2.0f, item.cost);
  EXPECT_EQ(MakePackedTime(0, 6), item.length);
  EXPECT_EQ(Names({"User", "Account"}), registry.WriteLog());
  EXPECT_EQ(TextBytes("Unknown"), Stored("User"));
  EXPECT_EQ(TextBytes("Unknown"), Stored("Account"));
}

TEST_F(CurCallRecordTest, AStoredUserOfAHundredAndFiftyCharactersBecomesUnknown) {
  Put("User", kRegSz, TextBytes(std::string(150, 'u')));
  Put("Account", kRegSz, Bytes(kNameChars, 'a'));  // no terminator within the field
  BillItem item;
  ReadCurCall(store, env, item);
  EXPECT_STREQ("Unknown", item.user);
  EXPECT_STREQ("Unknown", item.account);
  EXPECT_EQ(TextBytes("Unknown"), Stored("User"));
  EXPECT_EQ(TextBytes("Unknown"), Stored("Account"));
}

// ---- Calls taken in from the other hive ---------------------------------------------------------

TEST_F(CurCallRecordTest, TheFingerprintFollowsEverySnapshotValueAndNothingElse) {
  SaveCurCall(store, CallItem(1.5f, 0x0900, 0x0905, 6, CalendarDate{1, 2, 2001}, "alice", "Acme"));
  const std::uint64_t saved = SnapshotFingerprint(store);
  MarkCallInProgress(store);
  WriteOtherHiveCall(store, OtherHiveCall{saved, 3, true});
  EXPECT_EQ(saved, SnapshotFingerprint(store)) << "the marker and the bookkeeping are not the call";
  MarkCallEnded(store);
  EXPECT_EQ(saved, SnapshotFingerprint(store)) << "marking leaves the snapshot alone";
  for (const char* name : {"Cost", "Start", "End", "Length", "Date", "User", "Account"}) {
    const Bytes kept = Stored(name);
    Bytes changed = kept;
    changed[0] ^= 1;
    Put(name, TypeOf(name), changed);
    EXPECT_NE(saved, SnapshotFingerprint(store)) << name;
    Put(name, TypeOf(name), kept);
  }
  EXPECT_EQ(saved, SnapshotFingerprint(store));
}

TEST(LengthBetweenTest, CountsTheMinutesBetweenAndTheMinuteUnderWay) {
  struct Case {
    PackedTime start, end, length;
  };
  const Case cases[] = {
      {MakePackedTime(8, 0), MakePackedTime(8, 0), MakePackedTime(0, 1)},
      {MakePackedTime(8, 0), MakePackedTime(8, 5), MakePackedTime(0, 6)},
      {MakePackedTime(8, 30), MakePackedTime(9, 59), MakePackedTime(1, 30)},
      {MakePackedTime(23, 59), MakePackedTime(0, 0), MakePackedTime(0, 2)},
      {MakePackedTime(10, 0), MakePackedTime(9, 59), MakePackedTime(24, 0)},
      // Bits above the hour are not part of a time.
      {MakePackedTime(8, 0) | 0xFF0000u, MakePackedTime(8, 1), MakePackedTime(0, 2)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.length, LengthBetween(c.start, c.end)) << std::hex << c.start << " " << c.end;
  }
}

}  // namespace
}  // namespace tollwick
