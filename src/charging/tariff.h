#pragma once
// The tariff, used by the call's pricer (call_pricer.h) alone: what one second of a call costs under a charge profile at a given moment. Prices are
// per minute in the profile and turned into a per-second price; discounts are then deducted second
// by second, each measured against the undiscounted price of that second. The minimum charge is not
// part of it: it applies when the cost of a call is reported.
//
// Every function takes the clock reading it is to judge by, so that one charged second is priced
// against one reading: the caller reads the local clock once per charged second and passes it to
// both PerSecondCharge and DiscountDeduction.

#include <cstdint>
#include <vector>

#include "charging/charge_profile.h"
#include "platform/environment.h"

namespace tollwick {

// One sixtieth and one hundredth as the single-precision constants the charges are computed with
// (bits 0x3C888889 and 0x3C23D70A).
constexpr float kOneSixtieth = 0.016666668f;
constexpr float kOneHundredth = 0.01f;

// A result formed in double as the single-precision amount it is kept in. One beyond the float range
// is no amount: it counts as 0, as an absurd stored amount reads. Loaded and typed amounts are
// bounded, so this guards profiles built otherwise.
float ToAmount(double value);

// Saturday or Sunday.
bool IsWeekend(const LocalTime& now);

// Pounds per minute in force at now: the weekend rate all Saturday and Sunday; on weekdays the day
// rate strictly between DayFrom and DayTo (minute resolution), the evening rate otherwise. A window
// whose start is not below its end never applies.
float CurrentRate(const ChargeProfile& profile, const LocalTime& now);

// CurrentRate times one sixtieth, rounded to single precision.
float PerSecondCharge(const ChargeProfile& profile, const LocalTime& now);

// The summed deduction of the discounts, for one second whose undiscounted price is price. Counts
// down FreeMins (one per free second) of every kTimeFree discount that applies at now.
float DiscountDeduction(std::vector<Discount>& discounts, float price, const LocalTime& now);

// The running cost after one more charged second: price - deduction formed first, added to the
// running cost, and the sum rounded to single precision. A sum beyond the float range leaves the
// running cost as it was, so it never becomes infinite or NaN.
float AddChargedSecond(float runningCost, float price, float deduction);

}  // namespace tollwick
