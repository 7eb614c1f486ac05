#!/usr/bin/env bash
# A first start on an empty registry stores the switches with their defaults, a connection brought up
# and down is followed, and E&xit ends the program.
source "$(dirname "$0")/lib.sh"

rassim reset
rassim add-entry "My ISP"
start_tollwick
# The start-up writes the call marker last, after the switches, the bill and the alarms.
wait_reg "CurCall" "" "REG_DWORD 0x0" 20 "the current-call marker"
for name in ClockIcon:00000000 NoDCC:01000000 CheckStatus:00000000; do
  check_eq "$(reg_value "" "${name%%:*}")" "REG_BINARY ${name#*:}" "${name%%:*} after the first start"
done
check_eq "$(reg_value ".Bill" "")" "REG_DWORD 0x0" "the bill's count"
check_eq "$(reg_value "" AlarmList | cut -c1-11)" "REG_BINARY " "AlarmList is binary"

rassim up "My ISP" --ip 10.1.2.3
wait_reg "CurCall" "" "REG_DWORD 0x1" 20 "marker while on line"
check_eq "$(reg_value "My ISP" UseDefault)" "REG_DWORD 0x1" "a new account runs on the default settings"
rassim down "My ISP"
# The call is billed before its marker is cleared.
wait_reg "CurCall" "" "REG_DWORD 0x0" 20 "marker after the call"
check_eq "$(reg_value ".Bill" "")" "REG_DWORD 0x1" "one call billed"

# The icon is in the notification area, and E&xit takes it away with the process.
within 20 tray_shown || fail "no tray icon while running"
exit_tollwick
within 10 tray_gone || fail "the tray icon stayed after E&xit"
echo "PASS"
