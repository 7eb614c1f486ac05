#!/usr/bin/env bash
# Runs one Windows program under Wine as the tests need it (see wine-env.sh), on the caller's X display
# or, when there is none, on a private Xvfb.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
status=0
if [ -n "${DISPLAY:-}" ]; then
  wine "$@" || status=$?
else
  xvfb-run -a -s "-screen 0 1024x768x24" wine "$@" || status=$?
fi
wineserver -k 2>/dev/null || true
exit $status
