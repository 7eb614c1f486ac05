#include "charging/win32/charge_rates_dialog.h"


#include "charging/setup_edit.h"
#include "text/field_text.h"
#include "resources/setup_page_ids.h"
#include "text/win32/dialog_fields.h"
#include "ui/win32/dialog.h"

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

class ChargeRatesDialog : public ModalDialog {
 public:
  using Subject = CallChargeInfo;
  static constexpr int kTemplate = IDD_CHARGE_RATES;
  ChargeRatesDialog(HWND window, CallChargeInfo& rates) : ModalDialog(window), rates_(rates) {}

 private:
  void Fill() override {
    const HWND dialog = window();
    SetCurrencyLabel(dialog, IDC_RATES_DAY_LABEL, "Daytime : %s");
    SetCurrencyLabel(dialog, IDC_RATES_EVENING_LABEL, "Evening : %s");
    SetCurrencyLabel(dialog, IDC_RATES_WEEKEND_LABEL, "Weekend : %s");
    SetTimeField(dialog, IDC_RATES_DAY_FROM, static_cast<PackedTime>(rates_.dayFrom));
    SetTimeField(dialog, IDC_RATES_DAY_TO, static_cast<PackedTime>(rates_.dayTo));
    for (const RateField& field : kRateFields) SetMoneyField(dialog, field.id, rates_.*field.rate);
  }

  // Every field is checked before anything is written, so a refusal leaves the profile as it was.
  bool Accept() override {
    const HWND dialog = window();
    const std::int32_t from = GetTimeField(dialog, IDC_RATES_DAY_FROM);
    if (from == kInvalidTime) return RefuseField(IDC_RATES_DAY_FROM, "time", "from");
    const std::int32_t to = GetTimeField(dialog, IDC_RATES_DAY_TO);
    if (to == kInvalidTime) return RefuseField(IDC_RATES_DAY_TO, "time", "to");
    CallChargeInfo entered = rates_;
    entered.dayFrom = from;
    entered.dayTo = to;
    for (const RateField& field : kRateFields) {
      const double rate = GetNumberField(dialog, field.id);
      if (!AmountAccepted(rate)) return RefuseField(field.id, "rate", field.name);
      entered.*field.rate = static_cast<float>(rate);
    }
    rates_ = entered;
    return true;
  }

  CallChargeInfo& rates_;
};

}  // namespace

bool ShowChargeRatesDialog(HWND owner, CallChargeInfo& rates) {
  return RunModal<ChargeRatesDialog>(owner, rates) == IDOK;
}

}  // namespace tollwick
