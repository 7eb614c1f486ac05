#!/usr/bin/env bash
# The bill printed for real: Options, the Bill tab, a user chosen in the users box, "&Print...", and
# the PDF that CUPS's PDF printer makes of it read back. An empty bill; a user's bill of two pages;
# a bill whose last row ends page 1, so the closing lines stand alone on page 2; the title of all
# users and of one user; names too long for their columns.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../print/lib.sh"

tab_bill=1 users_box=$IDC_BILL_USERS
shots=$artifacts  # rendered pages, for docs/screenshots

rassim reset
start_printer

# The page as the program measures it: 300 dpi A4 (2479 x 3508) less half an inch all round.
read -r width height line left top < <(ctl printer-metrics | tr -d '\r')
check_eq "$left $top $width $height" "150 150 2179 3208" "margins and printable size"
[ "$line" -gt 0 ] || fail "no line height measured"
# The rows that end a page, from the page's own figures: a row ends its page when the next one's
# y would pass height - 3 lines. Page 1's rows start below the title and column titles.
limit=$((height - 3 * line))
rows_page1=$(( (limit - (3 * line + 5)) / line + 1 ))
rows_later=$(( (limit - (line + 5)) / line + 1 ))
echo "line height $line: $rows_page1 rows end page 1, $rows_later a later page"

has_line() {  # text extended-regex what
  grep -qE "$2" <<<"$1" || fail "$3: no line matching '$2' in: $1"
}
lacks_line() {
  ! grep -qE "$2" <<<"$1" || fail "$3: a line matches '$2' in: $1"
}
check_pages() { check_eq "$(pdf_pages "$artifacts/$1.pdf")" "$2" "pages of $1"; }
columns='^ *Amount +Account +User +Start +Length +Date *$'

# (a) An empty bill: one page with the title, the column titles, zero figures and Page 1 of 1.
start_tollwick
wait_reg "CurCall" "" "REG_DWORD 0x0" 20 "the start-up"
print_from_options empty $tab_bill
check_pages empty 1
has_line "$text" '^ *Tollwick bill - All Users *$' "empty: title"
has_line "$text" "$columns" "empty: column titles"
has_line "$text" '^ *Currently owed is £0\.00\. Total connection time is 0:00 hours\. *$' "empty: owed"
has_line "$text" '^ *Total money used is £0\.00 and money spent is £0\.00\. *$' "empty: totals"
has_line "$text" '^ *Page 1 of 1 *$' "empty: footer"
pdf_page_png "$artifacts/empty.pdf" 1 "$shots/print-bill-empty.png"
exit_tollwick

# A bill of alice and bob, alternating: bob has enough for two pages with a payment among them,
# alice exactly what fills page 1 to its end. Calls of 0:01 each, starting a minute apart.
bob_rows=$((rows_page1 + 3)) alice_rows=$rows_page1
bob_payment=1  # bob's second item
bob_cost() { local cents=$((25 * ($1 % 4 + 1))); printf '%d.%02d' $((cents / 100)) $((cents % 100)); }
{
  for ((i = 0; i < bob_rows || i < alice_rows; i++)); do
    start=$(( (8 + i / 60) << 8 | i % 60 ))
    day=$((1 + i % 28))
    if [ $i -lt $alice_rows ]; then
      printf '1.50\tWork\talice\t1\t%d\t0\t%d\t12\t2026\t0\n' "$start" "$day"
    fi
    if [ $i -lt $bob_rows ]; then
      if [ $i -eq $bob_payment ]; then
        printf '2.00\t\tbob\t0\t0\t0\t%d\t12\t2026\t1\n' "$day"
      else
        printf '%s\tMy ISP\tbob\t1\t%d\t0\t%d\t12\t2026\t0\n' "$(bob_cost $i)" "$start" "$day"
      fi
    fi
  done
} | store_bill
start_tollwick
wait_reg ".Bill" "" "REG_DWORD $(printf '0x%x' $((bob_rows + alice_rows)))" 20 "the stored bill"

# Bob's calls as printed, in bill order: start time and amount.
expected_bob=$(for ((i = 0; i < bob_rows; i++)); do
  [ $i -eq $bob_payment ] && continue
  printf '%d:%02d £%s\n' $((8 + i / 60)) $((i % 60)) "$(bob_cost $i)"
done)
calls=$((bob_rows - 1))
used=$(python3 -c "print('%.2f' % sum(0.25 * (i % 4 + 1) for i in range($bob_rows) if i != $bob_payment))")
owed=$(python3 -c "print('%.2f' % ($used - 2))")

# (b) and (d): bob's bill on two pages, titled with his name in capitals.
print_from_options bob $tab_bill $users_box bob
check_pages bob 2
page1=$(text_page "$text" 1) page2=$(text_page "$text" 2)
has_line "$page1" '^ *Tollwick bill - BOB *$' "bob: title"
lacks_line "$page2" 'Tollwick bill' "bob: title on page 2"
has_line "$page1" "$columns" "bob: column titles on page 1"
has_line "$page2" "$columns" "bob: column titles on page 2"
has_line "$page1" '^ *Page 1 of 2 *$' "bob: footer 1"
has_line "$page2" '^ *Page 2 of 2 *$' "bob: footer 2"
# A payment prints negative, without account or times.
has_line "$page1" '^ *\(£2\.00\) +bob +2/12/2026 *$' "bob: the payment"
got_bob=$(sed -nE 's/^ *(£[0-9.]+) +My ISP +bob +([0-9]+:[0-9]{2}) +0:01 +[0-9]+\/12\/2026 *$/\2 \1/p' <<<"$text")
check_eq "$got_bob" "$expected_bob" "bob: the call rows in bill order"
# The rows past page 1's last go on page 2.
check_eq "$(grep -cE '^ *£[0-9.]+ +My ISP +bob ' <<<"$page2")" $((bob_rows - rows_page1)) "bob: rows on page 2"
lacks_line "$text" 'alice' "bob: alice's items"
has_line "$page2" "^ *Currently owed is £$owed\\. Total connection time is $((calls / 60)):$(printf '%02d' $((calls % 60))) hours\\. *\$" "bob: owed"
has_line "$page2" "^ *Total money used is £$used and money spent is £2\\.00\\. *\$" "bob: totals"
pdf_page_png "$artifacts/bob.pdf" 1 "$shots/print-bill-user-page1.png"
pdf_page_png "$artifacts/bob.pdf" 2 "$shots/print-bill-user-page2.png"

# (c) alice's last row ends page 1: the closing lines stand alone on page 2, which counts.
print_from_options alice $tab_bill $users_box alice
check_pages alice 2
page1=$(text_page "$text" 1) page2=$(text_page "$text" 2)
has_line "$page1" '^ *Tollwick bill - ALICE *$' "alice: title"
check_eq "$(grep -cE '^ *£1\.50 +Work +alice ' <<<"$page1")" "$alice_rows" "alice: rows on page 1"
has_line "$page1" "^ *£1\\.50 +Work +alice +$((8 + (alice_rows - 1) / 60)):$(printf '%02d' $(((alice_rows - 1) % 60))) " "alice: the last row on page 1"
has_line "$page1" '^ *Page 1 of 2 *$' "alice: footer 1"
has_line "$page2" "$columns" "alice: column titles on page 2"
lacks_line "$page2" 'alice' "alice: rows on page 2"
has_line "$page2" '^ *Currently owed is £[0-9.]+\. Total connection time is [0-9]+:[0-9]{2} hours\. *$' "alice: owed alone on page 2"
has_line "$page2" '^ *Page 2 of 2 *$' "alice: footer 2"
pdf_page_png "$artifacts/alice.pdf" 2 "$shots/print-bill-closing-alone.png"

# (d) all users: titled so, every item.
print_from_options all $tab_bill
page1=$(text_page "$text" 1)
has_line "$page1" '^ *Tollwick bill - All Users *$' "all: title"
pages=$(pdf_pages "$artifacts/all.pdf")
has_line "$(text_page "$text" "$pages")" "^ *Page $pages of $pages *\$" "all: last footer"
check_eq "$(grep -cE '^ *(£|\().* (alice|bob) ' <<<"$text")" "$((bob_rows + alice_rows))" "all: rows"
exit_tollwick

# (e) A cell is cut at its column's edge: 99-character names neither run into the next column nor
# blot it out. Row 1 has a long account and a long user, row 2 the same user with a short account.
long=$(printf 'W%.0s' {1..99})
printf '1.00\t%s\t%s\t1\t2048\t0\t1\t12\t2026\t0\n1.00\tWork\t%s\t1\t2048\t0\t1\t12\t2026\t0\n' \
  "$long" "$long" "$long" | store_bill
start_tollwick
wait_reg ".Bill" "" "REG_DWORD 0x2" 20 "the bill of long names"
print_from_options long $tab_bill
pdf_page_png "$artifacts/long.pdf" 1 "$shots/print-bill-long-names.png"
pdftoppm -gray -r 300 -aa no -aaVector no -f 1 -l 1 -singlefile "$artifacts/long.pdf" "$artifacts/long"
problem=$(python3 - "$artifacts/long.pgm" "$left" "$top" "$line" <<'PY'
import sys
path, left, top, line = sys.argv[1], *map(int, sys.argv[2:])
data = open(path, "rb").read()
width, height = map(int, data.split(maxsplit=3)[1:3])  # P5 width height 255 pixels
px = data[len(data) - width * height:]
dark = lambda x, y: px[y * width + x] < 128
# The column rules: the pixel columns dark all down the column titles' line (page 1: 2 lines down).
titles = top + 2 * line
rules = [x for x in range(left, width - left) if all(dark(x, y) for y in range(titles + 2, titles + line - 2))]
rules = [x for x in rules if x - 1 not in rules]  # the left pixel of each
row1, row2 = top + 3 * line + 5, top + 4 * line + 5
cell = lambda y0, x0, x1: [px[y * width + x0:y * width + x1] for y in range(y0, y0 + line)]
if len(rules) != 5: sys.exit(print(f"column rules at {rules}, not 5"))
user, start = rules[1], rules[2]
if cell(row1, user + 3, start) != cell(row2, user + 3, start): print("the long account changed the user's cell")
for name, rule in (("account", user), ("user", start)):
    if any(dark(x, y) for x in range(rule + 3, rule + 8) for y in range(row1, row1 + line)): print(f"the long {name} runs past its column")
for rule in rules:
    if not all(dark(rule, y) or dark(rule + 1, y) for y in range(row1, row2 + line)): print(f"the rule at x {rule} is broken")
PY
)
[ -z "$problem" ] || fail "long names: $problem (see $artifacts/long.pgm)"
exit_tollwick
echo "PASS"
