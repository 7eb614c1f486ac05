#!/usr/bin/env bash
# A call into its third minute on an account with its own rates becomes one stored bill item.
source "$(dirname "$0")/lib.sh"

rassim reset
rassim add-entry "Orvonet Dial"
# .Default would charge 0.60 a minute; the account has its own 1.20 a minute (2p a second).
store_rates ".Default" 0 0 0.60 0.60 0.60 0 0
store_rates "Orvonet Dial" 0 0 1.20 1.20 1.20 1 0.05

# The connection is up and has moved bytes before Tollwick finds it: those are not the call's.
rassim up "Orvonet Dial" --ip 10.20.30.40
rassim counters "Orvonet Dial" --received 4294967000 --sent 100
before=$(now_minutes)
start_tollwick
wait_reg "CurCall" "" "REG_DWORD 0x1" 20 "the call found, its counters read"
rassim traffic "Orvonet Dial" --received 1048576 --sent 4000  # the received counter wraps
volume_hex=000010000000A00F00000000  # 1048576 received and 4000 sent, 48-bit LE
# Two minutes counted: the snapshot shows the third under way.
wait_call_length 0x0003 200 "the call's two-minute snapshot"
snapshot_seen=$SECONDS
snapshot_cost=$(snapshot_cost)
near "$snapshot_cost" 2.40 || fail "the two-minute snapshot costs $snapshot_cost, not 120 seconds at 2p"
rassim down "Orvonet Dial"
wait_reg ".Bill" "" "REG_DWORD 0x1" 20 "the count advanced by one"
after=$(now_minutes)
# Seconds the call may have run past its two minutes: until now, and the poll that saw the snapshot.
past_snapshot=$((SECONDS - snapshot_seen + 5))

check_eq "$(reg_value ".Bill" BillItem0 | cut -d' ' -f1)" "REG_BINARY" "BillItem0's type"
hex=$(bill_item 0)
check_eq "${#hex}" "488" "BillItem0 is 244 bytes: its volume is known"
cost=$(hex_f32 "$hex" 0)
# From the snapshot's cost on, 2p for each second the call may have run past it.
python3 -c "import sys
c, s, n = float(sys.argv[1]), float(sys.argv[2]), int(sys.argv[3])
sys.exit(0 if s <= c <= s + 0.02 * n else 1)" "$cost" "$snapshot_cost" "$past_snapshot" \
  || fail "cost $cost is not the snapshot's $snapshot_cost and up to $past_snapshot seconds more at 2p"
check_eq "$(hex_text "$hex" 4 100)" "Orvonet Dial" "account"
check_eq "$(hex_text "$hex" 104 100)" "$(whoami)" "user"
check_eq "$(hex_u32 "$hex" 204)" "$(( 0x0003 ))" "length 0:03 (two minutes and the started one)"
time_within "$(hex_u32 "$hex" 208)" "$before" "$((before + 1))" || fail "start time"
time_within "$(hex_u32 "$hex" 212)" "$((after - 1))" "$after" || fail "end time"
check_eq "$(hex_u32 "$hex" 216)/$(hex_u32 "$hex" 220)/$(hex_u32 "$hex" 224)" \
  "$(date +%-d/%-m/%Y)" "date"
check_eq "$(hex_u32 "$hex" 228)" "0" "type Call"
check_eq "${hex:464}" "$volume_hex" "the bytes received and sent"
check_eq "$(reg_value "CurCall" "")" "REG_DWORD 0x0" "the marker afterwards"

exit_tollwick
echo PASS
