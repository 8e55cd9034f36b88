#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs the status monitor in a throwaway
# Wine prefix.
#
#   tools/run.sh [--show]
#
# With DISPLAY set: on that display, inside Wine's desktop window (the monitor lives in the
# notification area at its bottom right: right-click the icon for the menu, Exit ends it). The
# script returns when the monitor ends; Ctrl-C ends it and cleans up. --show also opens the
# status window once at start.
# Without DISPLAY: in a private Xvfb; takes a screenshot at start (window hidden), opens the
# status window with the show command (101), takes another, ends the monitor with Exit (104) and
# names the screenshot folder on stdout.
#
#   BUILD_ROOT       build folders (default: build)
#   RUN_SCREENSHOTS  screenshot folder (default: $BUILD_ROOT/run-screenshots)
set -uo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
root=${BUILD_ROOT:-build}
show=no
[ "${1:-}" = "--show" ] && show=yes

tools/install-deps.sh >&2 || exit 1
tools/build.sh >&2 || exit 1

. tests/e2e/lib.sh
CAPTION="Veltro LX90 VENDRA (ESC P) - Status Monitor"
MONITOR="$repo/$root/win32/monitor/LX90VENDRA(ESC P).exe"
WINTEST_EXE="$repo/$root/win32/tests/e2e/tools/wintest.exe"
for f in "$MONITOR" "$WINTEST_EXE"; do
  [ -f "$f" ] || { echo "run: missing $f" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/lx90-run.XXXXXX")
export WINEPREFIX="$work/prefix"
cleanup() {
  trap - EXIT INT TERM
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  e2e_xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "run: interrupted" >&2; exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
  shots=${RUN_SCREENSHOTS:-$root/run-screenshots}
  mkdir -p "$shots" && shots=$(cd "$shots" && pwd) || exit 1
  rm -f "$shots"/*.png
  e2e_xvfb_start "$work/display" || exit 1
  echo "run: Xvfb on $DISPLAY; booting a fresh Wine prefix" >&2
  e2e_boot_prefix "$WINEPREFIX" || exit 1
  wineserver -p
  wine "$MONITOR" >"$work/monitor.out" 2>&1 &
  pid=$!
  ok=yes
  wt -t 30000 wait exists "$CAPTION" && wt wait text "$CAPTION" 1010 "Ver 2.01 (9W)" ||
    { echo "run: the status window did not come up" >&2; ok=no; }
  e2e_screenshot "$shots/1-started-hidden.png"
  if [ $ok = yes ]; then
    wt command "$CAPTION" 101 && wt wait visible "$CAPTION" ||
      { echo "run: the status window was not shown on command 101" >&2; ok=no; }
    e2e_screenshot "$shots/2-shown.png" "$CAPTION"
    wt command "$CAPTION" 104
    e2e_wait_exit "$pid" 10000 || { echo "run: the monitor did not end on Exit" >&2; ok=no; }
  fi
  echo "$shots"
  [ $ok = yes ]
  exit $?
fi

echo "run: booting a fresh Wine prefix" >&2
e2e_boot_prefix "$WINEPREFIX" || exit 1
wineserver -p
wine "$MONITOR" &
pid=$!
if wt -t 30000 wait exists "$CAPTION"; then
  echo "run: the status monitor runs (hidden) in the notification area of Wine's desktop" \
       "window: right-click its icon for the menu, Exit ends it; Ctrl-C here ends it too." >&2
  [ $show = yes ] && wt command "$CAPTION" 101
else
  echo "run: the status window did not come up" >&2
fi
wait "$pid"
