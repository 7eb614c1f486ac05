#pragma once
// Where the printed bill puts things, worked out without a printer: the columns, the header, the
// rows and the page breaks, the closing lines and the titles of the printed reports. All positions
// are in page coordinates (device units from the top-left corner of the printable area).

#include <array>
#include <cstddef>
#include <string>

#include "bill/bill_item.h"
#include "bill/bill_store.h"
#include "platform/environment.h"
#include "platform/packed_time.h"

namespace tollwick {

enum BillPrintColumn : int { kPrintAmount, kPrintAccount, kPrintUser, kPrintStart, kPrintLength,
                             kPrintDate, kBillPrintColumnCount };
extern const std::array<const char*, kBillPrintColumnCount> kBillPrintColumnTitles;
// A column's text starts this far right of its left edge.
constexpr int kCellIndent = 10;
// The footer is centred on this text, so every footer starts at the same x.
constexpr char kFooterWidthSample[] = "Page ?? of ??";

// The left edge of each column: the widths before it, each share of the printable width
// truncated on its own.
std::array<int, kBillPrintColumnCount> BillColumnLefts(int printableWidth);
// Where a column ends: its left edge and its own share. A cell's text is cut there, so a long
// text never prints over the next column.
int BillColumnRight(int printableWidth, int column);

// The title of a printed report: prefix followed by the filter's (upper-cased) user name, or by
// "All Users" without a filter.
std::string ReportTitle(const char* prefix, const UserKey* filter);
// "Tollwick bill - " and the user, or "All Users".
std::string BillPrintTitle(const UserKey* filter);

// The page and its text metrics as the printer gives them.
struct BillPageGeometry {
  int width = 0;       // PrintableWidth
  int height = 0;      // PrintableHeight
  int lineHeight = 0;  // LineHeight

  // Top of the column titles: below the title on a titled page, at the top otherwise.
  int HeaderTop(bool titled) const { return titled ? 2 * lineHeight : 0; }
  // The first row below the column titles that start at top.
  int FirstRowY(int top) const { return top + lineHeight + 5; }
  // The column rules reach down to here.
  int RuleBottom() const { return height - 2 * lineHeight; }
  // A row whose y would pass this starts a new page.
  int RowLimit() const { return height - 3 * lineHeight; }
  int FooterY() const { return height - lineHeight; }
};

// The rows of one printed bill, page by page. The page count and the printing walk the rows
// through this one rule, so the "of n" in the footers always matches the pages printed. Page 1
// carries the title.
class BillRowFlow {
 public:
  explicit BillRowFlow(const BillPageGeometry& geometry);

  int y() const { return y_; }      // where the next row, or the first closing line's top, goes
  int page() const { return page_; }
  // Moves past a printed row. True when that row ended its page: the next row (or the closing
  // lines) go on page page(), at y(), below its column titles.
  bool NextRow();

 private:
  BillPageGeometry geometry_;
  int y_;
  int page_ = 1;
};

// The pages a bill of `rows` printed rows takes, the closing lines' page included.
int BillPageCount(const BillPageGeometry& geometry, std::size_t rows);

// The text of one printed cell; false when the item prints nothing in that column (a payment has
// no account, start or length). A payment's amount prints negative.
bool BillPrintCellText(Environment& env, const BillItem& item, int column, std::string& text);

// The running figures of one print, for the closing lines.
struct BillPrintTotals {
  float owed = 0.0f;
  float used = 0.0f;   // calls
  float spent = 0.0f;  // payments
  PackedTime time = 0;

  void Add(const BillItem& item);
};
// "Currently owed is ... hours." and "Total money used is ... spent is ...".
std::array<std::string, 2> BillClosingLines(Environment& env, const BillPrintTotals& totals);

// "Page %i of %i".
std::string PageFooterText(int page, int pages);

}  // namespace tollwick
