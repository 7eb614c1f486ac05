#!/usr/bin/env bash
# Installs what is missing, builds tollwick.exe and starts it under Wine with the RAS simulator, on
# your X display (or on a private Xvfb when there is none). Stops when Tollwick exits (tray menu,
# "Exit") or on Ctrl-C.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh"

bin=$root/build/win/bin
# The Wine environment the tests use (locale, the simulator's rasapi32.dll preferred over Wine's
# stubs), with a prefix of its own that is kept from run to run.
export TOLLWICK_BUILD_DIR=$root/build/win TOLLWICK_WINEPREFIX=$root/build/run-prefix
export TOLLWICK_KEEP_PREFIX=1
[ -d "$TOLLWICK_WINEPREFIX" ] || echo "Preparing a Wine prefix in $TOLLWICK_WINEPREFIX ..."
source "$root/tests/wine/wine-env.sh"

xvfb_pid=
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT INT TERM

if [ -z "${DISPLAY:-}" ]; then
  start_private_xvfb
  echo "No X display was set: Tollwick runs on a private Xvfb at DISPLAY=$DISPLAY."
  echo "See it with:  DISPLAY=$DISPLAY $root/scripts/screenshot tollwick.png"
fi

# A phone-book entry to dial, so there is something to bring up.
wine "$bin/rassim.exe" add-entry "My ISP" >/dev/null 2>&1 || true

cat <<EOF_HELP

Tollwick is running in the Wine notification area (DISPLAY=$DISPLAY).
Bring a simulated dial-up connection up and down from another shell:
    $root/scripts/rassim up "My ISP" --ip 10.0.0.1
    $root/scripts/rassim down "My ISP"
    $root/scripts/rassim list            (more: $root/scripts/rassim help)
Within a second the tray icon and its tip follow the connection. Right-click the icon for the menu;
"Exit" ends Tollwick. Ctrl-C here ends it too.

EOF_HELP
cd "$bin"
wine tollwick.exe
