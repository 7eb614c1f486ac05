#include "call/call_recovery.h"

#include "call/curcall_record.h"

namespace tollwick {
namespace {

BillItem RecordedCall(const SettingsStore& store, Environment& environment, bool asStored) {
  BillItem item;
  if (asStored) {
    ReadCurCallAsStored(store, environment, item);
  } else {
    ReadCurCall(store, environment, item);
  }
  item.type = kCall;
  return item;
}

// Items are stored in order, and the number was reserved before this one's turn came: a bill
// holding the number holds the call.
void AppendUnlessStored(const SettingsStore& store, Bill& bill, const BillItem& item,
                        std::uint32_t number) {
  if (NextBillItemNumber(store) <= number) bill.Append(store, item);
}

// A call pending in the other hive is taken only by a run that may write that hive: it marks the
// call taken there before billing it into its own bill, so no other start, of any account, bills it
// too. A run that may not write the record could not tell the others, so it leaves the call alone.
void RecoverOtherHiveCall(const SettingsStore& recordStore, const SettingsStore& billStore,
                          Environment& environment, Bill& bill) {
  const bool pending = IsCurCallPending(recordStore);
  if (!pending && !IsCurCallTaken(recordStore)) return;
  if (pending && !MayWriteCurCall(recordStore)) return;
  // Read without writing defaults back: the starts that finish a call taken before a crash must find
  // the record as the start that took it did, or the fingerprint below would not know the call again.
  const BillItem item = RecordedCall(recordStore, environment, true);
  const std::uint64_t fingerprint = SnapshotFingerprint(recordStore);
  OtherHiveCall taken = ReadOtherHiveCall(billStore);
  if (pending) {
    const std::uint32_t ownNumber = ReservedBillItem(recordStore);
    if (ownNumber != kNoBillItem && NextBillItemNumber(recordStore) > ownNumber) {
      // The end of the call stored it in its own hive's bill; only the marker was left.
      MarkCallEnded(recordStore);
      return;
    }
    if (taken.fingerprint != fingerprint) {
      taken = OtherHiveCall{fingerprint, NextBillItemNumber(billStore), false};
      WriteOtherHiveCall(billStore, taken);
    }
    MarkCallTaken(recordStore);
  } else if (taken.fingerprint != fingerprint) {
    return;  // another tree took it and finishes it
  }
  if (!taken.billed) {
    AppendUnlessStored(billStore, bill, item, taken.number);
    // From now on the bill's count says nothing of this call: its items may be deleted.
    taken.billed = true;
    WriteOtherHiveCall(billStore, taken);
  }
  // Where this run may not write the record (the taker started again without the rights), the
  // marker stays "taken": nobody else takes the call, and a later run of this tree clears it.
  MarkCallEnded(recordStore);
}

}  // namespace

void CommitCall(const SettingsStore& store, Bill& bill, const BillItem& item) {
  std::uint32_t number = ReservedBillItem(store);
  if (number == kNoBillItem) {
    number = NextBillItemNumber(store);
    ReserveBillItem(store, number);
  }
  AppendUnlessStored(store, bill, item, number);
  MarkCallEnded(store);
}

void RecoverInterruptedCall(const SettingsStore& recordStore, const SettingsStore& billStore,
                            Environment& environment, Bill& bill) {
  // The bill's own call first: a number that its end reserved is its own.
  if (IsCurCallPending(billStore)) {
    CommitCall(billStore, bill, RecordedCall(billStore, environment, false));
  }
  if (!recordStore.SharesTreeWith(billStore)) {
    RecoverOtherHiveCall(recordStore, billStore, environment, bill);
  }
}

}  // namespace tollwick
