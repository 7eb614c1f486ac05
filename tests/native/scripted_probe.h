#pragma once
// A Remote Access Service for native tests: answers every query with the connection set in `listed`
// and records whether each query asked for the connection state.

#include <optional>
#include <string>
#include <vector>

#include "core/connection_probe.h"

namespace tollwick {

class ScriptedProbe : public ConnectionProbe {
 public:
  std::optional<ListedConnection> FirstConnection(bool askState) override {
    askedState.push_back(askState);
    return listed;
  }
  std::optional<TrafficReading> ReadTraffic() override { return std::nullopt; }
  std::optional<ListedConnection> listed;
  std::vector<bool> askedState;  // one per query
};

inline ListedConnection Listed(const std::string& entry, const std::string& ip = "10.1.2.3",
                               bool connected = true) {
  ListedConnection connection;
  connection.entryName = entry;
  connection.ipText = ip;
  connection.connected = connected;
  return connection;
}

}  // namespace tollwick
