#pragma once
// Discounts compared field by field, so that a failure names the field that differs.

#include <gtest/gtest.h>

#include "charging/charge_profile.h"

namespace tollwick {

// Every stored value but the name.
inline void ExpectSameDiscountValues(const Discount& expected, const Discount& actual) {
  EXPECT_EQ(expected.mode, actual.mode);
  EXPECT_EQ(expected.percent, actual.percent);
  EXPECT_EQ(expected.freeMins, actual.freeMins);
  EXPECT_EQ(expected.someTimes, actual.someTimes);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(expected.days[i], actual.days[i]) << "day " << i;
  EXPECT_EQ(expected.certain, actual.certain);
  EXPECT_EQ(expected.from, actual.from);
  EXPECT_EQ(expected.to, actual.to);
}

inline void ExpectSameDiscount(const Discount& expected, const Discount& actual) {
  EXPECT_STREQ(expected.name, actual.name);
  ExpectSameDiscountValues(expected, actual);
}

}  // namespace tollwick
