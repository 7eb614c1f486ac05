// The Bill page on a bill of 100,000 items against the real registry: opening it with every row in
// its list (and the Statistics page counting its totals, the Plan page its account's period),
// switching the users box, and deleting the newest item; beside them, one fill of an ordinary list view that holds a row of texts per item,
// which the virtual list replaces. The bill grows by a few items a day for years, so none of these
// may grow with it beyond a walk over the items.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_bill.h"
#include "bench_clock.h"
#include "bill/bill_views.h"
#include "bill/win32/bill_pages.h"
#include "core/win32/plan_page.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_registry.h"
#include "resources/bill_page_ids.h"
#include "resources/plan_page_ids.h"
#include "resources/statistics_page_ids.h"

namespace {

using namespace tollwick;

constexpr int kItems = 100000;
constexpr int kRounds = 5;

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

void Press(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void ChooseEntry(HWND page, int entry) {
  HWND box = GetDlgItem(page, IDC_BILL_USERS);
  SendMessageA(box, CB_SETCURSEL, entry, 0);
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_BILL_USERS, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(box));
}

// What the list of the Bill page would cost as an ordinary list view: every item inserted at the
// top with its texts and picture, as the list held them before it became virtual.
double OrdinaryListFill(HWND host, const Bill& bill, Environment& env) {
  // Hidden while it fills, as the page is when the dialog opens.
  HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 500,
                              300, host, nullptr, GetModuleHandleA(nullptr), nullptr);
  for (int i = 0; i < kBillColumnCount; ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH | LVCF_SUBITEM;
    column.cx = 60;
    column.iSubItem = i;
    SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
  const double start = Seconds();
  char text[kBillCellChars];
  for (std::size_t i = 0; i < bill.size(); ++i) {
    LVITEMA row{};
    row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    BillCellText(env, bill[i], kTypeColumn, text);
    row.pszText = text;
    row.iImage = BillItemImage(bill[i]);
    row.lParam = static_cast<LPARAM>(i);
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
    for (int column = 1; column < kBillColumnCount; ++column) {
      LVITEMA cell{};
      cell.mask = LVIF_TEXT;
      cell.iSubItem = column;
      BillCellText(env, bill[i], column, text);
      cell.pszText = text;
      SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&cell));
    }
  }
  ShowWindow(list, SW_SHOW);
  UpdateWindow(list);
  const double elapsed = Seconds() - start;
  DestroyWindow(list);
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  Win32Registry registry;
  SettingsStore store(registry);
  Win32Environment environment;

  Bill bill = MakeBill(kItems);
  const Bill whole = bill;  // the deletes below shorten the live one
  std::printf("Storing a bill of %d items...\n", kItems);
  std::fflush(stdout);
  SaveBill(store, bill);

  HWND host = CreateWindowExA(0, "STATIC", "Bill pages", WS_POPUP | WS_VISIBLE, 0, 0, 600, 500,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  StatisticsSubject statistics{bill, environment, nullptr};
  BillPageSubject billSubject{store, bill, environment, nullptr};
  // The bill's one account with a plan whose period holds some of its calls, whatever today is.
  PlanPageSubject planSubject{
      bill, environment, [] { return std::vector<AccountPlan>{{"Dial-up account", {1, 600, 0, 5.0f}}}; },
      nullptr};

  double open = 1e30;
  double statisticsOpen = 1e30;
  for (int round = 0; round < kRounds; ++round) {
    double start = Seconds();
    HWND stats = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_STATISTICS_PAGE),
                                    host, DialogProc<StatisticsPage>, reinterpret_cast<LPARAM>(&statistics));
    ShowWindow(stats, SW_SHOW);
    UpdateWindow(stats);
    statisticsOpen = std::min(statisticsOpen, Seconds() - start);
    DestroyWindow(stats);

    start = Seconds();
    HWND page = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BILL_PAGE), host,
                                   DialogProc<BillPage>, reinterpret_cast<LPARAM>(&billSubject));
    ShowWindow(page, SW_SHOW);
    UpdateWindow(page);
    const double elapsed = Seconds() - start;
    const LRESULT rows = SendMessageA(GetDlgItem(page, IDC_BILL_LIST), LVM_GETITEMCOUNT, 0, 0);
    if (rows != kItems) std::fprintf(stderr, "the list holds %ld rows\n", static_cast<long>(rows));
    open = std::min(open, elapsed);
    DestroyWindow(page);
    Pump();
  }

  // The Plan page: opened, then refreshed as an append anywhere in the bill refreshes it.
  double planOpen = 1e30;
  double planRefresh = 1e30;
  for (int round = 0; round < kRounds; ++round) {
    double start = Seconds();
    HWND plan = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PLAN_PAGE), host,
                                   DialogProc<PlanPage>, reinterpret_cast<LPARAM>(&planSubject));
    ShowWindow(plan, SW_SHOW);
    UpdateWindow(plan);
    planOpen = std::min(planOpen, Seconds() - start);
    start = Seconds();
    bill.Delete(store, {});  // nothing deleted; the listeners hear of it all the same
    UpdateWindow(plan);
    planRefresh = std::min(planRefresh, Seconds() - start);
    DestroyWindow(plan);
    Pump();
  }

  HWND page = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BILL_PAGE), host,
                                 DialogProc<BillPage>, reinterpret_cast<LPARAM>(&billSubject));
  ShowWindow(page, SW_SHOW);
  double toOneUser = 1e30;
  double toAllUsers = 1e30;
  for (int round = 0; round < kRounds; ++round) {
    double start = Seconds();
    ChooseEntry(page, 1);
    UpdateWindow(page);
    toOneUser = std::min(toOneUser, Seconds() - start);
    start = Seconds();
    ChooseEntry(page, 0);  // ".All users"
    UpdateWindow(page);
    toAllUsers = std::min(toAllUsers, Seconds() - start);
  }

  double deleting = 1e30;
  HWND list = GetDlgItem(page, IDC_BILL_LIST);
  for (int round = 0; round < kRounds; ++round) {
    LVITEMA state{};
    state.state = state.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    const double start = Seconds();
    Press(page, IDC_BILL_DELETE);
    UpdateWindow(page);
    deleting = std::min(deleting, Seconds() - start);
  }
  DestroyWindow(page);

  std::printf("Bill of %d items, %d users (best of %d rounds)\n", kItems, kUsers, kRounds);
  std::printf("  %-52s %9.1f ms  (target 300)\n", "Bill page opened, every row in its list", open * 1e3);
  std::printf("  %-52s %9.1f ms\n", "Statistics page opened, totals counted", statisticsOpen * 1e3);
  std::printf("  %-52s %9.1f ms  (aim %.1f: 1.3 times the Bill page's)\n",
              "Plan page opened, its period counted", planOpen * 1e3, open * 1.3e3);
  std::printf("  %-52s %9.1f ms  (aim %.1f)\n", "Plan page refreshed after a change of the bill",
              planRefresh * 1e3, open * 1.3e3);
  std::printf("  %-52s %9.1f ms  (target 100)\n", "users box switched to one user, list refilled",
              toOneUser * 1e3);
  std::printf("  %-52s %9.1f ms  (target 100)\n", "users box switched to all users, list refilled",
              toAllUsers * 1e3);
  std::printf("  %-52s %9.1f ms  (target 50)\n", "newest item deleted, stored and shown", deleting * 1e3);
  std::fflush(stdout);

  // Each insertion at the top moves every row below it, so the ordinary fill grows with the square
  // of the bill; it is measured on growing parts of the bill up to the whole (or up to the size
  // given on the command line).
  const int ordinaryItems = argc > 1 ? std::atoi(argv[1]) : kItems;
  std::printf("\nOne fill of an ordinary list view (a row of texts inserted at the top per item)\n");
  for (int n = 1000; n <= ordinaryItems; n *= 10) {
    const std::size_t size = std::min<std::size_t>(n, whole.size());
    const Bill part(std::vector<BillItem>(whole.begin(), whole.begin() + size));
    std::printf("  %-52s %9.1f ms\n", (std::to_string(part.size()) + " items").c_str(),
                OrdinaryListFill(host, part, environment) * 1e3);
    std::fflush(stdout);
  }
  DestroyWindow(host);
  return 0;
}
