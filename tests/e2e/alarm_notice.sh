#!/usr/bin/env bash
# A money alarm with "Display message" opens the alarm notice during a real call.
source "$(dirname "$0")/lib.sh"

rassim reset
rassim add-entry "Orvonet Dial"
store_rates ".Default" 0 0 0.60 0.60 0.60 0 0
# Slot 0: "Two pence", money alarm of 0.02, display message, play sound, flash, no repeat.
slot=$(python3 - <<'PY'
import struct
name = b"Two pence".ljust(100, b"\0")
print((name + struct.pack("<iifIIII", 1, 0, 0.02, 1, 1, 1, 0)).hex() + "00" * 128 * 7)
PY
)
reg_add "HKLM\\Software\\Orvo\\Tollwick" /v AlarmList /t REG_BINARY /d "$slot"
start_tollwick
rassim up "Orvonet Dial"
ctl wait-dialog "Tollwick Alarm!" 90 || fail "no alarm notice after the first minute"
# The notice refreshes its current state once a second, by a timer message, which comes only when
# every paint is done: once its current cost has moved on from the £0.60 it opened at, it is drawn.
notice_refreshed() {
  local now
  now=$(dialog_text "Tollwick Alarm!" $IDC_NOTICE_NOW_COST) || return 1
  [ -n "$now" ] && [ "$now" != "0.60" ]
}
within 30 notice_refreshed || fail "the notice's current cost did not move on while it was open"
screenshot alarm-notice
check_eq "$(dialog_text "Tollwick Alarm!" $IDC_NOTICE_NAME)" "Two pence" "alarm name"
reason=$(dialog_text "Tollwick Alarm!" $IDC_NOTICE_REASON | iconv -f CP1252 -t UTF-8)
check_eq "$reason" "Once text has reached £0.02" "reason line"
check_eq "$(dialog_text "Tollwick Alarm!" $IDC_NOTICE_FIRED_TIME)" "0:01" "length when it went off (the minute under way)"
check_eq "$(dialog_text "Tollwick Alarm!" $IDC_NOTICE_FIRED_COST)" "0.60" "cost when it went off"
# Under Wine on Xvfb, starting the helper processes above can hold up the program's messages for
# some seconds; give OK time to arrive.
ctl press "Tollwick Alarm!" 1
ctl wait-dialog-closed "Tollwick Alarm!" 30 || fail "the notice did not close on OK"
# A non-repeating alarm does not come back in the same call: the next minute's check, which would
# hold the minute's snapshot behind a second notice, passes without one.
third_minute=$(snapshot_length 0x0003)
second_minute_counted() {
  if ctl wait-dialog "Tollwick Alarm!" 1; then fail "a non-repeating alarm went off twice"; fi
  reg_is "CurCall" Length "$third_minute"
}
within 150 second_minute_counted || fail "the call's second minute was not counted (Length: $reg_got)"
rassim down "Orvonet Dial"
wait_reg ".Bill" "" "REG_DWORD 0x1" 20 "the call billed after the notice"
exit_tollwick
echo PASS
