#include "core/win32/connection_win32.h"

#include <string>
#include <vector>

#include "platform/win32/ras_records.h"

namespace tollwick {
namespace {

constexpr DWORD kInitialRecords = 12;  // room for the usual handful of connections on one query

// A service text field: up to its terminator, never past the field.
std::string FieldText(const char* field, std::size_t fieldChars) {
  std::size_t length = 0;
  while (length < fieldChars && field[length] != '\0') ++length;
  return std::string(field, length);
}

// The first listed connection, or false when there is none.
bool FirstListed(RASCONNA* first) {
  const std::vector<RASCONNA> records =
      ListRasRecords<RASCONNA>(kInitialRecords, [](RASCONNA* buffer, DWORD* bytes, DWORD* count) {
        return RasEnumConnectionsA(buffer, bytes, count);
      });
  if (records.empty()) return false;
  *first = records[0];
  return true;
}

}  // namespace

std::optional<ListedConnection> RasConnectionProbe::FirstConnection(bool askState) {
  RASCONNA connection{};
  listed_ = nullptr;
  if (!FirstListed(&connection)) return std::nullopt;

  listed_ = connection.hrasconn;
  ListedConnection listed;
  RASPPPIPA projection{};
  projection.dwSize = sizeof(projection);
  DWORD projectionSize = sizeof(projection);
  // A connection without an IP projection shows no address: the tip then says "Unavailable".
  if (RasGetProjectionInfoA(connection.hrasconn, RASP_PppIp, &projection, &projectionSize) ==
      ERROR_SUCCESS) {
    listed.ipText = FieldText(projection.szIpAddress, sizeof(projection.szIpAddress));
  }
  listed.entryName = FieldText(connection.szEntryName, sizeof(connection.szEntryName));

  if (askState) {
    RASCONNSTATUSA status{};
    status.dwSize = sizeof(status);
    listed.connected = RasGetConnectStatusA(connection.hrasconn, &status) == ERROR_SUCCESS &&
                       status.rasconnstate == RASCS_Connected;
  }
  return listed;
}

std::optional<TrafficReading> RasConnectionProbe::ReadTraffic() {
  if (listed_ == nullptr) return std::nullopt;
  RAS_STATS stats{};
  stats.dwSize = sizeof(stats);
  if (RasGetConnectionStatistics(listed_, &stats) != ERROR_SUCCESS) return std::nullopt;
  return TrafficReading{stats.dwBytesRcved, stats.dwBytesXmited, 32};
}

}  // namespace tollwick
