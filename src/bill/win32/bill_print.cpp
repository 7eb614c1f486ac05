#include "bill/win32/bill_print.h"

#include <string>

#include "bill/bill_print_layout.h"
#include "platform/print_geometry.h"

namespace tollwick {
namespace {

BillPageGeometry GeometryOf(const PrintJob& job) {
  return BillPageGeometry{PrintableWidth(job), PrintableHeight(job), LineHeight(job)};
}

// Every footer starts at the same x, centred on a sample text rather than on its own.
void PrintFooter(const PrintJob& job, int page, int pages) {
  const BillPageGeometry geometry = GeometryOf(job);
  PrintPageFooter(job, CentredX(geometry.width, TextWidth(job, kFooterWidthSample)),
                  geometry.FooterY(), page, pages);
}

}  // namespace

// Clipped to its column and its row: the cells are drawn out of column order with an opaque
// background, so an unclipped long text would run over, and partly blot out, its neighbours.
void PrintCell(const PrintJob& job, int column, int y, const char* text) {
  const int width = PrintableWidth(job);
  const int left = LeftMargin(job);
  const int top = TopMargin(job) + y;
  const RECT cell{left + BillColumnLefts(width)[column], top, left + BillColumnRight(width, column),
                  top + LineHeight(job)};
  ExtTextOutA(job.dc(), cell.left + kCellIndent, top, ETO_CLIPPED, &cell, text,
              static_cast<UINT>(std::char_traits<char>::length(text)), nullptr);
}

void PrintPageFooter(const PrintJob& job, int x, int y, int page, int pages) {
  PrintTextAt(job, x, y, PageFooterText(page, pages).c_str());
}

int PrintPageHeader(const PrintJob& job, int page, const char* title) {
  const BillPageGeometry geometry = GeometryOf(job);
  const bool titled = page == 1 && title != nullptr;
  if (titled) PrintCentred(job, 0, title);
  const int top = geometry.HeaderTop(titled);
  DrawRule(job, 0, top + geometry.lineHeight, geometry.width, top + geometry.lineHeight);
  const auto lefts = BillColumnLefts(geometry.width);
  for (int i = 0; i < kBillPrintColumnCount; ++i) {
    PrintTextAt(job, lefts[i] + kCellIndent, top, kBillPrintColumnTitles[i]);
    if (i > 0) DrawRule(job, lefts[i], top, lefts[i], geometry.RuleBottom());
  }
  return geometry.FirstRowY(top);
}

bool PrintBill(Environment& env, const Bill& bill, const UserKey* filter) {
  const std::string title = BillPrintTitle(filter);
  std::optional<PrintJob> job = OpenPrintJob(title.c_str());
  if (!job) return false;
  const BillPageGeometry geometry = GeometryOf(*job);

  std::size_t rows = 0;
  for (const BillItem& item : bill) rows += UserMatches(filter, item.user) ? 1 : 0;
  const int pages = BillPageCount(geometry, rows);

  BillRowFlow flow(geometry);
  PrintPageHeader(*job, 1, title.c_str());
  BillPrintTotals totals;
  std::string text;
  for (const BillItem& item : bill) {
    if (!UserMatches(filter, item.user)) continue;
    totals.Add(item);
    for (int column = 0; column < kBillPrintColumnCount; ++column) {
      if (BillPrintCellText(env, item, column, text)) PrintCell(*job, column, flow.y(), text.c_str());
    }
    const int page = flow.page();
    if (flow.NextRow()) {
      PrintFooter(*job, page, pages);
      NextPage(*job);
      PrintPageHeader(*job, flow.page(), nullptr);
    }
  }

  // White over the rest of the table takes the column rules away below the last row.
  int y = flow.y();
  const RECT below{LeftMargin(*job), y + TopMargin(*job), geometry.width + LeftMargin(*job),
                   geometry.height + TopMargin(*job)};
  FillRect(job->dc(), &below, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  for (const std::string& line : BillClosingLines(env, totals)) {
    y += geometry.lineHeight;
    PrintCentred(*job, y, line);
  }
  PrintFooter(*job, flow.page(), pages);
  return ClosePrintJob(*job);
}

}  // namespace tollwick
