#pragma once
// Billing a call exactly once. The end of a call reserves, in the current-call record, the bill
// number its item takes before it stores the item, and clears the in-progress marker after; at
// start-up, a call the last run left in progress (a crash, a power loss, leaving the program while on
// line) is billed from its last snapshot in the same way. Whichever registry change a crash comes
// after, the next start finds the call still pending, with or without its item stored under the
// reserved number, or the call done: it is never billed twice, and never lost.

#include <cstdint>

#include "bill/bill_store.h"
#include "platform/environment.h"

namespace tollwick {

// Bills the call of the record in store's hive into that hive's bill, exactly once however often it
// is repeated after a crash: reserves the next bill number in the record unless one is reserved
// already, appends the item unless the stored bill holds that number, and clears the marker. The end
// of a call and its recovery both end this way.
void CommitCall(const SettingsStore& store, Bill& bill, const BillItem& item);

// At start-up, after the bill is loaded and before any call: bills the call pending in recordStore's
// hive into the bill of billStore's hive, the one in use. The record's hive may be the other one (the
// program now runs on the other hive, and other accounts may share that hive): the call is then
// taken only by a run that may write the record, which marks it taken there first, so that it is
// billed once whichever accounts start, standard or elevated, and in whatever order; a run that may
// not write it leaves it for one that may. The bill's hive remembers the call it took in, and
// finishes it after a crash. Nor is a call billed again that the end of the call stored in its own
// hive's bill. The bill's own pending call, if any, is recovered first, so that the number it
// reserved stays its own.
void RecoverInterruptedCall(const SettingsStore& recordStore, const SettingsStore& billStore,
                            Environment& environment, Bill& bill);

}  // namespace tollwick
