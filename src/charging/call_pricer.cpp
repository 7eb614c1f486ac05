#include "charging/call_pricer.h"

#include <cmath>

#include "charging/tariff.h"
#include "platform/little_endian.h"
#include "platform/packed_time.h"

namespace tollwick {

namespace {

constexpr std::int64_t kMsPerSecond = 1000;
constexpr std::int64_t kMsPerDay = 24LL * 60 * 60 * kMsPerSecond;

void DayBefore(LocalTime& t) {
  t.dayOfWeek = static_cast<std::uint16_t>((t.dayOfWeek + 6) % 7);
  if (t.day > 1) {
    t.day = static_cast<std::uint16_t>(t.day - 1);
    return;
  }
  if (t.month > 1) {
    t.month = static_cast<std::uint16_t>(t.month - 1);
  } else {
    t.month = 12;
    t.year = static_cast<std::uint16_t>(t.year - 1);
  }
  t.day = static_cast<std::uint16_t>(DaysInMonth(t.month, t.year));
}

void DayAfter(LocalTime& t) {
  t.dayOfWeek = static_cast<std::uint16_t>((t.dayOfWeek + 1) % 7);
  if (t.day < DaysInMonth(t.month, t.year)) {
    t.day = static_cast<std::uint16_t>(t.day + 1);
    return;
  }
  t.day = 1;
  if (t.month < 12) {
    t.month = static_cast<std::uint16_t>(t.month + 1);
  } else {
    t.month = 1;
    t.year = static_cast<std::uint16_t>(t.year + 1);
  }
}

// What a length of n units is billed as: at least `first` once anything was used, then whole steps.
// With first 0 and step 1 that is n.
std::uint64_t BilledUnits(std::uint64_t n, std::uint64_t first, std::uint64_t step) {
  if (n == 0) return 0;
  if (n <= first) return first;
  if (step == 0) step = 1;
  return first + (n - first + step - 1) / step * step;
}

// An amount added to the cost as a second's price is: in single precision, never beyond the float range.
float Plus(float cost, float amount) { return AddChargedSecond(cost, amount, 0.0f); }

// Up to the next whole penny; a sum within a thousandth of a penny above one (the noise of single
// precision: 9p a minute sums to 0.09000004) stays at it.
float RoundUpToPenny(float cost) {
  constexpr double kNoise = 0.001;
  const double pennies = static_cast<double>(cost) * 100.0;
  double whole = std::floor(pennies);
  if (pennies - whole > kNoise) whole += 1.0;
  return ToAmount(whole / 100.0);
}

}  // namespace

LocalTime ShiftedBy(LocalTime t, std::int64_t ms) {
  std::int64_t ofDay = ((t.hour * 60LL + t.minute) * 60 + t.second) * kMsPerSecond + t.milliseconds;
  ofDay += ms;
  while (ofDay < 0) {
    ofDay += kMsPerDay;
    DayBefore(t);
  }
  while (ofDay >= kMsPerDay) {
    ofDay -= kMsPerDay;
    DayAfter(t);
  }
  t.milliseconds = static_cast<std::uint16_t>(ofDay % kMsPerSecond);
  t.second = static_cast<std::uint16_t>(ofDay / kMsPerSecond % 60);
  t.minute = static_cast<std::uint16_t>(ofDay / (60 * kMsPerSecond) % 60);
  t.hour = static_cast<std::uint16_t>(ofDay / (60 * 60 * kMsPerSecond));
  return t;
}

CallPricer::CallPricer(const ChargeProfile& profile, const Allowance& allowance)
    : profile_(profile), allowance_(allowance) {}

void CallPricer::CountSeconds(std::uint32_t count, const LocalTime& clock, std::uint32_t lagSeconds) {
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::int64_t before = static_cast<std::int64_t>(count - 1 - i) + lagSeconds;
    const LocalTime at = before == 0 ? clock : ShiftedBy(clock, -before * kMsPerSecond);
    counted_ += 1;
    lastSecond_ = at;
    if (counted_ == 1) startPrice_ = PerSecondCharge(profile_, at);
    // Seconds inside the allowance are not priced at all: no discount sees them.
    if (counted_ <= allowance_.freeSeconds) continue;
    const float price = profile_.rules.rateAtStart ? startPrice_ : PerSecondCharge(profile_, at);
    const float deduction = DiscountDeduction(profile_.discounts, price, at);
    runningCost_ = AddChargedSecond(runningCost_, price, deduction);
  }
}

float CallPricer::TimeCost() const {
  if (cachedFor_ == counted_) return cachedTimeCost_;
  const BillingRules& rules = profile_.rules;
  const std::uint64_t charged =
      counted_ > allowance_.freeSeconds ? counted_ - allowance_.freeSeconds : 0;
  const std::uint64_t billed = BilledUnits(charged, rules.firstPeriod, rules.increment);
  float cost = runningCost_;
  if (billed > charged) {
    // The seconds a step adds, priced as if the call had gone on for them, on copies of the
    // discounts: a call that goes on uses its own free time for them.
    std::vector<Discount> discounts = profile_.discounts;
    for (std::uint64_t k = 1; k <= billed - charged; ++k) {
      const LocalTime at = ShiftedBy(lastSecond_, static_cast<std::int64_t>(k) * kMsPerSecond);
      const float price = rules.rateAtStart ? startPrice_ : PerSecondCharge(profile_, at);
      cost = AddChargedSecond(cost, price, DiscountDeduction(discounts, price, at));
    }
  }
  if (charged > 0) cost = Plus(cost, rules.connectionFee);
  cachedFor_ = counted_;
  cachedTimeCost_ = cost;
  return cost;
}

float CallPricer::Cost(const CallVolume& volume) const {
  const BillingRules& rules = profile_.rules;
  std::uint64_t chargedBytes = 0;
  if (volume.known) {
    const std::uint64_t total = volume.Total();
    chargedBytes = total > allowance_.freeBytes ? total - allowance_.freeBytes : 0;
  }
  // A call the allowance covers whole costs nothing: no fee, no minimum charge.
  const bool allowance = allowance_.freeSeconds > 0 || allowance_.freeBytes > 0;
  if (allowance && counted_ <= allowance_.freeSeconds && chargedBytes == 0) return 0.0f;

  float cost = TimeCost();
  if (rules.volumeRate != 0.0f) {
    const std::uint64_t kb = chargedBytes / kBytesPerKB + (chargedBytes % kBytesPerKB != 0 ? 1 : 0);
    const std::uint64_t billedKB = BilledUnits(kb, rules.volumeFirst, rules.volumeStep);
    const double perKB = static_cast<double>(rules.volumeRate) / (kBytesPerMB / kBytesPerKB);
    cost = Plus(cost, ToAmount(static_cast<double>(billedKB) * perKB));
  }
  if (profile_.minChargeOn != 0 && cost < profile_.minCharge) cost = profile_.minCharge;
  if (rules.roundUp) cost = RoundUpToPenny(cost);
  // Never more than the bill stores and reads back the same, whatever the rates and steps add up to.
  if (cost > kLargestAmount) return kLargestAmount;
  if (cost < -kLargestAmount) return -kLargestAmount;
  return cost;
}

}  // namespace tollwick
