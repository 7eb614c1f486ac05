#include "platform/little_endian.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tollwick {
namespace {

TEST(GetAmountF32, ANumberThatIsNotFiniteOrAbsurdReadsAsZeroAndAnyOtherKeepsItsBits) {
  struct Case {
    const char* what;
    std::uint32_t stored;
    std::uint32_t read;
  };
  const Case cases[] = {
      {"quiet NaN", 0x7FC00000u, 0},
      {"NaN with payload and sign", 0xFFC00001u, 0},
      {"signalling NaN", 0x7F800001u, 0},
      {"+Inf", 0x7F800000u, 0},
      {"-Inf", 0xFF800000u, 0},
      {"largest finite", 0x7F7FFFFFu, 0},
      {"-1.7e38", 0xFEFFC6A8u, 0},
      {"a billion", 0x4E6E6B28u, 0x4E6E6B28u},
      {"just over a billion", 0x4E6E6B29u, 0},
      {"smallest denormal", 0x00000001u, 0x00000001u},
      {"negative denormal", 0x807FFFFFu, 0x807FFFFFu},
      {"0.05", 0x3D4CCCCDu, 0x3D4CCCCDu},
      {"-2.5", 0xC0200000u, 0xC0200000u},
      {"+0", 0x00000000u, 0x00000000u},
      {"-0", 0x80000000u, 0x80000000u},
  };
  for (const Case& c : cases) {
    std::uint8_t bytes[4];
    PutU32(bytes, c.stored);
    std::uint8_t back[4];
    PutF32(back, GetAmountF32(bytes));
    EXPECT_EQ(c.read, GetU32(back)) << c.what;
  }
}

}  // namespace
}  // namespace tollwick
