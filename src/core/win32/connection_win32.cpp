#include "core/win32/connection_win32.h"

#include <windows.h>
#include <ras.h>
#include <raserror.h>

#include <string>
#include <vector>

namespace tollwick {
namespace {

constexpr DWORD kInitialRecords = 12;  // room for the usual handful of connections on one query
constexpr int kMaxEnumerationTries = 3;

// A service text field: up to its terminator, never past the field.
std::string FieldText(const char* field, std::size_t fieldChars) {
  std::size_t length = 0;
  while (length < fieldChars && field[length] != '\0') ++length;
  return std::string(field, length);
}

// The first listed connection, or false when there is none. When the buffer is too small the service
// says how much it needs; ask again with that much rather than reading records it never filled.
bool FirstListed(RASCONNA* first) {
  std::vector<RASCONNA> records(kInitialRecords);
  for (int attempt = 0; attempt < kMaxEnumerationTries; ++attempt) {
    records[0].dwSize = sizeof(RASCONNA);
    DWORD bytes = static_cast<DWORD>(records.size() * sizeof(RASCONNA));
    DWORD count = 0;
    DWORD result = RasEnumConnectionsA(records.data(), &bytes, &count);
    if (result == ERROR_SUCCESS) {
      if (count == 0) return false;
      *first = records[0];
      return true;
    }
    if (result != ERROR_BUFFER_TOO_SMALL) return false;
    std::size_t needed = (bytes + sizeof(RASCONNA) - 1) / sizeof(RASCONNA);
    if (needed <= records.size()) needed = records.size() * 2;
    RASCONNA blank{};
    records.assign(needed, blank);
  }
  return false;
}

}  // namespace

std::optional<ListedConnection> RasConnectionProbe::FirstConnection(bool askState) {
  RASCONNA connection{};
  if (!FirstListed(&connection)) return std::nullopt;

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

}  // namespace tollwick
