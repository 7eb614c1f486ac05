#pragma once
// What the Remote Access Service says about the first connection it lists. The Win32 implementation
// asks the service (core/win32/connection_win32.h); tests answer from a table.

#include <optional>
#include <string>

#include "call/volume_counter.h"

namespace tollwick {

struct ListedConnection {
  std::string entryName;  // the phone-book entry, up to 256 characters
  std::string ipText;     // the IP projection's address as the service gives it; empty when it has none
  bool connected = false; // the service reports the connection fully established (asked only on demand)
  bool adapter = false;   // a network connection the user chose, not one of the service's
  TrafficReading adapterTraffic;  // that connection's 64-bit counters, read with its state
};

// A probe is also the source of its connection's traffic: whatever kind of connection it lists, it
// knows how that one's counters are read and how wide they are.
class ConnectionProbe : public TrafficSource {
 public:
  // The first connection the service lists, or nothing when it lists none. The connection state is
  // a third service call, made only when askState is true; otherwise `connected` stays false.
  virtual std::optional<ListedConnection> FirstConnection(bool askState) = 0;
  // The counters of the connection the last FirstConnection listed; nothing when it listed none or
  // the counters cannot be read.
  std::optional<TrafficReading> ReadTraffic() override = 0;
};

}  // namespace tollwick
