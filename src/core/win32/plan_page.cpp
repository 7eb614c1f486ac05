#include "core/win32/plan_page.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "resources/plan_page_ids.h"
#include "text/money_text.h"

namespace tollwick {
namespace {

constexpr UINT_PTR kPlanTimer = 1000;
constexpr UINT kPlanPeriod = 1000;  // ms
constexpr int kBarRange = 1000;      // a bar shows thousandths of its allowance

int BarPosition(double used, double included) {
  return included > 0 ? static_cast<int>(std::min(used / included, 1.0) * kBarRange) : 0;
}

}  // namespace

PlanPage::~PlanPage() { subject_.bill.StopListening(*this); }

void PlanPage::Fill() {
  HWND box = Control(IDC_PLAN_ACCOUNT);
  std::vector<Counted> counted;
  for (AccountPlan& plan : subject_.accounts()) {
    SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(plan.account.c_str()));
    counted.push_back(Counted{std::move(plan), {}, {}});
  }
  counted_ = std::move(counted);
  SendMessageA(box, CB_SETCURSEL, 0, 0);
  Enable(IDC_PLAN_ACCOUNT, !counted_.empty());
  for (int bar : {IDC_PLAN_MINUTES_BAR, IDC_PLAN_MB_BAR}) {
    SendDlgItemMessageA(window(), bar, PBM_SETRANGE32, 0, kBarRange);
  }
  Recount();
  subject_.bill.Listen(*this);
  StartTimer(kPlanTimer, kPlanPeriod);
  Show();
}

void PlanPage::Command(int id, int code, HWND /*control*/) {
  if (id == IDC_PLAN_ACCOUNT && code == CBN_SELCHANGE) Show();
}

void PlanPage::Timer(UINT_PTR id) {
  if (id == kPlanTimer) Show();
}

void PlanPage::ItemAppended(const BillItem& /*item*/) {
  Recount();
  Show();
}

void PlanPage::ItemsDeleted() {
  Recount();
  Show();
}

// Each account's period as the clock now tells it, so a clock set back or a period begun shows
// the right one.
void PlanPage::Recount() {
  const CalendarDate today = LocalDate(subject_.environment);
  for (Counted& account : counted_) {
    account.period = PeriodOf(account.plan.plan.periodDay, today);
    account.used = UsageIn(subject_.bill, account.plan.account.c_str(), account.period);
  }
}

void PlanPage::Show() {
  // The box is not sorted: its entries are in the order of counted_.
  const LRESULT selected = SendDlgItemMessageA(window(), IDC_PLAN_ACCOUNT, CB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<std::size_t>(selected) >= counted_.size()) {
    SetText(IDC_PLAN_DATES, "No account has a plan.");
    return;
  }
  Counted* found = &counted_[static_cast<std::size_t>(selected)];
  const LocalTime now = subject_.environment.Now();
  if (PeriodOf(found->plan.plan.periodDay, DateOf(now)).firstDay != found->period.firstDay) {
    Recount();
  }
  const PlanSettings& plan = found->plan.plan;
  PeriodUsage used = found->used;
  const LivePlanCall call = subject_.liveCall ? subject_.liveCall() : LivePlanCall{};
  if (call.inProgress) {
    const UserKey key = MakeUserKey(found->plan.account.c_str());
    if (UserMatches(&key, call.account.c_str())) {
      used = WithCall(used, call.length, call.volume, call.cost);
    }
  }
  const PlanFigures figures = FiguresOf(plan, found->period, used, now);

  char first[kDateTextChars], last[kDateTextChars], text[160];
  DateText(found->period.first.day, found->period.first.month, found->period.first.year, first);
  DateText(found->period.last.day, found->period.last.month, found->period.last.year, last);
  std::snprintf(text, sizeof text, "From %s to %s", first, last);
  SetText(IDC_PLAN_DATES, text);
  std::snprintf(text, sizeof text, figures.daysLeft == 1 ? "%lld day left" : "%lld days left",
                static_cast<long long>(figures.daysLeft));
  SetText(IDC_PLAN_DAYS_LEFT, text);

  if (plan.includedMinutes > 0) {
    std::snprintf(text, sizeof text, "%llu of %u used", static_cast<unsigned long long>(used.minutes),
                  plan.includedMinutes);
  } else {
    std::snprintf(text, sizeof text, "%llu, none included",
                  static_cast<unsigned long long>(used.minutes));
  }
  SetText(IDC_PLAN_MINUTES, text);
  SendDlgItemMessageA(window(), IDC_PLAN_MINUTES_BAR, PBM_SETPOS,
                      BarPosition(double(used.minutes), plan.includedMinutes), 0);

  const double mb = double(used.bytes) / double(kBytesPerMB);
  if (plan.includedMB > 0) {
    std::snprintf(text, sizeof text, "%.1f of %u MB used", mb, plan.includedMB);
  } else {
    std::snprintf(text, sizeof text, "%.1f MB, none included", mb);
  }
  SetText(IDC_PLAN_MB, text);
  SendDlgItemMessageA(window(), IDC_PLAN_MB_BAR, PBM_SETPOS, BarPosition(mb, plan.includedMB), 0);

  SetCurrencyField(IDC_PLAN_COST, static_cast<float>(figures.costSoFar));
  SetCurrencyField(IDC_PLAN_ESTIMATE, static_cast<float>(figures.estimatedCost));
}

}  // namespace tollwick
