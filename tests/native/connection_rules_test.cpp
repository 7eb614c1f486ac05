#include "core/connection_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "scripted_probe.h"

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

TEST(FindActiveConnection, AppliesCheckStatusAndNoDccToTheFirstListedConnection) {
  struct Case {
    const char* what;
    std::optional<ListedConnection> listed;
    std::uint32_t checkStatus;
    std::uint32_t noDcc;
    bool active;
  };
  const Case cases[] = {
      {"nothing listed", std::nullopt, 0, 1, false},
      {"listed, status not asked", Listed("My ISP", "1.2.3.4", false), 0, 1, true},
      {"CheckStatus, connected", Listed("My ISP", "1.2.3.4", true), 1, 1, true},
      {"CheckStatus, still on its way up", Listed("My ISP", "1.2.3.4", false), 1, 1, false},
      {"DCC with NoDCC", Listed("Direct Cable Connection"), 0, 1, false},
      {"DCC with a suffix and NoDCC", Listed("Direct Cable Connection (COM1)"), 0, 1, false},
      {"DCC without NoDCC", Listed("Direct Cable Connection"), 0, 0, true},
      {"DCC in other case with NoDCC", Listed("direct cable connection"), 0, 1, true},
      {"DCC connected, CheckStatus and NoDCC", Listed("Direct Cable Connection"), 1, 1, false},
      {"DCC not yet connected without NoDCC", Listed("Direct Cable Connection", "", false), 1, 0,
       false},
  };
  for (const Case& c : cases) {
    ScriptedProbe probe;
    ScriptedAdapters adapters;
    probe.listed = c.listed;
    ProgramSettings settings;
    settings.checkStatus = c.checkStatus;
    settings.noDcc = c.noDcc;
    std::optional<ListedConnection> found = FindActiveConnection(probe, adapters, settings);
    EXPECT_EQ(c.active, found.has_value()) << c.what;
    // The state is a service call of its own, made only under CheckStatus.
    EXPECT_EQ(std::vector<bool>{c.checkStatus == 1}, probe.askedState) << c.what;
    if (found) {
      EXPECT_EQ(c.listed->entryName, found->entryName) << c.what;
    }
  }
}

}  // namespace tollwick
