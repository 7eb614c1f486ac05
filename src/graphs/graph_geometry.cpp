#include "graphs/graph_geometry.h"

#include <algorithm>

namespace tollwick {
namespace {

// numerator × factor / denominator, truncated toward zero, wide enough for any 32-bit values; the
// start of the axis (0) when the denominator is 0.
int Scale(std::int64_t factor, std::int64_t numerator, std::int64_t denominator) {
  if (denominator == 0) return 0;
  return static_cast<int>(factor * numerator / denominator);
}

std::string NumberText(std::int64_t n) { return std::to_string(n); }

}  // namespace

int GraphFontHeight(int points, const DeviceResolution& device) {
  // MulDiv's rounding: half away from zero.
  const std::int64_t scaled = static_cast<std::int64_t>(points) * device.y;
  return -static_cast<int>((scaled + 36) / 72);
}

GraphLayout LayOutGraph(const GraphSettings& s, const std::vector<std::int32_t>& values,
                        const GraphBox& rect, const DeviceResolution& device, int labelHeight) {
  GraphLayout g;
  g.marginLeft = device.x / 4;
  g.marginRight = device.x / 10;
  g.marginTop = device.y / 10;
  g.marginBottom = device.y / 4;
  const int tickX = device.x / 20;  // half-length of the vertical axis' ticks
  const int tickY = device.y / 20;  // half-length of the horizontal axis' ticks
  g.plot = {rect.left + g.marginLeft, rect.top + g.marginTop, rect.right - g.marginRight,
            rect.bottom - g.marginBottom};
  const int x0 = g.plot.left;
  const int y0 = g.plot.top;
  const int x1 = g.plot.right;
  const int y1 = g.plot.bottom;
  const int width = x1 - x0;
  const int height = y1 - y0;
  g.horizontalTitle = {x0 + width / 2, rect.bottom - 1};
  g.verticalTitle = {rect.left + 1, y0 + height / 2};

  // In bar style each point owns a slot of the width and is labelled in its middle; in line style
  // the first point lies on the vertical axis and the last at the right end.
  const bool bars = s.style == GraphStyle::kBars;
  const std::int64_t firstX = s.firstX;
  const std::int64_t lastX = s.lastX;
  const std::int64_t slotEnd = bars ? 1 : 0;
  const int labelOffset = bars ? Scale(1, width, 2 * (lastX - firstX) + 2) : 0;
  const std::int64_t span = lastX - firstX + slotEnd;
  const auto pointX = [&](std::int64_t x) { return x0 + Scale(width, x - firstX, span); };
  const std::int64_t lowestY = s.lowestY;
  const std::int64_t highestY = s.highestY;
  const auto pointY = [&](std::int64_t y) {
    if (lowestY == highestY) return y1;  // no range: all on the horizontal axis
    return y0 + Scale(height, y - highestY, lowestY - highestY);
  };

  const auto xMark = [&](std::int64_t x) {
    const int px = pointX(x);
    g.xTicks.push_back({{px, y1 - tickY + 1}, {px, y1 + tickY + 1}});
    g.xLabels.push_back({{px + labelOffset, y1 + 1}, NumberText(x)});
  };
  const std::int64_t xStep = std::max<std::int32_t>(s.xLabelStep, 1);
  for (std::int64_t x = firstX; x < lastX + slotEnd; x += xStep) xMark(x);
  if (!bars) {
    xMark(firstX);
    xMark(lastX);
  }

  const auto yMark = [&](std::int64_t y) {
    const int py = pointY(y);
    g.yTicks.push_back({{x0 - tickX, py}, {x0 + tickX, py}});
    g.yLabels.push_back({{x0 - tickX / 2, py - labelHeight / 2}, NumberText(y)});
  };
  const std::int64_t yStep = std::max<std::int32_t>(s.yLabelStep, 1);
  for (std::int64_t y = lowestY; y < highestY; y += yStep) yMark(y);
  yMark(lowestY);
  yMark(highestY);

  if (s.style != GraphStyle::kLine && !bars) return g;
  const std::int64_t points = std::min<std::int64_t>(lastX - firstX + 1,
                                                     static_cast<std::int64_t>(values.size()));
  const int slotWidth = Scale(1, width, span);
  for (std::int64_t i = 0; i < points; ++i) {
    const GraphPoint p{pointX(firstX + i), pointY(values[static_cast<std::size_t>(i)])};
    if (bars) {
      g.bars.push_back({p.x, p.y, p.x + slotWidth, y1});
    } else {
      g.line.push_back(p);
    }
  }
  return g;
}

}  // namespace tollwick
