#pragma once
// The Alarms tab's edits of one slot. Each goes into the live table the moment the user makes it,
// so the minute check sees it before the Options dialog is closed.

#include <cstdint>
#include <string_view>

#include "alarms/alarm_table.h"

namespace tollwick {

enum class AlarmAction { kDisplayMessage, kPlaySound, kFlashTrayIcon, kRepeat };

// The name as typed, cut to 99 characters and terminated. The bytes after the terminator keep what
// they held, as the stored form is written back byte for byte. An empty name frees the slot.
void SetAlarmName(Alarm& alarm, std::string_view text);
// The digits-only field as read unsigned; the slot keeps the same 32 bits as a signed number.
void SetAlarmMinutes(Alarm& alarm, std::uint32_t minutes);
// The MB of a data alarm, read as the minutes are.
void SetAlarmMegabytes(Alarm& alarm, std::uint32_t megabytes);
// The sum as the field reads it (double), kept in single precision.
void SetAlarmMoney(Alarm& alarm, double money);
void SetAlarmAction(Alarm& alarm, AlarmAction action, bool on);
// Any nonzero stored flag counts as on.
bool AlarmActionOn(const Alarm& alarm, AlarmAction action);
// kTimeAlarm, kMoneyAlarm or kDataAlarm, as chosen on the page. Only the value on show survives:
// the other kinds' are cleared, and so is the chosen kind's when the kind changes, since it was
// hidden until then. So a switch shows 0 and never brings back a value the user no longer saw.
void SetAlarmKind(Alarm& alarm, std::int32_t kind);

}  // namespace tollwick
