#pragma once
// The three usage series the Graphs page offers, and how the bill turns into the whole hours on line
// of one of them, for all users or for one. The graph window only draws what it is given.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "bill/bill_store.h"

namespace tollwick {

enum class GraphStyle : std::int32_t { kLine = 0, kBars = 1 };

// Adds the hours on line of the items that pass the filter into a zeroed vector of the series'
// entries.
using Aggregation = std::vector<std::int32_t> (*)(const Bill& bill, const UserKey* filter);

struct UsageSeries {
  const char* displayName;
  std::int32_t firstX;
  std::int32_t lastX;
  std::int32_t xLabelStep;
  const char* horizontalTitle;
  GraphStyle style;
  Aggregation aggregate;
};

// Entry i of each result belongs to x = first x + i. The day-of-year series has a 366th entry, which
// its 365 points leave undrawn.
std::vector<std::int32_t> HoursByHourOfDay(const Bill& bill, const UserKey* filter);
std::vector<std::int32_t> HoursByMonth(const Bill& bill, const UserKey* filter);
std::vector<std::int32_t> HoursByDayOfYear(const Bill& bill, const UserKey* filter);

// The table, in the order of the "Display:" list.
extern const std::array<UsageSeries, 3> kUsageSeries;
constexpr const char* kUsageVerticalTitle = "Time spent online (hours)";

// The vertical scale of a series: from 0 to its largest value (1 when nothing is above 0), labelled
// every tenth of that in whole hours (the graph raises a step of 0 to 1).
struct VerticalRange {
  std::int32_t lowest = 0;
  std::int32_t highest = 1;
  std::int32_t labelStep = 0;
};
VerticalRange SeriesRange(const std::vector<std::int32_t>& values, std::size_t pointCount);

// The document name and first line of a printed graph: "Tollwick Graph - " and the user's name in
// capitals, or "All Users"; cut to the 99 characters of its 100-character buffer.
constexpr std::size_t kGraphTitleChars = 99;
std::string PrintedGraphTitle(const UserKey* filter);

}  // namespace tollwick
