#include "charging/tariff.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace tollwick {
namespace {

constexpr std::uint16_t kSun = 0, kMon = 1, kTue = 2, kWed = 3, kThu = 4, kSat = 6;

std::uint32_t Bits(float f) {
  std::uint32_t b;
  std::memcpy(&b, &f, sizeof b);
  return b;
}

LocalTime At(std::uint16_t dayOfWeek, std::uint16_t hour, std::uint16_t minute,
             std::uint16_t second = 0) {
  LocalTime t;
  t.dayOfWeek = dayOfWeek;
  t.hour = hour;
  t.minute = minute;
  t.second = second;
  return t;
}

ChargeProfile Profile(int fromH, int toH, float day, float evening, float weekend) {
  ChargeProfile p;
  p.charge.dayFrom = fromH * 256;
  p.charge.dayTo = toH * 256;
  p.charge.dayRate = day;
  p.charge.eveningRate = evening;
  p.charge.weekendRate = weekend;
  return p;
}

Discount Percent(float percent) {
  Discount d;
  d.mode = kPercentageDiscount;
  d.percent = percent;
  return d;
}

Discount Free(float seconds) {
  Discount d;
  d.mode = kTimeFree;
  d.freeMins = seconds;
  return d;
}

Discount WholeCall() {
  Discount d;
  d.mode = kFreeCall;
  return d;
}

float FromBits(std::uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

// A per-second price is the rate times one sixtieth, a percentage part the percent times the price
// times one hundredth: with those constants as the single-precision bits 0x3C888889 and 0x3C23D70A,
// the product formed exactly and rounded once.
TEST(Tariff, PricesRoundOnceWithTheSinglePrecisionConstants) {
  const double sixtieth = FromBits(0x3C888889u);
  const double hundredth = FromBits(0x3C23D70Au);
  for (float rate : {0.06f, 0.03f, 0.025f, 1.0f, 7.77f, 1e-7f}) {
    const ChargeProfile p = Profile(0, 0, 0.0f, rate, 0.0f);
    EXPECT_EQ(Bits(static_cast<float>(rate * sixtieth)), Bits(PerSecondCharge(p, At(kWed, 12, 0))))
        << rate;
  }
  const struct {
    float percent;
    float price;
  } parts[] = {{10.0f, 0.001f}, {33.3f, 0.0005f}, {100.0f, 0.004f}, {12.5f, 7.77f}};
  for (const auto& part : parts) {
    std::vector<Discount> one = {Percent(part.percent)};
    EXPECT_EQ(Bits(static_cast<float>(part.percent * static_cast<double>(part.price) * hundredth)),
              Bits(DiscountDeduction(one, part.price, At(kWed, 12, 0))))
        << part.percent << "% of " << part.price;
  }
}

TEST(IsWeekend, SaturdayAndSundayOnly) {
  EXPECT_TRUE(IsWeekend(At(kSun, 12, 0)));
  EXPECT_TRUE(IsWeekend(At(kSat, 12, 0)));
  for (std::uint16_t day = 1; day <= 5; ++day) EXPECT_FALSE(IsWeekend(At(day, 12, 0))) << day;
}

TEST(CurrentRate, DaytimeWindowHasStrictEnds) {
  ChargeProfile p = Profile(8, 18, 0.06f, 0.02f, 0.01f);
  EXPECT_EQ(CurrentRate(p, At(kWed, 12, 0)), 0.06f);
  EXPECT_EQ(CurrentRate(p, At(kWed, 8, 0, 30)), 0.02f);  // the start minute is evening
  EXPECT_EQ(CurrentRate(p, At(kWed, 8, 1, 0)), 0.06f);
  EXPECT_EQ(CurrentRate(p, At(kWed, 17, 59, 59)), 0.06f);
  EXPECT_EQ(CurrentRate(p, At(kWed, 18, 0, 0)), 0.02f);  // the end minute is evening
  EXPECT_EQ(CurrentRate(p, At(kWed, 7, 59, 59)), 0.02f);
  EXPECT_EQ(CurrentRate(p, At(kWed, 23, 0)), 0.02f);
}

TEST(CurrentRate, WeekendRateWhateverTheWindowSays) {
  ChargeProfile p = Profile(8, 18, 0.06f, 0.02f, 0.01f);
  EXPECT_EQ(CurrentRate(p, At(kSat, 12, 0)), 0.01f);
  EXPECT_EQ(CurrentRate(p, At(kSun, 12, 0)), 0.01f);
  EXPECT_EQ(CurrentRate(p, At(kSun, 3, 0)), 0.01f);
  EXPECT_EQ(CurrentRate(p, At(kMon, 12, 0)), 0.06f);
}

TEST(CurrentRate, WindowNotBelowItsEndNeverApplies) {
  ChargeProfile across = Profile(18, 8, 0.06f, 0.02f, 0.01f);
  EXPECT_EQ(CurrentRate(across, At(kTue, 20, 0)), 0.02f);
  EXPECT_EQ(CurrentRate(across, At(kTue, 3, 0)), 0.02f);
  EXPECT_EQ(CurrentRate(across, At(kTue, 12, 0)), 0.02f);
  ChargeProfile fresh;  // all zero: window 0:00 to 0:00
  fresh.charge.eveningRate = 0.5f;
  fresh.charge.dayRate = 0.9f;
  EXPECT_EQ(CurrentRate(fresh, At(kTue, 0, 0)), 0.5f);
  EXPECT_EQ(CurrentRate(fresh, At(kTue, 12, 0)), 0.5f);
}

TEST(CurrentRate, WindowEndsCompareAsSignedNumbers) {
  // A start of -1 (the rejected-time value) lies before midnight: 0:00 is inside up to 1:00.
  ChargeProfile p = Profile(0, 1, 0.06f, 0.02f, 0.01f);
  p.charge.dayFrom = -1;
  EXPECT_EQ(CurrentRate(p, At(kWed, 0, 0)), 0.06f);
  EXPECT_EQ(CurrentRate(p, At(kWed, 1, 0)), 0.02f);
  // An end with the top bit set is negative: no time lies before it.
  p.charge.dayFrom = 0;
  p.charge.dayTo = static_cast<std::int32_t>(0x80000000u);
  EXPECT_EQ(CurrentRate(p, At(kWed, 12, 0)), 0.02f);
}

TEST(PerSecondCharge, RateTimesOneSixtiethInSinglePrecision) {
  ChargeProfile p = Profile(8, 18, 0.06f, 0.03f, 0.0f);
  float price = PerSecondCharge(p, At(kWed, 12, 0));
  EXPECT_EQ(Bits(price), 0x3A83126Fu);  // 0.001
  EXPECT_EQ(price, 0.001f);
  EXPECT_EQ(PerSecondCharge(p, At(kSat, 12, 0)), 0.0f);
  EXPECT_EQ(PerSecondCharge(p, At(kWed, 20, 0)), 0.0005f);

  // Sixty seconds add 0.06 up to single-precision rounding.
  float cost = 0.0f;
  for (int i = 0; i < 60; ++i) cost = AddChargedSecond(cost, price, 0.0f);
  EXPECT_FLOAT_EQ(cost, 0.05999995f);
  EXPECT_EQ(Bits(cost), Bits(0.059999954f));
}

TEST(DiscountDeduction, EmptyListDeductsNothing) {
  std::vector<Discount> none;
  EXPECT_EQ(DiscountDeduction(none, 0.001f, At(kWed, 12, 0)), 0.0f);
}

TEST(DiscountDeduction, PercentagesOfTheUndiscountedPriceAddUp) {
  std::vector<Discount> ten = {Percent(10.0f)};
  EXPECT_FLOAT_EQ(DiscountDeduction(ten, 0.001f, At(kWed, 12, 0)), 0.0001f);
  // 10 x 0.001 x 0.01 in single precision, rounded once.
  EXPECT_EQ(DiscountDeduction(ten, 0.001f, At(kWed, 12, 0)),
            static_cast<float>(10.0 * static_cast<double>(0.001f) * static_cast<double>(0.01f)));

  std::vector<Discount> two = {Percent(25.0f), Percent(50.0f)};
  EXPECT_FLOAT_EQ(DiscountDeduction(two, 0.004f, At(kWed, 12, 0)), 0.003f);
  std::vector<Discount> over = {Percent(80.0f), Percent(40.0f)};
  EXPECT_FLOAT_EQ(DiscountDeduction(over, 0.001f, At(kWed, 12, 0)), 0.0012f);
}

TEST(DiscountDeduction, UnknownModesCountAsPercentages) {
  std::vector<Discount> list = {Percent(20.0f)};
  list[0].mode = 3;
  EXPECT_FLOAT_EQ(DiscountDeduction(list, 0.01f, At(kWed, 12, 0)), 0.002f);
  list[0].mode = 0xFFFFFFFFu;
  EXPECT_FLOAT_EQ(DiscountDeduction(list, 0.01f, At(kWed, 12, 0)), 0.002f);
  list[0].freeMins = 5.0f;  // free time belongs to kTimeFree only
  list[0].mode = 0;
  EXPECT_FLOAT_EQ(DiscountDeduction(list, 0.01f, At(kWed, 12, 0)), 0.002f);
  EXPECT_EQ(list[0].freeMins, 5.0f);
}

TEST(DiscountDeduction, FreeCallsTakeTheWholePriceAndCanLowerTheCost) {
  std::vector<Discount> one = {WholeCall()};
  EXPECT_EQ(DiscountDeduction(one, 0.001f, At(kWed, 12, 0)), 0.001f);
  std::vector<Discount> two = {WholeCall(), WholeCall()};
  float deduction = DiscountDeduction(two, 0.001f, At(kWed, 12, 0));
  EXPECT_EQ(deduction, 0.002f);
  EXPECT_LT(AddChargedSecond(0.5f, 0.001f, deduction), 0.5f);
  std::vector<Discount> mixed = {Percent(50.0f), WholeCall()};
  EXPECT_FLOAT_EQ(DiscountDeduction(mixed, 0.002f, At(kWed, 12, 0)), 0.003f);
}

// Seconds made free, out of `seconds` evaluations of one kTimeFree discount.
int FreeSeconds(float freeMins, int seconds, float* left = nullptr) {
  std::vector<Discount> list = {Free(freeMins)};
  int free = 0;
  for (int i = 0; i < seconds; ++i) {
    float d = DiscountDeduction(list, 0.001f, At(kWed, 12, 0));
    if (d == 0.001f) {
      ++free;
    } else {
      EXPECT_EQ(d, 0.0f) << "second " << i;
    }
  }
  if (left != nullptr) *left = list[0].freeMins;
  return free;
}

TEST(DiscountDeduction, TimeFreeCountsFreeSecondsDown) {
  float left = 0;
  EXPECT_EQ(FreeSeconds(120.0f, 300, &left), 120);
  EXPECT_EQ(left, 0.0f);
  EXPECT_EQ(FreeSeconds(2.0f, 10), 2);
  EXPECT_EQ(FreeSeconds(2.5f, 10, &left), 3);  // 2.5, 1.5, 0.5 are all above 0
  EXPECT_EQ(left, -0.5f);
  EXPECT_EQ(FreeSeconds(0.0f, 10, &left), 0);
  EXPECT_EQ(left, 0.0f);
  EXPECT_EQ(FreeSeconds(-3.0f, 10, &left), 0);
  EXPECT_EQ(left, -3.0f);
  EXPECT_EQ(FreeSeconds(0.25f, 10), 1);
}

TEST(DiscountDeduction, TimeFreeIsUsedUpEvenWhenNothingIsSaved) {
  // A zero price still uses a free second.
  std::vector<Discount> alone = {Free(3.0f)};
  EXPECT_EQ(DiscountDeduction(alone, 0.0f, At(kWed, 12, 0)), 0.0f);
  EXPECT_EQ(alone[0].freeMins, 2.0f);
  // So does a second that another discount already makes free; both parts are deducted.
  std::vector<Discount> both = {WholeCall(), Free(3.0f)};
  EXPECT_EQ(DiscountDeduction(both, 0.001f, At(kWed, 12, 0)), 0.002f);
  EXPECT_EQ(both[1].freeMins, 2.0f);
}

TEST(DiscountDeduction, DaysLimitOnlyWithSomeTimes) {
  std::vector<Discount> list = {Percent(50.0f)};
  list[0].days[kMon] = 1;
  // Without "SomeTimes" the day flags (and "Certain") are ignored.
  list[0].certain = 1;
  list[0].from = 0x1200;
  list[0].to = 0x1300;
  EXPECT_FLOAT_EQ(DiscountDeduction(list, 0.002f, At(kTue, 9, 0)), 0.001f);
  list[0].certain = 0;
  list[0].someTimes = 1;
  EXPECT_EQ(DiscountDeduction(list, 0.002f, At(kTue, 9, 0)), 0.0f);
  EXPECT_FLOAT_EQ(DiscountDeduction(list, 0.002f, At(kMon, 9, 0)), 0.001f);
  EXPECT_EQ(DiscountDeduction(list, 0.002f, At(kSun, 9, 0)), 0.0f);
  list[0].days[kSun] = 1;  // "Sunday" is the first flag, for day 0
  EXPECT_FLOAT_EQ(DiscountDeduction(list, 0.002f, At(kSun, 9, 0)), 0.001f);
  list[0].days[kSat] = 1;
  EXPECT_FLOAT_EQ(DiscountDeduction(list, 0.002f, At(kSat, 9, 0)), 0.001f);
}

TEST(DiscountDeduction, TimeFreeOutsideItsDaysKeepsItsSeconds) {
  std::vector<Discount> list = {Free(5.0f)};
  list[0].someTimes = 1;
  list[0].days[kMon] = 1;
  EXPECT_EQ(DiscountDeduction(list, 0.001f, At(kTue, 9, 0)), 0.0f);
  EXPECT_EQ(list[0].freeMins, 5.0f);
  EXPECT_EQ(DiscountDeduction(list, 0.001f, At(kMon, 9, 0)), 0.001f);
  EXPECT_EQ(list[0].freeMins, 4.0f);
}

TEST(DiscountDeduction, CertainWindowHasStrictEnds) {
  std::vector<Discount> list = {Percent(100.0f)};
  list[0].someTimes = 1;
  for (auto& day : list[0].days) day = 1;
  list[0].certain = 1;
  list[0].from = 18 * 256;
  list[0].to = 23 * 256 + 59;
  const float price = 0.004f;
  EXPECT_EQ(DiscountDeduction(list, price, At(kWed, 18, 0, 10)), 0.0f);
  EXPECT_EQ(DiscountDeduction(list, price, At(kWed, 23, 59, 10)), 0.0f);
  EXPECT_EQ(DiscountDeduction(list, price, At(kWed, 18, 1, 0)), price);
  EXPECT_EQ(DiscountDeduction(list, price, At(kWed, 23, 58, 59)), price);
  EXPECT_EQ(DiscountDeduction(list, price, At(kWed, 12, 0)), 0.0f);
  // Across midnight the window never applies.
  list[0].from = 22 * 256;
  list[0].to = 2 * 256;
  EXPECT_EQ(DiscountDeduction(list, price, At(kWed, 23, 0)), 0.0f);
  EXPECT_EQ(DiscountDeduction(list, price, At(kWed, 1, 0)), 0.0f);
  // The day flags still decide first.
  list[0].from = 0;
  list[0].to = 23 * 256;
  list[0].days[kWed] = 0;
  EXPECT_EQ(DiscountDeduction(list, price, At(kWed, 12, 0)), 0.0f);
  EXPECT_EQ(DiscountDeduction(list, price, At(kThu, 12, 0)), price);
}

// The deduction summed as it was first defined: this discount's part, then the rest of the list
// from the next one on, added in single precision. Each part comes from a list of that one
// discount.
float RecursiveDeduction(std::vector<Discount>& list, std::size_t first, float price,
                         const LocalTime& now) {
  if (first == list.size()) return 0.0f;
  std::vector<Discount> one = {list[first]};
  const float part = DiscountDeduction(one, price, now);
  list[first] = one[0];
  const float rest = RecursiveDeduction(list, first + 1, price, now);
  return part + rest;
}

TEST(DiscountDeduction, SumsThePartsFromTheTailAsTheRecursiveDefinitionDid) {
  // Whole prices first and parts below half a unit of their sum last, so that the order of the
  // additions shows in the rounding.
  std::vector<Discount> list = {WholeCall(),    Free(2.5f),     Free(1.0f),
                                Percent(1e-5f), Percent(1.2e-5f), Percent(1e-5f)};
  list[2].someTimes = 1;
  list[2].days[kWed] = 1;
  std::vector<Discount> reference = list;
  const float price = 1.0f;
  const LocalTime now = At(kWed, 12, 0);

  // The same parts summed from the head would give another number: the test can tell the orders.
  std::vector<Discount> probe = list;
  float fromHead = 0.0f;
  for (Discount& discount : probe) {
    std::vector<Discount> one = {discount};
    fromHead = fromHead + DiscountDeduction(one, price, now);
  }
  std::vector<Discount> probeFromTail = list;
  ASSERT_NE(Bits(fromHead), Bits(RecursiveDeduction(probeFromTail, 0, price, now)));

  // Four seconds: the free time runs out on the way, and with it the parts change.
  for (int second = 0; second < 4; ++second) {
    const float expected = RecursiveDeduction(reference, 0, price, now);
    EXPECT_EQ(Bits(expected), Bits(DiscountDeduction(list, price, now))) << "second " << second;
    for (std::size_t i = 0; i < list.size(); ++i) {
      EXPECT_EQ(Bits(reference[i].freeMins), Bits(list[i].freeMins))
          << "second " << second << ", discount " << i;
    }
  }
  EXPECT_EQ(list[1].freeMins, -0.5f);
  EXPECT_EQ(list[2].freeMins, 0.0f);
}

// Runs the work on a thread with a 1 MB stack, the size a Windows program's main thread gets.
void OnOneMegabyteStack(const std::function<void()>& work) {
  pthread_attr_t attributes;
  ASSERT_EQ(0, pthread_attr_init(&attributes));
  ASSERT_EQ(0, pthread_attr_setstacksize(&attributes, 1u << 20));
  pthread_t thread;
  auto run = [](void* argument) -> void* {
    (*static_cast<const std::function<void()>*>(argument))();
    return nullptr;
  };
  auto* argument = const_cast<std::function<void()>*>(&work);
  ASSERT_EQ(0, pthread_create(&thread, &attributes, run, argument));
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

TEST(DiscountDeduction, SixtyThousandDiscountsFitASmallStack) {
  // Half of them free calls, half one free second each. The price is a power of two, so every sum
  // is exact and the results are known.
  constexpr int kPairs = 30000;
  std::vector<Discount> list;
  for (int i = 0; i < kPairs; ++i) {
    list.push_back(WholeCall());
    list.push_back(Free(1.0f));
  }
  const float price = 1.0f / 1024.0f;
  float first = -1.0f;
  float second = -1.0f;
  OnOneMegabyteStack([&] {
    first = DiscountDeduction(list, price, At(kWed, 12, 0));
    second = DiscountDeduction(list, price, At(kWed, 12, 0));
  });
  EXPECT_EQ(2 * kPairs * price, first);
  EXPECT_EQ(kPairs * price, second);
  for (int i = 0; i < kPairs; ++i) ASSERT_EQ(0.0f, list[2 * i + 1].freeMins) << i;
}

TEST(AddChargedSecond, DifferenceFirstThenOneRounding) {
  // Adding the price first would round 1 + 6e-8 up to the next float; the difference first keeps
  // the step below half a unit.
  EXPECT_EQ(AddChargedSecond(1.0f, 6e-8f, 2e-9f), 1.0f);
  // Rounding the difference to single precision first would lose the 1e-9 entirely.
  EXPECT_EQ(AddChargedSecond(-1.0f, 1.0f, 1e-9f), -1e-9f);
  EXPECT_EQ(AddChargedSecond(0.25f, 0.5f, 0.125f), 0.625f);
}

// An eight-hour weekday call, Wednesday 14:00:00 to 22:00:00, across the end of the daytime window,
// with 90 free seconds and a half-price discount from 19:00 to 21:00, priced second by second. The
// reference below is its own plain single-precision loop.
TEST(Tariff, EightHourCallSecondBySecond) {
  ChargeProfile profile = Profile(8, 18, 0.06f, 0.025f, 0.01f);
  std::vector<Discount> discounts = {Free(90.0f), Percent(50.0f)};
  discounts[1].someTimes = 1;
  discounts[1].days[kWed] = 1;
  discounts[1].certain = 1;
  discounts[1].from = 19 * 256;
  discounts[1].to = 21 * 256;
  profile.discounts = discounts;

  LocalTime clock = At(kWed, 14, 0, 0);
  float cost = 0.0f;

  volatile float sixtieth = 1.0f / 60.0f;
  volatile float expected = 0.0f;
  int freeLeft = 90;
  double exact = 0.0;

  for (int s = 0; s < 8 * 3600; ++s) {
    float price = PerSecondCharge(profile, clock);
    float deduction = DiscountDeduction(profile.discounts, price, clock);
    cost = AddChargedSecond(cost, price, deduction);

    int minuteOfDay = 14 * 60 + s / 60;
    bool day = minuteOfDay > 8 * 60 && minuteOfDay < 18 * 60;
    float rate = day ? 0.06f : 0.025f;
    volatile float p = rate * sixtieth;
    float off = 0.0f;
    if (freeLeft > 0) {
      --freeLeft;
      off = p;
    }
    if (minuteOfDay > 19 * 60 && minuteOfDay < 21 * 60) off = off + p * 0.5f;
    volatile float step = p - off;
    expected = expected + step;
    exact += static_cast<double>(rate) / 60.0 - (s < 90 ? static_cast<double>(rate) / 60.0 : 0.0) -
             (minuteOfDay > 19 * 60 && minuteOfDay < 21 * 60 ? static_cast<double>(rate) / 120.0 : 0.0);

    if (++clock.second == 60) {
      clock.second = 0;
      if (++clock.minute == 60) {
        clock.minute = 0;
        ++clock.hour;
      }
    }
  }
  EXPECT_EQ(clock.hour, 22);
  EXPECT_EQ(profile.discounts[0].freeMins, 0.0f);
  EXPECT_EQ(Bits(cost), Bits(expected)) << cost << " vs " << static_cast<float>(expected);
  // Four hours at 0.06 less 90 free seconds, four at 0.025 less half of 119 minutes (19:01 to
  // 20:59): 18.8225. The single-precision sum drifts from that by a little.
  EXPECT_NEAR(exact, 14.4 - 0.09 + 6.0 - 0.0125 * 119, 1e-6);  // the rates are floats
  EXPECT_NEAR(cost, exact, 0.01);
  EXPECT_NE(static_cast<double>(cost), exact);
}

}  // namespace
}  // namespace tollwick
