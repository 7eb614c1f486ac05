#pragma once
// The eight alarm slots, their per-call run state, their stored form "AlarmList", and the check the
// call in progress runs once a minute.

#include <cstdint>
#include <functional>

#include "platform/call_volume.h"
#include "platform/settings_store.h"

namespace tollwick {

constexpr int kAlarmSlots = 8;
constexpr std::uint32_t kAlarmSlotBytes = 128;
constexpr std::uint32_t kAlarmListBytes = kAlarmSlots * kAlarmSlotBytes;
constexpr const char* kAlarmListValue = "AlarmList";

// Byte offsets within one stored slot.
constexpr std::uint32_t kAlarmNameOffset = 0;
constexpr std::uint32_t kAlarmKindOffset = 100;
constexpr std::uint32_t kAlarmMinutesOffset = 104;
constexpr std::uint32_t kAlarmMoneyOffset = 108;
constexpr std::uint32_t kAlarmDisplayMessageOffset = 112;
constexpr std::uint32_t kAlarmPlaySoundOffset = 116;
constexpr std::uint32_t kAlarmFlashTrayIconOffset = 120;
constexpr std::uint32_t kAlarmRepeatOffset = 124;

constexpr std::int32_t kTimeAlarm = 0;
constexpr std::int32_t kMoneyAlarm = 1;  // what the Alarms tab writes; any other kind is money too
constexpr std::int32_t kDataAlarm = 2;

// Which of the three a stored kind is: kTimeAlarm, kDataAlarm, or kMoneyAlarm for any other value.
std::int32_t AlarmKindOf(std::int32_t kind);

// One slot. An empty name marks the slot as free. Minutes and money are kept whatever the kind. The
// stored slot has no room for a further field, so a data alarm's MB take the 4 bytes a time
// alarm's minutes take (and it stores minutes as 0).
struct Alarm {
  char name[kNameChars] = {};
  std::int32_t kind = kTimeAlarm;
  std::int32_t minutes = 0;
  float money = 0.0f;
  std::int32_t megabytes = 0;  // data alarm: received plus sent, in MB, the call must exceed
  std::uint32_t displayMessage = 0;
  std::uint32_t playSound = 0;
  std::uint32_t flashTrayIcon = 0;
  std::uint32_t repeat = 0;
};

// Per call, never stored.
struct AlarmRunState {
  bool disabled = false;  // does not go off again until the next reset
  std::int32_t minuteCount = 0;   // minute checks since the call started or the alarm went off
  float costAtFiring = 0.0f;      // the cost when the alarm last went off
  std::uint64_t dataAtFiring = 0; // the call's bytes when the alarm last went off
};


// The program's one table, edited in place by the Alarms tab and the alarm notice.
struct AlarmTable {
  Alarm alarms[kAlarmSlots];
  AlarmRunState run[kAlarmSlots];
};

// What an alarm does when it goes off. ShowAlarmNotice is modal: it returns when the user closes the
// notice, and while it is open the table and run states may change under the check (a nested check
// from the timer, the notice's "Disable" button, a cancelled Options dialog reloading the table).
class AlarmActions {
 public:
  virtual ~AlarmActions() = default;
  virtual void PlayAlarmSound() = 0;
  virtual void FlashTrayIcon() = 0;
  virtual void ShowAlarmNotice(int slot, float cost) = 0;
};

// The stored form of the eight slots (kAlarmListBytes). A name keeps its stored bytes, and is cut at
// byte 99 when no terminator comes before it, so a well-formed value is written back byte for byte.
// A stored sum that is not a finite number decodes as 0 (a money alarm that never goes off).
void EncodeAlarmList(const AlarmTable& table, std::uint8_t* out);
void DecodeAlarmList(const std::uint8_t* in, AlarmTable& table);

// Reads "AlarmList" into the slots (missing or over-long: eight free slots, stored as zeros; shorter:
// the leading bytes of the table, the rest keeping what it held) and re-arms every alarm.
void LoadAlarms(const SettingsStore& store, AlarmTable& table);
// Stores the slots; the run states are left alone.
void SaveAlarms(const SettingsStore& store, const AlarmTable& table);
void ResetAlarmRunStates(AlarmTable& table);

// Whether the call a check began with is still the one in progress.
using SameCallFunction = std::function<bool()>;

// One minute check of the call in progress at the given cost (with the minimum charge applied) and
// volume so far (a data alarm never goes off while it is unknown). A notice's message loop can end
// the call, and start another, before the notice returns: the check then stops there, since the
// slots after it would judge the new call by the old one's cost, minutes and data.
void CheckAlarms(AlarmTable& table, float cost, AlarmActions& actions,
                 const SameCallFunction& sameCall, const CallVolume& volume = {});
// Sets off one slot: run state first, then sound, flash and the modal notice.
void FireAlarm(AlarmTable& table, int slot, float cost, AlarmActions& actions,
               const CallVolume& volume = {});

}  // namespace tollwick
