#include "core/connection_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace tollwick {

TEST(IsDottedQuad, AcceptsThreeDotsWithinFifteenCharacters) {
  EXPECT_TRUE(IsDottedQuad("10.0.0.1"));
  EXPECT_TRUE(IsDottedQuad("255.255.255.255"));
  EXPECT_TRUE(IsDottedQuad("..."));  // digits are not checked
}

TEST(IsDottedQuad, RejectsWrongDotCountsAndLongTexts) {
  EXPECT_FALSE(IsDottedQuad(""));
  EXPECT_FALSE(IsDottedQuad("1.2.3"));
  EXPECT_FALSE(IsDottedQuad("1.2.3.4.5"));
  EXPECT_FALSE(IsDottedQuad("1234.255.255.255"));  // 16 characters
  EXPECT_FALSE(IsDottedQuad(std::string(300, '.').c_str()));
  EXPECT_FALSE(IsDottedQuad(nullptr));
}

TEST(DirectCableConnection, MatchesThePrefixCaseSensitively) {
  EXPECT_TRUE(IsDirectCableConnection("Direct Cable Connection"));
  EXPECT_TRUE(IsDirectCableConnection("Direct Cable Connection (COM1)"));
  EXPECT_FALSE(IsDirectCableConnection("direct cable connection"));
  EXPECT_FALSE(IsDirectCableConnection("Direct Cable"));
  EXPECT_FALSE(IsDirectCableConnection("My ISP"));
}

}  // namespace tollwick
