# Sourced by the tests that print for real: the CUPS PDF printer as Wine's default printer, and
# reading back what it printed. Needs wine-env.sh's environment (WINEPREFIX) and `ctl` from
# tests/e2e/lib.sh.
#   start_printer            a scheduler, the "PDF" printer as the default, seen by Wine
#   stop_printer             stops the scheduler if start_printer started it (by its pid)
#   print_and_wait NAME CMD  runs CMD, waits for the PDF it prints, copies it to $artifacts/NAME.pdf
#   print_from_options NAME TAB [COMBO ENTRY]...   prints from the Options dialog as a user does
#   pdf_text FILE            the text of every page, laid out as printed, pages split by form feeds
#   pdf_page_png FILE PAGE OUT.png   a page rendered at 50 dpi, to look at
require_commands "${print_commands[@]}" || exit 1

printer_cupsd_pid=
printer_name=PDF
# cups-pdf files a job under the home of the user who printed it ("Out ${HOME}/PDF" in
# /etc/cups/cups-pdf.conf), or under its spool's ANONYMOUS folder when CUPS hands it a user
# it cannot look up; both are watched.
printer_outputs=("$(getent passwd "$(id -un)" | cut -d: -f6)/PDF" /var/spool/cups-pdf/ANONYMOUS)

# lpstat -r says whether the scheduler runs, and exits 0 either way.
scheduler_up() { lpstat -r 2>/dev/null | grep -qx 'scheduler is running'; }

start_printer() {
  # One scheduler per machine: a running one (CI's, or a desktop's) is used as it is. Only one
  # started here is stopped again, by its pid.
  if ! scheduler_up; then
    /usr/sbin/cupsd -f >"$artifacts/cupsd.log" 2>&1 &
    printer_cupsd_pid=$!
    within 20 scheduler_up || fail "the CUPS scheduler did not start (see cupsd.log)"
  fi
  # A4 whatever the machine's paper: the checks count rows on a 300 dpi A4 page. lpadmin warns
  # that printer drivers are deprecated; the PDF driver still needs one.
  lpadmin -p "$printer_name" -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
    -o PageSize=A4 -E 2>/dev/null || fail "lpadmin could not add the PDF printer"
  lpadmin -d "$printer_name" || fail "lpadmin could not make the PDF printer the default"
  # Wine copies CUPS's printers into the prefix, and takes its default as its own, only when a
  # process loads winspool; ctl printers does that and reports the default it then sees.
  local seen
  seen=$(ctl printers | tr -d '\r')
  grep -qx "default $printer_name" <<<"$seen" || fail "Wine does not see the PDF printer as its default: $seen"
}

stop_printer() {
  [ -n "$printer_cupsd_pid" ] || return 0
  kill "$printer_cupsd_pid" 2>/dev/null || true
  wait "$printer_cupsd_pid" 2>/dev/null || true
  printer_cupsd_pid=
}

printer_idle() { [ -z "$(lpstat -o "$printer_name" 2>/dev/null)" ]; }
new_pdf() {  # marker -> the newest PDF written after the marker, if any
  find "${printer_outputs[@]}" -maxdepth 1 -name '*.pdf' -newer "$1" 2>/dev/null |
    xargs -r ls -t 2>/dev/null | head -1
}
# A PDF is whole once CUPS has no job left for the printer and poppler reads it.
pdf_done() {  # marker
  printer_idle || return 1
  printed=$(new_pdf "$1")
  [ -n "$printed" ] && pdfinfo "$printed" >/dev/null 2>&1
}

print_and_wait() {  # name command [arguments]
  local name=$1 marker
  shift
  marker=$(mktemp)
  # Whole seconds: a file written in the marker's own second would not count as newer.
  touch -d "-1 second" "$marker"
  "$@"
  printed=
  within 60 pdf_done "$marker" ||
    { rm -f "$marker"; fail "no PDF from '$name' within 60 s (queue: $(lpstat -o 2>&1))"; }
  rm -f "$marker"
  cp "$printed" "$artifacts/$name.pdf"
  rm -f "$printed"
}

# A report printed as a user prints it: Options opened on a tab, an entry chosen in each combo box
# named, "&Print...", the PDF awaited, the dialog closed. Leaves the PDF's text in $text (and
# $artifacts/NAME.txt).
print_from_options() {  # name tab-index [combo-id entry]...
  local name=$1 frame="Tollwick configuration"
  ctl command $IDM_OPTIONS
  ctl wait-dialog "$frame" 20 || fail "the Options dialog did not open"
  ctl tab "$frame" $IDC_OPTIONS_TABS "$2"
  shift 2
  while [ $# -ge 2 ]; do
    within 10 ctl choose "$frame" "$1" "$2" || fail "no entry $2 in combo box $1"
    shift 2
  done
  print_and_wait "$name" ctl press "$frame" $IDC_OPTIONS_PRINT
  ctl press "$frame" 2
  ctl wait-dialog-closed "$frame" 10 || fail "the Options dialog did not close"
  text=$(pdf_text "$artifacts/$name.pdf")
  echo "$text" >"$artifacts/$name.txt"
}

pdf_text() { pdftotext -layout "$1" -; }
pdf_pages() { pdfinfo "$1" | sed -n 's/^Pages: *//p'; }
pdf_page_png() {  # pdf page out.png
  pdftoppm -png -r 50 -f "$2" -l "$2" -singlefile "$1" "${3%.png}"
}

# The page'th page (from 1) of pdf_text's output.
text_page() {  # text page
  awk -v want="$2" 'BEGIN { RS = "\f" } NR == want { print }' <<<"$1"
}

trap 'stop_printer; cleanup' EXIT
