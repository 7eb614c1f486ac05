// The pages of the Options dialog. To add a page: write a function that makes it over what the
// program holds and name it as its row's create function.

#include <algorithm>
#include <string>
#include <vector>

#include "alarms/win32/alarms_page.h"
#include "bill/win32/bill_pages.h"
#include "charging/win32/add_discount_dialog.h"
#include "charging/win32/dialup_entries.h"
#include "charging/win32/setup_page.h"
#include "core/win32/misc_page.h"
#include "core/win32/network_adapters.h"
#include "core/win32/plan_page.h"
#include "graphs/win32/graphs_page.h"
#include "options/win32/options_dialog.h"
#include "resources/alarms_page_ids.h"
#include "resources/bill_page_ids.h"
#include "resources/misc_page_ids.h"
#include "resources/plan_page_ids.h"
#include "resources/resource.h"
#include "resources/setup_page_ids.h"
#include "resources/statistics_page_ids.h"

namespace tollwick {
namespace {

// The accounts calls are billed to: the phone book's entries, then the chosen network connections.
std::vector<std::string> AccountNames(Program& program) {
  std::vector<std::string> names = DialUpEntryNames();
  Win32AdapterProbe naming;
  for (const std::u16string& alias : program.settings().adapters) {
    std::string name = AdapterAccountName(naming, alias);
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  return names;
}

OptionsPageWindow MakeStatisticsPage(HWND frame, int dialog, Program& program) {
  return CreateOptionsPage<StatisticsPage>(
      frame, dialog, StatisticsSubject{program.bill(), program.environment(), [&program] {
                                         const CurrentCall& call = program.call();
                                         return LiveCallFigures{call.IsCallInProgress(),
                                                                call.CallLength(),
                                                                call.CurrentCost(),
                                                                call.Volume()};
                                       }});
}

OptionsPageWindow MakeBillPage(HWND frame, int dialog, Program& program) {
  return CreateOptionsPage<BillPage>(
      frame, dialog,
      BillPageSubject{program.store(), program.bill(), program.environment(),
                      [&program] { return AccountNames(program); }});
}

OptionsPageWindow MakeGraphsPage(HWND frame, int dialog, Program& program) {
  return CreateOptionsPage<GraphsPage>(frame, dialog, GraphsPageSubject{program.bill()});
}

OptionsPageWindow MakeAlarmsPage(HWND frame, int dialog, Program& program) {
  return CreateOptionsPage<AlarmsPage>(
      frame, dialog, AlarmsPageSubject{program.alarms(), program.store(), program.environment()});
}

OptionsPageWindow MakeMiscPage(HWND frame, int dialog, Program& program) {
  return CreateOptionsPage<MiscPage>(frame, dialog,
                                     MiscPageSubject{program.settings(), program.store()});
}

OptionsPageWindow MakeSetupPage(HWND frame, int dialog, Program& program) {
  return CreateOptionsPage<SetupPage>(
      frame, dialog,
      SetupPageSubject{program.profiles(), program.environment(), AccountNames(program),
                       [&program](HWND owner, Discount& discount) {
                         return ShowAddDiscountDialog(owner, discount, program.store()) == IDOK;
                       }});
}

// The accounts (AccountNames), loaded as a call loads them.
OptionsPageWindow MakePlanPage(HWND frame, int dialog, Program& program) {
  return CreateOptionsPage<PlanPage>(
      frame, dialog,
      PlanPageSubject{program.bill(), program.environment(),
                      [&program] {
                        std::vector<AccountPlan> plans;
                        // Kept while the accounts load: those on the default settings copy it.
                        ProfileLibrary::Owned defaults =
                            program.profiles().Load(kDefaultProfileName, true);
                        for (const std::string& name : AccountNames(program)) {
                          ProfileLibrary::Owned profile = program.profiles().Load(name.c_str(), false);
                          if (HasPlan(profile->plan)) plans.push_back({profile->name, profile->plan});
                        }
                        return plans;
                      },
                      [&program] {
                        const CurrentCall& call = program.call();
                        if (!call.IsCallInProgress()) return LivePlanCall{};
                        return LivePlanCall{true, call.CallProfile()->name, call.CallLength(),
                                            call.Volume(), call.CurrentCost()};
                      }});
}

}  // namespace

const OptionsPageTable kOptionsPages = {{
    {"Statistics", 0, IDD_STATISTICS_PAGE, MakeStatisticsPage, false},
    {"Bill", 1, IDD_BILL_PAGE, MakeBillPage, true},
    {"Graphs", 2, IDD_PAGE_GRAPHS, MakeGraphsPage, true},
    {"Alarms", 3, IDD_ALARMS_PAGE, MakeAlarmsPage, false},
    {"Setup", 4, IDD_SETUP_PAGE, MakeSetupPage, false},
    {"Misc", 5, IDD_MISC_PAGE, MakeMiscPage, false},
    {"Plan", 6, IDD_PLAN_PAGE, MakePlanPage, false},
}};

}  // namespace tollwick
