#pragma once
// What a call in progress works with, on an in-memory registry and a hand-driven clock: the store
// of one hive, the profiles, the bill, the alarm table and the alarm actions, recorded.

#include <deque>

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

// A connection's counters: each read takes the next answer (none: it fails), then both grow by 1000.
struct ScriptedTraffic : TrafficSource {
  std::optional<TrafficReading> ReadTraffic() override {
    if (answers.empty()) return TrafficReading{1000u * ++readsPastScript, 1000u * readsPastScript};
    const auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::optional<TrafficReading>> answers;
  std::uint32_t readsPastScript = 0;
};

// For a fixture: the world on a registry of its own (a base, so it is made first).
struct OwnRegistry {
  FakeRegistry registry;
};
struct OwnCallWorld : OwnRegistry, CallWorld {
  OwnCallWorld() : CallWorld(registry) {}
};

}  // namespace tollwick
