#include "call/call_recovery.h"

#include "call/curcall_record.h"

namespace tollwick {

void BillReservedCall(const SettingsStore& store, Bill& bill, const BillItem& item,
                      std::uint32_t number, const ItemAppendedFunction& itemAppended) {
  // Items are stored in order and the number was reserved before this one's turn: a bill holding
  // the number holds the call.
  if (NextBillItemNumber(store) > number) return;
  AddToBill(store, bill, item, itemAppended);
}

void RecoverInterruptedCall(const SettingsStore& store, Environment& environment, Bill& bill,
                            const ItemAppendedFunction& itemAppended) {
  if (!IsCurCallPending(store)) return;
  BillItem item;
  ReadCurCall(store, environment, item);
  item.type = Call;
  std::uint32_t number = ReservedBillItem(store);
  if (number == kNoBillItem) {
    number = NextBillItemNumber(store);
    ReserveBillItem(store, number);
  }
  BillReservedCall(store, bill, item, number, itemAppended);
  MarkCallEnded(store);
}

}  // namespace tollwick
