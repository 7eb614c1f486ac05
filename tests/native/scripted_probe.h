#pragma once
// A Remote Access Service for native tests: answers every query with the connection set in `listed`
// and records whether each query asked for the connection state.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/adapter_probe.h"
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

// The machine's network adapters for native tests: each alias's reading in `adapters` (absent when
// missing), and a code page that holds Latin-1 alone. Records each query's aliases.
class ScriptedAdapters : public AdapterProbe {
 public:
  std::vector<std::optional<AdapterReading>> Read(
      const std::vector<std::u16string>& aliases) override {
    asked.push_back(aliases);
    std::vector<std::optional<AdapterReading>> readings;
    for (const std::u16string& alias : aliases) {
      auto found = adapters.find(alias);
      readings.push_back(found == adapters.end() ? std::nullopt
                                                 : std::optional<AdapterReading>(found->second));
    }
    return readings;
  }
  std::optional<std::string> AnsiText(const std::u16string& text) override {
    std::string ansi;
    for (char16_t unit : text) {
      if (unit > 0xFF) return std::nullopt;
      ansi.push_back(static_cast<char>(unit));
    }
    return ansi;
  }
  std::map<std::u16string, AdapterReading> adapters;
  std::vector<std::vector<std::u16string>> asked;
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
