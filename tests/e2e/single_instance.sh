#!/usr/bin/env bash
# Tollwick started again while it runs: the second start ends at once, writing nothing, and the
# running one shows its Call information dialog; during a call the call is still billed once.
source "$(dirname "$0")/lib.sh"

rassim reset
rassim add-entry "Orvonet Dial"
store_rates ".Default" 0 0 0.60 0.60 0.60 0 0

# Starts tollwick.exe again and waits, with a limit, for that start to end (and its windows with it).
second_start() {
  (cd "$bin" && exec timeout 20 wine tollwick.exe) >>"$artifacts/second.log" 2>&1 ||
    fail "the second start did not end by itself"
}

start_tollwick
export_tree before
second_start
export_tree after
same_tree before after || fail "the second start wrote to the registry"
ctl wait-dialog "Call information" 10 || fail "the running Tollwick did not show Call information"
screenshot call-information-on-second-start
ctl press "Call information" 1
ctl wait-dialog-closed "Call information" 10 || fail "Call information did not close on OK"

rassim up "Orvonet Dial"
wait_reg "CurCall" "" "REG_DWORD 0x1" 20 "the call under way"
second_start
check_eq "$(reg_value ".Bill" "")" "REG_DWORD 0x0" "nothing billed by the second start"
rassim down "Orvonet Dial"
wait_reg "CurCall" "" "REG_DWORD 0x0" 20 "the end of the call"
check_eq "$(reg_value ".Bill" "")" "REG_DWORD 0x1" "one item for the call"

exit_tollwick
start_tollwick
check_eq "$(reg_value ".Bill" "")" "REG_DWORD 0x1" "still one item at the next start"
exit_tollwick
echo PASS
