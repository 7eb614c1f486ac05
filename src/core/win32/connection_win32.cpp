#include "core/win32/connection_win32.h"

#include <windows.h>
#include <ras.h>
#include <raserror.h>

#include <memory>
#include <vector>

#include "core/connection_rules.h"

namespace tollwick {
namespace {

constexpr DWORD kInitialRecords = 12;  // room for the usual handful of connections on one query
constexpr int kMaxEnumerationTries = 3;

void CopyText(char* out, std::size_t outChars, const char* in, std::size_t inChars) {
  std::size_t i = 0;
  for (; i + 1 < outChars && i < inChars && in[i] != '\0'; ++i) out[i] = in[i];
  out[i] = '\0';
}

// The first listed connection, or false when there is none. When the buffer is too small the service
// says how much it needs; ask again with that much rather than reading records it never filled.
bool FirstConnection(RASCONNA* first) {
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

bool FindActiveConnection(bool checkStatus, bool noDcc, char (&entryName)[kEntryNameChars],
                          char (&ipText)[kIpTextChars]) {
  RASCONNA connection{};
  if (!FirstConnection(&connection)) return false;

  RASPPPIPA projection{};
  projection.dwSize = sizeof(projection);
  DWORD projectionSize = sizeof(projection);
  // A connection without an IP projection shows no address: the tip then says "Unavailable".
  if (RasGetProjectionInfoA(connection.hrasconn, RASP_PppIp, &projection, &projectionSize) ==
      ERROR_SUCCESS) {
    CopyText(ipText, kIpTextChars, projection.szIpAddress, sizeof(projection.szIpAddress));
  } else {
    ipText[0] = '\0';
  }
  CopyText(entryName, kEntryNameChars, connection.szEntryName, sizeof(connection.szEntryName));

  bool active = true;
  if (checkStatus) {
    RASCONNSTATUSA status{};
    status.dwSize = sizeof(status);
    active = RasGetConnectStatusA(connection.hrasconn, &status) == ERROR_SUCCESS &&
             status.rasconnstate == RASCS_Connected;
  }
  if (!active) return false;
  if (noDcc && IsDirectCableConnection(entryName)) return false;
  return true;
}

}  // namespace tollwick
