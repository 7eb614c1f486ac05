#include "bill/win32/add_bill_item.h"

#include <string>

#include "bill/bill_views.h"
#include "resources/add_bill_item_ids.h"
#include "text/field_text.h"
#include "ui/win32/dialog.h"

namespace tollwick {
namespace {

// Each user once, the one first seen latest at the top: names go in at the top (which a sorted
// box allows with CB_INSERTSTRING) in the order the bill first shows them.
void FillUserBox(HWND dialog, const Bill& bill) {
  HWND box = GetDlgItem(dialog, IDC_ADD_USER);
  for (const std::string& user : DistinctBillUsers(bill)) {
    SendMessageA(box, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(user.c_str()));
  }
}

void ReadText(HWND dialog, int id, char (&field)[kNameChars]) {
  GetDlgItemTextA(dialog, id, field, kNameChars);
}

// Add call and Add payment: one dialog, two templates.
class AddBillItemDialog : public ModalDialog {
 public:
  using Subject = AddBillItemRequest;

 protected:
  AddBillItemDialog(HWND window, AddBillItemRequest& request, bool call)
      : ModalDialog(window, request.environment), request_(request), call_(call) {}

 private:
  void Fill() override {
    const HWND dialog = window();
    const BillItem& item = request_.item;
    SetCurrencyLabel(IDC_ADD_COST_LABEL, call_ ? "Cost: %s" : "Paid: %s");
    if (call_) {
      HWND accounts = Control(IDC_ADD_ACCOUNT);
      for (const std::string& account : request_.accounts) {
        SendMessageA(accounts, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(account.c_str()));
      }
      SendMessageA(accounts, CB_SETCURSEL, 0, 0);
    }
    FillUserBox(dialog, request_.bill);
    SetText(IDC_ADD_USER, item.user);
    if (call_) {
      SetTimeField(IDC_ADD_START, item.start);
      SetTimeField(IDC_ADD_LENGTH, item.length);
    }
    SetMoneyField(IDC_ADD_COST, item.cost);
  }

  // A time the user must put right first; -1 stored would read as a real call of 255:255.
  bool ReadTime(int id, const char* field, PackedTime* time) {
    const std::int32_t value = GetTimeField(id);
    if (value == kInvalidTime) return RefuseField(id, "time", field);
    *time = static_cast<PackedTime>(value);
    return true;
  }

  bool Accept() override {
    const HWND dialog = window();
    BillItem& item = request_.item;
    if (call_) {
      PackedTime length = 0;
      PackedTime start = 0;
      if (!ReadTime(IDC_ADD_LENGTH, "Length", &length)) return false;
      if (!ReadTime(IDC_ADD_START, "Start", &start)) return false;
      ReadText(dialog, IDC_ADD_ACCOUNT, item.account);
      item.length = length;
      item.start = start;
      item.type = kCall;
    } else {
      item.type = kPayment;
    }
    ReadText(dialog, IDC_ADD_USER, item.user);
    item.cost = static_cast<float>(GetNumberField(IDC_ADD_COST));
    return true;
  }

  AddBillItemRequest& request_;
  const bool call_;
};

class AddCallDialog : public AddBillItemDialog {
 public:
  static constexpr int kTemplate = IDD_ADD_CALL;
  AddCallDialog(HWND window, AddBillItemRequest& request)
      : AddBillItemDialog(window, request, true) {}
};

class AddPaymentDialog : public AddBillItemDialog {
 public:
  static constexpr int kTemplate = IDD_ADD_PAYMENT;
  AddPaymentDialog(HWND window, AddBillItemRequest& request)
      : AddBillItemDialog(window, request, false) {}
};

}  // namespace

bool ShowAddCallDialog(HWND owner, AddBillItemRequest& request) {
  return RunModal<AddCallDialog>(owner, request) == IDOK;
}

bool ShowAddPaymentDialog(HWND owner, AddBillItemRequest& request) {
  return RunModal<AddPaymentDialog>(owner, request) == IDOK;
}

}  // namespace tollwick
