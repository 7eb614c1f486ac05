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

void RecoverOtherHiveCall(const SettingsStore& recordStore, const SettingsStore& billStore,
                          Environment& environment, Bill& bill) {
  if (!IsCurCallPending(recordStore)) return;
  // Read without writing defaults back: a run that may write this hive and one that may not must
  // find the same record, or the fingerprint below would not know the call again.
  const BillItem item = RecordedCall(recordStore, environment, true);
  const std::uint32_t ownNumber = ReservedBillItem(recordStore);
  if (ownNumber != kNoBillItem && NextBillItemNumber(recordStore) > ownNumber) {
    // The end of the call stored it in its own hive's bill; only the marker was left.
    MarkCallEnded(recordStore);
    return;
  }
  const std::uint64_t fingerprint = SnapshotFingerprint(recordStore);
  OtherHiveCall taken = ReadOtherHiveCall(billStore);
  if (taken.fingerprint != fingerprint) {
    taken = OtherHiveCall{fingerprint, NextBillItemNumber(billStore), false};
    WriteOtherHiveCall(billStore, taken);
  }
  if (!taken.billed) {
    AppendUnlessStored(billStore, bill, item, taken.number);
    // From now on the bill's count says nothing of this call: its items may be deleted.
    taken.billed = true;
    WriteOtherHiveCall(billStore, taken);
  }
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
