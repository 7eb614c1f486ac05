// "AlarmList" as a damaged registry could hold it: the slots must come back with terminated names
// and finite amounts, and storing them must give back the same table.

#include <cmath>
#include <cstring>

#include "alarms/alarm_table.h"
#include "fuzz_input.h"
#include "recording_alarm_actions.h"

using namespace tollwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  FakeRegistry registry;
  SettingsStore store(registry);
  input.StoreValue(registry, kHkeyLocalMachine, kRootPath, kAlarmListValue);

  AlarmTable table;
  LoadAlarms(store, table);
  for (const Alarm& alarm : table.alarms) {
    FuzzCheck(std::memchr(alarm.name, '\0', sizeof alarm.name) != nullptr, "alarm name terminated");
    FuzzCheck(std::isfinite(alarm.money), "alarm amount finite");
  }
  std::uint8_t first[kAlarmListBytes];
  EncodeAlarmList(table, first);
  SaveAlarms(store, table);
  AlarmTable again;
  LoadAlarms(store, again);
  std::uint8_t second[kAlarmListBytes];
  EncodeAlarmList(again, second);
  FuzzCheck(std::memcmp(first, second, kAlarmListBytes) == 0, "stored slots load back the same");
  RecordingAlarmActions actions;  // checks of any kind and threshold, of calls of any volume
  CallVolume volume{input.Byte() % 2 == 0, 0, 0};
  for (int check = 0; check < 4; ++check) {
    for (int b = 0; b < 8; ++b) volume.received = volume.received << 8 | input.Byte();
    CheckAlarms(again, 1.0f, actions, [] { return true; }, volume);
  }
  return 0;
}
