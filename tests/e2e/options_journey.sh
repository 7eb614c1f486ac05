#!/usr/bin/env bash
# A user's way through the Options dialog: open it, add a payment, see the Statistics tab and the
# remaining bill follow, delete two rows, export the rest, edit an alarm and Cancel, then open it
# again, change a Misc switch and OK, and leave. The registry must then hold exactly what that leaves.
source "$(dirname "$0")/lib.sh"

frame="Tollwick configuration"
tabs=$IDC_OPTIONS_TABS
# The tabs, in the order the dialog shows them:
# Statistics, Bill, Graphs, Alarms, Setup, Misc.
tab_statistics=0 tab_bill=1 tab_alarms=3 tab_misc=5

rassim reset
bill_key="HKLM\\Software\\Orvo\\Tollwick\\.Bill"
seed=("$(item_hex 1.25 "My ISP" alice 0x0005 0x0900 0x0905 3 12 2026 0)"
      "$(item_hex 0.60 "My ISP" bob 0x0002 0x1000 0x1002 4 12 2026 0)"
      "$(item_hex 2.00 "Work" alice 0x0010 0x1100 0x1110 5 12 2026 0)")
for i in 0 1 2; do reg_add "$bill_key" /v "BillItem$i" /t REG_BINARY /d "${seed[$i]}"; done
reg_add "$bill_key" /ve /t REG_DWORD /d 3
start_tollwick
wait_reg "CurCall" "" "REG_DWORD 0x0" 20 "the start-up"
alarms_before=$(reg_value "" AlarmList)

page_text() { dialog_text "$frame" "$1" | iconv -f CP1252 -t UTF-8; }  # the program's texts are in code page 1252
text_is() { [ "$(page_text "$1")" = "$2" ]; }
wait_text() {  # control expected what
  within 10 text_is "$1" "$2" || fail "$3: expected '$2', got '$(page_text "$1")'"
}
open_options() {
  ctl command $IDM_OPTIONS
  ctl wait-dialog "$frame" 20 || fail "the Options dialog did not open"
}

# Statistics first: 3.85 owed, nothing paid.
open_options
wait_text $IDC_STATS_PAID "£0.00" "paid before the payment"
wait_text $IDC_STATS_TOTAL "£3.85" "total before the payment"

# Bill: a payment of 5.00 by hand.
ctl tab "$frame" $tabs $tab_bill
wait_text $IDC_BILL_REMAINING "£3.85" "remaining bill before the payment"
ctl press "$frame" $IDC_BILL_ADD_PAYMENT
ctl wait-dialog "Add payment" 10 || fail "Add payment did not open"
ctl set-text "Add payment" $IDC_ADD_USER "carol"
ctl set-text "Add payment" $IDC_ADD_COST "5.00"
screenshot add-payment
ctl press "Add payment" 1
ctl wait-dialog-closed "Add payment" 10 || fail "Add payment did not close on OK"
wait_text $IDC_BILL_REMAINING "(£1.15)" "remaining bill after the payment"
wait_reg ".Bill" "" "REG_DWORD 0x4" 10 "the count after the payment"
ctl tab "$frame" $tabs $tab_statistics
wait_text $IDC_STATS_PAID "£5.00" "paid after the payment"
wait_text $IDC_STATS_TOTAL "(£1.15)" "total after the payment"

# Bill: the two newest rows (the payment and the 2.00 call) go.
ctl tab "$frame" $tabs $tab_bill
check_eq "$(ctl row-count "$frame" $IDC_BILL_LIST | tr -d '\r')" 4 "rows before the delete"
ctl select-rows "$frame" $IDC_BILL_LIST 0 1
ctl press "$frame" $IDC_BILL_DELETE
wait_reg ".Bill" "" "REG_DWORD 0x2" 10 "the count after the delete"
wait_text $IDC_BILL_REMAINING "£1.85" "remaining bill after the delete"
screenshot bill-after-delete

# Bill: the two items left, exported through Save As and read back as a spreadsheet would.
export_file=$artifacts/bill.csv
ctl press "$frame" $IDC_BILL_EXPORT
ctl wait-dialog "Save As" 10 || fail "Save As did not open"
ctl set-text "Save As" 1148 "$(winepath -w "$export_file")"  # the file name box, cmb13
ctl press "Save As" 1
ctl wait-dialog-closed "Save As" 10 || fail "Save As did not close on Save"
within 10 test -s "$export_file" || fail "the export wrote no file"
python3 - "$export_file" <<'EOF' || fail "the exported bill"
import csv, sys
raw = open(sys.argv[1], "rb").read()
assert raw.startswith(b"\xef\xbb\xbf") and raw.count(b"\r\n") == 3, raw
with open(sys.argv[1], encoding="utf-8-sig", newline="") as f:
    rows = list(csv.reader(f))
# Calls added by hand moved no known volume: Received and Sent stay empty.
expected = [["Type", "Date", "Start", "End", "Length", "Minutes", "Account", "User", "Amount",
             "Received", "Sent"],
            ["Call", "2026-12-03", "9:00", "9:05", "0:05", "5", "My ISP", "alice", "1.25", "", ""],
            ["Call", "2026-12-04", "16:00", "16:02", "0:02", "2", "My ISP", "bob", "0.60", "", ""]]
assert rows == expected, rows
EOF

# Alarms: a name typed into slot 1, then Cancel: nothing of it is kept.
ctl tab "$frame" $tabs $tab_alarms
ctl set-text "$frame" $IDC_ALARM_NAME "Journey"
ctl press "$frame" 2
ctl wait-dialog-closed "$frame" 10 || fail "the Options dialog did not close on Cancel"
check_eq "$(reg_value "" AlarmList)" "$alarms_before" "AlarmList after Cancel"

# Misc: the clock icon, then OK.
open_options
ctl tab "$frame" $tabs $tab_misc
ctl click "$frame" $IDC_MISC_CLOCK_ICON
ctl press "$frame" 1
ctl wait-dialog-closed "$frame" 10 || fail "the Options dialog did not close on OK"
wait_reg "" ClockIcon "REG_BINARY 01000000" 10 "ClockIcon after OK"
exit_tollwick

# Exactly what the journey leaves: the two oldest items as they were, the count, the switches.
check_eq "$(reg_value ".Bill" "")" "REG_DWORD 0x2" "the final count"
check_eq "$(reg_value ".Bill" BillItem0)" "REG_BINARY ${seed[0]}" "BillItem0"
check_eq "$(reg_value ".Bill" BillItem1)" "REG_BINARY ${seed[1]}" "BillItem1"
for gone in BillItem2 BillItem3 Renumbering; do
  check_eq "$(reg_value ".Bill" "$gone")" "MISSING" "$gone after the delete"
done
check_eq "$(reg_value "" NoDCC)" "REG_BINARY 01000000" "NoDCC"
check_eq "$(reg_value "" CheckStatus)" "REG_BINARY 00000000" "CheckStatus"
check_eq "$(reg_value "" AlarmList)" "$alarms_before" "AlarmList"
echo "PASS"
