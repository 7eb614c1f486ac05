#!/usr/bin/env bash
# Installs what is missing, builds tollwick.exe and starts it under Wine with the RAS simulator, on
# your X display (or on a private Xvfb when there is none). Stops when Tollwick exits (tray menu,
# "Exit") or on Ctrl-C.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh"

bin=$root/build/win/bin
export WINEPREFIX=$root/build/run-prefix
export WINEDEBUG=-all LC_ALL=en_GB.UTF-8 WINEARCH=win64
# The simulator's rasapi32.dll beside tollwick.exe stands in for the Remote Access Service.
export WINEDLLOVERRIDES="rasapi32=n;mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/.ready" ]; then
  echo "Preparing a Wine prefix in $WINEPREFIX ..."
  wineboot -i >/dev/null 2>&1
  # Without a window manager nobody draws captions; let Wine draw its own.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.ready"
fi

xvfb_pid=
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT INT TERM

if [ -z "${DISPLAY:-}" ]; then
  display_file=$(mktemp)
  Xvfb -displayfd 7 -screen 0 1024x768x24 -nolisten tcp -noreset 7>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=:$(cat "$display_file")
  rm -f "$display_file"
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
