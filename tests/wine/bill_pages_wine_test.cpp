// The Statistics and Bill pages and the Add call / Add payment dialogs under Wine, driven through
// their window messages: what they show, what their buttons do to the bill and to the store, and how
// an append made elsewhere reaches them.

#include "bill/win32/bill_pages.h"

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <functional>
#include <string>
#include <vector>

#include "bill/bill_csv.h"
#include "bill/win32/add_bill_item.h"
#include "bill_items.h"
#include "default_printer.h"
#include "fake_registry.h"
#include "modal_script.h"
#include "platform/win32/win32_environment.h"
#include "resources/add_bill_item_ids.h"
#include "resources/bill_page_ids.h"
#include "resources/statistics_page_ids.h"
#include "ui/win32/option_page.h"

namespace tollwick {
namespace {

constexpr const char* kBillPath = "Software\\Orvo\\Tollwick\\.Bill";
const std::string kPound = "\xA3";

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// What a Save As dialog showed when it opened, and whether it asked before replacing a file.
struct SaveAsSeen {
  std::string name;
  std::string type;
  bool askedToReplace = false;
};

// Presses Export; in the Save As dialog types the path and presses Save, answering Yes if it asks
// before replacing a file, or presses Cancel when there is no path.
SaveAsSeen ExportThroughSaveAs(HWND page, const char* path) {
  SaveAsSeen seen;
  PendingDialog replace{"", [&seen](HWND box) {
                          seen.askedToReplace = true;
                          PostMessageA(box, WM_COMMAND, IDYES, 0);
                        }};
  PendingDialog saveAs{"Save As", [&](HWND dialog) {
                         HWND name = GetDlgItem(dialog, cmb13);
                         seen.name = ControlText(dialog, cmb13);
                         seen.type = ControlText(dialog, cmb1);
                         if (path != nullptr) SetWindowTextA(name, path);
                         replace.owner = dialog;
                         WhenDialogOpens(replace);
                         SendMessageA(GetDlgItem(dialog, path != nullptr ? IDOK : IDCANCEL),
                                      BM_CLICK, 0, 0);
                       }};
  WhenDialogOpens(saveAs);
  Press(page, IDC_BILL_EXPORT);
  EXPECT_TRUE(saveAs.ran);
  ForgetPendingDialogs();
  return seen;
}

class BillPagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    frame = CreateWindowExA(0, "STATIC", "frame", WS_POPUP, 0, 0, 600, 500, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, frame);
    ForgetPendingDialogs();
  }
  void TearDown() override { DestroyWindow(frame); }

  void Store(const Bill& items) {
    bill = items;
    SaveBill(store, bill);
  }
  HWND OpenStatistics() {
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_STATISTICS_PAGE),
                              frame, DialogProc<StatisticsPage>, reinterpret_cast<LPARAM>(&statistics));
  }
  HWND OpenBill() {
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BILL_PAGE), frame,
                              DialogProc<BillPage>, reinterpret_cast<LPARAM>(&billSubject));
  }
  // The bill as it was, item for item, and no registry write since `writes`.
  void ExpectUnchanged(const Bill& before, std::size_t writes) {
    EXPECT_EQ(writes, registry.WritesApplied());
    ASSERT_EQ(before.size(), bill.size());
    for (std::size_t i = 0; i < bill.size(); ++i) {
      EXPECT_EQ(0, std::memcmp(&before[i], &bill[i], sizeof bill[i]));
    }
  }
  std::vector<std::string> UsersBox(HWND page) {
    HWND box = GetDlgItem(page, IDC_BILL_USERS);
    std::vector<std::string> entries;
    const LRESULT count = SendMessageA(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      char text[128] = "";
      SendMessageA(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      entries.push_back(text);
    }
    return entries;
  }
  void ChooseUser(HWND page, const char* user) {
    HWND box = GetDlgItem(page, IDC_BILL_USERS);
    SendMessageA(box, CB_SETCURSEL,
                 SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(user)),
                 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_BILL_USERS, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
  }
  static int Rows(HWND page) {
    return static_cast<int>(SendMessageA(GetDlgItem(page, IDC_BILL_LIST), LVM_GETITEMCOUNT, 0, 0));
  }
  static std::string Cell(HWND page, int row, int column) {
    char text[128] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(GetDlgItem(page, IDC_BILL_LIST), LVM_GETITEMTEXTA, row,
                 reinterpret_cast<LPARAM>(&item));
    return text;
  }
  static void Select(HWND page, int row) {
    LVITEMA state{};
    state.state = state.stateMask = LVIS_SELECTED;
    SendMessageA(GetDlgItem(page, IDC_BILL_LIST), LVM_SETITEMSTATE, row,
                 reinterpret_cast<LPARAM>(&state));
  }
  std::vector<float> StoredCosts() {
    std::vector<float> costs;
    for (const BillItem& item : LoadBill(store)) costs.push_back(item.cost);
    return costs;
  }

  HWND frame = nullptr;
  FakeRegistry registry;
  SettingsStore store{registry};
  Win32Environment environment;
  Bill bill;
  LiveCallFigures live;
  StatisticsSubject statistics{bill, environment, [this] { return live; }};
  BillPageSubject billSubject{store, bill, environment,
                              [] { return std::vector<std::string>{"Zeta", "Alpha"}; }};
};

TEST_F(BillPagesTest, StatisticsShowTheTotalsAndTheCallInProgressOnItsOwnTimer) {
  Store({Item(kCall, 2.5f, "bob", 0x001E), Item(kPayment, 1.0f, "bob")});
  HWND page = OpenStatistics();
  ASSERT_NE(nullptr, page);
  EXPECT_EQ("unknown", ControlText(page, IDC_STATS_DATA));  // no call ever reported its volume
  EXPECT_EQ("0:30", ControlText(page, IDC_STATS_TIME));
  EXPECT_EQ(kPound + "2.50", ControlText(page, IDC_STATS_COST));
  EXPECT_EQ(kPound + "1.00", ControlText(page, IDC_STATS_PAID));
  EXPECT_EQ(kPound + "1.50", ControlText(page, IDC_STATS_TOTAL));

  live = LiveCallFigures{true, 0x0002, 0.05f, {true, 52429, 0}};
  EXPECT_TRUE(PumpUntil([&] { return ControlText(page, IDC_STATS_TIME) == "0:32"; }, 3000));
  EXPECT_EQ(kPound + "2.55", ControlText(page, IDC_STATS_COST));
  EXPECT_EQ(kPound + "1.55", ControlText(page, IDC_STATS_TOTAL));
  EXPECT_EQ("0.1 MB", ControlText(page, IDC_STATS_DATA));
  EXPECT_TRUE(SaveScreenshot(page, "options-statistics"));

  // The call ends: its item is appended and the running call is no longer added, so it counts once.
  live = LiveCallFigures{};
  bill.Append(store, Item(kCall, 0.05f, "bob", 0x0002));
  SendMessageA(page, WM_TIMER, 1000, 0);
  EXPECT_EQ("0:32", ControlText(page, IDC_STATS_TIME));
  EXPECT_EQ(kPound + "1.55", ControlText(page, IDC_STATS_TOTAL));
  DestroyWindow(page);
  bill.Append(store, Item(kPayment, 1.0f, "bob"));  // no page left to hear of it
}

TEST_F(BillPagesTest, BillListsNewestFirstWithItsUsersAndTheirRemainingBill) {
  Store({WithVolume(Item(kCall, 3.0f, "bob", 0x0105), 1048576, 524288), Item(kCall, 1.25f, "alice"),
         Item(kPayment, 10.0f, "Bob"), Item(kCall, 4.5f, "bob")});
  HWND page = OpenBill();
  ASSERT_NE(nullptr, page);
  HWND list = GetDlgItem(page, IDC_BILL_LIST);

  EXPECT_EQ((std::vector<std::string>{".All users", "alice", "bob"}), UsersBox(page));
  EXPECT_EQ(".All users", ControlText(page, IDC_BILL_USERS));
  ASSERT_EQ(4, Rows(page));
  // Wine's en_GB negative pattern
  EXPECT_EQ("(" + kPound + "1.25)", ControlText(page, IDC_BILL_REMAINING));
  const std::vector<std::string> payment{"Paid", kPound + "10.00", "Bob", "", "", "", "", "7/12/2000",
                                         ""};
  const std::vector<std::string> oldest{"Owe", kPound + "3.00", "bob", "Orvonet", "0:00", "0:00",
                                        "1:05", "7/12/2000", "1.5"};
  for (int column = 0; column < kBillColumnCount; ++column) {
    EXPECT_EQ(payment[column], Cell(page, 1, column)) << column;
    EXPECT_EQ(oldest[column], Cell(page, 3, column)) << column;
  }
  const int images[] = {0, 1, 0, 0};
  for (int row = 0; row < 4; ++row) {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = -1;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(images[row], item.iImage) << row;
  }

  ChooseUser(page, "bob");
  ASSERT_EQ(3, Rows(page));
  EXPECT_EQ("bob", Cell(page, 0, 2));
  EXPECT_EQ("Bob", Cell(page, 1, 2));
  EXPECT_EQ("(" + kPound + "2.50)", ControlText(page, IDC_BILL_REMAINING));
  ChooseUser(page, ".All users");
  EXPECT_EQ(4, Rows(page));
  DestroyWindow(page);
}

// The window told of a pop-up menu about to show, and the menu.
CWPSTRUCT menuInit{};
LRESULT CALLBACK WatchMenuInit(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_INITMENUPOPUP) menuInit = *sent;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The ">" button is hidden and disabled; its command opens "Menu 2" at the button's top right
// corner, owned by the page.
TEST_F(BillPagesTest, TheHiddenMoreButtonOpensMenuTwoBesideItselfOwnedByThePage) {
  HWND page = OpenBill();
  HWND more = GetDlgItem(page, IDC_BILL_MORE);
  EXPECT_FALSE(IsWindowVisible(more) || IsWindowEnabled(more));
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchMenuInit, nullptr, GetCurrentThreadId());
  RECT shown{}, button{};
  ASSERT_TRUE(WhileMenuShows([&] { Press(page, IDC_BILL_MORE); }, [](HWND) {}, shown));
  UnhookWindowsHookEx(hook);
  GetWindowRect(more, &button);
  EXPECT_EQ(button.right, shown.left);
  EXPECT_EQ(button.top, shown.top);
  EXPECT_EQ(page, menuInit.hwnd);
  char last[32] = "";
  GetMenuStringA(reinterpret_cast<HMENU>(menuInit.wParam), 2, last, sizeof last, MF_BYPOSITION);
  EXPECT_STREQ("&Show all", last);
  DestroyWindow(page);
}

TEST_F(BillPagesTest, DeleteRemovesTheSelectedRowsAndRecountsTheStatistics) {
  Store({Item(kCall, 1.0f, "a"), Item(kCall, 2.0f, "b"), Item(kCall, 3.0f, "a"), Item(kCall, 4.0f, "b")});
  HWND statisticsPage = OpenStatistics();
  HWND page = OpenBill();
  ASSERT_NE(nullptr, page);

  const std::size_t before = registry.WritesApplied();
  Press(page, IDC_BILL_DELETE);
  EXPECT_EQ(before, registry.WritesApplied()) << "nothing selected, nothing written";
  EXPECT_EQ(4, Rows(page));

  Select(page, 0);  // the newest, 4.00
  Select(page, 2);  // 2.00
  Press(page, IDC_BILL_DELETE);
  EXPECT_EQ((std::vector<float>{1.0f, 3.0f}), StoredCosts());
  ASSERT_EQ(2u, bill.size());
  EXPECT_EQ(2, Rows(page));
  EXPECT_EQ(static_cast<LRESULT>(-1), SendMessageA(GetDlgItem(page, IDC_BILL_LIST), LVM_GETNEXTITEM,
                                                   static_cast<WPARAM>(-1), LVNI_SELECTED));
  EXPECT_EQ(kPound + "4.00", ControlText(page, IDC_BILL_REMAINING));
  SendMessageA(statisticsPage, WM_TIMER, 1000, 0);
  EXPECT_EQ(kPound + "4.00", ControlText(statisticsPage, IDC_STATS_COST));
  DestroyWindow(page);
  DestroyWindow(statisticsPage);
}

TEST_F(BillPagesTest, AddPaymentAppendsStoresAndReachesBothPages) {
  Store({Item(kCall, 3.0f, "alice")});
  HWND statisticsPage = OpenStatistics();
  HWND page = OpenBill();
  ChooseUser(page, "alice");
  PendingDialog fill{"Add payment", [](HWND dialog) {
                 EXPECT_EQ("Paid: " + kPound, ControlText(dialog, IDC_ADD_COST_LABEL));
                 EXPECT_EQ("0.00", ControlText(dialog, IDC_ADD_COST));
                 SetDlgItemTextA(dialog, IDC_ADD_USER, "carol");
                 SetDlgItemTextA(dialog, IDC_ADD_COST, "10");
                 Press(dialog, IDOK);
               }};
  WhenDialogOpens(fill);
  Press(page, IDC_BILL_ADD_PAYMENT);
  ASSERT_TRUE(fill.ran);
  ASSERT_EQ(2u, bill.size());
  const BillItem& paid = bill.back();
  EXPECT_EQ(static_cast<std::uint32_t>(kPayment), paid.type);
  EXPECT_STREQ("carol", paid.user);
  EXPECT_FLOAT_EQ(10.0f, paid.cost);
  EXPECT_EQ(environment.Now().year, paid.year);
  EXPECT_EQ((std::vector<float>{3.0f, 10.0f}), StoredCosts());
  // The list keeps alice's items; the box shows every user again; the remaining bill is alice's.
  EXPECT_EQ(1, Rows(page));
  EXPECT_EQ(".All users", ControlText(page, IDC_BILL_USERS));
  EXPECT_EQ((std::vector<std::string>{".All users", "alice", "carol"}), UsersBox(page));
  EXPECT_EQ(kPound + "3.00", ControlText(page, IDC_BILL_REMAINING));
  SendMessageA(statisticsPage, WM_TIMER, 1000, 0);
  EXPECT_EQ(kPound + "10.00", ControlText(statisticsPage, IDC_STATS_PAID));

  // An append from elsewhere (a call that ends) shows the balance of the whole bill at once.
  bill.Append(store, Item(kCall, 0.5f, "carol"));
  EXPECT_EQ("(" + kPound + "6.50)", ControlText(page, IDC_BILL_REMAINING));
  DestroyWindow(page);
  DestroyWindow(statisticsPage);
}

TEST_F(BillPagesTest, AddCallOffersAccountsAndUsersAndFillsTheItemOnOk) {
  Store({Item(kCall, 1.0f, "bob"), Item(kCall, 1.0f, "alice"), Item(kCall, 1.0f, "Bob")});
  BillItem item = NewBillItem(environment);
  AddBillItemRequest request{item, bill, environment, {"Zeta", "Alpha"}};
  PendingDialog fill{"Add bill", [](HWND dialog) {
                 EXPECT_EQ("Cost: " + kPound, ControlText(dialog, IDC_ADD_COST_LABEL));
                 EXPECT_EQ("Alpha", ControlText(dialog, IDC_ADD_ACCOUNT));
                 HWND users = GetDlgItem(dialog, IDC_ADD_USER);
                 ASSERT_EQ(2, SendMessageA(users, CB_GETCOUNT, 0, 0));
                 char first[64] = "";
                 SendMessageA(users, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
                 EXPECT_STREQ("alice", first);
                 EXPECT_EQ("0:00", ControlText(dialog, IDC_ADD_LENGTH));
                 EXPECT_EQ("0:00", ControlText(dialog, IDC_ADD_START));
                 SetDlgItemTextA(dialog, IDC_ADD_LENGTH, "1:05");
                 SetDlgItemTextA(dialog, IDC_ADD_START, "08:00");
                 SetDlgItemTextA(dialog, IDC_ADD_COST, "1.5p");
                 Press(dialog, IDOK);
               }};
  WhenDialogOpens(fill);
  EXPECT_TRUE(ShowAddCallDialog(frame, request));
  EXPECT_STREQ("Alpha", item.account);
  EXPECT_EQ(0x0105u, item.length);
  EXPECT_EQ(0x0800u, item.start);
  EXPECT_EQ(0u, item.end);
  EXPECT_FLOAT_EQ(1.5f, item.cost);
  EXPECT_EQ(static_cast<std::uint32_t>(kCall), item.type);
}

TEST_F(BillPagesTest, AddCallRefusesAnImpossibleTimeNamingTheField) {
  struct Case {
    int field;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {IDC_ADD_LENGTH, "25:00", "Invalid time entered for 'Length'!"},
      {IDC_ADD_LENGTH, "8.30", "Invalid time entered for 'Length'!"},
      {IDC_ADD_START, "abc", "Invalid time entered for 'Start'!"},
      {IDC_ADD_START, "25:00", "Invalid time entered for 'Start'!"},
      {IDC_ADD_START, "8.30", "Invalid time entered for 'Start'!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    BillItem item = NewBillItem(environment);
    const BillItem blank = item;
    AddBillItemRequest request{item, bill, environment, {"Alpha"}};
    bool stayedOpen = false;
    ExpectedBox error;
    PendingDialog fill{"Add bill", [&](HWND dialog) {
                   SetDlgItemTextA(dialog, c.field, c.text);
                   SetDlgItemTextA(dialog, IDC_ADD_COST, "2");
                   Press(dialog, IDOK);
                   stayedOpen = IsWindowVisible(dialog) != FALSE;
                   Press(dialog, IDCANCEL);
                 }};
    WhenDialogOpens(fill);
    EXPECT_FALSE(ShowAddCallDialog(frame, request));
    ASSERT_TRUE(error.pending.ran);
    EXPECT_EQ(c.message, error.text);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(0, std::memcmp(&blank, &item, sizeof item));
    ForgetPendingDialogs();
  }
}

TEST_F(BillPagesTest, PrintWithoutAPrinterSaysSoAndChangesNothing) {
  Store({Item(kCall, 3.0f, "bob"), Item(kPayment, 1.0f, "alice")});
  const Bill before = bill;
  const std::size_t writes = registry.WritesApplied();
  HWND page = OpenBill();
  ASSERT_NE(nullptr, page);
  ChooseUser(page, "bob");
  for (const char* entry : {"", "No Such Printer,winspool,Ne00:"}) {
    SCOPED_TRACE(entry);
    ScopedDefaultPrinter printer(entry);
    ExpectedBox told("Print");
    SendMessageA(page, WM_COMMAND, kPrintPageCommand, 0);
    EXPECT_TRUE(told.pending.ran);
    EXPECT_EQ(frame, told.owner);  // the page's top-level window
    EXPECT_EQ(0u, told.text.find("Nothing was printed")) << told.text;
    ForgetPendingDialogs();
  }
  ExpectUnchanged(before, writes);
  EXPECT_EQ(1, Rows(page));  // still bob's bill
  DestroyWindow(page);
}

TEST_F(BillPagesTest, ExportWritesWhatTheListShowsThroughSaveAsOrSaysWhyNot) {
  BillItem cafe = Item(kCall, 0.125f, "bob", 0x0105);
  std::snprintf(cafe.account, sizeof cafe.account, "%s", "Caf\xE9, Ltd");  // code page 1252
  Store({cafe, WithVolume(Item(kCall, 1.0f, "alice"), 1572864, 0), Item(kPayment, 2.005f, "Bob")});
  const Bill before = bill;
  const std::size_t writes = registry.WritesApplied();
  HWND page = OpenBill();
  ASSERT_NE(nullptr, page);
  ChooseUser(page, "bob");
  EXPECT_EQ(kPound + "2.01", Cell(page, 0, kAmountColumn));  // the digits the file has
  EXPECT_EQ(kPound + "0.13", Cell(page, 1, kAmountColumn));
  char temporary[MAX_PATH];
  GetTempPathA(sizeof temporary, temporary);
  const std::string folder = std::string(temporary) + "tollwick-export";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  const std::string file = folder + "\\bill.csv";

  SaveAsSeen seen = ExportThroughSaveAs(page, nullptr);
  EXPECT_EQ("Tollwick bill - BOB.csv", seen.name);
  EXPECT_EQ("CSV files (*.csv)", seen.type);
  // Only an empty folder can be removed.
  EXPECT_TRUE(RemoveDirectoryA(folder.c_str())) << "Cancel wrote a file";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));

  EXPECT_FALSE(ExportThroughSaveAs(page, (folder + "\\bill").c_str()).askedToReplace);  // + .csv
  const std::string start = std::string("\xEF\xBB\xBF") + kBillCsvHeader;
  const std::string bobsCall = "Call,2000-12-07,0:00,0:00,1:05,65,\"Caf\xC3\xA9, Ltd\",bob,0.13,,\r\n";
  const std::string bobsPayment = "Payment,2000-12-07,,,,,,Bob,-2.01,,\r\n";
  EXPECT_EQ(start + bobsCall + bobsPayment, ReadFile(file));

  ChooseUser(page, ".All users");
  seen = ExportThroughSaveAs(page, file.c_str());
  EXPECT_EQ("Tollwick bill.csv", seen.name);
  EXPECT_TRUE(seen.askedToReplace);
  const std::string all =
      start + bobsCall + "Call,2000-12-07,0:00,0:00,0:00,0,Orvonet,alice,1.00,1572864,0\r\n" +
      bobsPayment;
  EXPECT_EQ(all, ReadFile(file));

  // A read-only file is refused with the reason, and nothing is written.
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
  ExpectedBox error;
  EXPECT_TRUE(ExportThroughSaveAs(page, file.c_str()).askedToReplace);
  EXPECT_TRUE(error.pending.ran);
  char reason[256] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 ERROR_ACCESS_DENIED, 0, reason, sizeof reason, nullptr);
  const std::string why(reason, std::strcspn(reason, "\r\n"));
  ASSERT_FALSE(why.empty());
  EXPECT_NE(std::string::npos, error.text.find(file + ".\n\n" + why)) << error.text;
  EXPECT_EQ(all, ReadFile(file));
  EXPECT_TRUE(IsWindowEnabled(frame));
  ExpectUnchanged(before, writes);
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(file.c_str());
  EXPECT_TRUE(RemoveDirectoryA(folder.c_str())) << "the refused export left a file beside bill.csv";
  DestroyWindow(page);
}

}  // namespace
}  // namespace tollwick
