#include "charging/win32/setup_page.h"

#include <commctrl.h>

#include "charging/win32/billing_rules_dialog.h"
#include "charging/win32/charge_rates_dialog.h"
#include "resources/setup_page_ids.h"

namespace tollwick {
namespace {

constexpr int kDiscountImageCount = 3;  // one per mode

constexpr const char* kNameClash = "Unable to add discount - a discount of that name already exists!";

}  // namespace

void SetupPage::Fill() {
  const HWND page = window();
  SetCurrencyLabel(IDC_SETUP_CURRENCY, "%s");
  edit_ = std::make_unique<SetupEdit>(subject_.profiles, subject_.entryNames);
  HWND accounts = GetDlgItem(page, IDC_SETUP_ACCOUNT);
  for (std::size_t i = 0; i < edit_->size(); ++i) {
    const LRESULT item = SendMessageA(accounts, CB_ADDSTRING, 0,
                                      reinterpret_cast<LPARAM>(edit_->profile(i).name));
    SendMessageA(accounts, CB_SETITEMDATA, item, static_cast<LPARAM>(i));
  }

  HWND list = GetDlgItem(page, IDC_SETUP_DISCOUNTS);
  RECT client;
  GetClientRect(list, &client);
  LVCOLUMNA column{};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
  column.fmt = LVCFMT_LEFT;
  column.cx = client.right - client.left;
  column.pszText = const_cast<char*>("Discounts");
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  // The list owns its pictures (no LVS_SHAREIMAGELISTS) and destroys them with itself.
  ListView_SetImageList(list, LoadImageStrip(IDB_DISCOUNT_IMAGES), LVSIL_SMALL);
  Show(0);
}

void SetupPage::Show(std::size_t index) {
  FillScope filling(*this);
  const HWND page = window();
  shown_ = index;
  minChargeTyped_ = false;
  SelectShownAccount();
  const ShownSettings shown = edit_->Shown(index);
  Check(IDC_SETUP_USE_DEFAULT, shown.useDefault);
  Check(IDC_SETUP_MIN_CHARGE_ON, shown.minChargeOn);
  SetMoneyField(IDC_SETUP_MIN_CHARGE, static_cast<float>(shown.minCharge));
  SetDlgItemTextA(page, IDC_SETUP_SHOWN_NAME, edit_->profile(index).name);
  UpdateEnabled();
  FillDiscounts();
}

void SetupPage::SelectShownAccount() {
  HWND accounts = GetDlgItem(window(), IDC_SETUP_ACCOUNT);
  const LRESULT count = SendMessageA(accounts, CB_GETCOUNT, 0, 0);
  for (LRESULT item = 0; item < count; ++item) {
    if (static_cast<std::size_t>(SendMessageA(accounts, CB_GETITEMDATA, item, 0)) == shown_) {
      SendMessageA(accounts, CB_SETCURSEL, item, 0);
    }
  }
}

ShownSettings SetupPage::ReadShown() const {
  return {Checked(IDC_SETUP_USE_DEFAULT), Checked(IDC_SETUP_MIN_CHARGE_ON),
          GetNumberField(IDC_SETUP_MIN_CHARGE), !minChargeTyped_};
}

bool SetupPage::StoreShown() {
  if (edit_->Store(shown_, ReadShown())) return true;
  return RefuseField(IDC_SETUP_MIN_CHARGE, "amount", "Minimum charge");
}

void SetupPage::UpdateEnabled() {
  const SetupEnabled enabled = EnabledFor(edit_->profile(shown_), ReadShown());
  Enable(IDC_SETUP_USE_DEFAULT, enabled.useDefaultBox);
  for (int id : {IDC_SETUP_RATES, IDC_SETUP_BILLING, IDC_SETUP_ADD, IDC_SETUP_REMOVE, IDC_SETUP_EDIT,
                 IDC_SETUP_MIN_CHARGE_ON, IDC_SETUP_DISCOUNTS}) {
    Enable(id, enabled.settings);
  }
  Enable(IDC_SETUP_MIN_CHARGE, enabled.minChargeField);
}

// The list shows the discounts of an account that takes input only; each item's data is the
// discount's position in its profile.
void SetupPage::FillDiscounts() {
  FillScope filling(*this);
  HWND list = GetDlgItem(window(), IDC_SETUP_DISCOUNTS);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  if (!IsWindowEnabled(list)) return;
  const std::vector<Discount>& discounts = edit_->profile(shown_).discounts;
  for (std::size_t i = 0; i < discounts.size(); ++i) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<char*>(discounts[i].name);
    // Any mode beyond the three is priced as a percentage, and pictured so.
    item.iImage = discounts[i].mode < kDiscountImageCount ? static_cast<int>(discounts[i].mode) : 0;
    item.lParam = static_cast<LPARAM>(i);
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
}

std::vector<std::size_t> SetupPage::SelectedDiscounts() const {
  HWND list = Control(IDC_SETUP_DISCOUNTS);
  std::vector<std::size_t> positions;
  for (const int item : SelectedRows(IDC_SETUP_DISCOUNTS)) {
    LVITEMA read{};
    read.mask = LVIF_PARAM;
    read.iItem = item;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&read));
    positions.push_back(static_cast<std::size_t>(read.lParam));
  }
  return positions;
}

void SetupPage::SwitchAccount() {
  HWND accounts = GetDlgItem(window(), IDC_SETUP_ACCOUNT);
  const LRESULT item = SendMessageA(accounts, CB_GETCURSEL, 0, 0);
  if (item < 0) return;
  const auto chosen = static_cast<std::size_t>(SendMessageA(accounts, CB_GETITEMDATA, item, 0));
  if (chosen == shown_ || chosen >= edit_->size()) return;
  // The account left keeps what its controls hold; a refused amount keeps it shown, as typed, to
  // be put right.
  if (StoreShown()) return Show(chosen);
  FillScope filling(*this);
  SelectShownAccount();
}

void SetupPage::AddDiscount() {
  Discount added = NewDiscount();
  if (!subject_.editDiscount || !subject_.editDiscount(window(), added)) return;
  if (!edit_->AddDiscount(shown_, added)) return ShowError(kNameClash);
  FillDiscounts();
}

void SetupPage::EditDiscount() {
  const std::vector<std::size_t> selected = SelectedDiscounts();
  if (selected.empty() || !subject_.editDiscount) return;
  Discount edited = edit_->profile(shown_).discounts[selected.front()];
  if (!subject_.editDiscount(window(), edited)) return;
  if (!edit_->ReplaceDiscount(shown_, selected.front(), edited)) return ShowError(kNameClash);
  FillDiscounts();  // the item takes the new name and picture
}

void SetupPage::RemoveDiscounts() {
  edit_->RemoveDiscounts(shown_, SelectedDiscounts());
  FillDiscounts();
}

void SetupPage::Command(int id, int code, HWND /*control*/) {
  switch (id) {
    case IDC_SETUP_ACCOUNT:
      if (code == CBN_SELCHANGE) SwitchAccount();
      break;
    case IDC_SETUP_USE_DEFAULT:
      UpdateEnabled();
      FillDiscounts();  // shown only while they can be edited
      break;
    case IDC_SETUP_MIN_CHARGE_ON:
      UpdateEnabled();
      break;
    case IDC_SETUP_MIN_CHARGE:
      if (code == EN_CHANGE) minChargeTyped_ = true;
      break;
    case IDC_SETUP_RATES:
      ShowChargeRatesDialog(window(), edit_->profile(shown_).charge, subject_.environment);
      break;
    case IDC_SETUP_BILLING:
      ShowBillingRulesDialog(window(), edit_->profile(shown_).rules, edit_->profile(shown_).plan,
                             subject_.environment);
      break;
    case IDC_SETUP_ADD:
      AddDiscount();
      break;
    case IDC_SETUP_REMOVE:
      RemoveDiscounts();
      break;
    case IDC_SETUP_EDIT:
      EditDiscount();
      break;
    default:
      break;
  }
}

bool SetupPage::MayApply() { return StoreShown(); }

// MayApply has refused a negative minimum charge typed already; should one still be there,
// nothing is saved rather than a profile that would lower the bill.
void SetupPage::Ok() {
  if (edit_->Store(shown_, ReadShown())) edit_->SaveAll();
}

}  // namespace tollwick
