#!/usr/bin/env bash
# A user sets an account's charges on the Setup tab: the account leaves the ".Default" settings,
# gets its own rates through Charge Rates, no minimum charge and a 50 % "Evening" discount through
# Add Discount, and OK stores it all. A call on that account is then billed at exactly the
# tariff's sum of per-second prices less the discount, for the call's start and length.
source "$(dirname "$0")/lib.sh"

frame="Tollwick configuration"
tabs=$IDC_OPTIONS_TABS
tab_setup=4  # Statistics, Bill, Graphs, Alarms, Setup, Misc
account="Orvonet Dial"
root="HKLM\\Software\\Orvo\\Tollwick"

rassim reset
rassim add-entry "$account"
store_rates ".Default" 0 0 0.60 0.60 0.60 1 0.05
# The evening discount's window is put around the time of this run, so that it applies whenever
# the test runs.
# The journey and its call take a few minutes and must not pass midnight: close to it, wait for
# the new day.
while [ "$(now_minutes)" -ge $((23 * 60 + 50)) ]; do sleep 10; done
now=$(now_minutes)
from=$(( now < 5 ? 0 : now - 5 )) to=$(( now + 15 > 23 * 60 + 59 ? 23 * 60 + 59 : now + 15 ))
start_tollwick
wait_reg "CurCall" "" "REG_DWORD 0x0" 20 "the start-up"

page_text() { ctl dialog-text "$1" "$2" | tr -d '\r'; }
text_is() { [ "$(page_text "$1" "$2")" = "$3" ]; }

ctl command $IDM_OPTIONS
ctl wait-dialog "$frame" 20 || fail "the Options dialog did not open"
ctl tab "$frame" $tabs $tab_setup
within 10 text_is "$frame" $IDC_SETUP_SHOWN_NAME ".Default" || fail "the Setup tab did not open on .Default"
ctl choose "$frame" $IDC_SETUP_ACCOUNT "$account" || fail "no account $account in the account box"
within 10 text_is "$frame" $IDC_SETUP_SHOWN_NAME "$account" || fail "the account was not shown"
ctl click "$frame" $IDC_SETUP_USE_DEFAULT  # off "Use setup for .Default"
ctl click "$frame" $IDC_SETUP_MIN_CHARGE_ON  # no minimum charge
ctl press "$frame" $IDC_SETUP_RATES
ctl wait-dialog "Charge Rates" 10 || fail "Charge Rates did not open"
for field in "$IDC_RATES_DAY_FROM 0:00" "$IDC_RATES_DAY_TO 0:00" "$IDC_RATES_DAY_RATE 1.20" \
             "$IDC_RATES_EVENING_RATE 1.20" "$IDC_RATES_WEEKEND_RATE 1.20"; do
  ctl set-text "Charge Rates" ${field% *} "${field#* }"
done
screenshot charge-rates
ctl press "Charge Rates" 1
ctl wait-dialog-closed "Charge Rates" 10 || fail "Charge Rates did not close on OK"
ctl press "$frame" $IDC_SETUP_ADD  # "+"
ctl wait-dialog "Add Discount" 10 || fail "Add Discount did not open"
ctl set-text "Add Discount" $IDC_DISCOUNT_NAME "Evening"
ctl set-text "Add Discount" $IDC_DISCOUNT_PERCENT "50"
ctl click "Add Discount" $IDC_DISCOUNT_SOME_TIMES  # only at certain times ...
ctl click "Add Discount" $IDC_DISCOUNT_CERTAIN  # ... of day
ctl set-text "Add Discount" $IDC_DISCOUNT_FROM "$(( from / 60 )):$(printf '%02d' $(( from % 60 )))"
ctl set-text "Add Discount" $IDC_DISCOUNT_TO "$(( to / 60 )):$(printf '%02d' $(( to % 60 )))"
ctl press "Add Discount" 1
ctl wait-dialog-closed "Add Discount" 10 || fail "Add Discount did not close on OK"
within 10 ctl row-count "$frame" $IDC_SETUP_DISCOUNTS >/dev/null || fail "no discount list"
check_eq "$(ctl row-count "$frame" $IDC_SETUP_DISCOUNTS | tr -d '\r')" 1 "discounts listed"
screenshot setup-tab
ctl press "$frame" 1
ctl wait-dialog-closed "$frame" 10 || fail "the Options dialog did not close on OK"

key="$account"
wait_reg "$key" UseDefault "REG_DWORD 0x0" 10 "the account's own settings"
check_eq "$(reg_value "$key" MinChargeOn)" "REG_DWORD 0x0" "MinChargeOn"
check_eq "$(reg_value "$key" CallChargeInfo)" \
  "REG_BINARY $(u32hex 0 | tr a-f A-F)$(u32hex 0 | tr a-f A-F)$(f32hex 1.20 | tr a-f A-F)$(f32hex 1.20 | tr a-f A-F)$(f32hex 1.20 | tr a-f A-F)" \
  "CallChargeInfo"
check_eq "$(reg_value "$key\\Discounts\\Evening" Percent)" "REG_BINARY $(f32hex 50 | tr a-f A-F)" \
  "the account's evening discount"
check_eq "$(reg_value "$key\\Discounts\\Evening" Certain)" "REG_DWORD 0x1" "only at certain times"

rassim up "$account"
wait_call_length 0x0002 100 "the call's one-minute snapshot"
rassim down "$account"
wait_reg ".Bill" "" "REG_DWORD 0x1" 20 "the call billed"
exit_tollwick

hex=$(bill_item 0)
check_eq "$(hex_text "$hex" 4 100)" "$account" "the billed account"
cost=$(hex_f32 "$hex" 0)
start=$(hex_u32 "$hex" 208)
length=$(hex_u32 "$hex" 204)
figures=$(wine "$bin/tariff_sum.exe" "$account" "$start" "$length" "$(hex_u32 "$hex" 0)" |
  tr -d '\r') ||
  fail "cost $cost is no sum of the tariff's prices for the call: $figures"
echo "$figures"
# 1.20 a minute is 2p a second; the discount takes half of it off.
python3 -c "import sys
_, price, _, deduction = sys.argv[1].split()
p, d = float(price), float(deduction)
sys.exit(0 if abs(p - 0.02) < 1e-7 and abs(d - p / 2) < 1e-9 else 1)" "$(echo "$figures" | head -1)" ||
  fail "a second should cost 2p less half of it: $figures"
echo PASS
