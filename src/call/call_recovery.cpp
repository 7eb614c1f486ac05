#include "call/call_recovery.h"

#include "call/curcall_record.h"

namespace tollwick {

void RecoverInterruptedCall(const SettingsStore& store, Environment& environment, Bill& bill,
                            const ItemAppendedFunction& itemAppended) {
  if (!IsCurCallPending(store)) return;
  // Cleared before the item is made: an interruption now may lose this call, but never bills it twice.
  MarkCallEnded(store);
  BillItem item;
  ReadCurCall(store, environment, item);
  item.type = Call;
  AddToBill(store, bill, item, itemAppended);
}

}  // namespace tollwick
