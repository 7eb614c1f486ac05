#include "alarms/alarm_slot_edit.h"

#include <algorithm>
#include <cstring>

namespace tollwick {
namespace {

// One lookup for reading and writing: Slot is Alarm or const Alarm.
template <typename Slot>
auto& ActionFlag(Slot& alarm, AlarmAction action) {
  switch (action) {
    case AlarmAction::kDisplayMessage:
      return alarm.displayMessage;
    case AlarmAction::kPlaySound:
      return alarm.playSound;
    case AlarmAction::kFlashTrayIcon:
      return alarm.flashTrayIcon;
    case AlarmAction::kRepeat:
      break;
  }
  return alarm.repeat;
}

}  // namespace

void SetAlarmName(Alarm& alarm, std::string_view text) {
  const std::size_t length = std::min<std::size_t>(text.size(), sizeof alarm.name - 1);
  std::memcpy(alarm.name, text.data(), length);
  alarm.name[length] = '\0';
}

void SetAlarmMinutes(Alarm& alarm, std::uint32_t minutes) {
  alarm.minutes = static_cast<std::int32_t>(minutes);
}

void SetAlarmMegabytes(Alarm& alarm, std::uint32_t megabytes) {
  alarm.megabytes = static_cast<std::int32_t>(megabytes);
}

void SetAlarmMoney(Alarm& alarm, double money) { alarm.money = static_cast<float>(money); }

void SetAlarmAction(Alarm& alarm, AlarmAction action, bool on) {
  ActionFlag(alarm, action) = on ? 1 : 0;
}

bool AlarmActionOn(const Alarm& alarm, AlarmAction action) {
  return ActionFlag(alarm, action) != 0;
}

void SetAlarmKind(Alarm& alarm, std::int32_t kind) {
  const std::int32_t chosen = AlarmKindOf(kind);
  const bool changed = chosen != AlarmKindOf(alarm.kind);
  alarm.kind = kind;
  if (chosen != kTimeAlarm || changed) alarm.minutes = 0;
  if (chosen != kMoneyAlarm || changed) alarm.money = 0.0f;
  if (chosen != kDataAlarm || changed) alarm.megabytes = 0;
}

}  // namespace tollwick
