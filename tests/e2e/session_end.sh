#!/usr/bin/env bash
# The machine sleeps 1:30 into a call and wakes, the session ends at 1:35 and the program is then
# killed: each writes the call's snapshot as counted to that moment, and the next start bills the
# call with the seconds counted to the end of the session, not from its one-minute snapshot.
source "$(dirname "$0")/lib.sh"

rassim reset
rassim add-entry "Orvonet Dial"
store_rates ".Default" 0 0 0.60 0.60 0.60 0 0  # a penny a second
start_tollwick
rassim up "Orvonet Dial"
ctl command $IDM_CALLINFO
ctl wait-dialog "Call information" 20 || fail "Call information did not open"
# Its length ("h:mm:ss"), refreshed every second, tells when the call is 1:35 in.
call_seconds() {
  local text
  text=$(dialog_text "Call information" $IDC_CALL_LENGTH)
  [[ $text =~ ^([0-9]+):([0-9]{2}):([0-9]{2})$ ]] || { echo 0; return; }
  echo $(( BASH_REMATCH[1] * 3600 + 10#${BASH_REMATCH[2]} * 60 + 10#${BASH_REMATCH[3]} ))
}
at_least() { [ "$(call_seconds)" -ge "$1" ]; }
# The snapshot's cost lies between `from` seconds at 1p and the length shown since, which the
# dialog refreshes once a second, so up to two seconds behind the count.
check_snapshot() {  # from-seconds what
  local shown cost
  shown=$(call_seconds)
  check_eq "$(reg_value "CurCall" Length)" "$(snapshot_length 0x0002)" "$2: length"
  cost=$(snapshot_cost)
  python3 -c "import sys
c, f, s = map(float, sys.argv[1:])
sys.exit(0 if f / 100 - 0.005 <= c <= s / 100 + 0.025 else 1)" "$cost" "$1" "$shown" ||
    fail "$2: the snapshot costs $cost, not $1 to $shown seconds at 1p"
}

within 150 at_least 90 || fail "the call did not reach 1:30 (last seen $(call_seconds) s)"
ctl send 0x218 4 0 || fail "PBT_APMSUSPEND was not answered"  # WM_POWERBROADCAST
check_snapshot 90 "asleep at 1:30"
ctl send 0x218 0x12 0 || fail "PBT_APMRESUMEAUTOMATIC was not answered"
within 30 at_least 95 || fail "the call did not go on after waking (last seen $(call_seconds) s)"
ctl send 0x16 1 0 || fail "WM_ENDSESSION was not answered"  # the session ends
check_snapshot 95 "the end of the session at 1:35"
kill_tollwick

restart_after_cut "Orvonet Dial" 0x1
hex=$(bill_item 0)
check_eq "REG_BINARY ${hex:0:8}" "$(reg_value "CurCall" Cost)" "billed at the final snapshot's cost"
check_eq "$(hex_u32 "$hex" 204)" "$(( 0x0002 ))" "length 0:02"
exit_tollwick
echo PASS
