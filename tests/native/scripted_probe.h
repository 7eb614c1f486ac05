#pragma once
// A Remote Access Service for native tests: answers every query with the connection set in `listed`
// and records whether each query asked for the connection state.

#include <algorithm>
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

// Network adapters for native tests: each alias's reading (absent when missing); the code page
// holds Latin-1 alone. Counts the queries.
class ScriptedAdapters : public AdapterProbe {
 public:
  std::vector<std::optional<AdapterReading>> Read(const std::vector<std::u16string>& aliases) override {
    ++reads;
    std::vector<std::optional<AdapterReading>> readings;
    for (const std::u16string& alias : aliases) {
      if (adapters.count(alias)) readings.emplace_back(adapters[alias]); else readings.emplace_back();
    }
    return readings;
  }
  std::optional<std::string> AnsiText(const std::u16string& text) override {
    if (std::any_of(text.begin(), text.end(), [](char16_t c) { return c > 0xFF; })) return {};
    return std::string(text.begin(), text.end());
  }
  std::map<std::u16string, AdapterReading> adapters;
  int reads = 0;
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
