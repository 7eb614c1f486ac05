// The graph window under Wine: its defaults, its messages, when it repaints, and what DrawGraph
// really draws on devices of different resolutions, read back from a metafile.

#include "graphs/win32/graph_window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "graph_recording.h"
#include "page_host.h"
#include "platform/win32/scoped_handles.h"

namespace tollwick {
namespace {

// The resolution of the screen, which a metafile DC made without a reference takes as its own.
DeviceResolution ScreenResolution() {
  WindowDC screen(nullptr);
  return DeviceResolution{GetDeviceCaps(screen.get(), LOGPIXELSX),
                          GetDeviceCaps(screen.get(), LOGPIXELSY)};
}

class GraphWindowWine : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterGraphClass(GetModuleHandleA(nullptr));
    graph_ = CreateWindowExA(0, kGraphClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200,
                             host_.get(), nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, graph_);
  }
  void TearDown() override { DestroyWindow(graph_); }

  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(graph_, message, wParam, lParam);
  }
  std::vector<std::int32_t> Values() {
    const auto* values = reinterpret_cast<const std::int32_t*>(Send(GM_GETVALUES));
    const LRESULT count = Send(GM_GETCOUNT);
    return std::vector<std::int32_t>(values, values + count);
  }
  bool RepaintPending() { return GetUpdateRect(graph_, nullptr, FALSE) != FALSE; }
  // What GM_DRAWTO drew into a 600 by 400 rectangle of a metafile.
  GraphRecording DrawnTo() {
    return RecordDrawing([&](HDC dc) {
      GraphDrawTarget target{{0, 0, 600, 400}, dc};
      Send(GM_DRAWTO, 0, reinterpret_cast<LPARAM>(&target));
    });
  }

  PageHost host_;
  HWND graph_ = nullptr;
};

TEST_F(GraphWindowWine, ANewGraphHasSevenZeroPointsAndItsDefaultLabelsAndTitles) {
  EXPECT_EQ(7, Send(GM_GETCOUNT));
  EXPECT_EQ(std::vector<std::int32_t>(7, 0), Values());
  const GraphRecording drawn = DrawnTo();
  EXPECT_EQ((std::vector<std::string>{"Horizontal", "Vertical", "1", "2", "3", "4", "5", "6", "1",
                                      "7", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "0",
                                      "10"}),
            drawn.texts);
}

TEST_F(GraphWindowWine, SettingTheHorizontalRangeGivesNewZeroedValuesAndAStepOfAtLeastOne) {
  const struct {
    int first, last;
    LPARAM step;
    std::vector<std::string> labels;
  } cases[] = {
      {0, 23, 6, {"0", "6", "12", "18", "0", "23"}},
      {1, 3, 0, {"1", "2", "1", "3"}},
      {1, 3, -4, {"1", "2", "1", "3"}},
  };
  for (const auto& c : cases) {
    auto* old = reinterpret_cast<std::int32_t*>(Send(GM_GETVALUES));
    for (LRESULT i = 0; i < Send(GM_GETCOUNT); ++i) old[i] = 9;
    Send(GM_SETXRANGE, MAKEWPARAM(c.first, c.last), c.step);
    EXPECT_EQ(c.last - c.first + 1, Send(GM_GETCOUNT));
    EXPECT_EQ(std::vector<std::int32_t>(static_cast<std::size_t>(c.last - c.first + 1), 0),
              Values());
    Send(GM_SETYRANGE, MAKEWPARAM(0, 1), 0);
    GraphRecording drawn = DrawnTo();
    // The titles, then the horizontal labels, then 0, 0 and 1 up the side.
    std::vector<std::string> labels(drawn.texts.begin() + 2, drawn.texts.end() - 3);
    EXPECT_EQ(c.labels, labels);
    EXPECT_EQ((std::vector<std::string>{"0", "0", "1"}),
              std::vector<std::string>(drawn.texts.end() - 3, drawn.texts.end()));
  }
}

TEST_F(GraphWindowWine, ValuesSetThroughTheArrayAreDrawnFromTheAxisUp) {
  Send(GM_SETXRANGE, MAKEWPARAM(1, 3), 1);
  Send(GM_SETYRANGE, MAKEWPARAM(0, 10), 5);
  auto* values = reinterpret_cast<std::int32_t*>(Send(GM_GETVALUES));
  values[0] = 10;
  values[1] = 0;
  values[2] = 5;
  const GraphRecording drawn = DrawnTo();
  // The polyline is the last move and its lines.
  ASSERT_GE(drawn.pen.size(), 3u);
  const auto last = drawn.pen.end() - 3;
  EXPECT_EQ('m', last[0].first);
  const DeviceResolution screen = ScreenResolution();
  const int top = screen.y / 10;
  const int bottom = 400 - screen.y / 4;
  EXPECT_EQ(top, last[0].second.y);
  EXPECT_EQ(bottom, last[1].second.y);
  EXPECT_EQ(top + (bottom - top) * (5 - 10) / (0 - 10), last[2].second.y);
}

TEST_F(GraphWindowWine, BatchedChangesRepaintOnlyWhenDrawingIsEnabledAgain) {
  // Only a window on the screen gathers a region to repaint.
  ShowWindow(host_.get(), SW_SHOWNA);
  UpdateWindow(graph_);
  ASSERT_FALSE(RepaintPending());
  Send(GM_ENABLEDRAW, 0);
  Send(GM_SETXRANGE, MAKEWPARAM(0, 23), 2);
  Send(GM_SETYRANGE, MAKEWPARAM(0, 25), 2);
  Send(GM_SETSTYLE, 1);
  Send(GM_SETXTITLE, 0, reinterpret_cast<LPARAM>("Hours"));
  EXPECT_FALSE(RepaintPending());
  Send(GM_ENABLEDRAW, 1);
  EXPECT_TRUE(RepaintPending());

  // While enabled, each change of range or style repaints; a title waits for the next.
  const struct {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool repaints;
  } cases[] = {
      {GM_SETSTYLE, 0, 0, true},
      {GM_SETXRANGE, MAKEWPARAM(1, 12), 1, true},
      {GM_SETYRANGE, MAKEWPARAM(0, 5), 1, true},
      {GM_SETXTITLE, 0, reinterpret_cast<LPARAM>("Months"), false},
      {GM_SETYTITLE, 0, reinterpret_cast<LPARAM>("Hours"), false},
      {GM_ENABLEDRAW, 0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    Send(GM_ENABLEDRAW, 1);
    UpdateWindow(graph_);
    Send(c.message, c.wParam, c.lParam);
    EXPECT_EQ(c.repaints, RepaintPending());
  }
}

TEST_F(GraphWindowWine, TitlesKeepAtMost99Characters) {
  const std::string longTitle(150, 'h');
  Send(GM_SETXTITLE, 0, reinterpret_cast<LPARAM>(longTitle.c_str()));
  Send(GM_SETYTITLE, 0, reinterpret_cast<LPARAM>("Up"));
  const GraphRecording drawn = DrawnTo();
  ASSERT_GE(drawn.texts.size(), 2u);
  EXPECT_EQ(std::string(99, 'h'), drawn.texts[0]);
  EXPECT_EQ("Up", drawn.texts[1]);
}

// The positions of the axes and the fonts of a drawing: left, top, right and bottom margins, the
// ticks' length across, the three font heights.
struct Measured {
  std::vector<int> lengths;
  std::vector<LONG> fonts;
};

Measured Measure(const GraphRecording& r, const RECT& rect) {
  Measured m;
  // The axes: a move to the top of the vertical axis, down to the origin, across to the right.
  if (r.pen.size() < 5) return m;
  const POINT top = r.pen[0].second;
  const POINT right = r.pen[2].second;
  // The first horizontal tick follows.
  const POINT tickFrom = r.pen[3].second;
  const POINT tickTo = r.pen[4].second;
  m.lengths = {top.x - rect.left, top.y - rect.top, rect.right - right.x, rect.bottom - right.y,
               tickTo.y - tickFrom.y};
  for (const LOGFONTW& font : r.fonts) m.fonts.push_back(font.lfHeight);
  return m;
}

TEST_F(GraphWindowWine, OnA600DpiPrinterMarginsAndFontsAreSixTimesThoseOfA100DpiScreen) {
  UsageGraph graph;
  const RECT rect{50, 40, 4850, 3240};
  const Measured screen = Measure(
      RecordDrawing([&](HDC dc) { DrawGraph(graph, dc, rect, DeviceResolution{100, 100}); }), rect);
  const Measured printer = Measure(
      RecordDrawing([&](HDC dc) { DrawGraph(graph, dc, rect, DeviceResolution{600, 600}); }), rect);
  EXPECT_EQ((std::vector<int>{25, 10, 10, 25, 10}), screen.lengths);
  EXPECT_EQ((std::vector<int>{150, 60, 60, 150, 60}), printer.lengths);
  ASSERT_EQ(3u, screen.fonts.size());
  ASSERT_EQ(3u, printer.fonts.size());
  for (std::size_t i = 0; i < 3; ++i) {
    // Each height is rounded to whole units on its own device.
    EXPECT_NEAR(6 * screen.fonts[i], printer.fonts[i], 3) << i;
  }
  // The label font, measured first, then the upright and the upward title fonts.
  EXPECT_EQ((std::vector<LONG>{-8, -11, -11}), screen.fonts);

  // Drawn through the window, the device's own resolution decides.
  const RECT page{0, 0, 600, 400};
  const DeviceResolution own = ScreenResolution();
  EXPECT_EQ((std::vector<int>{own.x / 4, own.y / 10, own.x / 10, own.y / 4, 2 * (own.y / 20)}),
            Measure(DrawnTo(), page).lengths);
}

}  // namespace
}  // namespace tollwick
