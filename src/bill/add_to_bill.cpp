#include "bill/add_to_bill.h"

#include <utility>

namespace tollwick {

void AddToBill(const SettingsStore& store, Bill& bill, std::unique_ptr<BillItem> item,
               const ItemAppendedFunction& itemAppended) {
  BillItem* appended = AppendBillItem(bill.head, std::move(item));
  SaveLastBillItem(store, bill.head);
  if (itemAppended) itemAppended(*appended);
}

}  // namespace tollwick
