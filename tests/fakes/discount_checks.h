#pragma once
// Discounts for tests: a new one of a name, one built with every field set, and discounts compared
// field by field, so that a failure names the field that differs.

#include <gtest/gtest.h>

#include "charging/charge_profile.h"
#include "platform/packed_time.h"
#include "platform/settings_store.h"

namespace tollwick {

// A new discount of this name and mode, its other values as the user first sees them.
inline Discount Named(const char* name, std::uint32_t mode = kPercentageDiscount) {
  Discount discount = NewDiscount();
  CopyBoundedText(discount.name, kNameChars, name);
  discount.mode = mode;
  return discount;
}

// A discount at certain times (8:30 to 17:45) on Sundays and Saturdays, so that no stored value is
// its default.
inline Discount MakeDiscount(const char* name, std::uint32_t mode, float percent, float freeMins) {
  Discount d;
  CopyBoundedText(d.name, kNameChars, name);
  d.mode = mode;
  d.percent = percent;
  d.freeMins = freeMins;
  d.someTimes = 1;
  d.days[0] = 1;
  d.days[6] = 1;
  d.certain = 1;
  d.from = static_cast<std::int32_t>(MakePackedTime(8, 30));
  d.to = static_cast<std::int32_t>(MakePackedTime(17, 45));
  return d;
}

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
