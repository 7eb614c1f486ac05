// What a call is billed: published tariffs as their operators state them, with the cost of each call
// worked out by hand from that wording, then the edges of the rules, volume and allowances. A second
// is priced at the rate in force when it ends; the daytime window is 8:00 to 18:00.

#include "charging/call_pricer.h"

#include <gtest/gtest.h>

#include "discount_checks.h"
#include "platform/little_endian.h"

namespace tollwick {
namespace {

LocalTime At(std::uint16_t day, std::uint16_t dayOfWeek, std::uint16_t hour, std::uint16_t minute,
             std::uint16_t second) {
  return LocalTime{2026, 12, dayOfWeek, day, hour, minute, second, 0};
}
const LocalTime kNoon = At(9, 3, 12, 0, 0);           // a Wednesday
const LocalTime kDayEnd = At(9, 3, 17, 59, 30);       // the same Wednesday

struct Tariff {
  float day, evening, weekend;
  BillingRules rules;
  float minCharge = -1.0f;  // off
  std::uint32_t discountMode = 9;  // none
  float discountAmount = 0.0f;
  ChargeProfile Profile() const {
    ChargeProfile profile;
    profile.charge = CallChargeInfo{0x0800, 0x1200, day, evening, weekend};
    profile.rules = rules;
    profile.minChargeOn = minCharge >= 0.0f ? 1 : 0;
    profile.minCharge = minCharge;
    if (discountMode != 9) {
      profile.discounts.push_back(Named("Always", discountMode));
      profile.discounts[0].percent = profile.discounts[0].freeMins = discountAmount;
    }
    return profile;
  }
};
BillingRules Rules(std::uint32_t first, std::uint32_t step, float fee = 0.0f, bool atStart = false,
                   bool roundUp = false) {
  return BillingRules{fee, first, step, atStart, roundUp, 0.0f, 0, 1};
}
BillingRules Volume(float perMB, std::uint32_t firstKB = 0, std::uint32_t stepKB = 1) {
  return BillingRules{0.0f, 0, 1, false, false, perMB, firstKB, stepKB};
}
// A: first minute, then per second; 10p a minute; no connection fee.
const Tariff kA{0.10f, 0.10f, 0.10f, Rules(60, 1)};
// B: per started minute; 5p connection fee on every call; each call rounded up to the next penny;
// the whole call at the rate in force when it starts; 6p a minute daytime, 2p evenings, 1p weekends.
const Tariff kB{0.06f, 0.02f, 0.01f, Rules(60, 60, 0.05f, true, true)};
// C: the roaming rule: the first 30 seconds in full, then per second; 12p a minute.
const Tariff kC{0.12f, 0.12f, 0.12f, Rules(30, 1)};
// D: 30 seconds at least, then 6-second steps; 6p a minute daytime, 3p evenings.
const Tariff kD{0.06f, 0.03f, 0.03f, Rules(30, 6)};
// E: none of the new values: 6p a minute with a 5p minimum charge.
const Tariff kE{0.06f, 0.06f, 0.06f, BillingRules(), 0.05f};

TEST(CallPricer, BillsEachCallAsItsTariffSays) {
  const struct {
    const char* what;
    Tariff tariff;
    LocalTime start;
    std::uint32_t seconds;
    float expected;
    CallVolume volume = CallVolume();
    Allowance allowance = Allowance();
  } cases[] = {
      {"A: 20 s pays the first minute", kA, kNoon, 20, 0.10f},
      {"B: two started minutes at the day rate", kB, kDayEnd, 61, 0.17f},
      {"B: Friday evening into Saturday", kB, At(11, 5, 23, 59, 50), 20, 0.07f},
      {"B: no second, no fee", kB, kNoon, 0, 0.0f},
      {"C: 10 s pays 30 s", kC, kNoon, 10, 0.06f},
      {"D: 31 s pays 36 s", kD, kNoon, 31, 0.036f},
      {"D: 9 s end in the day, 21 in the evening", kD, At(9, 3, 17, 59, 50), 20, 0.0195f},
      {"E: under the minimum", kE, kNoon, 40, 0.05f},
      {"E: shorter than a second", kE, kNoon, 0, 0.05f},
      // Edges.
      {"a fee still meets the minimum", {0.06f, 0.06f, 0.06f, Rules(0, 1, 0.05f), 0.10f}, kNoon, 20,
       0.10f},
      {"9p a minute stays 9p", {0.09f, 0.09f, 0.09f, Rules(0, 1, 0, false, true)}, kNoon, 60, 0.09f},
      {"within what the bill reads back", {1.0e8f, 1.0e8f, 1.0e8f, {}}, kNoon, 900, kLargestAmount},
      {"steps use the call's free time", {0.06f, 0.06f, 0.06f, Rules(60, 60), -1, kTimeFree, 90},
       kNoon, 70, 0.03f},
      {"discounts at the starting rate", {0.06f, 0.02f, 0.01f, Rules(0, 1, 0, true), -1, 0, 50},
       kDayEnd, 60, 0.03f},
      // Volume: KB of 1,024 bytes, MB of 1,024 KB, in steps, before the minimum charge.
      {"unknown volume costs nothing", {0, 0, 0, Volume(0.10f)}, kNoon, 60, 0.0f},
      {"1.5 MB at 10p", {0, 0, 0, Volume(0.10f)}, kNoon, 60, 0.15f, {true, 1048576, 524288}},
      {"150 KB pay 164 KB", {0, 0, 0, Volume(1.024f, 100, 64)}, kNoon, 60, 0.164f,
       {true, 1024, 149 * 1024}},
      {"volume meets the minimum", {0, 0, 0, Volume(0.02f), 0.05f}, kNoon, 60, 0.05f,
       {true, 524288, 0}},
      // Allowances: what the period still includes comes off first.
      {"inside the allowance, free", {0.06f, 0.06f, 0.06f, Rules(0, 1, 0.05f), 0.05f}, kNoon, 100,
       0.0f, {}, {120, 0}},
      {"the rest in steps, with the fee", {0.06f, 0.06f, 0.06f, Rules(60, 60, 0.05f)}, kNoon, 150,
       0.11f, {}, {120, 0}},
      {"the discount's free time after it", {0.06f, 0.06f, 0.06f, {}, -1, kTimeFree, 30}, kNoon,
       100, 0.01f, {}, {60, 0}},
      {"data beyond the free MB", {0, 0, 0, Volume(0.10f)}, kNoon, 60, 0.05f,
       {true, 1048576, 524288}, {0, 1048576}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CallPricer pricer(c.tariff.Profile(), c.allowance);
    for (std::uint32_t i = 1; i <= c.seconds; ++i) pricer.CountSeconds(1, ShiftedBy(c.start, i * 1000LL));
    EXPECT_NEAR(c.expected, pricer.Cost(c.volume), 1e-6);
  }
}

}  // namespace
}  // namespace tollwick
