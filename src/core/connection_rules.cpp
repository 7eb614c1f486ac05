#include "core/connection_rules.h"

#include <cstring>

namespace tollwick {

bool IsDottedQuad(const char* text) {
  if (text == nullptr) return false;
  int dots = 0;
  int length = 0;
  // Only the first 16 characters matter: anything longer is rejected by its length alone.
  for (; length < 16 && text[length] != '\0'; ++length) {
    if (text[length] == '.') ++dots;
  }
  return length <= 15 && dots == 3;
}

bool IsDirectCableConnection(const char* entryName) {
  return std::strncmp(entryName, kDirectCableConnection, std::strlen(kDirectCableConnection)) == 0;
}

namespace {

std::optional<ListedConnection> FirstAdapterUp(AdapterProbe& adapters,
                                               const std::vector<std::u16string>& chosen) {
  if (chosen.empty()) return std::nullopt;
  const std::vector<std::optional<AdapterReading>> readings = adapters.Read(chosen);
  for (std::size_t i = 0; i < readings.size() && i < chosen.size(); ++i) {
    if (!readings[i] || !readings[i]->up) continue;
    ListedConnection connection;
    connection.entryName = AdapterAccountName(adapters, chosen[i]);
    connection.ipText = readings[i]->ipText;
    connection.connected = true;
    connection.adapter = true;
    connection.adapterTraffic = TrafficReading{readings[i]->received, readings[i]->sent, 64};
    return connection;
  }
  return std::nullopt;
}

}  // namespace

std::optional<ListedConnection> FindActiveConnection(ConnectionProbe& probe, AdapterProbe& adapters,
                                                     const ProgramSettings& settings) {
  const bool checkStatus = settings.checkStatus == 1;
  std::optional<ListedConnection> first = probe.FirstConnection(checkStatus);
  // A connection the service lists comes first, even one that does not count yet: a PPPoE call
  // dialled over a chosen Ethernet adapter is timed as the service's, never as the adapter's.
  if (!first) return FirstAdapterUp(adapters, settings.adapters);
  if (checkStatus && !first->connected) return std::nullopt;
  if (settings.noDcc == 1 && IsDirectCableConnection(first->entryName.c_str())) return std::nullopt;
  return first;
}

}  // namespace tollwick
