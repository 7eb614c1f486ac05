// The Graphs page under Wine: what it shows when made and each time its tab comes to the front,
// choosing a user or a series, the vertical scale it gives the graph, and printing with no printer.
// Inside the Options dialog: the Graphs tab, its "&Print...", and pictures of each series.

#include "graphs/win32/graphs_page.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/win32/program.h"
#include "default_printer.h"
#include "graph_recording.h"
#include "graphs/win32/graph_window.h"
#include "modal_script.h"
#include "options/win32/options_dialog.h"
#include "page_host.h"
#include "resources/graphs_page_ids.h"
#include "resources/options_frame_ids.h"
#include "resources/resource.h"
#include "ui/win32/single_dialog.h"

namespace tollwick {
namespace {

BillItem Call(const char* user, std::uint32_t hour, std::uint32_t minutes, std::uint32_t month) {
  BillItem item;
  std::snprintf(item.user, sizeof item.user, "%s", user);
  std::snprintf(item.account, sizeof item.account, "%s", "Orvonet");
  item.start = MakePackedTime(hour, 0);
  item.length = MakePackedTime(minutes / 60, minutes % 60);
  item.day = 10;
  item.month = month;
  item.year = 2001;
  return item;
}

std::string EntryText(HWND box, LRESULT entry) {
  char text[128] = "";
  if (SendMessageA(box, CB_GETLBTEXTLEN, entry, 0) < static_cast<LRESULT>(sizeof text)) {
    SendMessageA(box, CB_GETLBTEXT, entry, reinterpret_cast<LPARAM>(text));
  }
  return text;
}

std::vector<std::string> Entries(HWND box) {
  std::vector<std::string> entries;
  for (LRESULT i = 0; i < SendMessageA(box, CB_GETCOUNT, 0, 0); ++i) entries.push_back(EntryText(box, i));
  return entries;
}

std::string Selected(HWND box) { return EntryText(box, SendMessageA(box, CB_GETCURSEL, 0, 0)); }

// Chooses the entry as a user would: the list tells its page.
void Choose(HWND page, int id, const std::string& text) {
  HWND box = GetDlgItem(page, id);
  SendMessageA(box, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
}

// The values of the points, and as many more as `past` asks for.
std::vector<std::int32_t> GraphValues(HWND page, LRESULT past = 0) {
  HWND graph = GetDlgItem(page, IDC_GRAPHS_GRAPH);
  const auto* values = reinterpret_cast<const std::int32_t*>(SendMessageA(graph, GM_GETVALUES, 0, 0));
  const LRESULT count = SendMessageA(graph, GM_GETCOUNT, 0, 0);
  if (values == nullptr || count <= 0) return {};
  return std::vector<std::int32_t>(values, values + count + past);
}

// The hours of each entry that is not 0, as "x:hours".
std::vector<std::string> Shown(HWND page, int firstX) {
  std::vector<std::string> shown;
  const std::vector<std::int32_t> values = GraphValues(page);
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i] != 0) shown.push_back(std::to_string(firstX + static_cast<int>(i)) + ":" + std::to_string(values[i]));
  }
  return shown;
}

class GraphsPageWine : public PageTest {
 protected:
  void SetUp() override {
    RegisterGraphClass(GetModuleHandleA(nullptr));
    bill_ = {Call("bob", 10, 120, 3),  Call("Alice", 10, 60, 3), Call("BOB", 22, 180, 12),
             Call("10th", 5, 60, 1), Call("alice", 23, 125, 5)};
    OpenPage<GraphsPage>(IDD_PAGE_GRAPHS, subject_);
  }

  HWND Users() const { return GetDlgItem(page_, IDC_GRAPHS_USERS); }
  HWND Display() const { return GetDlgItem(page_, IDC_GRAPHS_DISPLAY); }
  // What the graph draws, read back from a metafile.
  GraphRecording Drawn() const {
    return RecordDrawing([&](HDC dc) {
      GraphDrawTarget target{{0, 0, 600, 400}, dc};
      SendDlgItemMessageA(page_, IDC_GRAPHS_GRAPH, GM_DRAWTO, 0, reinterpret_cast<LPARAM>(&target));
    });
  }

  Bill bill_;
  GraphsPageSubject subject_{bill_};
};

TEST_F(GraphsPageWine, OpensOnTotalDailyUsageForAllUsersWithAllUsersFirst) {
  char className[32] = "";
  GetClassNameA(GetDlgItem(page_, IDC_GRAPHS_GRAPH), className, sizeof className);
  EXPECT_STREQ(kGraphClassName, className);
  EXPECT_EQ((std::vector<std::string>{"Total daily usage", "Total yearly usage",
                                      "Total yearly usage in days"}),
            Entries(Display()));
  EXPECT_EQ("Total daily usage", Selected(Display()));
  EXPECT_EQ((std::vector<std::string>{".All users", "10th", "Alice", "bob"}), Entries(Users()));
  EXPECT_EQ(".All users", Selected(Users()));
  EXPECT_EQ((std::vector<std::string>{"0:2", "5:1", "10:2", "11:1", "22:1", "23:2"}),
            Shown(page_, 0));
  const GraphRecording drawn = Drawn();
  ASSERT_GE(drawn.texts.size(), 2u);
  EXPECT_EQ("Hours of the day", drawn.texts[0]);
  EXPECT_EQ("Time spent online (hours)", drawn.texts[1]);
  EXPECT_EQ("2", drawn.texts.back());  // the top of the vertical axis: the largest value
}

TEST_F(GraphsPageWine, ChoosingAUserShowsTheirCallsOnlyAndChoosingASeriesKeepsTheUser) {
  Choose(page_, IDC_GRAPHS_USERS, "bob");
  EXPECT_EQ((std::vector<std::string>{"0:1", "10:1", "11:1", "22:1", "23:1"}), Shown(page_, 0));
  Choose(page_, IDC_GRAPHS_DISPLAY, "Total yearly usage");
  EXPECT_EQ("bob", Selected(Users()));
  EXPECT_EQ(12u, GraphValues(page_).size());
  EXPECT_EQ((std::vector<std::string>{"3:2", "12:3"}), Shown(page_, 1));
  std::vector<BillItem> grown = bill_.items();
  grown.push_back(Call("bob", 9, 120, 12));
  grown.back().day = 31;
  grown.back().year = 2004;  // day 366: kept past the 365 points drawn
  bill_ = Bill(grown);
  Choose(page_, IDC_GRAPHS_DISPLAY, "Total yearly usage in days");
  EXPECT_EQ(365u, GraphValues(page_).size());
  EXPECT_EQ((std::vector<std::string>{"69:2", "344:3"}), Shown(page_, 1));
  EXPECT_EQ(2, GraphValues(page_, 1).back());
  const GraphRecording drawn = Drawn();
  EXPECT_EQ("Days of year", drawn.texts.front());
  Choose(page_, IDC_GRAPHS_USERS, ".All users");
  EXPECT_EQ((std::vector<std::string>{"10:1", "69:3", "130:2", "344:3"}), Shown(page_, 1));
  EXPECT_EQ(2, GraphValues(page_, 1).back());  // counted afresh, not added to the last count
}

TEST_F(GraphsPageWine, ComingBackToTheTabResetsTheChoicesAndListsNewUsers) {
  Choose(page_, IDC_GRAPHS_DISPLAY, "Total yearly usage");
  Choose(page_, IDC_GRAPHS_USERS, "Alice");
  std::vector<BillItem> grown = bill_.items();  // an item appended while another tab was in front
  grown.push_back(Call("carol", 4, 600, 7));
  bill_ = Bill(grown);
  SendMessageA(page_, kActivatePageMessage, 0, 0);
  EXPECT_EQ("Total daily usage", Selected(Display()));
  EXPECT_EQ(".All users", Selected(Users()));
  EXPECT_EQ((std::vector<std::string>{".All users", "10th", "Alice", "bob", "carol"}), Entries(Users()));
  EXPECT_EQ(24u, GraphValues(page_).size());
  EXPECT_EQ((std::vector<std::string>{"0:2", "4:1", "5:2", "6:1", "7:1", "8:1", "9:1", "10:3",
                                      "11:2", "12:1", "13:1", "22:1", "23:2"}),
            Shown(page_, 0));
  // The largest value 3 labels the vertical axis every hour, up to 3.
  const GraphRecording drawn = Drawn();
  EXPECT_EQ((std::vector<std::string>{"0", "1", "2", "0", "3"}),
            std::vector<std::string>(drawn.texts.end() - 5, drawn.texts.end()));
}

TEST_F(GraphsPageWine, PrintingWithNoPrinterTellsTheUserAndChangesNothing) {
  Choose(page_, IDC_GRAPHS_USERS, "bob");
  const std::vector<std::int32_t> before = GraphValues(page_);
  ScopedDefaultPrinter none(nullptr);  // whatever printer the host's scheduler offers
  ExpectedBox told("Print");
  SendMessageA(page_, WM_COMMAND, kPrintPageCommand, 0);
  ForgetPendingDialogs();
  EXPECT_NE(std::string::npos, told.text.find("Nothing was printed")) << told.text;
  EXPECT_EQ(before, GraphValues(page_));
  EXPECT_EQ("bob", Selected(Users()));
}

// A bill of a few hundred calls spread over the day and the year, for the pictures.
Bill VariedBill() {
  std::vector<BillItem> bill;
  const char* users[] = {"alice", "bob", "carol"};
  for (std::uint32_t i = 0; i < 300; ++i) {
    BillItem item = Call(users[i % 3], (i * 7 + i / 13) % 24, 5 + (i * 37) % 170, 1 + (i * 5) % 12);
    item.day = 1 + (i * 11) % 28;
    bill.push_back(item);
  }
  return Bill(bill);
}

TEST(GraphsTabWine, TheOptionsDialogsGraphsTabShowsEachSeriesAndPrintsFromPrint) {
  Program program{GetModuleHandleA(nullptr)};
  RegisterGraphClass(program.instance());
  program.bill() = VariedBill();
  std::string told;
  RunWhileModal([&] { ShowOptionsDialog(nullptr, program); }, [&] {
    HWND frame = OpenSingleDialog(IDD_OPTIONS);
    ASSERT_NE(nullptr, frame);
    HWND tabs = GetDlgItem(frame, IDC_OPTIONS_TABS);
    for (int tab = 0; tab < TabCtrl_GetItemCount(tabs); ++tab) {
      char text[32] = "";
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(tabs, TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&item));
      if (std::string(text) == "Graphs") TabCtrl_SetCurSel(tabs, tab);
    }
    NMHDR header{tabs, IDC_OPTIONS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(frame, WM_NOTIFY, IDC_OPTIONS_TABS, reinterpret_cast<LPARAM>(&header));
    HWND page = nullptr;
    for (HWND child = GetWindow(frame, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      if (IsWindowVisible(child) && GetDlgItem(child, IDC_GRAPHS_DISPLAY) != nullptr) page = child;
    }
    ASSERT_NE(nullptr, GetDlgItem(page, IDC_GRAPHS_DISPLAY));
    EXPECT_EQ("Total daily usage", Selected(GetDlgItem(page, IDC_GRAPHS_DISPLAY)));
    EXPECT_EQ(24u, GraphValues(page).size());
    const struct {
      const char* series;
      const char* picture;
    } pictures[] = {{"Total daily usage", "graphs_daily"},
                    {"Total yearly usage", "graphs_yearly"},
                    {"Total yearly usage in days", "graphs_days"}};
    for (const auto& p : pictures) {
      Choose(page, IDC_GRAPHS_DISPLAY, p.series);
      EXPECT_EQ(p.series, Selected(GetDlgItem(page, IDC_GRAPHS_DISPLAY)));
      SaveScreenshot(frame, p.picture);
    }
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(frame, IDC_OPTIONS_PRINT)));
    ScopedDefaultPrinter none(nullptr);
    ExpectedBox box("Print");
    Press(frame, IDC_OPTIONS_PRINT);
    ForgetPendingDialogs();
    told = box.text;
  });
  EXPECT_NE(std::string::npos, told.find("Nothing was printed")) << told;
}

}  // namespace
}  // namespace tollwick
