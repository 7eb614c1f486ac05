#include "bill/add_to_bill.h"

namespace tollwick {

void AddToBill(const SettingsStore& store, Bill& bill, const BillItem& item,
               const ItemAppendedFunction& itemAppended) {
  bill.push_back(item);
  SaveLastBillItem(store, bill);
  if (itemAppended) itemAppended(bill.back());
}

}  // namespace tollwick
