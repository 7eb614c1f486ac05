#pragma once
// Where everything of a graph goes, for a given rectangle on a given device: margins, plot area,
// font heights, ticks, labels, and the line's points or the bars. Lengths are in the device's own
// units, taken from its pixels per inch, so a printed graph has the proportions of the one on the
// screen. Every position is the product first, then the division, truncating toward zero; a span
// or range of zero places everything at the start of its axis instead of dividing by it.

#include <cstdint>
#include <string>
#include <vector>

#include "graphs/usage_series.h"

namespace tollwick {

// What a graph window holds besides its values and titles, with the defaults of a new window.
struct GraphSettings {
  GraphStyle style = GraphStyle::kLine;  // any other value draws no data
  std::int32_t firstX = 1;
  std::int32_t lowestY = 0;
  std::int32_t lastX = 7;
  std::int32_t highestY = 10;
  std::int32_t xLabelStep = 1;  // at least 1
  std::int32_t yLabelStep = 1;  // at least 1
};

struct GraphPoint {
  int x = 0;
  int y = 0;
  bool operator==(const GraphPoint& o) const { return x == o.x && y == o.y; }
};
struct GraphBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const GraphBox& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};
struct GraphTick {
  GraphPoint from;
  GraphPoint to;
};
struct GraphLabel {
  GraphPoint at;
  std::string text;
};

// Pixels per inch across and down (LOGPIXELSX, LOGPIXELSY).
struct DeviceResolution {
  int x = 96;
  int y = 96;
};

// Font heights as CreateFontA takes them: negative, the character height in device units.
constexpr int kGraphTitlePoints = 8;
constexpr int kGraphLabelPoints = 6;
int GraphFontHeight(int points, const DeviceResolution& device);

struct GraphLayout {
  int marginLeft = 0;
  int marginRight = 0;
  int marginTop = 0;
  int marginBottom = 0;
  GraphBox plot;  // the axes run up its left edge and along its bottom
  GraphPoint horizontalTitle;  // centre of its baseline
  GraphPoint verticalTitle;    // centre of its top edge, the text running upward
  // Labels are drawn centred below their point (horizontal) or right-aligned at it (vertical),
  // each after its tick, in order; the ends may repeat a label.
  std::vector<GraphTick> xTicks;
  std::vector<GraphLabel> xLabels;
  std::vector<GraphTick> yTicks;
  std::vector<GraphLabel> yLabels;
  std::vector<GraphPoint> line;  // line style: the points joined in order
  std::vector<GraphBox> bars;    // bar style: filled black
};

// labelHeight is the height of the label font on the device (tmHeight), which centres the vertical
// labels on their ticks. Values beyond the point count are not drawn; missing ones draw nothing.
GraphLayout LayOutGraph(const GraphSettings& settings, const std::vector<std::int32_t>& values,
                        const GraphBox& rect, const DeviceResolution& device, int labelHeight);

}  // namespace tollwick
