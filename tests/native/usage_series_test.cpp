// The usage series: where each item's minutes go, whole hours, the user filter, the items a series
// cannot hold, the vertical scale and the printed title.

#include "graphs/usage_series.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tollwick {
namespace {

BillItem Call(const char* user, PackedTime start, PackedTime length, std::uint32_t day = 15,
              std::uint32_t month = 6, std::uint32_t year = 2001) {
  BillItem item;
  std::snprintf(item.user, sizeof item.user, "%s", user);
  item.start = start;
  item.length = length;
  item.day = day;
  item.month = month;
  item.year = year;
  return item;
}

// The entries that are not 0, as "index:value".
std::vector<std::string> NonZero(const std::vector<std::int32_t>& values) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i] != 0) out.push_back(std::to_string(i) + ":" + std::to_string(values[i]));
  }
  return out;
}

struct HourCase {
  const char* name;
  Bill bill;
  std::vector<std::string> expected;
};

TEST(UsageSeries, HoursOfDayCountEachCallAsIfItBeganOnTheHour) {
  const HourCase cases[] = {
      {"10:50 for 70 minutes: 60 to hour 10, 10 to hour 11",
       {Call("a", MakePackedTime(10, 50), MakePackedTime(1, 10))}, {"10:1"}},
      {"60 more minutes at 11 show both hours",
       {Call("a", MakePackedTime(10, 50), MakePackedTime(1, 10)),
        Call("a", MakePackedTime(11, 0), MakePackedTime(0, 50))}, {"10:1", "11:1"}},
      {"23:30 for 2h05 wraps past midnight",
       {Call("a", MakePackedTime(23, 30), MakePackedTime(2, 5)),
        Call("a", MakePackedTime(1, 0), MakePackedTime(0, 55))}, {"0:1", "1:1", "23:1"}},
      {"exactly 60 minutes stays in its hour",
       {Call("a", MakePackedTime(5, 0), MakePackedTime(1, 0))}, {"5:1"}},
      {"61 minutes puts 1 into the next hour",
       {Call("a", MakePackedTime(5, 0), MakePackedTime(1, 1)),
        Call("a", MakePackedTime(6, 0), MakePackedTime(0, 59))}, {"5:1", "6:1"}},
      {"a call of two days fills every hour twice",
       {Call("a", MakePackedTime(3, 0), MakePackedTime(48, 0))},
       {"0:2", "1:2", "2:2", "3:2", "4:2", "5:2", "6:2", "7:2", "8:2", "9:2", "10:2", "11:2",
        "12:2", "13:2", "14:2", "15:2", "16:2", "17:2", "18:2", "19:2", "20:2", "21:2", "22:2",
        "23:2"}},
      {"a zero length adds nothing", {Call("a", MakePackedTime(5, 0), 0)}, {}},
  };
  for (const HourCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::int32_t> hours = HoursByHourOfDay(c.bill, nullptr);
    EXPECT_EQ(24u, hours.size());
    EXPECT_EQ(c.expected, NonZero(hours));
  }
}

TEST(UsageSeries, MonthsAndDaysTakeTheWholeLengthOnTheStartDate) {
  const Bill bill = {
      Call("a", MakePackedTime(23, 0), MakePackedTime(0, 59), 3, 2, 2001),  // 59 minutes: 0
      Call("a", MakePackedTime(23, 0), MakePackedTime(2, 30), 1, 3, 2001),  // day 60
      Call("a", MakePackedTime(9, 0), MakePackedTime(1, 0), 1, 3, 2004),    // day 61
      Call("a", MakePackedTime(9, 0), MakePackedTime(3, 0), 31, 12, 2004),  // day 366
      Call("a", MakePackedTime(9, 0), MakePackedTime(1, 0), 31, 12, 2003),  // day 365
  };
  EXPECT_EQ((std::vector<std::string>{"2:3", "11:4"}), NonZero(HoursByMonth(bill, nullptr)));
  const std::vector<std::int32_t> days = HoursByDayOfYear(bill, nullptr);
  EXPECT_EQ(366u, days.size());
  EXPECT_EQ((std::vector<std::string>{"59:2", "60:1", "364:1", "365:3"}), NonZero(days));
}

// An item is left out of a series only when none of that series' entries holds it: each series
// reads only its own fields. Every item lasts 2 hours from 1:00 (hours 1 and 2) unless its start
// hour is the odd field; 15 June 2001 is day 166.
TEST(UsageSeries, AnItemIsLeftOutOnlyOfTheSeriesThatCannotHoldIt) {
  const PackedTime twoHours = MakePackedTime(2, 0);
  const std::vector<std::string> hoursOneAndTwo = {"1:1", "2:1"};
  const struct {
    const char* name;
    BillItem item;
    std::vector<std::string> byHour, byMonth, byDay;
  } cases[] = {
      {"hour 24", Call("a", MakePackedTime(24, 0), twoHours), {}, {"5:2"}, {"165:2"}},
      {"hour 255", Call("a", MakePackedTime(255, 0), twoHours), {}, {"5:2"}, {"165:2"}},
      {"month 0", Call("a", MakePackedTime(1, 0), twoHours, 1, 0), hoursOneAndTwo, {}, {}},
      {"month 13", Call("a", MakePackedTime(1, 0), twoHours, 1, 13), hoursOneAndTwo, {}, {}},
      {"day 0 of January", Call("a", MakePackedTime(1, 0), twoHours, 0, 1), hoursOneAndTwo,
       {"0:2"}, {}},
      {"day 32 of December", Call("a", MakePackedTime(1, 0), twoHours, 32, 12, 2004),
       hoursOneAndTwo, {"11:2"}, {}},
      {"day 4294967295 of May", Call("a", MakePackedTime(1, 0), twoHours, 4294967295u, 5),
       hoursOneAndTwo, {"4:2"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bill bill = {c.item};
    EXPECT_EQ(c.byHour, NonZero(HoursByHourOfDay(bill, nullptr)));
    EXPECT_EQ(c.byMonth, NonZero(HoursByMonth(bill, nullptr)));
    EXPECT_EQ(c.byDay, NonZero(HoursByDayOfYear(bill, nullptr)));
  }
}

TEST(UsageSeries, TheUserFilterIgnoresTheCaseOfLettersAndPaymentsCountTheirLength) {
  BillItem payment = Call("BOB", MakePackedTime(7, 0), MakePackedTime(1, 0));
  payment.type = kPayment;
  const Bill bill = {Call("bob", MakePackedTime(7, 0), MakePackedTime(2, 0)),
                     Call("alice", MakePackedTime(7, 0), MakePackedTime(5, 0)), payment};
  const UserKey bob = MakeUserKey("Bob");
  EXPECT_EQ(std::vector<std::string>{"5:3"}, NonZero(HoursByMonth(bill, &bob)));
  EXPECT_EQ(std::vector<std::string>{"5:8"}, NonZero(HoursByMonth(bill, nullptr)));
  const UserKey nobody = MakeUserKey("carol");
  EXPECT_EQ(std::vector<std::string>{}, NonZero(HoursByHourOfDay(bill, &nobody)));
}

// Entry i of a series is drawn at x = first x + i, so each series puts a call where its axis says:
// 5:00 on 15 June 2001 is hour 5, month 6 and day 166.
TEST(UsageSeries, EachSeriesDrawsACallAtItsOwnX) {
  const Bill bill = {Call("a", MakePackedTime(5, 0), MakePackedTime(1, 0))};
  const std::int32_t x[] = {5, 6, 166};
  for (std::size_t i = 0; i < kUsageSeries.size(); ++i) {
    const UsageSeries& s = kUsageSeries[i];
    SCOPED_TRACE(s.displayName);
    const std::vector<std::int32_t> hours = s.aggregate(bill, nullptr);
    EXPECT_EQ(std::vector<std::string>{std::to_string(x[i] - s.firstX) + ":1"}, NonZero(hours));
    EXPECT_GE(hours.size(), static_cast<std::size_t>(s.lastX - s.firstX + 1));
  }
}

TEST(UsageSeries, TheVerticalRangeRunsFromZeroToTheLargestShownValue) {
  const struct {
    std::vector<std::int32_t> values;
    std::size_t points;
    std::int32_t highest, step;
  } cases[] = {
      {{0, 0, 0}, 3, 1, 0},           // empty: 0 to 1, the graph raises the step to 1
      {{3, 25, 4}, 3, 25, 2},         // labels every 2 hours
      {{7, 1}, 2, 7, 0},              // every hour
      {{-5, -1}, 2, 1, 0},            // negative entries never win
      {{2, 0, 99}, 2, 2, 0},          // an entry past the points is not shown
      {{70000}, 1, 0xFFFF, 6553},     // the graph's top is a 16-bit value
  };
  for (const auto& c : cases) {
    const VerticalRange r = SeriesRange(c.values, c.points);
    EXPECT_EQ(0, r.lowest);
    EXPECT_EQ(c.highest, r.highest);
    EXPECT_EQ(c.step, r.labelStep);
  }
}

TEST(UsageSeries, ThePrintedTitleNamesTheUserInCapitalsAndFitsItsBuffer) {
  EXPECT_EQ("Tollwick Graph - All Users", PrintedGraphTitle(nullptr));
  const UserKey fred = MakeUserKey("Fred Smith");
  EXPECT_EQ("Tollwick Graph - FRED SMITH", PrintedGraphTitle(&fred));
  const UserKey longest = MakeUserKey(std::string(99, 'x').c_str());
  const std::string title = PrintedGraphTitle(&longest);
  EXPECT_EQ(kGraphTitleChars, title.size());
  EXPECT_EQ("Tollwick Graph - " + std::string(99 - 17, 'X'), title);
}

}  // namespace
}  // namespace tollwick
