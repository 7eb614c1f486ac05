#include "charging/tariff.h"

#include <cfloat>
#include <cmath>

#include "platform/packed_time.h"

namespace tollwick {

namespace {

constexpr std::uint16_t kSunday = 0;
constexpr std::uint16_t kSaturday = 6;

// The clock's time of day as the signed PackedTime the windows are compared with.
std::int32_t Minute(const LocalTime& now) { return static_cast<std::int32_t>(TimeOfDay(now)); }

// Both ends belong outside: a window 8:00-18:00 covers 8:01:00 to 17:59:59.
bool InsideWindow(std::int32_t from, std::int32_t to, const LocalTime& now) {
  std::int32_t minute = Minute(now);
  return from < minute && minute < to;
}

bool DiscountApplies(const Discount& discount, const LocalTime& now) {
  if (discount.someTimes == 0) return true;
  if (now.dayOfWeek > kSaturday || discount.days[now.dayOfWeek] == 0) return false;
  return discount.certain == 0 || InsideWindow(discount.from, discount.to, now);
}

float DiscountPart(Discount& discount, float price, const LocalTime& now) {
  if (!DiscountApplies(discount, now)) return 0.0f;
  switch (discount.mode) {
    case kTimeFree:
      // The stored number counts free seconds, though the dialog calls them minutes.
      if (discount.freeMins > 0.0f) {
        discount.freeMins -= 1.0f;
        return price;
      }
      return 0.0f;
    case kFreeCall:
      return price;
    default:  // kPercentageDiscount, and any unknown mode
      return ToAmount(static_cast<double>(discount.percent) * price * kOneHundredth);
  }
}

}  // namespace

float ToAmount(double value) {
  // One beyond the float range cannot be converted (the conversion is undefined).
  return std::fabs(value) <= FLT_MAX ? static_cast<float>(value) : 0.0f;
}

bool IsWeekend(const LocalTime& now) {
  return now.dayOfWeek == kSunday || now.dayOfWeek == kSaturday;
}

float CurrentRate(const ChargeProfile& profile, const LocalTime& now) {
  if (IsWeekend(now)) return profile.charge.weekendRate;
  if (InsideWindow(profile.charge.dayFrom, profile.charge.dayTo, now)) return profile.charge.dayRate;
  return profile.charge.eveningRate;
}

float PerSecondCharge(const ChargeProfile& profile, const LocalTime& now) {
  // The product of two floats is exact in double, so this rounds once.
  return ToAmount(static_cast<double>(CurrentRate(profile, now)) * kOneSixtieth);
}

float DiscountDeduction(std::vector<Discount>& discounts, float price, const LocalTime& now) {
  // Every discount is measured against the same undiscounted price, and the parts add up without
  // limit, summed from the tail in single precision: each part is added to the sum of the parts
  // after it. A loop, not one stack frame per discount: a list is as long as the registry makes
  // it. Walking from the tail changes no countdown: a part depends on its own discount alone.
  float sum = 0.0f;
  for (auto discount = discounts.rbegin(); discount != discounts.rend(); ++discount) {
    sum = DiscountPart(*discount, price, now) + sum;
  }
  return sum;
}

float AddChargedSecond(float runningCost, float price, float deduction) {
  double difference = static_cast<double>(price) - static_cast<double>(deduction);
  const double sum = static_cast<double>(runningCost) + difference;
  // A second whose sum would leave the float range (or is no number) is not added: the running
  // cost stays finite, whatever a profile holds.
  return std::fabs(sum) <= FLT_MAX ? static_cast<float>(sum) : runningCost;
}

}  // namespace tollwick
