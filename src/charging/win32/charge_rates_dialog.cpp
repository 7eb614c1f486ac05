#include "charging/win32/charge_rates_dialog.h"


#include "charging/setup_edit.h"
#include "text/field_text.h"
#include "resources/setup_page_ids.h"
#include "text/win32/dialog_fields.h"

namespace tollwick {
namespace {

struct RateField {
  int id;
  const char* name;
  float CallChargeInfo::*rate;
};

constexpr RateField kRateFields[] = {
    {IDC_RATES_DAY_RATE, "Daytime", &CallChargeInfo::dayRate},
    {IDC_RATES_EVENING_RATE, "Evening", &CallChargeInfo::eveningRate},
    {IDC_RATES_WEEKEND_RATE, "Weekend", &CallChargeInfo::weekendRate},
};

CallChargeInfo* RatesOf(HWND dialog) {
  return reinterpret_cast<CallChargeInfo*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void Init(HWND dialog, CallChargeInfo& rates) {
  SetCurrencyLabel(dialog, IDC_RATES_DAY_LABEL, "Daytime : %s");
  SetCurrencyLabel(dialog, IDC_RATES_EVENING_LABEL, "Evening : %s");
  SetCurrencyLabel(dialog, IDC_RATES_WEEKEND_LABEL, "Weekend : %s");
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&rates));
  SetTimeField(dialog, IDC_RATES_DAY_FROM, static_cast<PackedTime>(rates.dayFrom));
  SetTimeField(dialog, IDC_RATES_DAY_TO, static_cast<PackedTime>(rates.dayTo));
  for (const RateField& field : kRateFields) SetMoneyField(dialog, field.id, rates.*field.rate);
}

// Every field is checked before anything is written, so a refusal leaves the profile as it was.
void Ok(HWND dialog, CallChargeInfo& rates) {
  const std::int32_t from = GetTimeField(dialog, IDC_RATES_DAY_FROM);
  if (from == kInvalidTime) return RefuseField(dialog, IDC_RATES_DAY_FROM, "time", "from");
  const std::int32_t to = GetTimeField(dialog, IDC_RATES_DAY_TO);
  if (to == kInvalidTime) return RefuseField(dialog, IDC_RATES_DAY_TO, "time", "to");
  CallChargeInfo entered = rates;
  entered.dayFrom = from;
  entered.dayTo = to;
  for (const RateField& field : kRateFields) {
    const double rate = GetNumberField(dialog, field.id);
    if (!AmountAccepted(rate)) return RefuseField(dialog, field.id, "rate", field.name);
    entered.*field.rate = static_cast<float>(rate);
  }
  rates = entered;
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK ChargeRatesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Init(dialog, *reinterpret_cast<CallChargeInfo*>(lParam));
    return TRUE;
  }
  CallChargeInfo* rates = RatesOf(dialog);
  if (rates == nullptr || message != WM_COMMAND) return FALSE;
  if (LOWORD(wParam) == IDOK) Ok(dialog, *rates);
  if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
  return TRUE;
}

}  // namespace

bool ShowChargeRatesDialog(HWND owner, CallChargeInfo& rates) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CHARGE_RATES), owner, ChargeRatesProc,
                         reinterpret_cast<LPARAM>(&rates)) == IDOK;
}

}  // namespace tollwick
