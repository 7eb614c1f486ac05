#!/usr/bin/env bash
# Calls cut short in their first minute, by a kill or by E&xit, are billed at the next start with
# their own start, account and user, never with an earlier call's snapshot.
source "$(dirname "$0")/lib.sh"

rassim reset
rassim add-entry "Earlier"
rassim add-entry "Short One"
rassim add-entry "Short Two"
store_rates ".Default" 0 0 0.60 0.60 0.60 0 0

# An earlier call that ends normally leaves its last snapshot in the record.
start_tollwick
rassim up "Earlier"
wait_call_length 0x0002 120 "the earlier call's one-minute snapshot"
rassim down "Earlier"
wait_reg ".Bill" "" "REG_DWORD 0x1" 20 "the earlier call"

begin=$(now_minutes)
rassim up "Short One"
wait_reg "CurCall" "" "REG_DWORD 0x1" 20 "the marker of the call to be killed"
kill_tollwick
restart_after_cut "Short One" 0x2
hex=$(bill_item 1)
check_eq "$(hex_text "$hex" 4 100)" "Short One" "account of the killed call"
check_eq "$(hex_text "$hex" 104 100)" "$(whoami)" "user of the killed call"
check_eq "$(hex_u32 "$hex" 204)" "1" "length 0:01"
time_within "$(hex_u32 "$hex" 208)" "$begin" "$((begin + 1))" || fail "start of the killed call"

# E&xit during a call bills nothing at once either: the next start bills it.
rassim up "Short Two"
wait_reg "CurCall" "" "REG_DWORD 0x1" 20 "the marker of the call to be ended by E&xit"
exit_tollwick
check_eq "$(reg_value ".Bill" "")" "REG_DWORD 0x2" "E&xit bills nothing at once"
restart_after_cut "Short Two" 0x3
hex=$(bill_item 2)
check_eq "$(hex_text "$hex" 4 100)" "Short Two" "account of the exited call"
exit_tollwick
echo PASS
