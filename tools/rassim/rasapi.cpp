// The simulated Remote Access Service client: the rasapi32 calls the program makes, answered
// from the state in the registry (sim_store.h) with the result codes and record versions of the
// real service.
//
// Records are written field by field at their header offsets rather than through the struct type:
// the caller's dwSize picks an older, shorter version as often as the newest one, and the stride
// of an enumeration buffer is the caller's dwSize, not sizeof.

#include <windows.h>
#include <ras.h>
#include <raserror.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "sim_state.h"
#include "sim_store.h"

#ifndef ERROR_PROJECTION_NOT_COMPLETE
// Newer headers leave this code out, but it is what the service gives for a projection queried
// before the connection has finished coming up.
#define ERROR_PROJECTION_NOT_COMPLETE (RASBASE + 130)
#endif

namespace {

using tollwick::rassim::Connection;
using tollwick::rassim::LinkState;

constexpr std::size_t RoundUp4(std::size_t n) { return (n + 3) & ~static_cast<std::size_t>(3); }

// Every version of each record that the SDK has defined, oldest first. The records are packed to
// 4 bytes and each version only appends fields, so a version ends where its last field ends,
// rounded up to 4.
constexpr std::size_t kRasConnSizes[] = {
    RoundUp4(offsetof(RASCONNA, szDeviceName) + RAS_MaxDeviceName + 1),  // up to the device name
    RoundUp4(offsetof(RASCONNA, dwSubEntry) + sizeof(DWORD)),             // + phone book, subentry
    RoundUp4(offsetof(RASCONNA, guidEntry) + sizeof(GUID)),               // + entry GUID
    RoundUp4(offsetof(RASCONNA, luid) + sizeof(LUID)),                    // + flags, LUID
    RoundUp4(offsetof(RASCONNA, luid) + sizeof(LUID)) + sizeof(GUID),     // + correlation GUID
};
constexpr std::size_t kConnStatusSizes[] = {
    RoundUp4(offsetof(RASCONNSTATUSA, szDeviceName) + RAS_MaxDeviceName + 1),
    RoundUp4(offsetof(RASCONNSTATUSA, szPhoneNumber) + RAS_MaxPhoneNumber + 1),
    // + local and remote tunnel end points and the sub-state
    RoundUp4(offsetof(RASCONNSTATUSA, szPhoneNumber) + RAS_MaxPhoneNumber + 1) +
        2 * sizeof(RASTUNNELENDPOINT) + sizeof(DWORD),
};
constexpr std::size_t kPppIpSizes[] = {
    offsetof(RASPPPIPA, szServerIpAddress),  // address only
    offsetof(RASPPPIPA, dwOptions),          // + server address
    sizeof(RASPPPIPA),                       // + options
};
constexpr std::size_t kEntryNameSizes[] = {
    RoundUp4(offsetof(RASENTRYNAMEA, szEntryName) + RAS_MaxEntryName + 1),
    sizeof(RASENTRYNAMEA),  // + flags, phone-book path
};

// These headers carry the newest version but one of RASCONNA, and the newest of the others but
// RASCONNSTATUSA.
static_assert(kRasConnSizes[3] == sizeof(RASCONNA), "RASCONNA layout");
static_assert(kConnStatusSizes[1] == sizeof(RASCONNSTATUSA), "RASCONNSTATUSA layout");
static_assert(kPppIpSizes[2] == sizeof(RASPPPIPA), "RASPPPIPA layout");
static_assert(kEntryNameSizes[1] == sizeof(RASENTRYNAMEA), "RASENTRYNAMEA layout");
static_assert(sizeof(RAS_STATS) == 60, "RAS_STATS layout");
// Records without pointers are as large in 64-bit programs as in 32-bit ones.
static_assert(kConnStatusSizes[0] == 160 && kPppIpSizes[1] == 40 && kEntryNameSizes[0] == 264,
              "32-bit record sizes");
#ifdef _WIN64
static_assert(kRasConnSizes[0] == 416 && kRasConnSizes[4] == 724, "64-bit RASCONNA sizes");
#else
static_assert(kRasConnSizes[0] == 412 && kRasConnSizes[4] == 720, "32-bit RASCONNA sizes");
#endif

constexpr char kDeviceType[] = "modem";  // RASDT_Modem
constexpr char kDeviceName[] = "Simulated Modem";

template <std::size_t N>
bool IsKnownSize(const std::size_t (&sizes)[N], DWORD size) {
  for (std::size_t known : sizes) {
    if (known == size) return true;
  }
  return false;
}

DWORD ReadDwordAt(const void* record) {
  DWORD value = 0;
  std::memcpy(&value, record, sizeof(value));
  return value;
}

// Writes into one caller's record of `size` bytes. A field that does not end within the record is
// not part of its version and is left out.
class RecordWriter {
 public:
  RecordWriter(void* record, std::size_t size) : record_(static_cast<unsigned char*>(record)),
                                                 size_(size) {
    std::memset(record_, 0, size_);
    PutDword(0, static_cast<DWORD>(size_));
  }

  void Put(std::size_t offset, const void* data, std::size_t bytes) {
    if (offset + bytes <= size_) std::memcpy(record_ + offset, data, bytes);
  }
  void PutDword(std::size_t offset, DWORD value) { Put(offset, &value, sizeof(value)); }
  // A text field of `capacity` bytes: cut to fit, always terminated (the rest is already zero).
  void PutText(std::size_t offset, std::size_t capacity, const std::string& text) {
    if (offset + capacity > size_) return;
    const std::size_t length = text.size() < capacity - 1 ? text.size() : capacity - 1;
    std::memcpy(record_ + offset, text.data(), length);
  }

 private:
  unsigned char* record_;
  std::size_t size_;
};

std::uint32_t HandleId(HRASCONN handle) {
  const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(handle);
  return value > 0xFFFFFFFFu ? 0 : static_cast<std::uint32_t>(value);
}

HRASCONN HandleOf(std::uint32_t id) {
  return reinterpret_cast<HRASCONN>(static_cast<ULONG_PTR>(id));
}

bool FindLiveConnection(HRASCONN handle, Connection* connection, bool withTraffic = false) {
  const std::vector<Connection> connections = tollwick::rassim::LoadConnections(withTraffic);
  const std::uint32_t id = HandleId(handle);
  const Connection* found = id == 0 ? nullptr
                                    : tollwick::rassim::FindConnectionByHandle(connections, id);
  if (found == nullptr) return false;
  *connection = *found;
  return true;
}

// The per-user phone book, where the service keeps it.
std::string PhonebookPath() {
  char appData[MAX_PATH] = "";
  const DWORD length = GetEnvironmentVariableA("APPDATA", appData, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  return std::string(appData, length) + "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk";
}

DWORD RasConnState(LinkState state) {
  switch (state) {
    case LinkState::kConnecting: return RASCS_ConnectDevice;
    case LinkState::kAuthenticating: return RASCS_Authenticate;
    case LinkState::kConnected: return RASCS_Connected;
  }
  return RASCS_Connected;
}

// The shared part of both enumerations: validate the first record's dwSize, report the size needed
// and the count, and say whether the records fit. Nothing is written when they do not.
DWORD PrepareEnumeration(const void* buffer, DWORD* bytes, DWORD* count, std::size_t records,
                         std::size_t newestSize, bool (*knownSize)(DWORD), std::size_t* recordSize) {
  std::size_t available = 0;
  *recordSize = newestSize;
  if (buffer != nullptr) {
    const DWORD size = ReadDwordAt(buffer);
    if (!knownSize(size)) return ERROR_INVALID_SIZE;
    *recordSize = size;
    available = *bytes;
  }
  const unsigned long long needed = static_cast<unsigned long long>(records) * *recordSize;
  if (needed > 0xFFFFFFFFull) return ERROR_NOT_ENOUGH_MEMORY;
  *bytes = static_cast<DWORD>(needed);
  *count = static_cast<DWORD>(records);
  return needed > available ? ERROR_BUFFER_TOO_SMALL : ERROR_SUCCESS;
}

bool KnownRasConnSize(DWORD size) { return IsKnownSize(kRasConnSizes, size); }
bool KnownEntryNameSize(DWORD size) { return IsKnownSize(kEntryNameSizes, size); }

}  // namespace

extern "C" {

DWORD WINAPI RasEnumConnectionsA(LPRASCONNA lprasconn, LPDWORD lpcb, LPDWORD lpcConnections) {
  if (lpcb == nullptr || lpcConnections == nullptr) return ERROR_INVALID_PARAMETER;
  const std::vector<Connection> connections = tollwick::rassim::LoadConnections();
  std::size_t recordSize = 0;
  const DWORD result = PrepareEnumeration(lprasconn, lpcb, lpcConnections, connections.size(),
                                          sizeof(RASCONNA), KnownRasConnSize, &recordSize);
  if (result != ERROR_SUCCESS) return result;

  const std::string phonebook = PhonebookPath();
  unsigned char* record = reinterpret_cast<unsigned char*>(lprasconn);
  for (const Connection& connection : connections) {
    RecordWriter out(record, recordSize);
    const HRASCONN handle = HandleOf(connection.handle);
    out.Put(offsetof(RASCONNA, hrasconn), &handle, sizeof(handle));
    out.PutText(offsetof(RASCONNA, szEntryName), RAS_MaxEntryName + 1, connection.entry);
    out.PutText(offsetof(RASCONNA, szDeviceType), RAS_MaxDeviceType + 1, kDeviceType);
    out.PutText(offsetof(RASCONNA, szDeviceName), RAS_MaxDeviceName + 1, kDeviceName);
    out.PutText(offsetof(RASCONNA, szPhonebook), MAX_PATH, phonebook);
    out.PutDword(offsetof(RASCONNA, dwSubEntry), 1);  // single-link: its only subentry
    LUID luid{};
    luid.LowPart = connection.handle;
    out.Put(offsetof(RASCONNA, luid), &luid, sizeof(luid));
    // guidEntry, dwFlags (a per-user entry) and the correlation id stay zero.
    record += recordSize;
  }
  return ERROR_SUCCESS;
}

DWORD WINAPI RasGetConnectStatusA(HRASCONN hrasconn, LPRASCONNSTATUSA lprasconnstatus) {
  if (lprasconnstatus == nullptr) return ERROR_INVALID_PARAMETER;
  const DWORD size = ReadDwordAt(lprasconnstatus);
  if (!IsKnownSize(kConnStatusSizes, size)) return ERROR_INVALID_SIZE;
  Connection connection;
  if (!FindLiveConnection(hrasconn, &connection)) return ERROR_INVALID_HANDLE;

  RecordWriter out(lprasconnstatus, size);
  out.PutDword(offsetof(RASCONNSTATUSA, rasconnstate), RasConnState(connection.state));
  out.PutDword(offsetof(RASCONNSTATUSA, dwError), ERROR_SUCCESS);
  out.PutText(offsetof(RASCONNSTATUSA, szDeviceType), RAS_MaxDeviceType + 1, kDeviceType);
  out.PutText(offsetof(RASCONNSTATUSA, szDeviceName), RAS_MaxDeviceName + 1, kDeviceName);
  // The phone number stays empty; a dial-up link has no tunnel end points (zero: unknown) and no
  // sub-state (zero: none).
  return ERROR_SUCCESS;
}

DWORD WINAPI RasGetProjectionInfoA(HRASCONN hrasconn, RASPROJECTION rasprojection,
                                   LPVOID lpprojection, LPDWORD lpcb) {
  if (lpprojection == nullptr || lpcb == nullptr) return ERROR_INVALID_PARAMETER;
  Connection connection;
  if (!FindLiveConnection(hrasconn, &connection)) return ERROR_INVALID_HANDLE;
  switch (rasprojection) {
    case RASP_PppIp:
      break;
    case RASP_Amb:
    case RASP_PppNbf:
    case RASP_PppIpx:
    case RASP_PppCcp:
    case RASP_PppLcp:
    case RASP_Slip:
      // Simulated links negotiate IP and nothing else.
      return ERROR_PROTOCOL_NOT_CONFIGURED;
    default:
      return ERROR_INVALID_PARAMETER;
  }
  if (*lpcb < sizeof(DWORD)) {
    *lpcb = sizeof(RASPPPIPA);
    return ERROR_BUFFER_TOO_SMALL;
  }
  const DWORD size = ReadDwordAt(lpprojection);
  if (!IsKnownSize(kPppIpSizes, size)) return ERROR_INVALID_SIZE;
  if (*lpcb < size) {
    *lpcb = size;
    return ERROR_BUFFER_TOO_SMALL;
  }
  if (connection.state != LinkState::kConnected) return ERROR_PROJECTION_NOT_COMPLETE;
  if (connection.ip.empty()) return ERROR_PROTOCOL_NOT_CONFIGURED;

  RecordWriter out(lpprojection, size);
  out.PutDword(offsetof(RASPPPIPA, dwError), ERROR_SUCCESS);
  out.PutText(offsetof(RASPPPIPA, szIpAddress), RAS_MaxIpAddress + 1, connection.ip);
  // The server's address and the options stay empty.
  *lpcb = size;
  return ERROR_SUCCESS;
}

DWORD WINAPI RasGetConnectionStatistics(HRASCONN hRasConn, RAS_STATS* lpStatistics) {
  // RAS_STATS has one version, and the service answers a zero handle as it answers a bad record.
  if (hRasConn == nullptr || lpStatistics == nullptr ||
      ReadDwordAt(lpStatistics) != sizeof(RAS_STATS)) {
    return static_cast<DWORD>(E_INVALIDARG);
  }
  Connection connection;
  if (!FindLiveConnection(hRasConn, &connection, true)) return ERROR_INVALID_HANDLE;
  if (connection.traffic.statsFail) return ERROR_NOT_ENOUGH_MEMORY;

  tollwick::rassim::AdvanceTraffic(&connection.traffic, tollwick::rassim::Now());
  RecordWriter out(lpStatistics, sizeof(RAS_STATS));
  out.PutDword(offsetof(RAS_STATS, dwBytesXmited), connection.traffic.sent);
  out.PutDword(offsetof(RAS_STATS, dwBytesRcved), connection.traffic.received);
  // Frames, errors, compression, speed and duration stay zero: nothing simulates them.
  return ERROR_SUCCESS;
}

DWORD WINAPI RasEnumEntriesA(LPCSTR reserved, LPCSTR lpszPhonebook,
                             LPRASENTRYNAMEA lprasentryname, LPDWORD lpcb, LPDWORD lpcEntries) {
  if (reserved != nullptr || lpcb == nullptr || lpcEntries == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  const std::string phonebook = PhonebookPath();
  // Null means every phone book, which here is the one; any other file does not exist.
  if (lpszPhonebook != nullptr && lstrcmpiA(lpszPhonebook, phonebook.c_str()) != 0) {
    return ERROR_CANNOT_OPEN_PHONEBOOK;
  }
  const std::vector<std::string> entries = tollwick::rassim::LoadEntries();
  std::size_t recordSize = 0;
  const DWORD result = PrepareEnumeration(lprasentryname, lpcb, lpcEntries, entries.size(),
                                          sizeof(RASENTRYNAMEA), KnownEntryNameSize, &recordSize);
  if (result != ERROR_SUCCESS) return result;

  unsigned char* record = reinterpret_cast<unsigned char*>(lprasentryname);
  for (const std::string& entry : entries) {
    RecordWriter out(record, recordSize);
    out.PutText(offsetof(RASENTRYNAMEA, szEntryName), RAS_MaxEntryName + 1, entry);
    out.PutDword(offsetof(RASENTRYNAMEA, dwFlags), REN_User);
    out.PutText(offsetof(RASENTRYNAMEA, szPhonebookPath), MAX_PATH + 1, phonebook);
    record += recordSize;
  }
  return ERROR_SUCCESS;
}

}  // extern "C"
