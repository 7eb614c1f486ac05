#pragma once
// The connection probe on the real system: the Remote Access Service's first listed connection.

#include "core/connection_probe.h"

namespace tollwick {

class RasConnectionProbe : public ConnectionProbe {
 public:
  // RasEnumConnectionsA, then for the first connection RasGetProjectionInfoA and, when askState is
  // true, RasGetConnectStatusA. A connection without an IP projection gives an empty address.
  std::optional<ListedConnection> FirstConnection(bool askState) override;
};

}  // namespace tollwick
