# Sourced by the end-to-end scripts: a fresh Wine prefix, a private X display, and helpers to drive
# the real tollwick.exe, the RAS simulator and the registry.
set -euo pipefail
source "$(dirname "$0")/../../scripts/needs.sh"
require_commands "${e2e_commands[@]}" || exit 1
e2e_name=$(basename "$0" .sh)
export TOLLWICK_BUILD_DIR=${TOLLWICK_BUILD_DIR:?}
export TOLLWICK_WINEPREFIX=$TOLLWICK_BUILD_DIR/prefixes/e2e-$e2e_name
source "$(dirname "$0")/../wine/wine-env.sh"
# The controls and commands by the names the code gives them (written at build time).
source "$TOLLWICK_BUILD_DIR/tests/e2e/resource_ids.sh"
bin=$TOLLWICK_BUILD_DIR/bin
artifacts=$TOLLWICK_BUILD_DIR/e2e-artifacts/$e2e_name
rm -rf "$artifacts"
mkdir -p "$artifacts"

xvfb_pid=
tollwick_pid=
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

# The program's windows and tray icon need a display.
start_private_xvfb

fail() { echo "FAIL ($e2e_name): $*" >&2; exit 1; }
check_eq() { [ "$1" = "$2" ] || fail "$3: expected '$2', got '$1'"; }

ctl() { wine "$bin/tollwick_ctl.exe" "$@"; }
rassim() { wine "$bin/rassim.exe" "$@" >/dev/null; }

start_tollwick() {
  (cd "$bin" && exec wine tollwick.exe) >"$artifacts/tollwick.log" 2>&1 &
  tollwick_pid=$!
  ctl wait-window 30 || fail "the Tollwick window did not appear"
}

exit_tollwick() {
  ctl command $IDM_EXIT
  ctl wait-exit 20 || fail "Tollwick did not exit on E&xit"
  wait "$tollwick_pid" || true
}

# True while some program has an icon in the notification area: Wine shows its tray as a window of
# its own while it holds icons.
tray_shown() {  # the window tree is read again when a window vanishes in the middle of the walk
  local tree attempt
  for attempt in 1 2 3 4 5; do
    tree=$(xwininfo -root -tree 2>/dev/null) && break
    sleep 0.3
  done
  [ -n "${tree:-}" ] || fail "cannot read the X window tree"
  case "$tree" in *'"Wine System Tray"'*) return 0 ;; *) return 1 ;; esac
}
tray_gone() { ! tray_shown; }

kill_tollwick() {
  ctl kill || fail "could not kill Tollwick"
  wait "$tollwick_pid" || true
}

# The data of a registry value as `wine reg` prints it: one upper-case hex string (REG_BINARY), a
# number (REG_DWORD) or the text (REG_SZ).
reg_value() {  # key-below-root value-name|"" -> "TYPE DATA"
  reg_data "HKLM\\Software\\Orvo\\Tollwick${1:+\\$1}" "$2"
}
reg_data() {  # full-key value-name|"" -> "TYPE DATA"
  local key=$1 line="" attempt
  # `wine reg` now and then comes back empty-handed on a loaded machine: ask again before calling
  # a value missing.
  for attempt in 1 2 3; do
    if [ -z "$2" ]; then
      line=$(wine reg query "$key" /ve 2>/dev/null | tr -d '\r' | grep -E 'REG_' | head -1) || true
    else
      line=$(wine reg query "$key" /v "$2" 2>/dev/null | tr -d '\r' | grep -E "^ +$2 +REG_" | head -1) || true
    fi
    [ -n "$line" ] && break
    sleep 0.5
  done
  [ -n "$line" ] || { echo "MISSING"; return 0; }
  # "    Name    REG_TYPE    data"
  echo "$line" | sed -E 's/^ +.*(REG_[A-Z_]+) *(.*)$/\1 \2/'
}

reg_add() { wine reg add "$@" /f >/dev/null; }
# The whole settings tree as $artifacts/NAME.reg, to hold what one moment left against another's.
export_tree() {  # name
  wine reg export 'HKLM\Software\Orvo\Tollwick' "$(winepath -w "$artifacts/$1.reg")" /y >/dev/null
}
same_tree() { cmp -s "$artifacts/$1.reg" "$artifacts/$2.reg"; }

# Runs a check until it succeeds, for up to `limit` seconds; false when it never did. The program
# follows a change within a timer tick, and its minute snapshots come with the wall clock: the scripts
# wait for the evidence rather than sleeping for a guessed time.
within() {  # limit-seconds command [arguments]
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.5
  done
}

# True when a registry value reads as expected; what it read is left in reg_got.
reg_is() {  # key-below-root value-name|"" expected
  reg_got=$(reg_value "$1" "$2")
  [ "$reg_got" = "$3" ]
}
wait_reg() {  # key-below-root value-name|"" expected limit-seconds what
  within "$4" reg_is "$1" "$2" "$3" || fail "$5: expected '$3' within $4 s, got '$reg_got'"
}

# A call length (0xHHMM: the minutes counted and the one under way) as the call's snapshot,
# written once a minute, stores it.
snapshot_length() { echo "REG_BINARY $(u32hex "$1" | tr a-f A-F)"; }
# Waits for the call in progress to have reached a length.
wait_call_length() {  # packed-length limit-seconds what
  wait_reg "CurCall" Length "$(snapshot_length "$1")" "$2" "$3"
}

# Bytes of a REG_BINARY hex string, little-endian 32-bit at a byte offset.
hex_u32() {  # hex offset
  local h=${1:$(( $2 * 2 )):8}
  echo $(( 16#${h:6:2}${h:4:2}${h:2:2}${h:0:2} ))
}
hex_text() {  # hex offset maxlen -> text up to the first NUL
  local h=${1:$(( $2 * 2 )):$(( $3 * 2 ))} out="" i
  for ((i = 0; i < ${#h}; i += 2)); do
    [ "${h:$i:2}" = "00" ] && break
    out+=$(printf "\\x${h:$i:2}")
  done
  echo "$out"
}
# Through GDI rather than an X screenshot tool: an X server grab followed by a new Wine process can
# leave a running Wine program's message queue asleep (seen with Wine 8 on Xvfb).
screenshot() {
  ctl snapshot "$(winepath -w "$artifacts/$1.bmp")" && convert "$artifacts/$1.bmp" "$artifacts/$1.png" &&
    rm -f "$artifacts/$1.bmp"
}

# Hex of stored numbers, for `reg add /t REG_BINARY /d`.
u32hex() { python3 -c "import struct,sys; print(struct.pack('<I', int(sys.argv[1], 0)).hex())" "$1"; }
f32hex() { python3 -c "import struct,sys; print(struct.pack('<f', float(sys.argv[1])).hex())" "$1"; }
hex_f32() { python3 -c "import struct,sys; print('%.6f' % struct.unpack('<f', bytes.fromhex(sys.argv[1][int(sys.argv[2])*2:int(sys.argv[2])*2+8]))[0])" "$1" "$2"; }
snapshot_cost() { hex_f32 "$(reg_value "CurCall" Cost | cut -d' ' -f2)" 0; }
# True when the amount lies within a thousandth of the expected one.
near() { python3 -c "import sys; a, e = map(float, sys.argv[1:]); sys.exit(abs(a - e) >= 0.001)" "$1" "$2"; }
# The text of a control of a dialog (or of the page showing in it).
dialog_text() { ctl dialog-text "$1" "$2" | tr -d '\r'; }

# Stores the rate block, minimum charge and UseDefault of a profile.
store_rates() {  # profile day-from(0xHHMM) day-to day evening weekend min-charge-on min-charge
  local key="HKLM\\Software\\Orvo\\Tollwick\\$1"
  reg_add "$key" /v CallChargeInfo /t REG_BINARY \
    /d "$(u32hex "$2")$(u32hex "$3")$(f32hex "$4")$(f32hex "$5")$(f32hex "$6")"
  reg_add "$key" /v MinChargeOn /t REG_DWORD /d "$7"
  reg_add "$key" /v MinCharge /t REG_BINARY /d "$(f32hex "$8")"
  [ "$1" = ".Default" ] || reg_add "$key" /v UseDefault /t REG_DWORD /d 0
}

# Minutes since midnight of a PackedTime.
packed_minutes() { echo $(( ($1 >> 8) * 60 + ($1 & 255) )); }
now_minutes() { echo $(( 10#$(date +%H) * 60 + 10#$(date +%M) )); }
# True when a PackedTime lies within [from, to] minutes of the day (no midnight in these tests).
time_within() { local m; m=$(packed_minutes "$1"); [ "$m" -ge "$2" ] && [ "$m" -le "$3" ]; }

# Stored bill items (the 240-byte record) from lines of tab-separated fields on stdin: cost,
# account, user, length, start, end, day, month, year, type. Prints each as upper-case hex.
bill_items_hex() {
  python3 -c '
import struct, sys
for line in sys.stdin.read().splitlines():
    f = line.split("\t")
    record = struct.pack("<f", float(f[0])) + f[1].encode().ljust(100, b"\0") + f[2].encode().ljust(100, b"\0")
    record += struct.pack("<7I", *[int(v, 0) for v in f[3:10]]) + bytes(8)
    print(record.hex().upper())'
}
item_hex() {  # cost account user length start end day month year type
  local IFS=$'\t'
  echo "$*" | bill_items_hex
}
# Replaces the stored bill with the items on stdin (lines as bill_items_hex takes them), in one
# registry import rather than a `wine reg` per value.
store_bill() {
  local reg=$artifacts/bill.reg i=0 hex
  {
    printf 'REGEDIT4\n\n[-HKEY_LOCAL_MACHINE\\Software\\Orvo\\Tollwick\\.Bill]\n\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Orvo\\Tollwick\\.Bill]\n'
    while read -r hex; do
      printf '"BillItem%d"=hex:%s\n' "$i" "$(sed 's/../&,/g; s/,$//' <<<"$hex")"
      i=$((i + 1))
    done < <(bill_items_hex)
    printf '@=dword:%08x\n' "$i"
  } >"$reg"
  wine regedit /S "$(winepath -w "$reg")"
}

# The stored bytes of BillItem<n> as hex.
bill_item() { local v; v=$(reg_value ".Bill" "BillItem$1"); echo "${v#* }"; }

# After a run was cut short during a call: the connection goes, and the next start bills the call.
restart_after_cut() {  # entry expected-count
  rassim down "$1"
  start_tollwick
  wait_reg ".Bill" "" "REG_DWORD $2" 20 "the cut call billed at the next start"
}
