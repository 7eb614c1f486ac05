// The simulated service as a program sees it: the system's rasapi32 import library, resolved by
// Wine to the simulator's rasapi32.dll beside this program.

#include <windows.h>
#include <ras.h>
#include <raserror.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "rassim_support.h"
#include "sim_store.h"

namespace {

using rassim_test::AsHandle;
using rassim_test::BringUp;
using rassim_test::ConnectState;
using rassim_test::DwordAt;
using rassim_test::ListConnections;
using rassim_test::ListEntries;
using rassim_test::PutDwordAt;
using rassim_test::TextAt;
using tollwick::rassim::LinkState;

constexpr unsigned char kUntouched = 0xCD;
constexpr DWORD kProjectionNotComplete = 730;  // dropped from newer headers
constexpr DWORD kInvalidArgument = static_cast<DWORD>(E_INVALIDARG);

// The versions of each record in a 64-bit program, oldest first.
constexpr DWORD kRasConnSizes[] = {416, 680, 696, 708, 724};
constexpr DWORD kConnStatusSizes[] = {160, 288, 332};
constexpr DWORD kPppIpSizes[] = {24, 40, 48};
constexpr DWORD kEntryNameSizes[] = {264, 532};

const std::string kLongName(256, 'L');

bool AllUntouched(const std::vector<unsigned char>& buffer, std::size_t from) {
  for (std::size_t i = from; i < buffer.size(); ++i) {
    if (buffer[i] != kUntouched) return false;
  }
  return true;
}

// A buffer of `records` records of `recordSize` bytes, and `slack` bytes after them, all marked;
// the first record's dwSize set as a caller sets it. The slack is wider than any record, so that a
// record written too far lands in it and fails the check instead of corrupting the heap.
std::vector<unsigned char> MarkedBuffer(DWORD recordSize, std::size_t records,
                                        std::size_t slack = 2048) {
  std::vector<unsigned char> buffer(recordSize * records + slack, kUntouched);
  PutDwordAt(buffer.data(), 0, recordSize);
  return buffer;
}

class RasApi : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(tollwick::rassim::ResetState()); }
};

TEST_F(RasApi, EmptyServiceListsNothing) {
  std::vector<unsigned char> buffer = MarkedBuffer(sizeof(RASCONNA), 2);
  DWORD bytes = 2 * sizeof(RASCONNA);
  DWORD count = 99;
  EXPECT_EQ(RasEnumConnectionsA(reinterpret_cast<RASCONNA*>(buffer.data()), &bytes, &count),
            static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(bytes, 0u);
  EXPECT_TRUE(AllUntouched(buffer, sizeof(DWORD)));

  // Sizing query: no buffer.
  bytes = 0;
  count = 99;
  EXPECT_EQ(RasEnumConnectionsA(nullptr, &bytes, &count), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(count, 0u);

  EXPECT_TRUE(ListEntries().empty());
  EXPECT_EQ(ConnectState(AsHandle(tollwick::rassim::kFirstHandle)), -1);
}

TEST_F(RasApi, OneConnectionIsListedWithItsEntryHandleStateAndAddress) {
  const std::uint32_t id = BringUp("My ISP", LinkState::kConnected, "192.168.7.33");
  const std::vector<RASCONNA> connections = ListConnections();
  ASSERT_EQ(connections.size(), 1u);
  EXPECT_EQ(connections[0].dwSize, sizeof(RASCONNA));
  EXPECT_STREQ(connections[0].szEntryName, "My ISP");
  EXPECT_EQ(connections[0].hrasconn, AsHandle(id));
  EXPECT_STREQ(connections[0].szDeviceType, "modem");
  EXPECT_NE(std::string(connections[0].szDeviceName), "");
  EXPECT_EQ(ConnectState(connections[0].hrasconn), RASCS_Connected);

  RASPPPIPA ip{};
  ip.dwSize = sizeof(ip);
  DWORD size = sizeof(ip);
  ASSERT_EQ(RasGetProjectionInfoA(connections[0].hrasconn, RASP_PppIp, &ip, &size),
            static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_STREQ(ip.szIpAddress, "192.168.7.33");
  EXPECT_EQ(ip.dwError, 0u);
  EXPECT_EQ(size, sizeof(ip));
}

TEST_F(RasApi, SeveralConnectionsAreListedInTheOrderTheyCameUpWithStableDistinctHandles) {
  const std::uint32_t first = BringUp("Zeta");
  const std::uint32_t second = BringUp("alpha", LinkState::kConnecting);
  const std::uint32_t third = BringUp("Mid", LinkState::kAuthenticating, "");
  EXPECT_NE(first, second);
  EXPECT_NE(second, third);
  EXPECT_NE(first, third);

  std::vector<RASCONNA> connections = ListConnections();
  ASSERT_EQ(connections.size(), 3u);
  EXPECT_STREQ(connections[0].szEntryName, "Zeta");
  EXPECT_STREQ(connections[1].szEntryName, "alpha");
  EXPECT_STREQ(connections[2].szEntryName, "Mid");
  EXPECT_EQ(connections[0].hrasconn, AsHandle(first));
  EXPECT_EQ(connections[1].hrasconn, AsHandle(second));
  EXPECT_EQ(connections[2].hrasconn, AsHandle(third));

  // The first one drops: the others keep their handles and order.
  rassim_test::TakeDown("Zeta");
  connections = ListConnections();
  ASSERT_EQ(connections.size(), 2u);
  EXPECT_STREQ(connections[0].szEntryName, "alpha");
  EXPECT_EQ(connections[0].hrasconn, AsHandle(second));
  EXPECT_EQ(connections[1].hrasconn, AsHandle(third));

  // Dialled again, it comes last and with a handle never given before.
  const std::uint32_t again = BringUp("Zeta");
  EXPECT_NE(again, first);
  EXPECT_NE(again, second);
  EXPECT_NE(again, third);
  connections = ListConnections();
  ASSERT_EQ(connections.size(), 3u);
  EXPECT_STREQ(connections[2].szEntryName, "Zeta");
  EXPECT_EQ(connections[2].hrasconn, AsHandle(again));
}

TEST_F(RasApi, TooSmallABufferGivesTheSizeAndCountAndWritesNothing) {
  BringUp("One");
  BringUp("Two");
  BringUp("Three");

  std::vector<unsigned char> buffer = MarkedBuffer(sizeof(RASCONNA), 2);
  DWORD bytes = 2 * sizeof(RASCONNA);
  DWORD count = 0;
  EXPECT_EQ(RasEnumConnectionsA(reinterpret_cast<RASCONNA*>(buffer.data()), &bytes, &count),
            static_cast<DWORD>(ERROR_BUFFER_TOO_SMALL));
  EXPECT_EQ(bytes, 3 * sizeof(RASCONNA));
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(DwordAt(buffer.data(), 0), sizeof(RASCONNA));
  EXPECT_TRUE(AllUntouched(buffer, sizeof(DWORD)));

  // A buffer one byte short of the three records is still too small.
  buffer = MarkedBuffer(sizeof(RASCONNA), 3);
  bytes = 3 * sizeof(RASCONNA) - 1;
  EXPECT_EQ(RasEnumConnectionsA(reinterpret_cast<RASCONNA*>(buffer.data()), &bytes, &count),
            static_cast<DWORD>(ERROR_BUFFER_TOO_SMALL));
  EXPECT_TRUE(AllUntouched(buffer, sizeof(DWORD)));

  // No buffer at all: the sizing query a caller makes before allocating.
  bytes = 0;
  count = 0;
  EXPECT_EQ(RasEnumConnectionsA(nullptr, &bytes, &count),
            static_cast<DWORD>(ERROR_BUFFER_TOO_SMALL));
  EXPECT_EQ(bytes, 3 * sizeof(RASCONNA));
  EXPECT_EQ(count, 3u);

  // The size it asked for is enough.
  buffer = MarkedBuffer(sizeof(RASCONNA), 3);
  EXPECT_EQ(RasEnumConnectionsA(reinterpret_cast<RASCONNA*>(buffer.data()), &bytes, &count),
            static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(TextAt(buffer.data(), 2 * sizeof(RASCONNA) + offsetof(RASCONNA, szEntryName),
                   RAS_MaxEntryName + 1),
            "Three");
  EXPECT_TRUE(AllUntouched(buffer, 3 * sizeof(RASCONNA)));
}

TEST_F(RasApi, EveryConnectionRecordVersionIsFilledToItsOwnSizeOnly) {
  const std::uint32_t first = BringUp("First");
  const std::uint32_t second = BringUp(kLongName);
  for (DWORD size : kRasConnSizes) {
    SCOPED_TRACE(size);
    std::vector<unsigned char> buffer = MarkedBuffer(size, 2);
    DWORD bytes = 2 * size;
    DWORD count = 0;
    ASSERT_EQ(RasEnumConnectionsA(reinterpret_cast<RASCONNA*>(buffer.data()), &bytes, &count),
              static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(bytes, 2 * size);
    // The records follow one another at the caller's stride; nothing lands beyond the last one.
    const unsigned char* records[] = {buffer.data(), buffer.data() + size};
    const std::uint32_t ids[] = {first, second};
    const std::string names[] = {"First", kLongName};
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(DwordAt(records[i], 0), size);
      HRASCONN handle = nullptr;
      std::memcpy(&handle, records[i] + offsetof(RASCONNA, hrasconn), sizeof(handle));
      EXPECT_EQ(handle, AsHandle(ids[i]));
      EXPECT_EQ(TextAt(records[i], offsetof(RASCONNA, szEntryName), RAS_MaxEntryName + 1),
                names[i]);
      EXPECT_EQ(TextAt(records[i], offsetof(RASCONNA, szDeviceType), RAS_MaxDeviceType + 1),
                "modem");
      if (size >= 680) {
        EXPECT_NE(TextAt(records[i], offsetof(RASCONNA, szPhonebook), MAX_PATH).find(".pbk"),
                  std::string::npos);
      }
      if (size >= 708) {
        EXPECT_EQ(DwordAt(records[i], offsetof(RASCONNA, luid)), ids[i]);
      }
    }
    EXPECT_TRUE(AllUntouched(buffer, 2 * size));
  }
}

TEST_F(RasApi, UnknownRecordSizesAreRefused) {
  const std::uint32_t id = BringUp("Dial");

  // 412 is the oldest RASCONNA in a 32-bit program; a 64-bit one has a wider handle and needs 416.
  for (DWORD size : std::initializer_list<DWORD>{0, 4, 412, 700, 709, sizeof(RASCONNW)}) {
    SCOPED_TRACE(size);
    std::vector<unsigned char> buffer = MarkedBuffer(size < 4 ? 4 : size, 2);
    PutDwordAt(buffer.data(), 0, size);
    DWORD bytes = static_cast<DWORD>(buffer.size());
    DWORD count = 0;
    EXPECT_EQ(RasEnumConnectionsA(reinterpret_cast<RASCONNA*>(buffer.data()), &bytes, &count),
              static_cast<DWORD>(ERROR_INVALID_SIZE));
    EXPECT_TRUE(AllUntouched(buffer, sizeof(DWORD)));
  }
  for (DWORD size : std::initializer_list<DWORD>{0, 159, 161, 287, sizeof(RASCONNSTATUSW)}) {
    SCOPED_TRACE(size);
    std::vector<unsigned char> buffer = MarkedBuffer(600, 1);
    PutDwordAt(buffer.data(), 0, size);
    EXPECT_EQ(RasGetConnectStatusA(AsHandle(id), reinterpret_cast<RASCONNSTATUSA*>(buffer.data())),
              static_cast<DWORD>(ERROR_INVALID_SIZE));
    EXPECT_TRUE(AllUntouched(buffer, sizeof(DWORD)));
  }
  for (DWORD size : std::initializer_list<DWORD>{0, 32, 44, sizeof(RASPPPIPW)}) {
    SCOPED_TRACE(size);
    std::vector<unsigned char> buffer = MarkedBuffer(200, 1);
    PutDwordAt(buffer.data(), 0, size);
    DWORD bytes = 200;
    EXPECT_EQ(RasGetProjectionInfoA(AsHandle(id), RASP_PppIp, buffer.data(), &bytes),
              static_cast<DWORD>(ERROR_INVALID_SIZE));
    EXPECT_TRUE(AllUntouched(buffer, sizeof(DWORD)));
  }
  for (DWORD size : std::initializer_list<DWORD>{0, 56, 64}) {  // RAS_STATS has one size, 60
    std::vector<unsigned char> buffer = MarkedBuffer(200, 1);
    PutDwordAt(buffer.data(), 0, size);
    EXPECT_EQ(RasGetConnectionStatistics(AsHandle(id), reinterpret_cast<RAS_STATS*>(buffer.data())),
              kInvalidArgument) << size;
    EXPECT_TRUE(AllUntouched(buffer, sizeof(DWORD)));
  }
  rassim_test::SetEntries({"Dial"});
  for (DWORD size : std::initializer_list<DWORD>{0, 263, 268, sizeof(RASENTRYNAMEW)}) {
    SCOPED_TRACE(size);
    std::vector<unsigned char> buffer = MarkedBuffer(size < 4 ? 4 : size, 2);
    PutDwordAt(buffer.data(), 0, size);
    DWORD bytes = static_cast<DWORD>(buffer.size());
    DWORD count = 0;
    EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, reinterpret_cast<RASENTRYNAMEA*>(buffer.data()),
                              &bytes, &count),
              static_cast<DWORD>(ERROR_INVALID_SIZE));
    EXPECT_TRUE(AllUntouched(buffer, sizeof(DWORD)));
  }
}

TEST_F(RasApi, ConnectStatusFollowsTheStateChanges) {
  const std::uint32_t id = BringUp("Dial", LinkState::kConnecting);
  const HRASCONN handle = AsHandle(id);
  EXPECT_EQ(ConnectState(handle), RASCS_ConnectDevice);
  rassim_test::SetLinkState("Dial", LinkState::kAuthenticating);
  EXPECT_EQ(ConnectState(handle), RASCS_Authenticate);
  rassim_test::SetLinkState("Dial", LinkState::kConnected);
  EXPECT_EQ(ConnectState(handle), RASCS_Connected);
  // A state change keeps the connection's place and handle.
  const std::vector<RASCONNA> connections = ListConnections();
  ASSERT_EQ(connections.size(), 1u);
  EXPECT_EQ(connections[0].hrasconn, handle);

  for (DWORD size : kConnStatusSizes) {
    SCOPED_TRACE(size);
    std::vector<unsigned char> buffer = MarkedBuffer(size, 1);
    ASSERT_EQ(RasGetConnectStatusA(handle, reinterpret_cast<RASCONNSTATUSA*>(buffer.data())),
              static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(DwordAt(buffer.data(), 0), size);
    EXPECT_EQ(DwordAt(buffer.data(), offsetof(RASCONNSTATUSA, rasconnstate)),
              static_cast<DWORD>(RASCS_Connected));
    EXPECT_EQ(DwordAt(buffer.data(), offsetof(RASCONNSTATUSA, dwError)), 0u);
    EXPECT_EQ(TextAt(buffer.data(), offsetof(RASCONNSTATUSA, szDeviceType), RAS_MaxDeviceType + 1),
              "modem");
    EXPECT_TRUE(AllUntouched(buffer, size));
  }
}

TEST_F(RasApi, HandlesOfConnectionsThatAreGoneAreInvalid) {
  const std::uint32_t id = BringUp("Dial");
  BringUp("Other");
  rassim_test::TakeDown("Dial");

  RASCONNSTATUSA status{};
  status.dwSize = sizeof(status);
  EXPECT_EQ(RasGetConnectStatusA(AsHandle(id), &status), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(RasGetConnectStatusA(nullptr, &status), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(RasGetConnectStatusA(AsHandle(0x7777), &status),
            static_cast<DWORD>(ERROR_INVALID_HANDLE));
  // A handle whose low 32 bits name a live connection is still not that connection.
  const std::vector<RASCONNA> live = ListConnections();
  ASSERT_EQ(live.size(), 1u);
  const ULONG_PTR wide = reinterpret_cast<ULONG_PTR>(live[0].hrasconn) | (ULONG_PTR{1} << 40);
  EXPECT_EQ(RasGetConnectStatusA(reinterpret_cast<HRASCONN>(wide), &status),
            static_cast<DWORD>(ERROR_INVALID_HANDLE));

  RASPPPIPA ip{};
  ip.dwSize = sizeof(ip);
  DWORD size = sizeof(ip);
  EXPECT_EQ(RasGetProjectionInfoA(AsHandle(id), RASP_PppIp, &ip, &size),
            static_cast<DWORD>(ERROR_INVALID_HANDLE));
  RAS_STATS stats{};
  stats.dwSize = sizeof(stats);
  EXPECT_EQ(RasGetConnectionStatistics(AsHandle(id), &stats), DWORD{ERROR_INVALID_HANDLE});
  EXPECT_EQ(RasGetConnectionStatistics(nullptr, &stats), kInvalidArgument);  // as documented
}

TEST_F(RasApi, ProjectionGivesTheAddressInEveryRecordVersion) {
  const HRASCONN handle = AsHandle(BringUp("Dial", LinkState::kConnected, "255.255.255.255"));
  for (DWORD size : kPppIpSizes) {
    SCOPED_TRACE(size);
    std::vector<unsigned char> buffer = MarkedBuffer(size, 1);
    DWORD bytes = size;
    ASSERT_EQ(RasGetProjectionInfoA(handle, RASP_PppIp, buffer.data(), &bytes),
              static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(bytes, size);
    EXPECT_EQ(DwordAt(buffer.data(), 0), size);
    EXPECT_EQ(DwordAt(buffer.data(), offsetof(RASPPPIPA, dwError)), 0u);
    EXPECT_EQ(TextAt(buffer.data(), offsetof(RASPPPIPA, szIpAddress), RAS_MaxIpAddress + 1),
              "255.255.255.255");
    EXPECT_TRUE(AllUntouched(buffer, size));
  }

  // A size smaller than the record: the size needed, nothing written.
  std::vector<unsigned char> buffer = MarkedBuffer(sizeof(RASPPPIPA), 1);
  DWORD bytes = sizeof(RASPPPIPA) - 1;
  EXPECT_EQ(RasGetProjectionInfoA(handle, RASP_PppIp, buffer.data(), &bytes),
            static_cast<DWORD>(ERROR_BUFFER_TOO_SMALL));
  EXPECT_EQ(bytes, sizeof(RASPPPIPA));
  EXPECT_TRUE(AllUntouched(buffer, sizeof(DWORD)));
}

TEST_F(RasApi, ProjectionFailsWithoutAnAddressOrBeforeConnectedAndLeavesTheRecordAlone) {
  const HRASCONN noIp = AsHandle(BringUp("No address", LinkState::kConnected, ""));
  const HRASCONN dialling = AsHandle(BringUp("Dialling", LinkState::kAuthenticating, "10.1.2.3"));

  RASPPPIPA ip{};
  ip.dwSize = sizeof(ip);
  std::strcpy(ip.szIpAddress, "untouched");
  DWORD size = sizeof(ip);
  EXPECT_EQ(RasGetProjectionInfoA(noIp, RASP_PppIp, &ip, &size),
            static_cast<DWORD>(ERROR_PROTOCOL_NOT_CONFIGURED));
  EXPECT_STREQ(ip.szIpAddress, "untouched");
  EXPECT_EQ(RasGetProjectionInfoA(dialling, RASP_PppIp, &ip, &size), kProjectionNotComplete);
  EXPECT_STREQ(ip.szIpAddress, "untouched");

  // Once the dialling one is connected its address is there.
  rassim_test::SetLinkState("Dialling", LinkState::kConnected);
  EXPECT_EQ(RasGetProjectionInfoA(dialling, RASP_PppIp, &ip, &size),
            static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_STREQ(ip.szIpAddress, "10.1.2.3");

  // Only IP is negotiated; other protocols were never configured.
  std::strcpy(ip.szIpAddress, "untouched");
  EXPECT_EQ(RasGetProjectionInfoA(dialling, RASP_PppLcp, &ip, &size),
            static_cast<DWORD>(ERROR_PROTOCOL_NOT_CONFIGURED));
  EXPECT_EQ(RasGetProjectionInfoA(dialling, static_cast<RASPROJECTION>(0x1234), &ip, &size),
            static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_STREQ(ip.szIpAddress, "untouched");
}

TEST_F(RasApi, MissingOutputPointersAreInvalidParameters) {
  const HRASCONN handle = AsHandle(BringUp("Dial"));
  RASCONNA connection{};
  connection.dwSize = sizeof(connection);
  DWORD bytes = sizeof(connection);
  DWORD count = 0;
  EXPECT_EQ(RasEnumConnectionsA(&connection, nullptr, &count),
            static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(RasEnumConnectionsA(&connection, &bytes, nullptr),
            static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(RasGetConnectStatusA(handle, nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  RASPPPIPA ip{};
  ip.dwSize = sizeof(ip);
  EXPECT_EQ(RasGetProjectionInfoA(handle, RASP_PppIp, &ip, nullptr),
            static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(RasGetProjectionInfoA(handle, RASP_PppIp, nullptr, &bytes),
            static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(RasGetConnectionStatistics(handle, nullptr), kInvalidArgument);
  RASENTRYNAMEA entry{};
  entry.dwSize = sizeof(entry);
  EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, &entry, nullptr, &count),
            static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(RasEnumEntriesA("reserved", nullptr, &entry, &bytes, &count),
            static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(RasApi, EntriesAreListedInOrderInBothRecordVersions) {
  rassim_test::SetEntries({"Work", ".Default", kLongName, "Direct Cable Connection"});
  EXPECT_EQ(ListEntries(),
            (std::vector<std::string>{"Work", ".Default", kLongName, "Direct Cable Connection"}));

  for (DWORD size : kEntryNameSizes) {
    SCOPED_TRACE(size);
    std::vector<unsigned char> buffer = MarkedBuffer(size, 4);
    DWORD bytes = 4 * size;
    DWORD count = 0;
    ASSERT_EQ(RasEnumEntriesA(nullptr, nullptr, reinterpret_cast<RASENTRYNAMEA*>(buffer.data()),
                              &bytes, &count),
              static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(bytes, 4 * size);
    const unsigned char* third = buffer.data() + 2 * size;
    EXPECT_EQ(DwordAt(third, 0), size);
    EXPECT_EQ(TextAt(third, offsetof(RASENTRYNAMEA, szEntryName), RAS_MaxEntryName + 1),
              kLongName);
    if (size == sizeof(RASENTRYNAMEA)) {
      EXPECT_EQ(DwordAt(third, offsetof(RASENTRYNAMEA, dwFlags)), static_cast<DWORD>(REN_User));
      EXPECT_NE(TextAt(third, offsetof(RASENTRYNAMEA, szPhonebookPath), MAX_PATH + 1)
                    .find("rasphone.pbk"),
                std::string::npos);
    }
    EXPECT_TRUE(AllUntouched(buffer, 4 * size));
  }
}

TEST_F(RasApi, EntriesInTooSmallABufferGiveTheSizeAndCountAndWriteNothing) {
  rassim_test::SetEntries({"A", "B", "C"});
  // The program's own sizing: room for a fixed number of the oldest records.
  std::vector<unsigned char> buffer = MarkedBuffer(264, 2);
  DWORD bytes = 2 * 264;
  DWORD count = 0;
  EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, reinterpret_cast<RASENTRYNAMEA*>(buffer.data()),
                            &bytes, &count),
            static_cast<DWORD>(ERROR_BUFFER_TOO_SMALL));
  EXPECT_EQ(bytes, 3 * 264u);
  EXPECT_EQ(count, 3u);
  EXPECT_TRUE(AllUntouched(buffer, sizeof(DWORD)));

  bytes = 0;
  EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, nullptr, &bytes, &count),
            static_cast<DWORD>(ERROR_BUFFER_TOO_SMALL));
  EXPECT_EQ(bytes, 3 * sizeof(RASENTRYNAMEA));
  EXPECT_EQ(count, 3u);
}

TEST_F(RasApi, EntriesOfANamedPhoneBook) {
  rassim_test::SetEntries({"Only"});
  RASENTRYNAMEA records[2] = {};
  records[0].dwSize = sizeof(RASENTRYNAMEA);
  DWORD bytes = sizeof(records);
  DWORD count = 0;
  ASSERT_EQ(RasEnumEntriesA(nullptr, nullptr, records, &bytes, &count),
            static_cast<DWORD>(ERROR_SUCCESS));
  const std::string path = records[0].szPhonebookPath;
  ASSERT_FALSE(path.empty());

  // The phone book the entries name is the one that holds them; no other file exists.
  RASENTRYNAMEA again[2] = {};
  again[0].dwSize = sizeof(RASENTRYNAMEA);
  bytes = sizeof(again);
  ASSERT_EQ(RasEnumEntriesA(nullptr, path.c_str(), again, &bytes, &count),
            static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(count, 1u);
  EXPECT_STREQ(again[0].szEntryName, "Only");
  EXPECT_EQ(RasEnumEntriesA(nullptr, "C:\\nowhere\\other.pbk", again, &bytes, &count),
            static_cast<DWORD>(ERROR_CANNOT_OPEN_PHONEBOOK));
}

TEST_F(RasApi, DamagedStoredRecordsAreSkipped) {
  const std::vector<std::string> connections = {
      "garbage",
      "4097 connected 10.0.0.1 Good one",
      "0 connected none Zero handle",
      "4098 flying none Bad state",
      "4099 connected 300.1.1.1 Bad address",
      "4097 connected none Same handle",
      "4100 connected none ",
      "99999999999 connected none Too big",
  };
  const std::vector<std::string> entries = {"Kept", std::string(257, 'x'), "kept", "Also kept"};
  // The good traffic record comes first: any bad one read after it would replace it.
  const std::string traffic = tollwick::rassim::EncodeMultiString(
      {"4097 700 300 0 0 0 0", "4097 1 2 0 0 0", "4097 1 2 0 0 0 2", "4097 4294967296 2 0 0 0 0"});
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, tollwick::rassim::kStoreKey, 0, nullptr, 0,
                            KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const std::string connectionData = tollwick::rassim::EncodeMultiString(connections);
  const std::string entryData = tollwick::rassim::EncodeMultiString(entries);
  RegSetValueExA(key, "Connections", 0, REG_MULTI_SZ,
                 reinterpret_cast<const BYTE*>(connectionData.data()),
                 static_cast<DWORD>(connectionData.size()));
  RegSetValueExA(key, "Entries", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(entryData.data()),
                 static_cast<DWORD>(entryData.size()));
  RegSetValueExA(key, "Traffic", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(traffic.data()),
                 static_cast<DWORD>(traffic.size()));
  RegCloseKey(key);

  const std::vector<RASCONNA> listed = ListConnections();
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_STREQ(listed[0].szEntryName, "Good one");
  EXPECT_EQ(listed[0].hrasconn, AsHandle(4097));
  EXPECT_EQ(ListEntries(), (std::vector<std::string>{"Kept", "Also kept"}));
  RAS_STATS stats{};
  stats.dwSize = sizeof(stats);
  ASSERT_EQ(RasGetConnectionStatistics(AsHandle(4097), &stats), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(stats.dwBytesRcved, 700u);
  EXPECT_EQ(stats.dwBytesXmited, 300u);

  // A value of the wrong type reads as empty.
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, tollwick::rassim::kStoreKey, 0, KEY_WRITE, &key),
            ERROR_SUCCESS);
  RegSetValueExA(key, "Connections", 0, REG_SZ, reinterpret_cast<const BYTE*>("4097"), 5);
  RegCloseKey(key);
  EXPECT_TRUE(ListConnections().empty());
}

}  // namespace
