#pragma once
// The record of the call in progress, key "CurCall" below the root: a marker (the unnamed value, 1
// while a call is in progress) and a snapshot of the call rewritten once a minute, so that a call cut
// short by a crash or by leaving the program is still billed at the next start.

#include <cstdint>

#include "bill/bill_item.h"
#include "platform/environment.h"
#include "platform/packed_time.h"
#include "platform/settings_store.h"

namespace tollwick {

constexpr std::uint32_t kCurCallDateBytes = 12;
constexpr std::uint32_t kNoBillItem = 0xFFFFFFFFu;

// Clears the reserved bill number (below), then sets the marker: a record marked in progress never
// carries an earlier call's number.
void MarkCallInProgress(const SettingsStore& store);
void MarkCallEnded(const SettingsStore& store);
// True exactly when the marker is 1 (a missing marker is written as 0).
bool IsCurCallPending(const SettingsStore& store);
// The marker 2: the call was taken by a run on the other hive, which bills it into that hive's bill
// and then clears the marker. No start takes it meanwhile, the taker's own excepted (its
// "OtherHiveCall" holds the call's fingerprint).
void MarkCallTaken(const SettingsStore& store);
bool IsCurCallTaken(const SettingsStore& store);
// Whether this run may write the record (a standard account may not write the machine's hive).
bool MayWriteCurCall(const SettingsStore& store);

// "ItemNumber": the number that the call of the record takes in the bill of the same hive, written
// before its item is stored, so that a start after a crash can tell whether the item is there
// already. kNoBillItem while none is reserved (a missing value reads so and is written so).
void ReserveBillItem(const SettingsStore& store, std::uint32_t number);
std::uint32_t ReservedBillItem(const SettingsStore& store);

// Writes the snapshot, the bill item the call would become if it ended now (its type is not
// stored): "Cost", "Start", "End", "Length", "Date", "User", "Account", in that order, then
// "Volume" (REG_BINARY 16, as a bill item's trailer) while the volume is known, deleted otherwise.
// A value the snapshot gains is a field of the item, written here and read in ReadCurCall.
void SaveCurCall(const SettingsStore& store, const BillItem& call);

// A digest of the snapshot as stored: the same record gives the same number at every start, also in
// a hive where missing values cannot be written back (a missing value counts as missing).
std::uint64_t SnapshotFingerprint(const SettingsStore& store);

// "OtherHiveCall", REG_BINARY of 16 bytes in the record of the hive whose bill took in a call pending
// in the other hive: the fingerprint of that call's snapshot (8 bytes), the number reserved for it in
// this hive's bill (4) and 1 once it is billed (4). The other hive's marker may be impossible to
// clear; this tells the next start that the call is billed already.
struct OtherHiveCall {
  std::uint64_t fingerprint = 0;
  std::uint32_t number = kNoBillItem;
  bool billed = false;
};
OtherHiveCall ReadOtherHiveCall(const SettingsStore& store);
void WriteOtherHiveCall(const SettingsStore& store, const OtherHiveCall& call);

// Fills the item's cost, times, date, user, account and volume from the snapshot; the type is left
// alone. Missing values take the clock's time and date, "Unknown" names and a zero cost, and are
// written back; a missing length is the one from the snapshot's own start and end. A cost that is
// not a finite number reads as 0. A volume that is missing, of another size or absurd is unknown,
// and nothing is written for it.
void ReadCurCall(const SettingsStore& store, Environment& environment, BillItem& item);
// The same without writing anything back: the record of the other hive is read so, since what an
// earlier start could write there depended on its rights, and what later starts find there (its
// fingerprint) must not.
void ReadCurCallAsStored(const SettingsStore& store, Environment& environment, BillItem& item);

// The length of a call from its start and end times of day: the minutes between them (across
// midnight when the end is earlier), plus the minute under way.
PackedTime LengthBetween(PackedTime start, PackedTime end);

}  // namespace tollwick
