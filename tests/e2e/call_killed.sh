#!/usr/bin/env bash
# A call killed after its first minute is billed at the next start from its one-minute snapshot.
source "$(dirname "$0")/lib.sh"

rassim reset
rassim add-entry "Orvonet Dial"
store_rates ".Default" 0 0 0.60 0.60 0.60 0 0
start_tollwick
rassim up "Orvonet Dial"
# The kill comes well before the next snapshot, a minute on.
wait_call_length 0x0002 120 "the call's one-minute snapshot"
snapshot_cost=$(reg_value "CurCall" Cost)
kill_tollwick
check_eq "$(reg_value "CurCall" "")" "REG_DWORD 0x1" "marker left behind by the killed run"
check_eq "$(reg_value ".Bill" "")" "REG_DWORD 0x0" "nothing billed by the killed run"

restart_after_cut "Orvonet Dial" 0x1
hex=$(bill_item 0)
check_eq "$(hex_u32 "$hex" 204)" "$(( 0x0002 ))" "length 0:02 from the one-minute snapshot"
check_eq "REG_BINARY ${hex:0:8}" "$snapshot_cost" "cost of the snapshot"
cost=$(hex_f32 "$hex" 0)
near "$cost" 0.60 || fail "the snapshot cost $cost is not one minute at 0.60"
check_eq "$(hex_text "$hex" 4 100)" "Orvonet Dial" "account"
check_eq "$(reg_value "CurCall" "")" "REG_DWORD 0x0" "marker cleared by the recovery"
exit_tollwick
echo PASS
