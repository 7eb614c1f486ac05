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

void RecoverInterruptedCall(const SettingsStore& store, Environment& environment, Bill& bill,
                            const ItemAppendedFunction& itemAppended);

}  // namespace tollwick
