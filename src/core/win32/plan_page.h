#pragma once
// The Plan page of the Options dialog: for an account with a plan, its current billing period,
// what it has used of the included minutes and MB, what the period has cost so far and what it
// will cost at the present rate of use. It follows the bill's changes while open, and shows the
// call in progress once a second, as the Statistics page does. Made with
// CreateOptionsPage<PlanPage>(frame, IDD_PLAN_PAGE, subject) (option_page.h).

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "bill/bill.h"
#include "call/billing_period.h"
#include "platform/environment.h"
#include "ui/win32/option_page.h"

namespace tollwick {

struct AccountPlan {
  std::string account;
  PlanSettings plan;
};

// The call in progress, as the page adds it to its account's period.
struct LivePlanCall {
  bool inProgress = false;
  std::string account;
  PackedTime length = 0;  // the started minute counted
  CallVolume volume;
  float cost = 0.0f;
};

struct PlanPageSubject {
  const Bill& bill;
  Environment& environment;
  std::function<std::vector<AccountPlan>()> accounts;  // those with a plan (HasPlan)
  std::function<LivePlanCall()> liveCall;
};

class PlanPage : public OptionPage, BillListener {
 public:
  using Subject = PlanPageSubject;
  PlanPage(HWND window, Subject& subject)
      : OptionPage(window, subject.environment), subject_(subject) {}
  ~PlanPage() override;

 private:
  // An account's period as last counted from the bill.
  struct Counted {
    AccountPlan plan;
    BillingPeriod period;
    PeriodUsage used;
  };

  void Fill() override;
  void Command(int id, int code, HWND control) override;
  void Timer(UINT_PTR id) override;
  void ItemAppended(const BillItem& item) override;
  void ItemsDeleted() override;
  void Recount();
  void Show();

  Subject& subject_;
  std::vector<Counted> counted_;
};

}  // namespace tollwick
