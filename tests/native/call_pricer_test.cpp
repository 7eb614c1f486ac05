// What a call is billed: published tariffs as their operators state them, with the cost of each call
// worked out by hand from that wording, then the edges of the rules, volume and allowances. A second
// is priced at the rate in force when it ends, as the tariff always has; the daytime window 8:00 to
// 18:00 leaves its end minutes to the evening.

#include "charging/call_pricer.h"

#include <gtest/gtest.h>

#include "discount_checks.h"
#include "platform/little_endian.h"

namespace tollwick {
namespace {

LocalTime At(std::uint16_t day, std::uint16_t dayOfWeek, std::uint16_t hour, std::uint16_t minute,
             std::uint16_t second) {
  LocalTime t;
  t.year = 2026;
  t.month = 12;
  t.day = day;
  t.dayOfWeek = dayOfWeek;
  t.hour = hour;
  t.minute = minute;
  t.second = second;
  return t;
}
const LocalTime kWednesdayNoon = At(9, 3, 12, 0, 0);

ChargeProfile Tariff(float day, float evening, float weekend, BillingRules rules = BillingRules()) {
  ChargeProfile profile;
  profile.charge = CallChargeInfo{0x0800, 0x1200, day, evening, weekend};
  profile.rules = rules;
  return profile;
}
ChargeProfile Flat(float perMinute, BillingRules rules = BillingRules()) {
  return Tariff(perMinute, perMinute, perMinute, rules);
}
BillingRules Steps(std::uint32_t firstPeriod, std::uint32_t increment) {
  BillingRules rules;
  rules.firstPeriod = firstPeriod;
  rules.increment = increment;
  return rules;
}
ChargeProfile WithMinimum(ChargeProfile profile, float minCharge) {
  profile.minChargeOn = 1;
  profile.minCharge = minCharge;
  return profile;
}
// A discount in force at all times.
ChargeProfile WithDiscount(ChargeProfile profile, std::uint32_t mode, float percent, float freeMins) {
  Discount discount = Named("Always", mode);
  discount.percent = percent;
  discount.freeMins = freeMins;
  profile.discounts.push_back(discount);
  return profile;
}
BillingRules Volume(float perMB, std::uint32_t firstKB = 0, std::uint32_t stepKB = 1) {
  BillingRules rules;
  rules.volumeRate = perMB;
  rules.volumeFirst = firstKB;
  rules.volumeStep = stepKB;
  return rules;
}
CallVolume Moved(std::uint64_t received, std::uint64_t sent = 0) {
  return CallVolume{true, received, sent};
}

// Tariff B: per started minute, 5p connection fee on every call, each call rounded up to the next
// penny, the whole call at the rate in force when it starts; 6p a minute daytime, 2p evenings, 1p
// weekends.
BillingRules TariffB() {
  BillingRules rules = Steps(60, 60);
  rules.connectionFee = 0.05f;
  rules.rateAtStart = true;
  rules.roundUp = true;
  return rules;
}

TEST(CallPricer, BillsEachCallAsItsTariffSays) {
  BillingRules feeOnly;
  feeOnly.connectionFee = 0.05f;
  BillingRules roundUp;
  roundUp.roundUp = true;
  BillingRules startRate;
  startRate.rateAtStart = true;
  const struct {
    const char* what;
    ChargeProfile profile;
    LocalTime start;
    std::uint32_t seconds;
    float expected;
    bool exact = false;  // rounded to a penny: to the bit
    CallVolume volume = CallVolume();
    Allowance allowance = Allowance();
  } cases[] = {
      // A: first minute, then per second; 10p a minute; no connection fee.
      {"A: 20 s pays the first minute", Flat(0.10f, Steps(60, 1)), kWednesdayNoon, 20, 0.10f},
      {"A: 90 s pays 90 s", Flat(0.10f, Steps(60, 1)), kWednesdayNoon, 90, 0.15f},
      {"A: 45 s across midnight", Flat(0.10f, Steps(60, 1)), At(11, 5, 23, 59, 30), 45, 0.10f},
      {"A: 75 s across midnight", Flat(0.10f, Steps(60, 1)), At(11, 5, 23, 59, 30), 75, 0.125f},
      // B: 61 s from 17:59:30 is two started minutes at the daytime rate it began in, plus the fee.
      {"B: across the end of the day", Tariff(0.06f, 0.02f, 0.01f, TariffB()), At(9, 3, 17, 59, 30),
       61, 0.17f, true},
      {"B: Friday evening into Saturday", Tariff(0.06f, 0.02f, 0.01f, TariffB()),
       At(11, 5, 23, 59, 50), 20, 0.07f, true},
      {"B: 125 s in the evening", Tariff(0.06f, 0.02f, 0.01f, TariffB()), At(9, 3, 20, 0, 0), 125,
       0.11f, true},
      {"B: no second, no fee", Tariff(0.06f, 0.02f, 0.01f, TariffB()), kWednesdayNoon, 0, 0.0f, true},
      // C: the roaming rule: the first 30 seconds in full, then per second; 12p a minute.
      {"C: 10 s pays 30 s", Flat(0.12f, Steps(30, 1)), kWednesdayNoon, 10, 0.06f},
      {"C: 45 s pays 45 s", Flat(0.12f, Steps(30, 1)), kWednesdayNoon, 45, 0.09f},
      // D: 30 seconds at least, then 6-second steps; 6p a minute daytime, 3p evenings.
      {"D: 31 s pays 36 s", Tariff(0.06f, 0.03f, 0.03f, Steps(30, 6)), kWednesdayNoon, 31, 0.036f},
      // 9 seconds end in the day, then 21 (11 counted, 10 of the first period) in the evening.
      {"D: 20 s across the end of the day", Tariff(0.06f, 0.03f, 0.03f, Steps(30, 6)),
       At(9, 3, 17, 59, 50), 20, 0.0195f},
      // E: none of the new values: 6p a minute with a 5p minimum charge, as always.
      {"E: under the minimum", WithMinimum(Flat(0.06f), 0.05f), kWednesdayNoon, 40, 0.05f},
      {"E: above the minimum", WithMinimum(Flat(0.06f), 0.05f), kWednesdayNoon, 120, 0.12f},
      {"E: shorter than a second", WithMinimum(Flat(0.06f), 0.05f), kWednesdayNoon, 0, 0.05f, true},

      // Edges.
      {"a fee still meets the minimum", WithMinimum(Flat(0.06f, feeOnly), 0.10f), kWednesdayNoon,
       20, 0.10f},
      {"9p a minute stays 9p", Flat(0.09f, roundUp), kWednesdayNoon, 60, 0.09f, true},
      {"a tenth of a penny is a penny", Flat(0.06f, roundUp), kWednesdayNoon, 1, 0.01f, true},
      {"within what the bill reads back", Flat(1.0e8f), kWednesdayNoon, 15 * 60, kLargestAmount,
       true},
      {"step seconds use the call's free time",
       WithDiscount(Flat(0.06f, Steps(60, 60)), kTimeFree, 0.0f, 90.0f),
       kWednesdayNoon, 70, 0.03f},
      {"discounts go on at the starting rate",
       WithDiscount(Tariff(0.06f, 0.02f, 0.01f, startRate), kPercentageDiscount, 50.0f, 0.0f),
       At(9, 3, 17, 59, 30), 60, 0.03f},

      // Volume: KB of 1,024 bytes, MB of 1,024 KB, in steps, before the minimum charge.
      {"unknown volume costs nothing", Flat(0.0f, Volume(0.10f)), kWednesdayNoon, 60, 0.0f, true},
      {"1.5 MB at 10p", Flat(0.0f, Volume(0.10f)), kWednesdayNoon, 60, 0.15f, false,
       Moved(1048576, 524288)},
      {"1,025 bytes are 2 KB", Flat(0.0f, Volume(1.024f)), kWednesdayNoon, 60, 0.002f, false,
       Moved(1025)},
      {"a byte pays the first 100 KB", Flat(0.0f, Volume(1.024f, 100, 64)), kWednesdayNoon, 60,
       0.1f, false, Moved(1)},
      {"150 KB pay 164 KB", Flat(0.0f, Volume(1.024f, 100, 64)), kWednesdayNoon, 60, 0.164f,
       false, Moved(150 * 1024)},
      {"volume meets the minimum", WithMinimum(Flat(0.0f, Volume(0.02f)), 0.05f), kWednesdayNoon,
       60, 0.05f, false, Moved(512 * 1024)},

      // Allowances: what the period still includes comes off first.
      {"a call inside the allowance costs nothing",
       WithMinimum(Flat(0.06f, feeOnly), 0.05f), kWednesdayNoon, 100, 0.0f, true, CallVolume(),
       Allowance{120, 0}},
      {"no second inside the allowance", WithMinimum(Flat(0.06f), 0.05f), kWednesdayNoon, 0, 0.0f,
       true, CallVolume(), Allowance{60, 0}},
      {"the rest in steps with the fee", Flat(0.06f, [] {
         BillingRules rules = Steps(60, 60);
         rules.connectionFee = 0.05f;
         return rules;
       }()),
       kWednesdayNoon, 150, 0.11f, false, CallVolume(), Allowance{120, 0}},
      {"the discount's free time after the allowance",
       WithDiscount(Flat(0.06f), kTimeFree, 0.0f, 30.0f), kWednesdayNoon,
       100, 0.01f, false, CallVolume(), Allowance{60, 0}},
      {"data beyond the free MB", Flat(0.0f, Volume(0.10f)), kWednesdayNoon, 60, 0.05f, false,
       Moved(1048576, 524288), Allowance{0, 1048576}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CallPricer pricer(c.profile, c.allowance);
    for (std::uint32_t i = 1; i <= c.seconds; ++i) {
      pricer.CountSeconds(1, ShiftedBy(c.start, i * 1000LL));
    }
    const float cost = pricer.Cost(c.volume);
    if (c.exact) {
      EXPECT_EQ(c.expected, cost);
    } else {
      EXPECT_NEAR(c.expected, cost, 1e-6);
    }
    EXPECT_EQ(cost, pricer.Cost(c.volume)) << "asking again changes nothing";
  }
}

}  // namespace
}  // namespace tollwick
