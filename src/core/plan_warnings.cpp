#include "core/plan_warnings.h"

#include <cstdio>

#include "platform/little_endian.h"
#include "text/money_text.h"

namespace tollwick {
namespace {

constexpr std::int64_t kDaysFrom1601To1970 = 134774;
constexpr std::uint32_t kToldBits = 4;

// One allowance: its thresholds' bits, its name, and its unit as used is counted.
struct Inclusion {
  std::uint32_t nearBit;  // 80% told
  std::uint32_t outBit;   // 100% told
  const char* name;
  std::uint64_t perUnit;  // minutes are counted in minutes, MB in bytes
  int decimals;           // of what is left, in the notice
};
constexpr Inclusion kMinutes{1u, 2u, "minutes", 1, 0};
constexpr Inclusion kMB{4u, 8u, "MB", kBytesPerMB, 1};

std::uint32_t PeriodMark(const BillingPeriod& period) {
  return static_cast<std::uint32_t>(period.firstDay + kDaysFrom1601To1970) << kToldBits;
}

PlanNotice NoticeFor(const CurrentCall& call, const Inclusion& inclusion, bool out, double left,
                     std::uint32_t included) {
  const BillingPeriod& period = call.CallPeriod();
  char last[kDateTextChars];
  DateText(period.last.day, period.last.month, period.last.year, last);
  char text[256];
  if (out) {
    std::snprintf(text, sizeof text,
                  "All %u included %s of this period are used. It ends on %s; until then the "
                  "account's rates apply.",
                  included, inclusion.name, last);
  } else {
    std::snprintf(text, sizeof text, "%.*f of %u included %s left in this period, which ends on %s.",
                  inclusion.decimals, left, included, inclusion.name, last);
  }
  char title[160];  // the balloon keeps 63 characters
  std::snprintf(title, sizeof title, "%s: %s", call.CallProfile()->name,
                out ? "allowance used up" : "allowance running out");
  return PlanNotice{title, text};
}

SettingsKey AccountKey(const SettingsStore& store, const CurrentCall& call) {
  char path[2 * kNameChars];
  RootSubkeyPath(call.CallProfile()->name, path, sizeof path);
  return store.OpenSettingsKey(path);
}

}  // namespace

void PlanWarnings::CallStarted(const CurrentCall& call) {
  watching_ = HasPlan(call.CallProfile()->plan);
  told_ = PeriodMark(call.CallPeriod());
  if (!watching_) return;
  std::uint8_t bytes[4] = {};
  const SettingsStore::StoredValue stored =
      store_.ReadAsStored(AccountKey(store_, call), kPlanToldValue, bytes, 4);
  // Another period's bits, or a value of another size, tell nothing about this period.
  if (stored.read() && stored.size == 4 && (GetU32(bytes) >> kToldBits) == (told_ >> kToldBits)) {
    told_ = GetU32(bytes);
  }
}

std::optional<PlanNotice> PlanWarnings::Due(const CurrentCall& call) {
  if (!watching_ || !call.IsCallInProgress()) return std::nullopt;
  const PlanSettings& plan = call.CallProfile()->plan;
  const PeriodUsage used =
      WithCall(call.UsageBeforeCall(), call.CallLength(), call.Volume(), call.CurrentCost());
  struct Check {
    const Inclusion& inclusion;
    std::uint64_t used;      // in the inclusion's counted unit
    std::uint32_t included;  // in its shown unit
  };
  const Check checks[] = {{kMinutes, used.minutes, plan.includedMinutes},
                          {kMB, used.bytes, plan.includedMB}};
  for (const Check& check : checks) {
    const std::uint64_t included = check.included * check.inclusion.perUnit;
    if (included == 0) continue;
    const bool out = check.used >= included;
    const bool near = check.used * 5 >= included * 4;
    // Both at once (a long gap, items added by hand) tell only that it is used up.
    const std::uint32_t due = out ? check.inclusion.nearBit | check.inclusion.outBit
                              : near ? check.inclusion.nearBit : 0u;
    if ((due & ~told_) == 0) continue;
    told_ |= due;
    store_.WriteDwordValue(AccountKey(store_, call), kPlanToldValue, told_);
    const double left = out ? 0.0 : double(included - check.used) / double(check.inclusion.perUnit);
    return NoticeFor(call, check.inclusion, out, left, check.included);
  }
  return std::nullopt;
}

}  // namespace tollwick
