// The printed bill's layout without a printer: columns, page breaks and the page count, the
// printed cells, the closing lines and the titles.

#include "bill/bill_print_layout.h"
#include "platform/print_geometry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "fake_environment.h"

namespace tollwick {
namespace {

TEST(BillColumnLefts, EachShareIsTruncatedOnItsOwn) {
  struct Case {
    int width;
    std::array<int, kBillPrintColumnCount> lefts;
    int lastRight;  // the Date column's own share past its left edge
  };
  const Case cases[] = {
      // 300 dpi A4 less an inch: summing the shares first would give 740, 1220, 1481, 1743.
      {2179, {0, 261, 740, 1219, 1480, 1741}, 2013},
      {1000, {0, 120, 340, 560, 680, 800}, 925},
      {9, {0, 1, 2, 3, 4, 5}, 6},
      {0, {0, 0, 0, 0, 0, 0}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BillColumnLefts(c.width), c.lefts) << "width " << c.width;
    // Each column ends where the next begins.
    for (int i = 0; i + 1 < kBillPrintColumnCount; ++i) {
      EXPECT_EQ(BillColumnRight(c.width, i), c.lefts[i + 1]) << "width " << c.width << " column " << i;
    }
    EXPECT_EQ(BillColumnRight(c.width, kPrintDate), c.lastRight) << "width " << c.width;
  }
}

TEST(CentredX, TruncatesTowardZero) {
  struct Case {
    int width, textWidth, x;
  };
  const Case cases[] = {{100, 40, 30}, {101, 40, 30}, {100, 41, 29}, {10, 15, -2}, {0, 0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(CentredX(c.width, c.textWidth), c.x) << c.width << " " << c.textWidth;
  }
}

TEST(ReportTitle, NamesTheUserInCapitalsOrAllUsers) {
  const UserKey bob = MakeUserKey("Bob");
  const UserKey mixed = MakeUserKey("d\xE9" "sir\xE9" "e o'Neil");
  EXPECT_EQ(BillPrintTitle(nullptr), "Tollwick bill - All Users");
  EXPECT_EQ(BillPrintTitle(&bob), "Tollwick bill - BOB");
  // Only a to z change case.
  EXPECT_EQ(BillPrintTitle(&mixed), "Tollwick bill - D\xE9" "SIR\xE9" "E O'NEIL");
  EXPECT_EQ(ReportTitle("Tollwick Graph - ", nullptr), "Tollwick Graph - All Users");
  EXPECT_EQ(ReportTitle("Tollwick Graph - ", &bob), "Tollwick Graph - BOB");
}

// A small page: 10 units a line, the rows of page 1 from 35 (title, column titles), of later
// pages from 15.
BillPageGeometry Page(int height) { return BillPageGeometry{200, height, 10}; }

TEST(BillRowFlow, RowsStandOneLineApartAndBreakPastTheLimit) {
  BillRowFlow flow(Page(100));  // limit 70
  std::vector<int> ys{flow.y()};
  std::vector<bool> breaks;
  for (int i = 0; i < 11; ++i) {
    breaks.push_back(flow.NextRow());
    ys.push_back(flow.y());
  }
  // The row that takes y past the limit is still on page 1; the next starts page 2 below its
  // column titles, without the title.
  EXPECT_EQ(ys, (std::vector<int>{35, 45, 55, 65, 15, 25, 35, 45, 55, 65, 15, 25}));
  EXPECT_EQ(breaks, (std::vector<bool>{false, false, false, true, false, false, false, false,
                                       false, true, false}));
  EXPECT_EQ(flow.page(), 3);
}

TEST(BillPageCount, CountsThePagesThePrintingMakes) {
  struct Case {
    const char* name;
    int height;
    std::size_t rows;
    int pages;
  };
  const Case cases[] = {
      {"empty bill", 100, 0, 1},
      {"one row", 100, 1, 1},
      {"page 1 not yet full", 100, 3, 1},
      {"last row ends page 1: closing lines alone on page 2", 100, 4, 2},
      {"one row on page 2", 100, 5, 2},
      {"last row ends page 2", 100, 10, 3},
      {"one row on page 3", 100, 11, 3},
      // Limit 65: a row reaching it exactly stays on its page.
      {"y equal to the limit does not break", 95, 3, 1},
      {"past the equal limit", 95, 4, 2},
      // Limit 64: the third row passes it.
      {"one below: the third row breaks", 94, 3, 2},
      // A page with no room for a row below its column titles: every row ends a page.
      {"no room", 30, 2, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BillPageCount(Page(c.height), c.rows), c.pages) << c.name;
    // The same as walking the rows one by one as the printing does.
    BillRowFlow flow(Page(c.height));
    for (std::size_t i = 0; i < c.rows; ++i) flow.NextRow();
    EXPECT_EQ(flow.page(), c.pages) << c.name;
  }
}

TEST(BillPageGeometry, PlacesTheHeaderRulesAndFooter) {
  const BillPageGeometry page{2179, 3208, 50};
  EXPECT_EQ(page.HeaderTop(true), 100);
  EXPECT_EQ(page.HeaderTop(false), 0);
  EXPECT_EQ(page.FirstRowY(page.HeaderTop(true)), 155);
  EXPECT_EQ(page.FirstRowY(page.HeaderTop(false)), 55);
  EXPECT_EQ(page.RuleBottom(), 3108);
  EXPECT_EQ(page.RowLimit(), 3058);
  EXPECT_EQ(page.FooterY(), 3158);
  // Page 1 holds rows at 155 to 3055 and its 59th row ends it; later pages end with their 61st.
  EXPECT_EQ(BillPageCount(page, 58), 1);
  EXPECT_EQ(BillPageCount(page, 59), 2);
  EXPECT_EQ(BillPageCount(page, 59 + 60), 2);
  EXPECT_EQ(BillPageCount(page, 59 + 61), 3);
}

BillItem Item(std::uint32_t type, float cost, const char* user, const char* account,
              PackedTime length, PackedTime start) {
  BillItem item;
  item.type = type;
  item.cost = cost;
  item.length = length;
  item.start = start;
  item.end = 0x1700;
  item.day = 7;
  item.month = 12;
  item.year = 2000;
  std::snprintf(item.user, sizeof item.user, "%s", user);
  std::snprintf(item.account, sizeof item.account, "%s", account);
  return item;
}

TEST(BillPrintCellText, PrintsACallWholeAndAPaymentNegativeWithoutCallFields) {
  FakeEnvironment env;
  struct Case {
    const char* name;
    BillItem item;
    std::array<const char*, kBillPrintColumnCount> cells;  // null: not printed
  };
  const Case cases[] = {
      {"call", Item(kCall, 3.0f, "bob", "My ISP", 0x0130, 0x0905),
       {"\xA3" "3.00", "My ISP", "bob", "9:05", "1:48", "7/12/2000"}},
      {"payment", Item(kPayment, 10.0f, "Bob", "stray", 0x0130, 0x0905),
       {"-\xA3" "10.00", nullptr, "Bob", nullptr, nullptr, "7/12/2000"}},
      {"any nonzero type pays", Item(9, 1.5f, "x", "", 0, 0),
       {"-\xA3" "1.50", nullptr, "x", nullptr, nullptr, "7/12/2000"}},
  };
  for (const Case& c : cases) {
    for (int column = 0; column < kBillPrintColumnCount; ++column) {
      std::string text;
      const bool printed = BillPrintCellText(env, c.item, column, text);
      EXPECT_EQ(printed, c.cells[column] != nullptr) << c.name << " column " << column;
      if (printed && c.cells[column] != nullptr) {
        EXPECT_EQ(text, c.cells[column]) << c.name << " column " << column;
      }
    }
  }
}

TEST(BillClosingLines, SumCallsAndPaymentsApart) {
  FakeEnvironment env;
  struct Case {
    const char* name;
    std::vector<BillItem> items;
    const char* owedLine;
    const char* totalsLine;
  };
  const Case cases[] = {
      {"nothing printed", {},
       "Currently owed is \xA3" "0.00. Total connection time is 0:00 hours.",
       "Total money used is \xA3" "0.00 and money spent is \xA3" "0.00."},
      {"two calls and a payment",
       {Item(kCall, 3.0f, "a", "x", 0x0130, 0), Item(kPayment, 10.0f, "a", "", 0x0200, 0),
        Item(kCall, 4.5f, "a", "x", 0x012D, 0)},
       // A payment's length does not count as time on line.
       "Currently owed is -\xA3" "2.50. Total connection time is 3:33 hours.",
       "Total money used is \xA3" "7.50 and money spent is \xA3" "10.00."},
  };
  for (const Case& c : cases) {
    BillPrintTotals totals;
    for (const BillItem& item : c.items) totals.Add(item);
    const auto lines = BillClosingLines(env, totals);
    EXPECT_EQ(lines[0], c.owedLine) << c.name;
    EXPECT_EQ(lines[1], c.totalsLine) << c.name;
  }
}

TEST(PageFooterText, NumbersThePageOfTheTotal) {
  EXPECT_EQ(PageFooterText(1, 1), "Page 1 of 1");
  EXPECT_EQ(PageFooterText(2, 12), "Page 2 of 12");
}

}  // namespace
}  // namespace tollwick
