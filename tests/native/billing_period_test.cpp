// Billing periods and what an account used of one, counted from the bill.

#include "call/billing_period.h"

#include <gtest/gtest.h>

#include "bill_items.h"

namespace tollwick {
namespace {

BillItem Call(CalendarDate date, PackedTime length, const char* account = "Work",
              std::uint64_t bytes = 0) {
  BillItem item = CallItem(0.25f, 0, 0, length, date, "ann", account);
  item.volume = CallVolume{bytes > 0, bytes / 2, bytes - bytes / 2};
  return item;
}

TEST(BillingPeriod, StartsOnItsDayOrTheMonthsLastAndCountsTheCallsDatedInside) {
  // A call is dated, and counted, on the day it ended, even when it began the day before.
  const Bill bill = {
      Call({28, 2, 2027}, MakePackedTime(0, 31), "work", 3 * kBytesPerMB),  // names ignore case
      Call({1, 3, 2027}, MakePackedTime(1, 5)),
      Call({29, 2, 2028}, MakePackedTime(0, 7)),
      Call({30, 1, 2027}, MakePackedTime(0, 2)),
      Call({31, 1, 2027}, MakePackedTime(0, 4), "Home"),
      Call({30, 2, 2027}, MakePackedTime(9, 0)),  // dates that are none never count
      Call({0, 3, 2027}, MakePackedTime(9, 0)),
      Call({1, 13, 2027}, MakePackedTime(9, 0)),
      Call({1, 3, 0}, MakePackedTime(9, 0)),
      Item(kPayment, 5.0f, "ann"),
  };
  struct Case {
    std::uint32_t periodDay;
    CalendarDate today, first, last;
    std::uint64_t minutes, megabytes;
  } cases[] = {
      {31, {15, 2, 2027}, {31, 1, 2027}, {27, 2, 2027}, 0, 0},  // February has no 31st...
      {31, {28, 2, 2027}, {28, 2, 2027}, {30, 3, 2027}, 31 + 65, 3},  // ...so it starts on the 28th
      {30, {29, 2, 2028}, {29, 2, 2028}, {29, 3, 2028}, 7, 0},  // a leap year's last day
      {29, {28, 2, 2027}, {28, 2, 2027}, {28, 3, 2027}, 31 + 65, 3},
      {1, {1, 3, 2027}, {1, 3, 2027}, {31, 3, 2027}, 65, 0},  // the call crossing into it
      {1, {28, 2, 2027}, {1, 2, 2027}, {28, 2, 2027}, 31, 3},
      {30, {14, 1, 2027}, {30, 12, 2026}, {29, 1, 2027}, 0, 0},  // across the year
      {0, {31, 1, 2027}, {1, 1, 2027}, {31, 1, 2027}, 2, 0},     // a day out of range is 1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "day " << c.periodDay << " on " << c.today.day << "/"
                                    << c.today.month << "/" << c.today.year);
    const BillingPeriod period = PeriodOf(c.periodDay, c.today);
    EXPECT_EQ(c.first.day, period.first.day);
    EXPECT_EQ(c.first.month, period.first.month);
    EXPECT_EQ(c.last.day, period.last.day);
    EXPECT_EQ(c.last.month, period.last.month);
    EXPECT_EQ(c.last.year, period.last.year);
    std::int64_t lastDay = 0;
    ASSERT_TRUE(DayNumber(c.last, lastDay));
    EXPECT_EQ(lastDay + 1, period.endDay);
    const PeriodUsage used = UsageIn(bill, "Work", period);
    EXPECT_EQ(c.minutes, used.minutes);
    EXPECT_EQ(c.megabytes * kBytesPerMB, used.bytes);
  }
}

}  // namespace
}  // namespace tollwick
