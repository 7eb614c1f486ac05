#pragma once
// Connections of the RAS simulator, as the Wine tests of the program bring them up.

#include <gtest/gtest.h>

#include <string>

#include "sim_store.h"

namespace tollwick {

// Adds a phone-book entry and a connection of it after those already listed.
inline void BringUp(const std::string& entry,
                    rassim::LinkState state = rassim::LinkState::kConnected,
                    const std::string& ip = "10.1.2.3") {
  rassim::SimState sim = rassim::LoadState();
  sim.entries.push_back(entry);
  rassim::Connection connection;
  connection.handle = sim.nextHandle++;
  connection.state = state;
  connection.ip = ip;
  connection.entry = entry;
  sim.connections.push_back(connection);
  ASSERT_TRUE(rassim::SaveState(sim));
}

}  // namespace tollwick
