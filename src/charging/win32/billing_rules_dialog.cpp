#include "charging/win32/billing_rules_dialog.h"

#include <cmath>

#include "charging/setup_edit.h"
#include "resources/setup_page_ids.h"
#include "ui/win32/dialog.h"

namespace tollwick {
namespace {

struct RulesOpening {
  BillingRules& rules;
  PlanSettings& plan;
  Environment& environment;
};

// The common ways of billing time, each a first period and a step, set by one click.
struct StepChoice {
  int id;
  std::uint32_t firstPeriod;
  std::uint32_t increment;
};
constexpr StepChoice kStepChoices[] = {
    {IDC_RULES_PER_SECOND, 0, 1},
    {IDC_RULES_PER_MINUTE, 60, 60},
    {IDC_RULES_FIRST_MINUTE, 60, 1},
    {IDC_RULES_PER_HALF_MINUTE, 30, 30},
};

class BillingRulesDialog : public ModalDialog {
 public:
  using Subject = RulesOpening;
  static constexpr int kTemplate = IDD_BILLING_RULES;
  BillingRulesDialog(HWND window, RulesOpening& opening)
      : ModalDialog(window, opening.environment), rules_(opening.rules), plan_(opening.plan) {}

 private:
  void Fill() override {
    SetCurrencyLabel(IDC_RULES_FEE_LABEL, "Connection fee: %s");
    SetCurrencyLabel(IDC_RULES_VOLUME_RATE_LABEL, "Price per MB: %s");
    SetCurrencyLabel(IDC_RULES_PERIOD_FEE_LABEL, "Period fee: %s");
    SetSteps(rules_.firstPeriod, rules_.increment);
    Check(IDC_RULES_RATE_AT_START, rules_.rateAtStart);
    SetMoneyField(IDC_RULES_FEE, rules_.connectionFee);
    Check(IDC_RULES_ROUND_UP, rules_.roundUp);
    SetMoneyField(IDC_RULES_VOLUME_RATE, rules_.volumeRate);
    SetCount(IDC_RULES_VOLUME_FIRST, rules_.volumeFirst);
    SetCount(IDC_RULES_VOLUME_STEP, rules_.volumeStep);
    SetCount(IDC_RULES_PERIOD_DAY, plan_.periodDay);
    SetCount(IDC_RULES_INCLUDED_MINUTES, plan_.includedMinutes);
    SetCount(IDC_RULES_INCLUDED_MB, plan_.includedMB);
    SetMoneyField(IDC_RULES_PERIOD_FEE, plan_.periodFee);
  }

  void Command(int id, int code, HWND /*control*/) override {
    if (code != BN_CLICKED) return;
    for (const StepChoice& choice : kStepChoices) {
      if (id == choice.id) SetSteps(choice.firstPeriod, choice.increment);
    }
  }

  void SetCount(int id, std::uint32_t value) const { SetNumberField(id, static_cast<float>(value)); }

  void SetSteps(std::uint32_t firstPeriod, std::uint32_t increment) const {
    SetCount(IDC_RULES_FIRST_PERIOD, firstPeriod);
    SetCount(IDC_RULES_INCREMENT, increment);
  }

  // A whole number from lowest to highest into `out`; false (refused, the focus on the field)
  // otherwise.
  bool TakeCount(int id, const char* field, std::uint32_t lowest, std::uint32_t highest,
                 std::uint32_t& out) const {
    const double value = GetNumberField(id);
    if (!(value >= lowest && value <= highest) || std::floor(value) != value) {
      return RefuseField(id, "number", field);
    }
    out = static_cast<std::uint32_t>(value);
    return true;
  }

  bool TakeAmount(int id, const char* field, float& out) const {
    const double amount = GetNumberField(id);
    if (!AmountAccepted(amount)) return RefuseField(id, "amount", field);
    out = static_cast<float>(amount);
    return true;
  }

  // Every field is checked, in the order shown, before anything is written.
  bool Accept() override {
    BillingRules rules = rules_;
    PlanSettings plan = plan_;
    if (!TakeCount(IDC_RULES_FIRST_PERIOD, "First period", 0, kLongestChargingSeconds,
                   rules.firstPeriod) ||
        !TakeCount(IDC_RULES_INCREMENT, "Increment", 1, kLongestChargingSeconds, rules.increment) ||
        !TakeAmount(IDC_RULES_FEE, "Connection fee", rules.connectionFee) ||
        !TakeAmount(IDC_RULES_VOLUME_RATE, "Price per MB", rules.volumeRate) ||
        !TakeCount(IDC_RULES_VOLUME_FIRST, "First KB billed", 0, kLargestVolumeKB,
                   rules.volumeFirst) ||
        !TakeCount(IDC_RULES_VOLUME_STEP, "KB step", 1, kLargestVolumeKB, rules.volumeStep) ||
        !TakeCount(IDC_RULES_PERIOD_DAY, "Period day", 1, kLastPeriodDay, plan.periodDay) ||
        !TakeCount(IDC_RULES_INCLUDED_MINUTES, "Included minutes", 0, kLargestIncluded,
                   plan.includedMinutes) ||
        !TakeCount(IDC_RULES_INCLUDED_MB, "Included MB", 0, kLargestIncluded, plan.includedMB) ||
        !TakeAmount(IDC_RULES_PERIOD_FEE, "Period fee", plan.periodFee)) {
      return false;
    }
    rules.rateAtStart = Checked(IDC_RULES_RATE_AT_START);
    rules.roundUp = Checked(IDC_RULES_ROUND_UP);
    rules_ = rules;
    plan_ = plan;
    return true;
  }

  BillingRules& rules_;
  PlanSettings& plan_;
};

}  // namespace

bool ShowBillingRulesDialog(HWND owner, BillingRules& rules, PlanSettings& plan,
                            Environment& environment) {
  RulesOpening opening{rules, plan, environment};
  return RunModal<BillingRulesDialog>(owner, opening) == IDOK;
}

}  // namespace tollwick
