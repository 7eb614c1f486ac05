#!/usr/bin/env bash
# The usage graph printed for real: Options, the Graphs tab, a series and a user chosen, "&Print...",
# and the PDF that CUPS's PDF printer makes of it read back: the title names all users or the chosen
# user in capitals, and the series' name stands three lines below it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../print/lib.sh"

tab_graphs=2 users_box=$IDC_GRAPHS_USERS display_box=$IDC_GRAPHS_DISPLAY

rassim reset
start_printer

# alice: three two-hour calls at 10:00 in March; bob: one hour at 20:00 in July.
{
  for day in 3 4 5; do printf '4.00\tWork\talice\t512\t2560\t3072\t%d\t3\t2026\t0\n' "$day"; done
  printf '1.00\tMy ISP\tbob\t256\t5120\t5376\t9\t7\t2026\t0\n'
} | store_bill
start_tollwick
wait_reg ".Bill" "" "REG_DWORD 0x4" 20 "the stored bill"

check_one_page() { check_eq "$(pdf_pages "$artifacts/$1.pdf")" 1 "pages of $1"; }
# The first non-empty lines of the page: the title, then the series name after two blank lines.
line_of() { grep -nE "$2" <<<"$1" | head -1 | cut -d: -f1; }
check_header() {  # text title series
  local title_at series_at
  title_at=$(line_of "$1" "^ *$2 *\$")
  series_at=$(line_of "$1" "^ *$3 *\$")
  [ -n "$title_at" ] || fail "no title '$2' in: $1"
  [ -n "$series_at" ] || fail "no series name '$3' in: $1"
  check_eq "$(grep -m1 -nE '[^ ]' <<<"$1" | cut -d: -f1)" "$title_at" "the title on the first line"
  check_eq "$((series_at - title_at))" 3 "the series name three lines below the title"
}

print_from_options all $tab_graphs
check_one_page all
check_header "$text" "Tollwick Graph - All Users" "Total daily usage"
grep -qE 'Hours of the day' <<<"$text" || fail "all: no horizontal title in: $text"
# alice's three calls put three hours into 10:00 and 11:00: the vertical axis ends at 3.
grep -qE '^ +3 *$' <<<"$text" || fail "all: the vertical axis does not end at 3 hours: $text"
pdf_page_png "$artifacts/all.pdf" 1 "$artifacts/print-graph.png"

# The same graph on the printer set to 600 dpi (Wine reads a printer's settings once per process,
# hence the restart): the job's page measures twice the device units, the PDF's device space is
# places between those of 300 dpi (the PDF keeps a 300 dpi grid), and every word stands where it stood at 300 dpi, so margins, fonts and the
# plot all scale with the device.
exit_tollwick
ctl printer-resolution 600 || fail "could not set the printer to 600 dpi"
check_eq "$(ctl printer-metrics | tr -d '\r' | awk '{ print $1, $2, $4, $5 }')" "4358 6416 300 300" \
  "the 600 dpi page and margins"
start_tollwick
print_from_options all600 $tab_graphs
check_one_page all600
exit_tollwick
ctl printer-resolution 300 || fail "could not set the printer back to 300 dpi"
python3 - "$artifacts/all.pdf" "$artifacts/all600.pdf" <<'PY' || fail "the 600 dpi print is not laid out as the 300 dpi one"
import re, subprocess, sys, zlib
def words(pdf):
    html = subprocess.run(["pdftotext", "-bbox", pdf, "-"], capture_output=True, text=True, check=True).stdout
    return re.findall(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>', html)
def half_units(pdf):  # places between two 300 dpi device units, which only a finer device reaches
    data = open(pdf, "rb").read()
    content = b"".join(zlib.decompress(stream) for stream in re.findall(rb"stream\r?\n(.*?)endstream", data, re.S)
                       if stream.startswith(b"x"))
    drawing = re.sub(rb"BT.*?ET", b"", content, flags=re.S)  # text sits in points, not device units
    return len(re.findall(rb"(?<![\d.])\d+\.5 ", drawing))
fine = half_units(sys.argv[1]), half_units(sys.argv[2])
if fine[0] != 0 or fine[1] == 0:
    sys.exit(f"half-unit places at 300 and 600 dpi: {fine}; the second print was not made at 600 dpi")
low, high = words(sys.argv[1]), words(sys.argv[2])
if len(low) < 20 or [w[4] for w in low] != [w[4] for w in high]:
    sys.exit(f"different words: {[w[4] for w in low]} / {[w[4] for w in high]}")
worst = max(abs(float(a) - float(b)) for l, h in zip(low, high) for a, b in zip(l[:4], h[:4]))
print(f"{len(low)} words, largest shift {worst:.2f} pt")
sys.exit(0 if worst <= 1.5 else f"a word moved {worst:.2f} pt")
PY
start_tollwick

print_from_options bob $tab_graphs $users_box bob $display_box "Total yearly usage"
check_one_page bob
check_header "$text" "Tollwick Graph - BOB" "Total yearly usage"
grep -qE 'Months of year' <<<"$text" || fail "bob: no horizontal title in: $text"
! grep -qE '^ +[23] *$' <<<"$text" || fail "bob: alice's hours counted: $text"
exit_tollwick
echo "PASS"
