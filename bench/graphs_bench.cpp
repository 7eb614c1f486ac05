// The usage graphs on a bill of 100,000 items: each series aggregated for all users and for one
// user, and one paint of the graph window showing each series (the day-of-year series draws 365
// points and 14 labels across).

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench_clock.h"
#include "graphs/usage_series.h"
#include "graphs/win32/graph_window.h"
#include "platform/win32/scoped_handles.h"

namespace {

using namespace tollwick;

constexpr int kItems = 100000;
constexpr int kUsers = 5;
constexpr int kRounds = 20;

Bill MakeBill(int n) {
  std::vector<BillItem> bill(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    BillItem& item = bill[static_cast<std::size_t>(i)];
    std::snprintf(item.user, sizeof item.user, "user%d", i % kUsers);
    // Lengths up to 4 hours, so the hourly series spreads calls over several hours.
    item.length = MakePackedTime(static_cast<std::uint32_t>(i % 5),
                                 static_cast<std::uint32_t>((i * 7) % 60));
    item.start = MakePackedTime(static_cast<std::uint32_t>(i % 24), 0);
    item.day = 1 + static_cast<std::uint32_t>((i * 13) % 31);
    item.month = 1 + static_cast<std::uint32_t>(i % 12);
    item.year = 2000 + static_cast<std::uint32_t>(i / 1000);
  }
  return Bill(std::move(bill));
}

template <typename Work>
double Best(Work work) {
  double best = 1e30;
  for (int round = 0; round < kRounds; ++round) {
    const double start = Seconds();
    work();
    best = std::min(best, Seconds() - start);
  }
  return best;
}

// Sets the graph up for the series as the Graphs page does, with the values of all users.
void ShowSeries(HWND graph, const UsageSeries& series, const std::vector<std::int32_t>& hours) {
  SendMessageA(graph, GM_ENABLEDRAW, 0, 0);
  SendMessageA(graph, GM_SETXRANGE,
               MAKEWPARAM(static_cast<WORD>(series.firstX), static_cast<WORD>(series.lastX)),
               series.xLabelStep);
  SendMessageA(graph, GM_SETSTYLE, static_cast<WPARAM>(series.style), 0);
  auto* values = reinterpret_cast<std::int32_t*>(SendMessageA(graph, GM_GETVALUES, 0, 0));
  const std::size_t points = static_cast<std::size_t>(SendMessageA(graph, GM_GETCOUNT, 0, 0));
  std::copy_n(hours.begin(), std::min(points, hours.size()), values);
  const VerticalRange range = SeriesRange(hours, points);
  SendMessageA(graph, GM_SETYRANGE,
               MAKEWPARAM(static_cast<WORD>(range.lowest), static_cast<WORD>(range.highest)),
               range.labelStep);
  SendMessageA(graph, GM_ENABLEDRAW, 1, 0);
}

}  // namespace

int main() {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterGraphClass(instance);
  const Bill bill = MakeBill(kItems);
  const UserKey one = MakeUserKey("USER3");
  HWND host = CreateWindowExA(0, "STATIC", "Graphs", WS_POPUP | WS_VISIBLE, 0, 0, 520, 360,
                              nullptr, nullptr, instance, nullptr);
  HWND graph = CreateWindowExA(WS_EX_CLIENTEDGE, kGraphClassName, "", WS_CHILD | WS_VISIBLE, 10,
                               10, 500, 340, host, nullptr, instance, nullptr);

  // The same drawing into a bitmap, where nothing waits for the screen.
  WindowDC screen(nullptr);
  ScopedDC memory(CreateCompatibleDC(screen.get()));
  ScopedBitmap bitmap(CreateCompatibleBitmap(screen.get(), 500, 340));
  ScopedSelection selected(memory.get(), bitmap.get());
  GraphDrawTarget target{{0, 0, 500, 340}, memory.get()};

  std::printf("Bill of %d items, %d users (best of %d rounds)\n", kItems, kUsers, kRounds);
  for (const UsageSeries& series : kUsageSeries) {
    std::vector<std::int32_t> hours;
    const double all = Best([&] { hours = series.aggregate(bill, nullptr); });
    const double user = Best([&] { series.aggregate(bill, &one); });
    ShowSeries(graph, series, hours);
    const double paint = Best([&] {
      InvalidateRect(graph, nullptr, FALSE);
      UpdateWindow(graph);
      GdiFlush();
    });
    const double drawn = Best([&] {
      SendMessageA(graph, GM_DRAWTO, 0, reinterpret_cast<LPARAM>(&target));
      GdiFlush();
    });
    std::printf("  %s\n", series.displayName);
    std::printf("    %-48s %9.2f ms  (target 20)\n", "aggregated, all users", all * 1e3);
    std::printf("    %-48s %9.2f ms  (target 20)\n", "aggregated, one user", user * 1e3);
    std::printf("    %-48s %9.2f ms  (target 5)\n", "one paint of the graph window (500 x 340)",
                paint * 1e3);
    std::printf("    %-48s %9.2f ms\n", "drawn into a 500 x 340 bitmap", drawn * 1e3);
  }
  std::fflush(stdout);
  DestroyWindow(host);
  UnregisterGraphClass(instance);
  return 0;
}
