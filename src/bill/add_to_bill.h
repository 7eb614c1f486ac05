#pragma once
// The one way an item joins the bill, wherever it comes from (the end of a call, a call recovered at
// start-up, a call or payment added by hand): append it at the tail, store it after the items already
// stored, then tell the open views.

#include <functional>

#include "bill/bill_store.h"

namespace tollwick {

using ItemAppendedFunction = std::function<void(const BillItem&)>;

void AddToBill(const SettingsStore& store, Bill& bill, const BillItem& item,
               const ItemAppendedFunction& itemAppended);

}  // namespace tollwick
