#pragma once
// The connection probe on the real system: the Remote Access Service's first listed connection.

#include <windows.h>
#include <ras.h>

#include "core/connection_probe.h"

namespace tollwick {

class RasConnectionProbe : public ConnectionProbe {
 public:
  // RasEnumConnectionsA, then for the first connection RasGetProjectionInfoA and, when askState is
  // true, RasGetConnectStatusA. A connection without an IP projection gives an empty address.
  std::optional<ListedConnection> FirstConnection(bool askState) override;
  // RasGetConnectionStatistics of that connection: its 32-bit counters.
  std::optional<TrafficReading> ReadTraffic() override;

 private:
  HRASCONN listed_ = nullptr;
};

}  // namespace tollwick
