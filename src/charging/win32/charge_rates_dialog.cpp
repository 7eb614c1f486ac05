#include "charging/win32/charge_rates_dialog.h"


#include "charging/setup_edit.h"
#include "text/field_text.h"
#include "resources/setup_page_ids.h"
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

struct RatesOpening {
  CallChargeInfo& rates;
  Environment& environment;
};

class ChargeRatesDialog : public ModalDialog {
 public:
  using Subject = RatesOpening;
  static constexpr int kTemplate = IDD_CHARGE_RATES;
  ChargeRatesDialog(HWND window, RatesOpening& opening)
      : ModalDialog(window, opening.environment), rates_(opening.rates) {}

 private:
  void Fill() override {
    SetCurrencyLabel(IDC_RATES_DAY_LABEL, "Daytime : %s");
    SetCurrencyLabel(IDC_RATES_EVENING_LABEL, "Evening : %s");
    SetCurrencyLabel(IDC_RATES_WEEKEND_LABEL, "Weekend : %s");
    SetTimeField(IDC_RATES_DAY_FROM, static_cast<PackedTime>(rates_.dayFrom));
    SetTimeField(IDC_RATES_DAY_TO, static_cast<PackedTime>(rates_.dayTo));
    for (const RateField& field : kRateFields) SetMoneyField(field.id, rates_.*field.rate);
  }

  // Every field is checked before anything is written, so a refusal leaves the profile as it was.
  bool Accept() override {
    const std::int32_t from = GetTimeField(IDC_RATES_DAY_FROM);
    if (from == kInvalidTime) return RefuseField(IDC_RATES_DAY_FROM, "time", "from");
    const std::int32_t to = GetTimeField(IDC_RATES_DAY_TO);
    if (to == kInvalidTime) return RefuseField(IDC_RATES_DAY_TO, "time", "to");
    CallChargeInfo entered = rates_;
    entered.dayFrom = from;
    entered.dayTo = to;
    for (const RateField& field : kRateFields) {
      const double rate = GetNumberField(field.id);
      if (!AmountAccepted(rate)) return RefuseField(field.id, "rate", field.name);
      entered.*field.rate = static_cast<float>(rate);
    }
    rates_ = entered;
    return true;
  }

  CallChargeInfo& rates_;
};

}  // namespace

bool ShowChargeRatesDialog(HWND owner, CallChargeInfo& rates, Environment& environment) {
  RatesOpening opening{rates, environment};
  return RunModal<ChargeRatesDialog>(owner, opening) == IDOK;
}

}  // namespace tollwick
