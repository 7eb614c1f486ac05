// rassim.exe run as its own process, as a person or a script drives it, with its effect seen
// through the simulated service in this process.

#include <windows.h>
#include <ras.h>
#include <raserror.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rassim_support.h"
#include "sim_store.h"

namespace {

using rassim_test::CommandResult;
using rassim_test::ConnectState;
using rassim_test::ListConnections;
using rassim_test::ListEntries;
using rassim_test::RunRassim;

constexpr DWORD kDone = 0;
constexpr DWORD kRefused = 1;
constexpr DWORD kBadUsage = 2;
constexpr DWORD kProjectionNotComplete = 730;

// Runs the command and expects it to exit with `code`; gives what it printed.
CommandResult Expect(DWORD code, const std::vector<std::string>& args) {
  CommandResult result = RunRassim(args);
  std::string line;
  for (const std::string& arg : args) line += " " + arg;
  EXPECT_EQ(result.exitCode, code) << "rassim" << line << "\n" << result.out << result.err;
  return result;
}

DWORD Projection(HRASCONN handle, std::string* ip) {
  RASPPPIPA record{};
  record.dwSize = sizeof(record);
  DWORD size = sizeof(record);
  const DWORD result = RasGetProjectionInfoA(handle, RASP_PppIp, &record, &size);
  if (result == ERROR_SUCCESS) *ip = record.szIpAddress;
  return result;
}

class RassimCommand : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(tollwick::rassim::ResetState()); }
};

TEST_F(RassimCommand, EntriesAndAConnectionComeAndGo) {
  Expect(kDone, {"add-entry", "My ISP"});
  Expect(kDone, {"add-entry", "Work"});
  EXPECT_EQ(ListEntries(), (std::vector<std::string>{"My ISP", "Work"}));
  EXPECT_TRUE(ListConnections().empty());

  Expect(kDone, {"up", "Work", "--ip", "192.168.1.20"});
  std::vector<RASCONNA> connections = ListConnections();
  ASSERT_EQ(connections.size(), 1u);
  EXPECT_STREQ(connections[0].szEntryName, "Work");
  EXPECT_EQ(ConnectState(connections[0].hrasconn), RASCS_Connected);
  std::string ip;
  EXPECT_EQ(Projection(connections[0].hrasconn, &ip), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ip, "192.168.1.20");

  const CommandResult list = Expect(kDone, {"list"});
  EXPECT_NE(list.out.find("My ISP"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("connected"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("192.168.1.20"), std::string::npos) << list.out;

  // Names are matched without regard to case.
  Expect(kDone, {"down", "WORK"});
  EXPECT_TRUE(ListConnections().empty());
  EXPECT_EQ(ListEntries().size(), 2u);

  Expect(kDone, {"remove-entry", "my isp"});
  EXPECT_EQ(ListEntries(), std::vector<std::string>{"Work"});
}

TEST_F(RassimCommand, UpAddsAMissingEntryAndDefaultsToConnectedAt10001) {
  Expect(kDone, {"up", "Fresh"});
  EXPECT_EQ(ListEntries(), std::vector<std::string>{"Fresh"});
  const std::vector<RASCONNA> connections = ListConnections();
  ASSERT_EQ(connections.size(), 1u);
  EXPECT_EQ(ConnectState(connections[0].hrasconn), RASCS_Connected);
  std::string ip;
  EXPECT_EQ(Projection(connections[0].hrasconn, &ip), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ip, "10.0.0.1");
}

TEST_F(RassimCommand, AConnectionGoesThroughItsStates) {
  Expect(kDone, {"up", "Slow", "--no-ip", "--state", "connecting"});
  const std::vector<RASCONNA> connections = ListConnections();
  ASSERT_EQ(connections.size(), 1u);
  const HRASCONN handle = connections[0].hrasconn;
  std::string ip;
  EXPECT_EQ(ConnectState(handle), RASCS_ConnectDevice);
  EXPECT_EQ(Projection(handle, &ip), kProjectionNotComplete);

  Expect(kDone, {"state", "Slow", "authenticating"});
  EXPECT_EQ(ConnectState(handle), RASCS_Authenticate);
  Expect(kDone, {"state", "Slow", "connected"});
  EXPECT_EQ(ConnectState(handle), RASCS_Connected);
  EXPECT_EQ(Projection(handle, &ip), static_cast<DWORD>(ERROR_PROTOCOL_NOT_CONFIGURED));

  Expect(kDone, {"up", "Quick", "--state", "authenticating", "--ip", "10.9.8.7"});
  const std::vector<RASCONNA> both = ListConnections();
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0].hrasconn, handle);
  EXPECT_STREQ(both[1].szEntryName, "Quick");
  EXPECT_EQ(ConnectState(both[1].hrasconn), RASCS_Authenticate);
}

TEST_F(RassimCommand, TrafficIsAddedSetWrappedGrownAndMadeToFail) {
  Expect(kDone, {"up", "Data"});
  Expect(kDone, {"traffic", "data", "--received", "100", "--sent", "57"});
  Expect(kDone, {"counters", "Data", "--received", "4294967000"});
  Expect(kDone, {"traffic", "Data", "--received", "500"});
  const HRASCONN handle = ListConnections().at(0).hrasconn;
  RAS_STATS stats{};
  stats.dwSize = sizeof(stats);
  ASSERT_EQ(RasGetConnectionStatistics(handle, &stats), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(stats.dwBytesRcved, 204u);  // wrapped at 4 GiB
  EXPECT_EQ(stats.dwBytesXmited, 57u);
  EXPECT_NE(Expect(kDone, {"list"}).out.find("204 bytes at 0/s, sent 57"), std::string::npos);

  // A rate makes the counts grow with no command run.
  Expect(kDone, {"rate", "Data", "--sent", "100000"});
  for (const DWORD limit = GetTickCount() + 20000;
       stats.dwBytesXmited < 100057 && GetTickCount() < limit; Sleep(50)) {
    ASSERT_EQ(RasGetConnectionStatistics(handle, &stats), static_cast<DWORD>(ERROR_SUCCESS));
  }
  EXPECT_GE(stats.dwBytesXmited, 100057u);

  Expect(kDone, {"stats-fail", "Data", "on"});
  EXPECT_EQ(RasGetConnectionStatistics(handle, &stats), DWORD{ERROR_NOT_ENOUGH_MEMORY});
  Expect(kDone, {"stats-fail", "Data", "off"});
  EXPECT_EQ(RasGetConnectionStatistics(handle, &stats), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST_F(RassimCommand, DownAllAndResetClearWhatTheySay) {
  Expect(kDone, {"up", "One"});
  Expect(kDone, {"up", "Two"});
  Expect(kDone, {"down-all"});
  EXPECT_TRUE(ListConnections().empty());
  EXPECT_EQ(ListEntries(), (std::vector<std::string>{"One", "Two"}));

  Expect(kDone, {"up", "One"});
  const DWORD before = static_cast<DWORD>(
      reinterpret_cast<ULONG_PTR>(ListConnections().at(0).hrasconn));
  Expect(kDone, {"reset"});
  EXPECT_TRUE(ListConnections().empty());
  EXPECT_TRUE(ListEntries().empty());
  // Handles are never given twice, not even after a reset.
  Expect(kDone, {"up", "One"});
  EXPECT_NE(reinterpret_cast<ULONG_PTR>(ListConnections().at(0).hrasconn), before);
}

TEST_F(RassimCommand, ALongestEntryNameGoesThroughWhole) {
  const std::string longest(256, 'q');
  Expect(kDone, {"up", longest});
  const std::vector<RASCONNA> connections = ListConnections();
  ASSERT_EQ(connections.size(), 1u);
  EXPECT_EQ(std::string(connections[0].szEntryName), longest);
  EXPECT_EQ(ListEntries(), std::vector<std::string>{longest});

  Expect(kBadUsage, {"add-entry", std::string(257, 'q')});
  EXPECT_EQ(ListEntries().size(), 1u);
}

TEST_F(RassimCommand, ConflictsAreRefused) {
  Expect(kDone, {"up", "Busy"});
  Expect(kRefused, {"add-entry", "busy"});
  Expect(kRefused, {"up", "BUSY"});
  Expect(kRefused, {"down", "Idle"});
  Expect(kRefused, {"state", "Idle", "connected"});
  Expect(kRefused, {"remove-entry", "Idle"});
  Expect(kRefused, {"traffic", "Idle", "--sent", "1"});
  const CommandResult refused = Expect(kRefused, {"down", "Idle"});
  EXPECT_NE(refused.err.find("Idle"), std::string::npos) << refused.err;
  EXPECT_EQ(ListConnections().size(), 1u);
  EXPECT_EQ(ListEntries(), std::vector<std::string>{"Busy"});
}

TEST_F(RassimCommand, BadUsageShowsTheUsageAndChangesNothing) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"dial", "X"},
      {"up"},
      {"up", "X", "--ip"},
      {"up", "X", "--ip", "10.0.0.256"},
      {"up", "X", "--ip", "10.0.0"},
      {"up", "X", "--state", "flying"},
      {"up", "X", "--state"},
      {"up", "X", "--ip", "1.2.3.4", "--no-ip"},
      {"up", "X", "--state", "connected", "--state", "connecting"},
      {"up", "X", "--speed", "56k"},
      {"state", "X"},
      {"state", "X", "up"},
      {"down"},
      {"add-entry", ""},
      {"list", "extra"},
      {"reset", "now"},
      {"traffic", "X"},
      {"traffic", "X", "--received", "4294967296"},
      {"counters", "X", "--sent", "1", "--sent", "2"},
      {"stats-fail", "X", "maybe"},
  };
  for (const std::vector<std::string>& args : bad) {
    const CommandResult result = Expect(kBadUsage, args);
    EXPECT_NE(result.err.find("Usage: rassim"), std::string::npos) << result.err;
  }
  EXPECT_TRUE(ListConnections().empty());
  EXPECT_TRUE(ListEntries().empty());

  const CommandResult help = Expect(kDone, {"help"});
  EXPECT_NE(help.out.find("Usage: rassim"), std::string::npos);
  EXPECT_NE(help.out.find("down-all"), std::string::npos);
}

}  // namespace
