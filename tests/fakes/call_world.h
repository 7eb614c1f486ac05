#pragma once
// What a call in progress works with, on an in-memory registry and a hand-driven clock: the store
// of one hive, the profiles, the bill, the alarm table and the alarm actions, recorded.

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

// For a fixture: the world on a registry of its own (a base, so it is made first).
struct OwnRegistry {
  FakeRegistry registry;
};
struct OwnCallWorld : OwnRegistry, CallWorld {
  OwnCallWorld() : CallWorld(registry) {}
};

}  // namespace tollwick
