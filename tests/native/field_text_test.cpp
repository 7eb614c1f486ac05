#include "text/field_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace tollwick {
namespace {

std::string Money(float v) {
  char out[kFieldChars];
  std::memset(out, 'x', sizeof out);
  MoneyFieldText(v, out);
  return out;
}

std::string Number(float v) {
  char out[kFieldChars];
  std::memset(out, 'x', sizeof out);
  NumberFieldText(v, out);
  return out;
}

std::string Label(const char* format, const char* symbol, std::size_t outChars = kFieldChars) {
  char out[kFieldChars];
  std::memset(out, 'x', sizeof out);
  CurrencyLabelText(format, symbol, out, outChars);
  return out;
}

TEST(ParseNumberText, ReadsTheLongestDecimalPrefix) {
  EXPECT_DOUBLE_EQ(ParseNumberText("0.06"), 0.06);
  EXPECT_DOUBLE_EQ(ParseNumberText("  0.06"), 0.06);
  EXPECT_DOUBLE_EQ(ParseNumberText("\t\n12"), 12.0);
  EXPECT_DOUBLE_EQ(ParseNumberText("1.5p"), 1.5);
  EXPECT_DOUBLE_EQ(ParseNumberText("-2.25"), -2.25);
  EXPECT_DOUBLE_EQ(ParseNumberText("+3"), 3.0);
  EXPECT_DOUBLE_EQ(ParseNumberText(".5"), 0.5);
  EXPECT_DOUBLE_EQ(ParseNumberText("-.5"), -0.5);
  EXPECT_DOUBLE_EQ(ParseNumberText("5."), 5.0);
  EXPECT_DOUBLE_EQ(ParseNumberText("1.2.3"), 1.2);
  EXPECT_DOUBLE_EQ(ParseNumberText("1,5"), 1.0);  // the decimal point is always "."
  EXPECT_DOUBLE_EQ(ParseNumberText("007"), 7.0);
}

TEST(ParseNumberText, ExponentOnlyWithDigits) {
  EXPECT_DOUBLE_EQ(ParseNumberText("1e3"), 1000.0);
  EXPECT_DOUBLE_EQ(ParseNumberText("2.5E-2"), 0.025);
  EXPECT_DOUBLE_EQ(ParseNumberText("2e"), 2.0);
  EXPECT_DOUBLE_EQ(ParseNumberText("2e+"), 2.0);
  EXPECT_DOUBLE_EQ(ParseNumberText("2e+x"), 2.0);
}

TEST(ParseNumberText, TextWithoutANumberReadsZero) {
  EXPECT_EQ(ParseNumberText("abc"), 0.0);
  EXPECT_EQ(ParseNumberText(""), 0.0);
  EXPECT_EQ(ParseNumberText("   "), 0.0);
  EXPECT_EQ(ParseNumberText("."), 0.0);
  EXPECT_EQ(ParseNumberText("-"), 0.0);
  EXPECT_EQ(ParseNumberText("\xA3" "5"), 0.0);  // the pound sign is not part of a number
  // Only decimal numbers: the runtime's infinity, NaN and hexadecimal forms are not accepted.
  EXPECT_EQ(ParseNumberText("inf"), 0.0);
  EXPECT_EQ(ParseNumberText("nan"), 0.0);
  EXPECT_EQ(ParseNumberText("0x10"), 0.0);
}

TEST(ParseNumberText, LongDigitRunsAreConvertedWhole) {
  // A field holds at most 99 characters; all of them take part in the number.
  std::string ones(99, '1');
  EXPECT_DOUBLE_EQ(ParseNumberText(ones.c_str()), std::strtod(ones.c_str(), nullptr));
  std::string small = "0." + std::string(90, '0') + "5";
  EXPECT_DOUBLE_EQ(ParseNumberText(small.c_str()), 5e-91);
}

TEST(MoneyFieldText, TwoDecimalsCutNotRounded) {
  EXPECT_EQ(Money(0.05f), "0.05");
  EXPECT_EQ(Money(0.1f), "0.10");
  EXPECT_EQ(Money(1.999f), "1.99");
  EXPECT_EQ(Money(2.675f), "2.67");
  EXPECT_EQ(Money(12.0f), "12.00");
  EXPECT_EQ(Money(-0.5f), "-0.50");
  EXPECT_EQ(Money(0.0f), "0.00");
  EXPECT_EQ(Money(123456.789f), "123456.78");
  // "%f" rounds to six places first: 0.9999999f prints as 1.000000.
  EXPECT_EQ(Money(0.9999999f), "1.00");
}

TEST(MoneyFieldText, TextsWithoutAPointGetOne) {
  EXPECT_EQ(Money(std::numeric_limits<float>::infinity()), "inf.00");
  EXPECT_EQ(Money(-std::numeric_limits<float>::infinity()), "-inf.00");
  EXPECT_EQ(Money(3.4028235e38f), "340282346638528859811704183484516925440.00");
}

TEST(NumberFieldText, TrailingZerosAndPointDropped) {
  EXPECT_EQ(Number(10.5f), "10.5");
  EXPECT_EQ(Number(20.0f), "20");
  EXPECT_EQ(Number(0.0f), "0");
  EXPECT_EQ(Number(0.25f), "0.25");
  EXPECT_EQ(Number(100.0f), "100");  // zeros before the point stay
  EXPECT_EQ(Number(1000000.0f), "1000000");
  EXPECT_EQ(Number(-2.5f), "-2.5");
  EXPECT_EQ(Number(0.1f), "0.1");          // "%f" gives 0.100000
  EXPECT_EQ(Number(2.5e-7f), "0");         // "%f" gives 0.000000
  EXPECT_EQ(Number(-2.5e-7f), "-0");       // "-0.000000": the sign stays
  EXPECT_EQ(Number(0.0000015f), "0.000002");
}

TEST(ParseTimeText, ValidTimes) {
  EXPECT_EQ(ParseTimeText("23:59"), 5947);  // 0x173B
  EXPECT_EQ(ParseTimeText("0:00"), 0);
  EXPECT_EQ(ParseTimeText("8:05"), 0x0805);
  EXPECT_EQ(ParseTimeText("08:05"), 0x0805);
  EXPECT_EQ(ParseTimeText("18:00"), 0x1200);
  EXPECT_EQ(ParseTimeText("0008:0000005"), 0x0805);
}

TEST(ParseTimeText, EmptyPartsCountAsZero) {
  EXPECT_EQ(ParseTimeText(":"), 0);
  EXPECT_EQ(ParseTimeText("7:"), 0x0700);
  EXPECT_EQ(ParseTimeText(":5"), 0x0005);
}

TEST(ParseTimeText, OutOfRangeOrWithoutColonIsInvalid) {
  EXPECT_EQ(ParseTimeText("24:00"), kInvalidTime);
  EXPECT_EQ(ParseTimeText("12:60"), kInvalidTime);
  EXPECT_EQ(ParseTimeText("1200"), kInvalidTime);
  EXPECT_EQ(ParseTimeText(""), kInvalidTime);
  EXPECT_EQ(ParseTimeText("99999999999999999999:00"), kInvalidTime);  // no overflow into range
  EXPECT_EQ(ParseTimeText("0:99999999999999999999"), kInvalidTime);
}

TEST(ParseTimeText, OtherCharactersAreInvalid) {
  EXPECT_EQ(ParseTimeText(" 8:05"), kInvalidTime);
  EXPECT_EQ(ParseTimeText("8:05 "), kInvalidTime);
  EXPECT_EQ(ParseTimeText("8:0a"), kInvalidTime);
  EXPECT_EQ(ParseTimeText("1:2:3"), kInvalidTime);
  EXPECT_EQ(ParseTimeText("1::"), kInvalidTime);
  EXPECT_EQ(ParseTimeText("-1:00"), kInvalidTime);
  EXPECT_EQ(ParseTimeText("8.05"), kInvalidTime);
  // "/" is one below "0": unchecked accumulation would read "1/:00" as 9:00.
  EXPECT_EQ(ParseTimeText("1/:00"), kInvalidTime);
}

TEST(CurrencyLabelText, SymbolReplacesTheOnePlaceholder) {
  EXPECT_EQ(Label("Daytime : %s", "\xA3"), "Daytime : \xA3");
  EXPECT_EQ(Label("%s", "\xA3"), "\xA3");
  EXPECT_EQ(Label("Cost: %s", "EUR"), "Cost: EUR");
  EXPECT_EQ(Label("(%s)", ""), "()");
  EXPECT_EQ(Label("No placeholder", "\xA3"), "No placeholder");
}

TEST(CurrencyLabelText, NeitherFormatNorSymbolIsInterpreted) {
  EXPECT_EQ(Label("%s", "%s%n%d"), "%s%n%d");
  EXPECT_EQ(Label("100% %s", "\xA3"), "100% \xA3");
  EXPECT_EQ(Label("%s and %s", "$"), "$ and %s");
}

TEST(CurrencyLabelText, CutToTheBuffer) {
  EXPECT_EQ(Label("Money: %s", "\xA3", 8), "Money: ");
  EXPECT_EQ(Label("Money: %s", "\xA3", 9), "Money: \xA3");
  EXPECT_EQ(Label("%s!", "ABCDEFGHI", 5), "ABCD");
  EXPECT_EQ(Label("%s", "A", 1), "");
}

}  // namespace
}  // namespace tollwick
