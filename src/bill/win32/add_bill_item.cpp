#include "bill/win32/add_bill_item.h"

#include <string>

#include "bill/bill_views.h"
#include "resources/add_bill_item_ids.h"
#include "text/field_text.h"
#include "text/win32/dialog_fields.h"

namespace tollwick {
namespace {

enum class ItemKind { kCall, kPayment };

struct DialogState {
  AddBillItemRequest& request;
  ItemKind kind;
};

DialogState* StateOf(HWND dialog) {
  return reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

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

void Init(HWND dialog, DialogState& state) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
  const BillItem& item = state.request.item;
  const bool call = state.kind == ItemKind::kCall;
  SetCurrencyLabel(dialog, IDC_ADD_COST_LABEL, call ? "Cost: %s" : "Paid: %s");
  if (call) {
    HWND accounts = GetDlgItem(dialog, IDC_ADD_ACCOUNT);
    for (const std::string& account : state.request.accounts) {
      SendMessageA(accounts, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(account.c_str()));
    }
    SendMessageA(accounts, CB_SETCURSEL, 0, 0);
  }
  FillUserBox(dialog, state.request.bill);
  SetDlgItemTextA(dialog, IDC_ADD_USER, item.user);
  if (call) {
    SetTimeField(dialog, IDC_ADD_START, item.start);
    SetTimeField(dialog, IDC_ADD_LENGTH, item.length);
  }
  SetMoneyField(dialog, IDC_ADD_COST, item.cost);
}

// A time the user must put right first; -1 stored would read as a real call of 255:255.
bool ReadTime(HWND dialog, int id, const char* field, PackedTime* time) {
  const std::int32_t value = GetTimeField(dialog, id);
  if (value == kInvalidTime) {
    RefuseField(dialog, id, "time", field);
    return false;
  }
  *time = static_cast<PackedTime>(value);
  return true;
}

void Ok(HWND dialog, DialogState& state) {
  BillItem& item = state.request.item;
  if (state.kind == ItemKind::kCall) {
    PackedTime length = 0;
    PackedTime start = 0;
    if (!ReadTime(dialog, IDC_ADD_LENGTH, "Length", &length)) return;
    if (!ReadTime(dialog, IDC_ADD_START, "Start", &start)) return;
    ReadText(dialog, IDC_ADD_ACCOUNT, item.account);
    item.length = length;
    item.start = start;
    item.type = Call;
  } else {
    item.type = Payment;
  }
  ReadText(dialog, IDC_ADD_USER, item.user);
  item.cost = static_cast<float>(GetNumberField(dialog, IDC_ADD_COST));
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK AddBillItemProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Init(dialog, *reinterpret_cast<DialogState*>(lParam));
    return TRUE;
  }
  DialogState* state = StateOf(dialog);
  if (state == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) Ok(dialog, *state);
      if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
      return TRUE;
    case WM_DESTROY:
      return TRUE;
    default:
      return FALSE;
  }
}

bool Show(HWND owner, AddBillItemRequest& request, ItemKind kind, int templateId) {
  DialogState state{request, kind};
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, AddBillItemProc,
                         reinterpret_cast<LPARAM>(&state)) == IDOK;
}

}  // namespace

bool ShowAddCallDialog(HWND owner, AddBillItemRequest& request) {
  return Show(owner, request, ItemKind::kCall, IDD_ADD_CALL);
}

bool ShowAddPaymentDialog(HWND owner, AddBillItemRequest& request) {
  return Show(owner, request, ItemKind::kPayment, IDD_ADD_PAYMENT);
}

}  // namespace tollwick
