#pragma once
// The two small modal dialogs with which the user adds to the bill by hand a call the monitor did not
// see ("Add bill") or a payment ("Add payment"). They fill the item they are given on OK and leave it
// as it came on Cancel; dating, appending and storing it is the caller's.

#include <windows.h>

#include <string>
#include <vector>

#include "bill/bill_store.h"
#include "platform/environment.h"

namespace tollwick {

struct AddBillItemRequest {
  BillItem& item;
  const Bill& bill;                   // whose users the user box offers
  Environment& environment;           // the currency symbol of the amount's label
  std::vector<std::string> accounts;  // the dial-up entries (Add call only)
};

// True after OK. A time that is not h:mm of a day (25:00, 8.30, abc) in Length or Start is refused
// with a message that names the field; the dialog stays open and the item unchanged.
bool ShowAddCallDialog(HWND owner, AddBillItemRequest& request);
bool ShowAddPaymentDialog(HWND owner, AddBillItemRequest& request);

}  // namespace tollwick
