#include "graphs/usage_series.h"

#include <algorithm>

#include "bill/bill_print_layout.h"
#include "platform/packed_time.h"

namespace tollwick {
namespace {

constexpr std::size_t kHours = 24;
constexpr std::size_t kMonths = 12;
constexpr std::size_t kDaysInLeapYear = 366;
constexpr std::int64_t kMinutesPerHour = 60;

// Days before each month in a year not divisible by 4.
constexpr std::array<std::uint32_t, kMonths> kDaysBeforeMonth = {0,   31,  59,  90,  120, 151,
                                                                 181, 212, 243, 273, 304, 334};

std::int64_t LengthMinutes(const BillItem& item) {
  return PackedMinutes(item.length) + kMinutesPerHour * PackedHours(item.length);
}

// Day 1 is 1 January; every year divisible by 4 has a 29 February. Counted wide, so no stored day
// wraps round into the year; 0 when the month is no month.
std::uint64_t DayOfYear(const BillItem& item) {
  if (item.month < 1 || item.month > kMonths) return 0;
  const bool leap = item.year % 4 == 0;
  return std::uint64_t{item.day} + kDaysBeforeMonth[item.month - 1] +
         (leap && item.month > 2 ? 1 : 0);
}

// Each series reads only its own fields of an item; one that none of its entries holds (a start
// hour above 23, a month outside 1 to 12, a day of the year outside 1 to 366) is left out of that
// series alone, rather than indexing past it. Minutes are summed wide, so no bill can overflow an
// entry before it is turned into hours.
template <typename AddItem>
std::vector<std::int32_t> AggregateHours(const Bill& bill, const UserKey* filter,
                                         std::size_t entries, AddItem addItem) {
  std::vector<std::int64_t> minutes(entries, 0);
  for (const BillItem& item : bill) {
    if (UserMatches(filter, item.user)) addItem(item, minutes);
  }
  std::vector<std::int32_t> hours(entries);
  std::transform(minutes.begin(), minutes.end(), hours.begin(),
                 [](std::int64_t m) { return static_cast<std::int32_t>(m / kMinutesPerHour); });
  return hours;
}

}  // namespace

// A call counts as if it began on the hour: its first 60 minutes go to its start hour, each next
// 60 to the following hour, wrapping past midnight, and what is left to the hour after those.
std::vector<std::int32_t> HoursByHourOfDay(const Bill& bill, const UserKey* filter) {
  return AggregateHours(bill, filter, kHours, [](const BillItem& item, std::vector<std::int64_t>& m) {
    const std::size_t start = PackedHours(item.start);
    if (start >= kHours) return;
    const std::int64_t length = LengthMinutes(item);
    const std::int64_t fullHours = length > kMinutesPerHour ? (length - 1) / kMinutesPerHour : 0;
    // Whole days of full hours reach every entry alike.
    const std::int64_t rounds = fullHours / static_cast<std::int64_t>(kHours);
    if (rounds > 0) {
      for (std::int64_t& entry : m) entry += kMinutesPerHour * rounds;
    }
    const std::size_t rest = static_cast<std::size_t>(fullHours) % kHours;
    for (std::size_t k = 0; k < rest; ++k) m[(start + k) % kHours] += kMinutesPerHour;
    m[(start + rest) % kHours] += length - kMinutesPerHour * fullHours;
  });
}

std::vector<std::int32_t> HoursByMonth(const Bill& bill, const UserKey* filter) {
  return AggregateHours(bill, filter, kMonths, [](const BillItem& item, std::vector<std::int64_t>& m) {
    if (item.month >= 1 && item.month <= kMonths) m[item.month - 1] += LengthMinutes(item);
  });
}

// The whole length goes to the day the call started, also when it crossed midnight.
std::vector<std::int32_t> HoursByDayOfYear(const Bill& bill, const UserKey* filter) {
  return AggregateHours(bill, filter, kDaysInLeapYear,
                        [](const BillItem& item, std::vector<std::int64_t>& m) {
                          const std::uint64_t day = DayOfYear(item);
                          if (day >= 1 && day <= kDaysInLeapYear) m[day - 1] += LengthMinutes(item);
                        });
}

const std::array<UsageSeries, 3> kUsageSeries = {{
    {"Total daily usage", 0, 23, 2, "Hours of the day", GraphStyle::kLine, HoursByHourOfDay},
    {"Total yearly usage", 1, 12, 1, "Months of year", GraphStyle::kLine, HoursByMonth},
    {"Total yearly usage in days", 1, 365, 31, "Days of year", GraphStyle::kLine, HoursByDayOfYear},
}};

VerticalRange SeriesRange(const std::vector<std::int32_t>& values, std::size_t pointCount) {
  std::int32_t top = 0;
  const std::size_t n = std::min(pointCount, values.size());
  for (std::size_t i = 0; i < n; ++i) top = std::max(top, values[i]);
  if (top == 0) top = 1;
  // The graph takes the top as a 16-bit value.
  top = std::min<std::int32_t>(top, 0xFFFF);
  return VerticalRange{0, top, top / 10};
}

std::string PrintedGraphTitle(const UserKey* filter) {
  std::string title = ReportTitle("Tollwick Graph - ", filter);
  if (title.size() > kGraphTitleChars) title.resize(kGraphTitleChars);
  return title;
}

}  // namespace tollwick
