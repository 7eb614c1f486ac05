# Sourced by the Wine test launcher and the end-to-end scripts: the environment every Windows
# program of the tests runs in.
#  - a Wine prefix of its own (TOLLWICK_WINEPREFIX), copied fresh from a template made once per build
#    tree, so tests are hermetic and never touch ~/.wine;
#  - the United Kingdom locale, Wine's own chatter silenced;
#  - the RAS simulator (rasapi32.dll beside the program) preferred over Wine's stubs.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/needs.sh"
require_commands "${wine_commands[@]}" || exit 1
build=${TOLLWICK_BUILD_DIR:?TOLLWICK_BUILD_DIR must name the build tree}
prefix=${TOLLWICK_WINEPREFIX:-$build/prefixes/default}
template=$build/prefixes/.template

export WINEDEBUG=-all LC_ALL=en_GB.UTF-8 WINEARCH=win64
export WINEDLLOVERRIDES="rasapi32=n;mscoree,mshtml=;winemenubuilder.exe=d"

mkdir -p "$build/prefixes"
# The template is made again whenever this file changes, so a build tree never runs on old settings.
template_stamp=$(sha1sum "${BASH_SOURCE[0]}" | cut -c1-16)
(
  flock 9
  if [ "$(cat "$template/.ready" 2>/dev/null)" != "$template_stamp" ]; then
    rm -rf "$template"
    # Its output is kept: a prefix that cannot be made is otherwise a puzzle further on.
    if ! WINEPREFIX=$template wineboot -i >"$build/prefixes/template.log" 2>&1; then
      echo "wineboot could not make a Wine prefix; see $build/prefixes/template.log" >&2
      exit 1
    fi
    # Without a window manager on Xvfb nobody draws captions; let Wine draw its own, so screenshots
    # show dialogs as users see them. Nor does anybody answer a managed window's requests, which
    # Wine waits on for seconds each time a window is shown or hidden: the windows are left
    # unmanaged.
    for setting in Decorated Managed; do
      WINEPREFIX=$template wine reg add 'HKCU\Software\Wine\X11 Driver' /v $setting /d N /f >/dev/null 2>&1
    done
    # Wine's own fonts (Debian's fonts-wine) draw the glyphs of the captions' buttons (Marlett) and
    # the dialogs' text (Tahoma). This Wine looks for them in /usr/share/fonts, where they are not,
    # but it reads the prefix's Fonts folder.
    if ! cp /usr/share/wine/fonts/* "$template/drive_c/windows/Fonts/"; then
      echo "Wine's fonts are missing from /usr/share/wine/fonts: scripts/deps.sh installs fonts-wine" >&2
      exit 1
    fi
    # A crashing test program must fail at once, not wait behind Wine's crash dialog.
    WINEPREFIX=$template wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    WINEPREFIX=$template wineserver -w
    echo "$template_stamp" >"$template/.ready"
  fi
) 9>"$build/prefixes/.lock" || exit 1

if [ "${TOLLWICK_KEEP_PREFIX:-0}" != 1 ] || [ ! -d "$prefix" ]; then
  rm -rf "$prefix"
  cp -a "$template" "$prefix"
fi
export WINEPREFIX=$prefix

# Starts a private X server and exports its DISPLAY; its pid is left in xvfb_pid for the caller to
# stop. -noreset keeps it accepting connections when the last client (the program, at exit) goes.
start_private_xvfb() {
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 7 -screen 0 1024x768x24 -nolisten tcp -noreset 7>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  if [ ! -s "$display_file" ]; then
    rm -f "$display_file"
    echo "Xvfb gave no display number within 10 s" >&2
    return 1
  fi
  export DISPLAY=:$(cat "$display_file")
  rm -f "$display_file"
}
