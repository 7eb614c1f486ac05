#pragma once
// Billing a call exactly once. The end of a call reserves the bill number its item takes in the
// current-call record before it stores the item, and clears the in-progress marker after; at start-up,
// a call that the last run left in progress (a crash, a power loss, leaving the program while on line)
// is billed from its last snapshot in the same way. Whichever registry change a crash comes after, the
// next start then finds either the call still pending, with or without its item stored under the
// reserved number, or the call done: it is never billed twice, and never lost.

#include <cstdint>

#include "bill/add_to_bill.h"
#include "platform/environment.h"

namespace tollwick {

// Appends the call's item unless the stored bill already holds the number reserved for it.
void BillReservedCall(const SettingsStore& store, Bill& bill, const BillItem& item,
                      std::uint32_t number, const ItemAppendedFunction& itemAppended);

// At start-up, before any call: bills the call pending in recordStore's hive into the bill of
// billStore's hive, the one in use. The record's hive may be the other one (the program now runs
// on the other hive), and may even refuse writes, so that its marker stays set: the bill's hive
// then remembers the call it took in, and later starts do not bill it again. A call that the end of
// the call had stored in its own hive's bill already is not billed again either. The bill's own
// pending call, if any, is recovered first, so that the number it reserved stays its own.
void RecoverInterruptedCall(const SettingsStore& recordStore, const SettingsStore& billStore,
                            Environment& environment, Bill& bill,
                            const ItemAppendedFunction& itemAppended);

}  // namespace tollwick
