// The pages of the Options dialog. To add a page: write a function that makes it, e.g.
//   OptionsPageWindow MakeBillPage(HWND frame, int dialog, Program& app) {
//     return CreateOptionsPage<BillPage>(frame, dialog, BillPageSubject{app.bill, ...});
//   }
// and name it as its row's create function.

#include "options/win32/options_dialog.h"
#include "resources/resource.h"

namespace tollwick {

const OptionsPageTable kOptionsPages = {{
    {"Statistics", 0, IDD_PAGE_STATISTICS, nullptr, false},
    {"Bill", 1, IDD_PAGE_BILL, nullptr, true},
    {"Graphs", 2, IDD_PAGE_GRAPHS, nullptr, true},
    {"Alarms", 3, IDD_PAGE_ALARMS, nullptr, false},
    {"Setup", 4, IDD_PAGE_SETUP, nullptr, false},
    {"Misc", 5, IDD_PAGE_MISC, nullptr, false},
}};

}  // namespace tollwick
