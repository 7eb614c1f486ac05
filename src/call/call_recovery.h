#pragma once
// At start-up, a call that the last run left in progress (a crash, a power loss, leaving the program
// while on line) is billed from its last snapshot.

#include "bill/add_to_bill.h"
#include "platform/environment.h"

namespace tollwick {

void RecoverInterruptedCall(const SettingsStore& store, Environment& environment, Bill& bill,
                            const ItemAppendedFunction& itemAppended);

}  // namespace tollwick
