#!/usr/bin/env bash
# Runs one Windows program under Wine as the tests need it (see wine-env.sh), on the caller's X display
# or, when there is none, on a private Xvfb.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
# TOLLWICK_WINE_DPI: the display's dots per inch, which Wine reads at a program's start.
if [ -n "${TOLLWICK_WINE_DPI:-}" ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$TOLLWICK_WINE_DPI" /f >/dev/null
fi
status=0
if [ -n "${DISPLAY:-}" ]; then
  wine "$@" || status=$?
else
  xvfb-run -a -s "-screen 0 1024x768x24" wine "$@" || status=$?
fi
wineserver -k 2>/dev/null || true
exit $status
