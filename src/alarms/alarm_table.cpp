#include "alarms/alarm_table.h"

#include <cstring>

#include "platform/little_endian.h"

namespace tollwick {

namespace {

// The name's 100 bytes as they are, but never without a terminator.
void CopyAlarmName(const void* from, void* to) {
  std::memcpy(to, from, kNameChars);
  char* name = static_cast<char*>(to);
  if (std::memchr(name, '\0', kNameChars) == nullptr) name[kNameChars - 1] = '\0';
}

}  // namespace

void EncodeAlarmList(const AlarmTable& table, std::uint8_t* out) {
  for (int slot = 0; slot < kAlarmSlots; ++slot) {
    const Alarm& alarm = table.alarms[slot];
    std::uint8_t* at = out + slot * kAlarmSlotBytes;
    CopyAlarmName(alarm.name, at + kAlarmNameOffset);
    PutI32(at + kAlarmKindOffset, alarm.kind);
    PutI32(at + kAlarmMinutesOffset, alarm.minutes);
    PutF32(at + kAlarmMoneyOffset, alarm.money);
    PutU32(at + kAlarmDisplayMessageOffset, alarm.displayMessage);
    PutU32(at + kAlarmPlaySoundOffset, alarm.playSound);
    PutU32(at + kAlarmFlashTrayIconOffset, alarm.flashTrayIcon);
    PutU32(at + kAlarmRepeatOffset, alarm.repeat);
  }
}

void DecodeAlarmList(const std::uint8_t* in, AlarmTable& table) {
  for (int slot = 0; slot < kAlarmSlots; ++slot) {
    Alarm& alarm = table.alarms[slot];
    const std::uint8_t* at = in + slot * kAlarmSlotBytes;
    CopyAlarmName(at + kAlarmNameOffset, alarm.name);
    alarm.kind = GetI32(at + kAlarmKindOffset);
    alarm.minutes = GetI32(at + kAlarmMinutesOffset);
    alarm.money = GetAmountF32(at + kAlarmMoneyOffset);
    alarm.displayMessage = GetU32(at + kAlarmDisplayMessageOffset);
    alarm.playSound = GetU32(at + kAlarmPlaySoundOffset);
    alarm.flashTrayIcon = GetU32(at + kAlarmFlashTrayIconOffset);
    alarm.repeat = GetU32(at + kAlarmRepeatOffset);
  }
}

void LoadAlarms(const SettingsStore& store, AlarmTable& table) {
  // A shorter stored value replaces only the leading bytes: the rest of the table stays as it is.
  std::uint8_t bytes[kAlarmListBytes];
  EncodeAlarmList(table, bytes);
  store.ReadRootBinary(kAlarmListValue, bytes, kAlarmListBytes, nullptr);
  DecodeAlarmList(bytes, table);
  ResetAlarmRunStates(table);
}

void SaveAlarms(const SettingsStore& store, const AlarmTable& table) {
  std::uint8_t bytes[kAlarmListBytes];
  EncodeAlarmList(table, bytes);
  store.WriteRootBinary(kAlarmListValue, bytes, kAlarmListBytes);
}

void ResetAlarmRunStates(AlarmTable& table) {
  for (AlarmRunState& run : table.run) run = AlarmRunState{};
}

void CheckAlarms(AlarmTable& table, float cost, AlarmActions& actions,
                 const SameCallFunction& sameCall) {
  // The slots are read afresh on every step: a notice opened by FireAlarm runs a message loop in
  // which the table and run states can change (a nested check, "Disable", a reload).
  for (int slot = 0; slot < kAlarmSlots; ++slot) {
    const Alarm& alarm = table.alarms[slot];
    AlarmRunState& run = table.run[slot];
    if (alarm.name[0] == '\0') continue;
    const bool money = alarm.kind != kTimeAlarm;
    if (money ? !(alarm.money > 0.0f) : alarm.minutes <= 0) continue;
    if (run.disabled) continue;
    bool due = false;
    if (money) {
      due = cost - run.costAtFiring > alarm.money;
    } else {
      run.minuteCount += 1;
      due = run.minuteCount > alarm.minutes;
    }
    if (!due) continue;
    FireAlarm(table, slot, cost, actions);
    if (!sameCall()) return;
  }
}

void FireAlarm(AlarmTable& table, int slot, float cost, AlarmActions& actions) {
  if (slot < 0 || slot >= kAlarmSlots) return;
  const Alarm& alarm = table.alarms[slot];
  AlarmRunState& run = table.run[slot];
  run.disabled = alarm.repeat == 0;
  run.minuteCount = 0;
  run.costAtFiring = cost;
  if (alarm.playSound) actions.PlayAlarmSound();
  if (alarm.flashTrayIcon) actions.FlashTrayIcon();
  if (alarm.displayMessage) actions.ShowAlarmNotice(slot, cost);
}

}  // namespace tollwick
