// The graph's geometry: margins and fonts from the device's resolution, label steps and ends, tick
// and label positions, the line's points and the bars, and ranges of zero.

#include "graphs/graph_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tollwick {
namespace {

// A 100 pixels-per-inch device: margins 25 left, 10 right, 10 top, 25 bottom; ticks 5 each way.
constexpr DeviceResolution k100Dpi{100, 100};
// Plot area 100..580 across (480 wide), 10..215 down (205 high).
constexpr GraphBox kRect{75, 0, 590, 240};
constexpr int kLabelHeight = 8;

std::vector<std::string> Texts(const std::vector<GraphLabel>& labels) {
  std::vector<std::string> out;
  for (const GraphLabel& l : labels) out.push_back(l.text);
  return out;
}

GraphSettings Settings(GraphStyle style, int firstX, int lastX, int xStep, int highestY = 10,
                       int yStep = 1) {
  GraphSettings s;
  s.style = style;
  s.firstX = firstX;
  s.lastX = lastX;
  s.xLabelStep = xStep;
  s.highestY = highestY;
  s.yLabelStep = yStep;
  return s;
}

TEST(GraphGeometry, MarginsTicksAndFontsFollowTheDevicesResolution) {
  const struct {
    DeviceResolution device;
    int left, right, top, bottom, titleFont, labelFont;
  } cases[] = {
      {{100, 100}, 25, 10, 10, 25, -11, -8},
      {{600, 600}, 150, 60, 60, 150, -67, -50},
      {{96, 96}, 24, 9, 9, 24, -11, -8},
      {{300, 150}, 75, 30, 15, 37, -17, -13},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.device.x);
    const GraphLayout g = LayOutGraph(GraphSettings{}, {}, kRect, c.device, kLabelHeight);
    EXPECT_EQ((GraphBox{kRect.left + c.left, kRect.top + c.top, kRect.right - c.right,
                        kRect.bottom - c.bottom}),
              g.plot);
    EXPECT_EQ(c.titleFont, GraphFontHeight(kGraphTitlePoints, c.device));
    EXPECT_EQ(c.labelFont, GraphFontHeight(kGraphLabelPoints, c.device));
    const GraphTick& yTick = g.yTicks.front();
    EXPECT_EQ(2 * (c.device.x / 20), yTick.to.x - yTick.from.x);
    const GraphTick& xTick = g.xTicks.front();
    EXPECT_EQ(2 * (c.device.y / 20), xTick.to.y - xTick.from.y);
  }
}

TEST(GraphGeometry, HorizontalLabelsStepAndAlwaysLabelBothEndsOfALine) {
  const struct {
    const char* name;
    GraphSettings settings;
    std::vector<std::string> labels;
  } cases[] = {
      {"defaults", GraphSettings{}, {"1", "2", "3", "4", "5", "6", "1", "7"}},
      {"hours", Settings(GraphStyle::kLine, 0, 23, 2),
       {"0", "2", "4", "6", "8", "10", "12", "14", "16", "18", "20", "22", "0", "23"}},
      {"days", Settings(GraphStyle::kLine, 1, 365, 31),
       {"1", "32", "63", "94", "125", "156", "187", "218", "249", "280", "311", "342", "1", "365"}},
      {"bars have no extra ends", Settings(GraphStyle::kBars, 1, 12, 1),
       {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}},
      {"a step below 1 counts as 1", Settings(GraphStyle::kLine, 1, 3, 0), {"1", "2", "1", "3"}},
      {"a style of neither kind labels the ends", Settings(static_cast<GraphStyle>(5), 1, 2, 1),
       {"1", "1", "2"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const GraphLayout g = LayOutGraph(c.settings, {}, kRect, k100Dpi, kLabelHeight);
    EXPECT_EQ(c.labels, Texts(g.xLabels));
    EXPECT_EQ(g.xLabels.size(), g.xTicks.size());
  }
}

TEST(GraphGeometry, LinePointsRunFromTheAxisToTheRightEndAndFromBottomToTop) {
  const GraphLayout g =
      LayOutGraph(Settings(GraphStyle::kLine, 0, 23, 2, 10), std::vector<std::int32_t>(24 + 9, 0),
                  kRect, k100Dpi, kLabelHeight);
  ASSERT_EQ(24u, g.line.size());  // the room past the points is not drawn
  EXPECT_EQ((GraphPoint{100, 215}), g.line.front());
  EXPECT_EQ((GraphPoint{580, 215}), g.line.back());
  EXPECT_EQ(100 + 480 * 5 / 23, g.line[5].x);

  const GraphLayout h = LayOutGraph(Settings(GraphStyle::kLine, 1, 3, 1, 10), {10, 0, 5}, kRect,
                                    k100Dpi, kLabelHeight);
  ASSERT_EQ(3u, h.line.size());
  EXPECT_EQ(10, h.line[0].y);                   // highest y at the top
  EXPECT_EQ(215, h.line[1].y);                  // lowest y on the axis
  EXPECT_EQ(10 + 205 * (5 - 10) / (0 - 10), h.line[2].y);  // truncated toward zero
  EXPECT_TRUE(h.bars.empty());
}

TEST(GraphGeometry, TwelveBarsFillTheWidthEdgeToEdgeLabelledInTheirMiddles) {
  std::vector<std::int32_t> values(12 + 9, 0);
  for (int i = 0; i < 12; ++i) values[static_cast<std::size_t>(i)] = i;
  const GraphLayout g = LayOutGraph(Settings(GraphStyle::kBars, 1, 12, 1, 11), values,
                                    GraphBox{0, 0, 515, 240}, k100Dpi, kLabelHeight);
  // Plot 25..505: 480 wide, 40 a slot.
  ASSERT_EQ(12u, g.bars.size());
  EXPECT_TRUE(g.line.empty());
  for (int i = 0; i < 12; ++i) {
    const GraphBox& bar = g.bars[static_cast<std::size_t>(i)];
    EXPECT_EQ(25 + 40 * i, bar.left);
    EXPECT_EQ(bar.left + 40, bar.right);
    EXPECT_EQ(215, bar.bottom);
    EXPECT_EQ(10 + 205 * (i - 11) / (0 - 11), bar.top);
    EXPECT_EQ(bar.left + 20, g.xLabels[static_cast<std::size_t>(i)].at.x);
  }
  EXPECT_EQ(505, g.bars.back().right);
}

TEST(GraphGeometry, VerticalLabelsCentreOnTheirTicksAndLabelBothEnds) {
  const GraphLayout g = LayOutGraph(Settings(GraphStyle::kLine, 0, 23, 2, 25, 2), {}, kRect,
                                    k100Dpi, kLabelHeight);
  EXPECT_EQ((std::vector<std::string>{"0", "2", "4", "6", "8", "10", "12", "14", "16", "18", "20",
                                      "22", "24", "0", "25"}),
            Texts(g.yLabels));
  ASSERT_EQ(g.yLabels.size(), g.yTicks.size());
  for (std::size_t i = 0; i < g.yTicks.size(); ++i) {
    EXPECT_EQ((GraphPoint{95, g.yTicks[i].from.y}), g.yTicks[i].from);
    EXPECT_EQ((GraphPoint{105, g.yTicks[i].from.y}), g.yTicks[i].to);
    EXPECT_EQ((GraphPoint{98, g.yTicks[i].from.y - kLabelHeight / 2}), g.yLabels[i].at);
  }
  EXPECT_EQ(215, g.yTicks.front().from.y);
  EXPECT_EQ(10, g.yTicks.back().from.y);
  // Titles: under the horizontal axis, and upward along the left edge.
  EXPECT_EQ((GraphPoint{340, 239}), g.horizontalTitle);
  EXPECT_EQ((GraphPoint{76, 10 + 205 / 2}), g.verticalTitle);
}

TEST(GraphGeometry, ASpanOrRangeOfZeroDrawsAxesAndLabelsWithoutDividingByIt) {
  const struct {
    const char* name;
    GraphSettings settings;
    std::vector<std::int32_t> values;
  } cases[] = {
      {"one point in line style", Settings(GraphStyle::kLine, 4, 4, 1), {3}},
      {"no range", Settings(GraphStyle::kLine, 1, 3, 1, 0), {0, 5, -2}},
      {"bars over no points", Settings(GraphStyle::kBars, 5, 4, 1), {1}},
      {"nothing at all", Settings(GraphStyle::kBars, 0, -1, 1, 0), {}},
      {"a rectangle smaller than its margins", GraphSettings{}, {1, 2, 3, 4, 5, 6, 7}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const GraphBox rect = c.settings.lastX == 7 ? GraphBox{0, 0, 10, 10} : kRect;
    const GraphLayout g = LayOutGraph(c.settings, c.values, rect, k100Dpi, kLabelHeight);
    EXPECT_FALSE(g.yLabels.empty());
    for (const GraphPoint& p : g.line) {
      EXPECT_GE(p.x, std::min(g.plot.left, g.plot.right));
      EXPECT_LE(p.x, std::max(g.plot.left, g.plot.right));
      EXPECT_TRUE(p.y == g.plot.bottom || c.settings.lowestY != c.settings.highestY);
    }
  }
  const GraphLayout one = LayOutGraph(Settings(GraphStyle::kLine, 4, 4, 1), {3}, kRect, k100Dpi,
                                      kLabelHeight);
  ASSERT_EQ(1u, one.line.size());
  EXPECT_EQ(100, one.line[0].x);
  const GraphLayout flat = LayOutGraph(Settings(GraphStyle::kLine, 1, 3, 1, 0), {0, 5, -2}, kRect,
                                       k100Dpi, kLabelHeight);
  EXPECT_EQ((std::vector<std::string>{"0", "0"}), Texts(flat.yLabels));
  EXPECT_EQ(3u, flat.line.size());
}

}  // namespace
}  // namespace tollwick
