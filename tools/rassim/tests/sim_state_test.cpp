// The rules of the simulator's model and the text it keeps in the registry.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_state.h"

namespace {

using namespace tollwick::rassim;

TEST(SimStateText, AddressesAreFourNumbersUpTo255) {
  for (const char* good : {"10.0.0.1", "0.0.0.0", "255.255.255.255", "192.168.001.010"}) {
    EXPECT_TRUE(IsValidIpAddress(good)) << good;
  }
  for (const char* bad : {"", "10.0.0", "10.0.0.1.2", "10.0.0.256", "10..0.1", ".10.0.0.1",
                          "10.0.0.1.", "1a.0.0.1", "10.0.0.0001", " 10.0.0.1", "1000.0.0.1",
                          "none"}) {
    EXPECT_FALSE(IsValidIpAddress(bad)) << bad;
  }
}

TEST(SimStateText, EntryNamesAreOneTo256CharactersMatchedWithoutCase) {
  EXPECT_TRUE(IsValidEntryName("x"));
  EXPECT_TRUE(IsValidEntryName(std::string(256, 'n')));
  EXPECT_FALSE(IsValidEntryName(""));
  EXPECT_FALSE(IsValidEntryName(std::string(257, 'n')));
  EXPECT_FALSE(IsValidEntryName(std::string("a\0b", 3)));

  EXPECT_TRUE(SameEntryName("My ISP", "my isp"));
  EXPECT_FALSE(SameEntryName("My ISP", "My ISP "));
  EXPECT_FALSE(SameEntryName("a", "b"));
  // Only ASCII letters fold: '[' and '{' are not the same as any letter.
  EXPECT_FALSE(SameEntryName("[", "{"));

  EXPECT_EQ(CleanEntries({"One", "", "one", std::string(257, 'x'), "Two"}),
            (std::vector<std::string>{"One", "Two"}));
}

TEST(SimStateText, StatesHaveTheirCommandNames) {
  LinkState state = LinkState::kConnected;
  ASSERT_TRUE(ParseLinkState("connecting", &state));
  EXPECT_EQ(state, LinkState::kConnecting);
  ASSERT_TRUE(ParseLinkState("authenticating", &state));
  EXPECT_EQ(state, LinkState::kAuthenticating);
  ASSERT_TRUE(ParseLinkState("connected", &state));
  EXPECT_EQ(state, LinkState::kConnected);
  EXPECT_FALSE(ParseLinkState("Connected", &state));
  EXPECT_FALSE(ParseLinkState("", &state));
  EXPECT_STREQ(LinkStateName(LinkState::kAuthenticating), "authenticating");
}

TEST(SimStateText, MultiStringsRoundTripAndToleratesAMissingTerminator) {
  const std::vector<std::string> texts = {"first", "second one", "3"};
  const std::string data = EncodeMultiString(texts);
  EXPECT_EQ(data, std::string("first\0second one\0" "3\0\0", 20));
  EXPECT_EQ(DecodeMultiString(data.data(), data.size()), texts);
  EXPECT_EQ(DecodeMultiString("ab\0cd", 5), (std::vector<std::string>{"ab", "cd"}));
  EXPECT_TRUE(DecodeMultiString("\0", 1).empty());
  EXPECT_TRUE(DecodeMultiString("", 0).empty());
  EXPECT_EQ(EncodeMultiString({}), std::string(1, '\0'));
}

TEST(SimStateText, ConnectionsRoundTripWithSpacesInNamesAndNoAddress) {
  Connection with;
  with.handle = 4097;
  with.state = LinkState::kAuthenticating;
  with.ip = "10.0.0.1";
  with.entry = "My  ISP with spaces ";
  Connection without;
  without.handle = 0xFFFFFFFFu;
  without.state = LinkState::kConnecting;
  without.entry = "none";

  EXPECT_EQ(EncodeConnection(with), "4097 authenticating 10.0.0.1 My  ISP with spaces ");
  EXPECT_EQ(EncodeConnection(without), "4294967295 connecting none none");
  const std::vector<Connection> decoded = DecodeConnections(EncodeConnections({with, without}));
  ASSERT_EQ(decoded.size(), 2u);
  EXPECT_EQ(decoded[0].handle, with.handle);
  EXPECT_EQ(decoded[0].state, with.state);
  EXPECT_EQ(decoded[0].ip, with.ip);
  EXPECT_EQ(decoded[0].entry, with.entry);
  EXPECT_EQ(decoded[1].handle, without.handle);
  EXPECT_EQ(decoded[1].ip, "");
  EXPECT_EQ(decoded[1].entry, "none");

  Connection ignored;
  for (const char* bad : {"", "1 connected", "1 connected none", "1 connected none ",
                          "x connected none A", "1 up none A", "1 connected 1.2.3 A",
                          "4294967296 connected none A", "-1 connected none A"}) {
    EXPECT_FALSE(DecodeConnection(bad, &ignored)) << bad;
  }
}

TEST(SimStateText, FindsEntriesAndConnectionsByNameAndHandle) {
  SimState state;
  state.entries = {"Alpha", "Beta"};
  Connection one;
  one.handle = 7;
  one.entry = "Beta";
  Connection two;
  two.handle = 9;
  two.entry = "Gamma";
  state.connections = {one, two};
  EXPECT_EQ(FindEntry(state, "BETA"), 1);
  EXPECT_EQ(FindEntry(state, "Gamma"), -1);
  EXPECT_EQ(FindConnection(state, "gamma"), 1);
  EXPECT_EQ(FindConnection(state, "Alpha"), -1);
  ASSERT_NE(FindConnectionByHandle(state.connections, 9), nullptr);
  EXPECT_EQ(FindConnectionByHandle(state.connections, 9)->entry, "Gamma");
  EXPECT_EQ(FindConnectionByHandle(state.connections, 8), nullptr);
}

TEST(SimStateText, CountersGrowAtTheirRatesAndWrapAt4GiB) {
  constexpr std::uint64_t kStart = 13'000'000'000'000;  // ms since 1601, in this century
  constexpr std::uint64_t kTenYears = 315'360'000'000;
  struct Case {
    std::uint32_t count, rate;
    std::uint64_t now;
    std::uint32_t expected;
  } const cases[] = {
      {100, 1000, kStart + 2500, 2600},           {0, 3, kStart + 999, 2},  // whole bytes only
      {0xFFFFFF00u, 0x200, kStart + 1000, 0x100},  // past 2^32
      {0xFFFFFFFFu, 0xFFFFFFFFu, kStart + kTenYears, 0xFFFFFFFFu - 315'360'000},  // no overflow
      {500, 1000, kStart - 5000, 500},             // the clock went back
  };
  for (const Case& c : cases) {
    Traffic traffic{c.count, 7, c.rate, 0, kStart, false};
    AdvanceTraffic(&traffic, c.now);
    EXPECT_EQ(traffic.received, c.expected) << c.count << " at " << c.rate << "/s";
    EXPECT_EQ(traffic.sent, 7u);
  }
}

}  // namespace
