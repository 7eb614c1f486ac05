#pragma once
// What a call in progress works with, on an in-memory registry and a hand-driven clock: the store
// of one hive, the profiles, the bill, the alarm table and the alarm actions, recorded.

#include <deque>
#include <optional>

#include "call/current_call.h"
#include "fake_environment.h"
#include "fake_registry.h"
#include "recording_alarm_actions.h"

namespace tollwick {

struct CallWorld {
  explicit CallWorld(FakeRegistry& registry, RegKey hive = kHkeyLocalMachine)
      : store(registry, hive) {}
  SettingsStore store;
  FakeEnvironment env;
  ProfileLibrary profiles{store};
  Bill bill;
  AlarmTable alarms;
  RecordingAlarmActions actions;
  CurrentCall call{CallServices{store, env, profiles, bill, alarms, actions}};
};

// A connection's counters as a script: each read takes the next answer (nothing: the read fails).
// Reads past the end of the script fail and are counted, so a test sees a call read too often.
struct ScriptedTraffic : TrafficSource {
  std::optional<TrafficReading> ReadTraffic() override {
    if (answers.empty()) {
      ++readsPastScript;
      return std::nullopt;
    }
    std::optional<TrafficReading> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::optional<TrafficReading>> answers;
  int readsPastScript = 0;
};

// 32-bit counters that move steadily with the world's tick count: 3 bytes received and 1 sent a
// millisecond, wrapping as the service's do.
struct SteadyTraffic : TrafficSource {
  explicit SteadyTraffic(const FakeEnvironment& env) : env(env) {}
  std::optional<TrafficReading> ReadTraffic() override {
    return TrafficReading{(3ull * env.tickCount) & 0xFFFFFFFFu, env.tickCount, 32};
  }
  const FakeEnvironment& env;
};

// For a fixture: the world on a registry of its own (a base, so it is made first).
struct OwnRegistry {
  FakeRegistry registry;
};
struct OwnCallWorld : OwnRegistry, CallWorld {
  OwnCallWorld() : CallWorld(registry) {}
};

}  // namespace tollwick
