#pragma once
// A word before an allowance runs out: when an account's usage in its billing period first reaches
// 80% and then 100% of its included minutes or MB, the tray shows one notice. What was told is kept
// in the account's key ("PlanWarned", REG_DWORD: the period's first day counted from 1 January 1601,
// shifted left by four, and one bit per threshold), so each is told once per period and account,
// across restarts, and a new period, whose first day differs, starts with nothing told. The value is
// read without writing a default back and written only when something is told.

#include <cstdint>
#include <optional>
#include <string>

#include "call/current_call.h"
#include "platform/settings_store.h"

namespace tollwick {

constexpr const char* kPlanToldValue = "PlanWarned";

struct PlanNotice {
  std::string title;  // names the account
  std::string text;   // the allowance and what is left of it
};

class PlanWarnings {
 public:
  explicit PlanWarnings(const SettingsStore& store) : store_(store) {}

  // At the start of a call: what was already told in the call's period.
  void CallStarted(const CurrentCall& call);
  // On each tick of the call: the notice that is due, if any, remembered in the store first. Cheap:
  // the stored state is read only at the call's start.
  std::optional<PlanNotice> Due(const CurrentCall& call);

 private:
  const SettingsStore& store_;
  bool watching_ = false;
  std::uint32_t told_ = 0;  // as stored
};

}  // namespace tollwick
