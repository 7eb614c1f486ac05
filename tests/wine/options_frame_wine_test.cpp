// The Options dialog frame with stand-in pages: every page made when the dialog opens, the page
// brought to the front told so and shown alone, "&Print..." only for printable pages and only to
// the page in front, OK and Cancel to every page in table order, and the pages inside the tab
// control's display area.

#include "options/win32/options_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "modal_script.h"
#include "options_frame_test_ids.h"
#include "resources/options_frame_ids.h"
#include "resources/resource.h"
#include "ui/win32/single_dialog.h"

namespace tollwick {
namespace {

std::vector<std::string>* pageLog = nullptr;
int refusingRow = -1;  // the stand-in page that cannot apply its edits

struct StandInSubject {
  int row;
};

class StandInPage : public OptionPage {
 public:
  using Subject = StandInSubject;
  StandInPage(HWND window, StandInSubject& subject) : OptionPage(window), row_(subject.row) {}
  ~StandInPage() override { Log("gone"); }

 private:
  void Fill() override {
    Log("made");
    const std::string text = "Stand-in page " + std::to_string(row_);
    SetDlgItemTextA(window(), IDC_STAND_IN_TEXT, text.c_str());
  }
  void Activated() override { Log("front"); }
  bool MayApply() override { return row_ != refusingRow; }
  void Ok() override { Log("ok"); }
  void Cancel() override { Log("cancel"); }
  void Print() override { Log("print"); }
  void Log(const char* what) { pageLog->push_back(std::string(what) + " " + std::to_string(row_)); }

  int row_;
};

template <int Row>
OptionsPageWindow MakeStandIn(HWND frame, int, Program&) {
  return CreateOptionsPage<StandInPage>(frame, IDD_STAND_IN_PAGE, StandInSubject{Row});
}

// The program's rows, each with a stand-in page.
const OptionsPageTable kAllPages = {{
    {"Statistics", 0, IDD_STAND_IN_PAGE, MakeStandIn<0>, false},
    {"Bill", 1, IDD_STAND_IN_PAGE, MakeStandIn<1>, true},
    {"Graphs", 2, IDD_STAND_IN_PAGE, MakeStandIn<2>, true},
    {"Alarms", 3, IDD_STAND_IN_PAGE, MakeStandIn<3>, false},
    {"Setup", 4, IDD_STAND_IN_PAGE, MakeStandIn<4>, false},
    {"Misc", 5, IDD_STAND_IN_PAGE, MakeStandIn<5>, false},
    {"Plan", 6, IDD_STAND_IN_PAGE, MakeStandIn<6>, false},
}};

std::vector<std::string> Each(const char* what, std::vector<int> rows) {
  std::vector<std::string> log;
  for (int row : rows) log.push_back(std::string(what) + " " + std::to_string(row));
  return log;
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class OptionsFrameTest : public ::testing::Test {
 protected:
  void SetUp() override { pageLog = &log; }
  void TearDown() override {
    pageLog = nullptr;
    refusingRow = -1;
  }

  // Opens the frame over the table and runs the script inside it; returns the dialog's result.
  INT_PTR Run(const OptionsPageTable& pages, const std::function<void(HWND frame)>& script) {
    INT_PTR result = -1;
    RunWhileModal([&] { result = ShowOptionsDialog(nullptr, pages, program); },
                  [&] {
                    ASSERT_NE(nullptr, OpenSingleDialog(IDD_OPTIONS));
                    script(OpenSingleDialog(IDD_OPTIONS));
                  });
    return result;
  }

  static HWND Tabs(HWND frame) { return GetDlgItem(frame, IDC_OPTIONS_TABS); }
  static bool PrintEnabled(HWND frame) {
    return IsWindowEnabled(GetDlgItem(frame, IDC_OPTIONS_PRINT)) != FALSE;
  }
  // The stand-in pages shown, by the number they show.
  static std::vector<std::string> VisiblePages(HWND frame) {
    std::vector<std::string> shown;
    for (HWND child = GetWindow(frame, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (GetDlgItem(child, IDC_STAND_IN_TEXT) != nullptr && IsWindowVisible(child)) {
        shown.push_back(ControlText(child, IDC_STAND_IN_TEXT));
      }
    }
    return shown;
  }
  // The tab clicked, as the tab control tells its parent.
  static void ClickTab(HWND frame, int tab) {
    TabCtrl_SetCurSel(Tabs(frame), tab);
    NMHDR header{Tabs(frame), IDC_OPTIONS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(frame, WM_NOTIFY, IDC_OPTIONS_TABS, reinterpret_cast<LPARAM>(&header));
  }

  Program program{GetModuleHandleA(nullptr)};
  std::vector<std::string> log;
};

TEST_F(OptionsFrameTest, OpensWithEveryPageMadeAndTheFirstInFront) {
  Run(kAllPages, [&](HWND frame) {
    EXPECT_EQ(Join(Each("made", {0, 1, 2, 3, 4, 5, 6}), {"front 0"}), log);
    EXPECT_EQ(std::vector<std::string>{"Stand-in page 0"}, VisiblePages(frame));
    EXPECT_FALSE(PrintEnabled(frame));
    EXPECT_NE(0, GetWindowLongPtrA(frame, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    HIMAGELIST images = TabCtrl_GetImageList(Tabs(frame));
    ASSERT_NE(nullptr, images);
    EXPECT_EQ(7, ImageList_GetImageCount(images));
    SaveScreenshot(frame, "options_frame");
  });
}

struct TabCase {
  int tab;
  const char* text;
  int image;
  bool printable;
};

// The tab's label and picture as the tab control holds them.
void ExpectTabLabel(HWND tabs, const TabCase& c) {
  char text[32] = "";
  TCITEMA item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(tabs, TCM_GETITEMA, c.tab, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(c.text, text);
  EXPECT_EQ(c.image, item.iImage);
}

const TabCase kAllTabs[] = {
    {1, "Bill", 1, true},    {2, "Graphs", 2, true}, {3, "Alarms", 3, false},
    {4, "Setup", 4, false},  {5, "Misc", 5, false},  {6, "Plan", 6, false},
    {0, "Statistics", 0, false},
};

TEST_F(OptionsFrameTest, EachTabBringsItsPageToTheFrontAloneAndPrintOnlyForBillAndGraphs) {
  Run(kAllPages, [&](HWND frame) {
    ASSERT_EQ(7, TabCtrl_GetItemCount(Tabs(frame)));
    for (const TabCase& c : kAllTabs) {
      SCOPED_TRACE(c.text);
      ExpectTabLabel(Tabs(frame), c);

      log.clear();
      ClickTab(frame, c.tab);
      EXPECT_EQ(Each("front", {c.tab}), log);
      EXPECT_EQ(std::vector<std::string>{"Stand-in page " + std::to_string(c.tab)},
                VisiblePages(frame));
      EXPECT_EQ(c.printable, PrintEnabled(frame));
      if (c.printable) {
        log.clear();
        Press(frame, IDC_OPTIONS_PRINT);
        EXPECT_EQ(Each("print", {c.tab}), log);
      }
    }
  });
}

struct CloseCase {
  const char* name;
  int button;
  const char* message;
};

const CloseCase kCloses[] = {{"OK", IDOK, "ok"}, {"Cancel", IDCANCEL, "cancel"}};

TEST_F(OptionsFrameTest, OkAndCancelReachEveryPageInTableOrderBeforeThePagesGo) {
  for (const CloseCase& c : kCloses) {
    SCOPED_TRACE(c.name);
    log.clear();
    const INT_PTR result = Run(kAllPages, [&](HWND frame) {
      ClickTab(frame, 3);
      log.clear();
      Press(frame, c.button);
    });
    EXPECT_EQ(c.button, result);
    EXPECT_EQ(Join(Each(c.message, {0, 1, 2, 3, 4, 5, 6}), Each("gone", {0, 1, 2, 3, 4, 5, 6})), log);
    EXPECT_EQ(nullptr, OpenSingleDialog(IDD_OPTIONS));
  }
}

TEST_F(OptionsFrameTest, OkThatAPageRefusesKeepsTheDialogOpenWithThatPageInFront) {
  for (int refusing : {4, 0, 5}) {
    SCOPED_TRACE(refusing);
    refusingRow = refusing;
    const INT_PTR result = Run(kAllPages, [&](HWND frame) {
      ClickTab(frame, 1);
      log.clear();
      Press(frame, IDOK);
      // No page kept or dropped its edits; the refusing page came to the front.
      EXPECT_EQ(Each("front", {refusing}), log);
      EXPECT_EQ(std::vector<std::string>{"Stand-in page " + std::to_string(refusing)},
                VisiblePages(frame));
      EXPECT_EQ(refusing, TabCtrl_GetCurSel(Tabs(frame)));
      EXPECT_TRUE(IsWindowVisible(frame));
      refusingRow = -1;  // put right: OK now closes
      log.clear();
      Press(frame, IDOK);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(Join(Each("ok", {0, 1, 2, 3, 4, 5, 6}), Each("gone", {0, 1, 2, 3, 4, 5, 6})), log);
    log.clear();
  }
}

TEST_F(OptionsFrameTest, EveryPageSitsAtTheTopLeftOfTheTabsDisplayAreaAndFitsInIt) {
  Run(kAllPages, [&](HWND frame) {
    HWND tabs = Tabs(frame);
    RECT display;
    GetClientRect(tabs, &display);
    TabCtrl_AdjustRect(tabs, FALSE, &display);
    MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&display), 2);
    int pages = 0;
    for (HWND child = GetWindow(frame, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (GetDlgItem(child, IDC_STAND_IN_TEXT) == nullptr) continue;
      ++pages;
      RECT page;
      GetWindowRect(child, &page);
      SCOPED_TRACE(ControlText(child, IDC_STAND_IN_TEXT));
      EXPECT_EQ(display.left, page.left);
      EXPECT_EQ(display.top, page.top);
      EXPECT_LE(page.right, display.right);
      EXPECT_LE(page.bottom, display.bottom);
    }
    EXPECT_EQ(7, pages);
  });
}

}  // namespace
}  // namespace tollwick
