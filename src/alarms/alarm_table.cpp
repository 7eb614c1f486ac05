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

std::int32_t AlarmKindOf(std::int32_t kind) {
  return kind == kTimeAlarm || kind == kDataAlarm ? kind : kMoneyAlarm;
}

void EncodeAlarmList(const AlarmTable& table, std::uint8_t* out) {
  for (int slot = 0; slot < kAlarmSlots; ++slot) {
    const Alarm& alarm = table.alarms[slot];
    std::uint8_t* at = out + slot * kAlarmSlotBytes;
    CopyAlarmName(alarm.name, at + kAlarmNameOffset);
    PutI32(at + kAlarmKindOffset, alarm.kind);
    PutI32(at + kAlarmMinutesOffset, alarm.kind == kDataAlarm ? alarm.megabytes : alarm.minutes);
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
    const std::int32_t count = GetI32(at + kAlarmMinutesOffset);
    alarm.minutes = alarm.kind == kDataAlarm ? 0 : count;
    alarm.megabytes = alarm.kind == kDataAlarm ? count : 0;
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
                 const SameCallFunction& sameCall, const CallVolume& volume) {
  // The slots are read afresh on every step: a notice opened by FireAlarm runs a message loop in
  // which the table and run states can change (a nested check, "Disable", a reload).
  for (int slot = 0; slot < kAlarmSlots; ++slot) {
    const Alarm& alarm = table.alarms[slot];
    AlarmRunState& run = table.run[slot];
    if (alarm.name[0] == '\0' || run.disabled) continue;
    bool due = false;
    switch (AlarmKindOf(alarm.kind)) {
      case kTimeAlarm:
        if (alarm.minutes <= 0) continue;
        run.minuteCount += 1;
        due = run.minuteCount > alarm.minutes;
        break;
      case kDataAlarm:
        // Totals stay far below 2^63 (kLargestCallBytes each way): the sum cannot wrap.
        due = alarm.megabytes > 0 && volume.known &&
              volume.Total() >
                  run.dataAtFiring + static_cast<std::uint64_t>(alarm.megabytes) * kBytesPerMB;
        break;
      default:
        due = alarm.money > 0.0f && cost - run.costAtFiring > alarm.money;
        break;
    }
    if (!due) continue;
    FireAlarm(table, slot, cost, actions, volume);
    if (!sameCall()) return;
  }
}

void FireAlarm(AlarmTable& table, int slot, float cost, AlarmActions& actions,
               const CallVolume& volume) {
  if (slot < 0 || slot >= kAlarmSlots) return;
  const Alarm& alarm = table.alarms[slot];
  AlarmRunState& run = table.run[slot];
  run.disabled = alarm.repeat == 0;
  run.minuteCount = 0;
  run.costAtFiring = cost;
  run.dataAtFiring = volume.Total();
  if (alarm.playSound) actions.PlayAlarmSound();
  if (alarm.flashTrayIcon) actions.FlashTrayIcon();
  if (alarm.displayMessage) actions.ShowAlarmNotice(slot, cost);
}

}  // namespace tollwick
