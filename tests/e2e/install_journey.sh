#!/usr/bin/env bash
# The installer as an administrator deploys it, silently, over a machine that already keeps a bill:
# install, start at logon, upgrade over a running Tollwick, uninstall, and an uninstall after a
# half-finished one. The settings and the bill come through every step byte for byte.
source "$(dirname "$0")/lib.sh"

installer=$(echo "$TOLLWICK_BUILD_DIR"/dist/tollwick-*-installer.exe)
# The installed program has no RAS simulator beside it; Wine's own stubs (no connections) serve.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES/rasapi32=n/rasapi32=b}
# Wine keeps a key's rights only while its server runs: one server for the whole journey.
wineserver -p
dir='C:\Program Files\Tollwick'
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
arp_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tollwick'
shortcut=$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tollwick.lnk')
installed() { [ -e "$(winepath -u "$dir")" ]; }
sz() { local v; v=$(reg_data "$@"); echo "${v#REG_SZ }"; }
tree_kept() {  # step
  export_tree "$1"
  [ "$1" = before ] || same_tree before "$1" || fail "$1 changed the settings or the bill"
}

printf '1.25\tMy ISP\talice\t5\t0x0900\t0x0905\t3\t12\t2026\t0\n2.00\t\tbob\t0\t0\t0\t4\t12\t2026\t1\n' | store_bill
reg_add 'HKLM\Software\Orvo\Tollwick' /v NoDCC /t REG_BINARY /d 00000000

wine "$installer" /S >"$artifacts/install.log" 2>&1 || fail "the silent install failed"
cmp -s "$(winepath -u "$dir\\tollwick.exe")" "$bin/tollwick.exe" || fail "tollwick.exe was not installed"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
check_eq "$(sz "$run_key" Tollwick)" "\"$dir\\tollwick.exe\"" "the Run value, quoted"
for entry in DisplayName:Tollwick DisplayVersion:1.11 Publisher:Orvo "DisplayIcon:$dir\\tollwick.exe,0"; do
  check_eq "$(sz "$arp_key" "${entry%%:*}")" "${entry#*:}" "the uninstall entry's ${entry%%:*}"
done
check_eq "$(ctl windows)" "" "Tollwicks started by a silent install where none ran"
# As stored: Wine does not enforce it.
dacl=$(ctl key-dacl 'Software\Orvo\Tollwick') || fail "cannot read the settings key's rights"
[[ $dacl == *'(A;OICI;CCDCLCSWRPSDRC;;;BU)'* ]] || fail "Users may not read and write the settings: $dacl"

# The Run value's command line, as the shell starts it at logon.
eval "wine $(sz "$run_key" Tollwick)" >"$artifacts/tollwick.log" 2>&1 &
tollwick_pid=$!
ctl wait-window 30 || fail "no Tollwick window from the Run value"
within 20 tray_shown || fail "no tray icon from the Run value"
wait_reg "CurCall" "" "REG_DWORD 0x0" 20 "the start-up"
tree_kept before

old=$(ctl windows)
wine "$installer" /S >"$artifacts/upgrade.log" 2>&1 || fail "the silent upgrade failed"
wait "$tollwick_pid" || fail "the Tollwick that ran did not end cleanly"
one_new() { running=$(ctl windows); [ -n "$running" ] && [ "$(wc -l <<<"$running")" = 1 ] && [ "$running" != "$old" ]; }
within 20 one_new || fail "after the upgrade: expected one Tollwick, not $old; got '$running'"
tree_kept upgraded

# The uninstall string as a deployment tool runs it: everything is done when it returns.
cp "$(winepath -u "$dir")"/uninstall.* "$artifacts/"
uninstall=$(sz "$arp_key" QuietUninstallString)
uninstalled() {
  [ "$(reg_data "$arp_key" DisplayName)" = MISSING ] || fail "$1: the uninstall entry stayed"
  ! installed || fail "$1: the program's folder stayed: $(ls "$(winepath -u "$dir")")"
  [ ! -e "$shortcut" ] || fail "$1: the Start-menu shortcut stayed"
  check_eq "$(reg_data "$run_key" Tollwick)" MISSING "$1: the Run value"
}
eval "wine $uninstall" || fail "the uninstall string failed: exit $?"
check_eq "$(ctl windows)" "" "Tollwicks running after the uninstall"
uninstalled "the uninstall"
tree_kept uninstalled

# What a half-finished uninstall leaves: the uninstaller alone.
mkdir -p "$(winepath -u "$dir")" && cp "$artifacts"/uninstall.* "$(winepath -u "$dir")/"
eval "wine $uninstall" || fail "the second uninstall failed: exit $?"
uninstalled "a second uninstall"
tree_kept uninstalled-again
echo "PASS"
