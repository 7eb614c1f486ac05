#include "graphs/win32/graphs_page.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "bill/win32/bill_pages.h"
#include "graphs/usage_series.h"
#include "graphs/win32/graph_window.h"
#include "platform/win32/print_job.h"
#include "resources/graphs_page_ids.h"

namespace tollwick {

HWND GraphsPage::Graph() const { return GetDlgItem(window(), IDC_GRAPHS_GRAPH); }
HWND GraphsPage::Users() const { return GetDlgItem(window(), IDC_GRAPHS_USERS); }
HWND GraphsPage::Display() const { return GetDlgItem(window(), IDC_GRAPHS_DISPLAY); }

const UsageSeries& GraphsPage::SelectedSeries() const {
  const LRESULT entry = SendMessageA(Display(), CB_GETCURSEL, 0, 0);
  const LRESULT row = entry < 0 ? 0 : SendMessageA(Display(), CB_GETITEMDATA, entry, 0);
  return kUsageSeries[static_cast<std::size_t>(
      std::clamp<LRESULT>(row, 0, static_cast<LRESULT>(kUsageSeries.size()) - 1))];
}

void GraphsPage::Fill() {
  CreateGraphInPlace(DialogInstance(), window(), IDC_GRAPHS_GRAPH);
  FillUsersBox(Users(), subject_.bill, keys_);
  for (std::size_t row = 0; row < kUsageSeries.size(); ++row) {
    const LRESULT entry = SendMessageA(Display(), CB_ADDSTRING, 0,
                                       reinterpret_cast<LPARAM>(kUsageSeries[row].displayName));
    SendMessageA(Display(), CB_SETITEMDATA, entry, static_cast<LPARAM>(row));
  }
  SendMessageA(Graph(), GM_SETYTITLE, 0, reinterpret_cast<LPARAM>(kUsageVerticalTitle));
  ShowFirstSeries();
}

void GraphsPage::Activated() {
  FillUsersBox(Users(), subject_.bill, keys_);
  ShowFirstSeries();
}

void GraphsPage::ShowFirstSeries() {
  SendMessageA(Display(), CB_SETCURSEL, 0, 0);
  ShowSeries();
}

void GraphsPage::Command(int id, int code, HWND) {
  if (code != CBN_SELCHANGE) return;
  if (id == IDC_GRAPHS_DISPLAY) {
    ShowSeries();
  } else if (id == IDC_GRAPHS_USERS) {
    SendMessageA(Graph(), GM_ENABLEDRAW, 0, 0);
    ComputeSeries();
    SendMessageA(Graph(), GM_ENABLEDRAW, 1, 0);
  }
}

void GraphsPage::ShowSeries() {
  HWND graph = Graph();
  const UsageSeries& series = SelectedSeries();
  SendMessageA(graph, GM_ENABLEDRAW, 0, 0);
  SendMessageA(graph, GM_SETXRANGE,
               MAKEWPARAM(static_cast<WORD>(series.firstX), static_cast<WORD>(series.lastX)),
               series.xLabelStep);
  SendMessageA(graph, GM_SETXTITLE, 0, reinterpret_cast<LPARAM>(series.horizontalTitle));
  SendMessageA(graph, GM_SETSTYLE, static_cast<WPARAM>(series.style), 0);
  ComputeSeries();
  SendMessageA(graph, GM_ENABLEDRAW, 1, 0);
}

// The graph's values have room for its points and a few more; the series' own entries are copied
// in as far as both reach, so the day of the year's 366th entry is there too, undrawn.
void GraphsPage::ComputeSeries() {
  HWND graph = Graph();
  auto* values = reinterpret_cast<std::int32_t*>(SendMessageA(graph, GM_GETVALUES, 0, 0));
  const LRESULT count = SendMessageA(graph, GM_GETCOUNT, 0, 0);
  if (values == nullptr || count <= 0) return;
  const std::size_t points = static_cast<std::size_t>(count);
  const UsageSeries& series = SelectedSeries();
  const std::vector<std::int32_t> hours =
      series.aggregate(subject_.bill, SelectedUserKey(Users(), keys_));
  std::fill(values, values + points + kGraphSpareValues, 0);
  std::copy_n(hours.begin(), std::min(points + kGraphSpareValues, hours.size()), values);
  const VerticalRange range = SeriesRange(hours, points);
  SendMessageA(graph, GM_SETYRANGE,
               MAKEWPARAM(static_cast<WORD>(range.lowest), static_cast<WORD>(range.highest)),
               range.labelStep);
}

// The title, the series' name three lines lower, and the graph over the middle half of the page.
void GraphsPage::Print() {
  const std::string title = PrintedGraphTitle(SelectedUserKey(Users(), keys_));
  std::optional<PrintJob> job = OpenPrintJob(title.c_str());
  if (!job) {
    ShowError(kNoPrintJobText, kNoPrintJobCaption);
    return;
  }
  PrintCentred(*job, 0, title);
  PrintCentred(*job, 3 * LineHeight(*job), SelectedSeries().displayName);
  GraphDrawTarget target{};
  target.rect.left = LeftMargin(*job);
  target.rect.right = LeftMargin(*job) + PrintableWidth(*job);
  target.rect.top = TopMargin(*job) + PrintableHeight(*job) / 4;
  target.rect.bottom = target.rect.top + (2 * PrintableHeight(*job)) / 4;
  target.dc = job->dc();
  SendMessageA(Graph(), GM_DRAWTO, 0, reinterpret_cast<LPARAM>(&target));
  if (!ClosePrintJob(*job)) ShowError(kNoPrintJobText, kNoPrintJobCaption);
}

}  // namespace tollwick
