#include "core/call_length_text.h"

#include <gtest/gtest.h>

namespace tollwick {
namespace {

struct LengthCase {
  int hours, minutes, seconds;
  const char* text;
};

// Minutes and seconds are padded to two digits, the hours never; nothing is cut.
const LengthCase kLengths[] = {
    {0, 0, 0, "0:00:00"},     {1, 5, 7, "1:05:07"},       {12, 30, 45, "12:30:45"},
    {0, 9, 59, "0:09:59"},    {0, 10, 0, "0:10:00"},
    {100, 0, 1, "100:00:01"}, {2147483647, 99, 99, "2147483647:99:99"},
};

TEST(CallLengthTextTest, PadsMinutesAndSecondsOnly) {
  for (const LengthCase& c : kLengths) {
    EXPECT_EQ(c.text, FormatCallLength(c.hours, c.minutes, c.seconds));
  }
}

}  // namespace
}  // namespace tollwick
