#include "text/money_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "fake_environment.h"
#include "text/volume_text.h"

namespace tollwick {
namespace {

std::string Money(FakeEnvironment& env, float amount) {
  char out[kMoneyTextChars];
  std::memset(out, 'x', sizeof out);
  MoneyText(env, amount, out);
  return out;
}

std::string TimeText(PackedTime t) {
  char out[kPackedTimeTextChars];
  PackedTimeText(t, out);
  return out;
}

std::string Date(std::uint32_t d, std::uint32_t m, std::uint32_t y) {
  char out[kDateTextChars];
  DateText(d, m, y, out);
  return out;
}

TEST(MoneyText, FormatsThroughTheUsersCurrencySettings) {
  FakeEnvironment env;
  EXPECT_EQ(Money(env, 0.0f), "\xA3" "0.00");
  EXPECT_EQ(Money(env, 12.345f), "\xA3" "12.35");  // "%f" gives 12.345000, rounded half up
  EXPECT_EQ(Money(env, 0.05f), "\xA3" "0.05");
  EXPECT_EQ(Money(env, -1.5f), "-\xA3" "1.50");
  EXPECT_EQ(Money(env, 1234567.0f), "\xA3" "1,234,567.00");
  EXPECT_EQ(Money(env, 0.995f), "\xA3" "1.00");  // 0.995 is 0.995000 after "%f" and carries
  env.currencySymbol = "EUR ";
  EXPECT_EQ(Money(env, 2.0f), "EUR 2.00");
}

TEST(MoneyText, RoundsTheSixDecimalTextNotTheFloat) {
  FakeEnvironment env;
  // 2.675f is 2.67499995..., but "%f" prints 2.675000 and the currency format rounds that half up.
  EXPECT_EQ(Money(env, 2.675f), "\xA3" "2.68");
  EXPECT_EQ(Money(env, 0.004f), "\xA3" "0.00");
}

TEST(MoneyText, AmountsAtTheEdgeOfTheTwentyByteBuffers) {
  FakeEnvironment env;
  // The float nearest 10^12 is 999999995904: "%f" gives 19 characters, the currency text 19.
  EXPECT_EQ(Money(env, 1e12f), "\xA3" "999,999,995,904.00");
  EXPECT_EQ(Money(env, 1000000061440.0f), "");  // the next float: "%f" needs 20 characters
  EXPECT_EQ(Money(env, -99999997952.0f), "-\xA3" "99,999,997,952.00");  // 19 and 19
  EXPECT_EQ(Money(env, -100000006144.0f), "");  // "-100000006144.000000" is 20 characters
  // A number text that fits but a currency text that does not.
  env.currencySymbol = "EUR ";
  EXPECT_EQ(Money(env, 1e12f), "");
  EXPECT_EQ(Money(env, 1e8f), "EUR 100,000,000.00");
  EXPECT_EQ(Money(env, 1e9f), "");  // "EUR 1,000,000,000.00" needs 21 bytes
}

TEST(MoneyText, FailuresGiveAnEmptyText) {
  FakeEnvironment env;
  env.failFormatting = true;
  EXPECT_EQ(Money(env, 1.0f), "");
  env.failFormatting = false;
  int calls = env.formatCalls;
  EXPECT_EQ(Money(env, std::numeric_limits<float>::quiet_NaN()), "");
  EXPECT_EQ(Money(env, std::numeric_limits<float>::infinity()), "");
  EXPECT_EQ(Money(env, -std::numeric_limits<float>::infinity()), "");
  EXPECT_EQ(env.formatCalls, calls);  // nothing that is no amount reaches the formatter
}

TEST(PackedTimeText, HoursUnpaddedMinutesTwoDigitsAtLeast) {
  EXPECT_EQ(TimeText(0), "0:00");
  EXPECT_EQ(TimeText(0x0009), "0:09");
  EXPECT_EQ(TimeText(0x0100), "1:00");
  EXPECT_EQ(TimeText(0x0105), "1:05");
  EXPECT_EQ(TimeText(MakePackedTime(10, 59)), "10:59");
  EXPECT_EQ(TimeText(0x173B), "23:59");
  EXPECT_EQ(TimeText(MakePackedTime(100, 0)), "100:00");
  EXPECT_EQ(TimeText(0x0160), "1:96");
  EXPECT_EQ(TimeText(MakePackedTime(0, 100)), "0:100");
}

TEST(PackedTimeText, ReadsOnlyTheLowTwoBytes) {
  EXPECT_EQ(TimeText(0xFFFFFFFFu), "255:255");
  EXPECT_EQ(TimeText(0x00010000u), "0:00");
  EXPECT_EQ(TimeText(0x12340105u), "1:05");
}

TEST(DateText, DayMonthYearWithoutLeadingZeros) {
  EXPECT_EQ(Date(7, 12, 2000), "7/12/2000");
  EXPECT_EQ(Date(1, 1, 2000), "1/1/2000");
  EXPECT_EQ(Date(31, 10, 1999), "31/10/1999");
  EXPECT_EQ(Date(0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu), "-1/-2147483648/2147483647");
}

TEST(AddPackedTime, CarriesMinutesIntoHours) {
  EXPECT_EQ(AddPackedTime(0x0130, 0x012D), 0x0321u);  // 1:48 + 1:45 = 3:33
  EXPECT_EQ(AddPackedTime(0x0000, 0x0105), 0x0105u);
  EXPECT_EQ(AddPackedTime(MakePackedTime(0, 30), MakePackedTime(0, 30)), MakePackedTime(1, 0));
  EXPECT_EQ(AddPackedTime(MakePackedTime(0, 59), MakePackedTime(0, 0)), MakePackedTime(0, 59));
  // Out-of-range minutes (up to 255 each) carry several hours at once.
  EXPECT_EQ(AddPackedTime(MakePackedTime(1, 255), MakePackedTime(2, 255)), MakePackedTime(11, 30));
}

TEST(AddPackedTime, HoursOverflowIntoBitSixteenAndReadersIgnoreIt) {
  PackedTime sum = AddPackedTime(MakePackedTime(255, 59), MakePackedTime(0, 1));
  EXPECT_EQ(sum, 0x10000u);
  EXPECT_EQ(TimeText(sum), "0:00");
  // Inputs with high bits set contribute only their low two bytes.
  EXPECT_EQ(AddPackedTime(0xABCD0102u, 0x00000203u), 0x0305u);
  EXPECT_EQ(AddPackedTime(0xFFFFFFFFu, 0), (259u << 8) | 15u);  // 255 h + 255 min = 259:15
}

// Binary units, one decimal rounded half up; a figure that rounds to 1,024 of a unit moves up one.
TEST(VolumeText, ReadableFigureAndPlainMegabytes) {
  struct Case {
    std::uint64_t bytes;
    const char* readable;
    const char* megabytes;
  };
  const Case cases[] = {
      {1, "1 byte", "0.0"},        {1023, "1023 bytes", "0.0"}, {1075, "1.0 KB", "0.0"},
      {1076, "1.1 KB", "0.0"},     {52428, "51.2 KB", "0.0"},   {52429, "51.2 KB", "0.1"},
      {1048525, "1.0 MB", "1.0"},  {1572864, "1.5 MB", "1.5"},  {1u << 30, "1.0 GB", "1024.0"},
      {~0ull, "17179869184.0 GB", "17592186044416.0"},
  };
  for (const Case& c : cases) {
    char out[kVolumeTextChars];
    VolumeText(c.bytes, out);
    EXPECT_STREQ(c.readable, out) << c.bytes;
    EXPECT_EQ(std::strlen(c.megabytes), MegabytesText(c.bytes, out));
    EXPECT_STREQ(c.megabytes, out) << c.bytes;
  }
}

}  // namespace
}  // namespace tollwick
