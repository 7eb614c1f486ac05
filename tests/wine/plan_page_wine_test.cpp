// The Plan page on its real template: an account's period, usage and costs for a prepared bill and a
// call in progress, and the figures following an append.

#include "core/win32/plan_page.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "bill_items.h"
#include "fake_environment.h"
#include "fake_registry.h"
#include "page_host.h"
#include "resources/plan_page_ids.h"

namespace tollwick {
namespace {

BillItem WorkCall(float cost, PackedTime length, CalendarDate date, std::uint64_t megabytes = 0) {
  BillItem item = CallItem(cost, 0, 0, length, date, "ann", "Work");
  item.volume = CallVolume{megabytes > 0, megabytes * kBytesPerMB, 0};
  return item;
}

class PlanPageWine : public PageTest {
 protected:
  int Bar(int id) const { return static_cast<int>(SendDlgItemMessageA(page_, id, PBM_GETPOS, 0, 0)); }

  FakeRegistry registry_;
  SettingsStore store_{registry_};
  FakeEnvironment env_;
  Bill bill_{WorkCall(1.5f, MakePackedTime(0, 30), {1, 12, 2026}),
             WorkCall(1.0f, MakePackedTime(0, 20), {14, 12, 2026}, 100),
             WorkCall(9.0f, MakePackedTime(0, 45), {30, 11, 2026}),  // the period before
             WorkCall(9.0f, MakePackedTime(0, 45), {31, 11, 2026}),  // no such day
             Item(kPayment, 5.0f, "ann")};
  PlanPageSubject subject_{bill_, env_,
                           [] {
                             return std::vector<AccountPlan>{{"Work", {1, 100, 500, 10.0f}},
                                                             {"Home", {31, 0, 0, 4.0f}}};
                           },
                           [] {
                             return LivePlanCall{true, "WORK", MakePackedTime(0, 5),
                                                 CallVolume{true, 30 * kBytesPerMB, 20 * kBytesPerMB},
                                                 0.5f};
                           }};
};

TEST_F(PlanPageWine, ShowsTheAccountsPeriodUsageAndCostsAndFollowsTheBill) {
  env_.SetDate(2026, 12, 15);
  env_.SetNow(2, 12, 0);
  OpenPage<PlanPage>(IDD_PLAN_PAGE, subject_);
  EXPECT_TRUE(SaveScreenshot(page_, "options-plan"));
  EXPECT_EQ("From 1/12/2026 to 31/12/2026", Text(IDC_PLAN_DATES));
  EXPECT_EQ("17 days left", Text(IDC_PLAN_DAYS_LEFT));
  // The bill's 30 and 20 minutes and 100 MB, and the call's 5 minutes and 50 MB.
  EXPECT_EQ("55 of 100 used", Text(IDC_PLAN_MINUTES));
  EXPECT_EQ(550, Bar(IDC_PLAN_MINUTES_BAR));
  EXPECT_EQ("150.0 of 500 MB used", Text(IDC_PLAN_MB));
  EXPECT_EQ(300, Bar(IDC_PLAN_MB_BAR));
  // 3.00 of calls and the fee of 10.00; the calls over 14.5 of the period's 31 days.
  EXPECT_EQ("\xA3" "13.00", Text(IDC_PLAN_COST));
  EXPECT_EQ("\xA3" "16.41", Text(IDC_PLAN_ESTIMATE));

  bill_.Append(store_, WorkCall(2.9f, MakePackedTime(0, 50), {15, 12, 2026}));
  EXPECT_EQ("105 of 100 used", Text(IDC_PLAN_MINUTES));
  EXPECT_EQ(1000, Bar(IDC_PLAN_MINUTES_BAR));
  EXPECT_EQ("\xA3" "15.90", Text(IDC_PLAN_COST));

  // The other account: a fee alone, its period from the month's last day.
  SendDlgItemMessageA(page_, IDC_PLAN_ACCOUNT, CB_SETCURSEL, 1, 0);
  SendMessageA(page_, WM_COMMAND, MAKEWPARAM(IDC_PLAN_ACCOUNT, CBN_SELCHANGE), 0);
  EXPECT_EQ("From 30/11/2026 to 30/12/2026", Text(IDC_PLAN_DATES));
  EXPECT_EQ("0, none included", Text(IDC_PLAN_MINUTES));
  EXPECT_EQ("\xA3" "4.00", Text(IDC_PLAN_COST));
}

}  // namespace
}  // namespace tollwick
