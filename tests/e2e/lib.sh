# End-to-end test harness: Windows programs under Wine in a private X server.
#
# Source this file, then:
#   e2e_init WIN32_BUILD_DIR   work folder, Xvfb for the template, template prefix booted once
#   e2e_case NAME FUNCTION     runs FUNCTION in a subshell with its own prefix (a copy of the
#                              template), its own wineserver and its own Xvfb; records PASS/FAIL
#   e2e_finish                 removes the work folder; prints "e2e: N passed, N failed"
#
# Inside a case:
#   wt ARGS...                 runs wintest.exe (see tests/e2e/tools/wintest.cpp)
#   e2e_launch NAME EXE        starts EXE in the case's prefix; its Unix pid goes to E2E_PID[NAME]
#   e2e_wait_exit PID MS       polls until the process has ended (1 at the time limit)
#   e2e_screenshot FILE [CAPTION]  a PNG of the case's whole screen
#   e2e_colours_in FILE X Y W H    distinct colours in a rectangle of such a PNG
#   fail MESSAGE / check_eq WHAT GOT WANT
#
# Everything a case starts is ended by the case itself: wineserver -k on its own prefix, kill of
# its own Xvfb by pid. Nothing here looks at other prefixes, servers or displays.
#
# Texts are compared in wintest's escaped ASCII form of the ANSI bytes ("\x96" for the en dash
# of code page 1252), so no test depends on the shell's character set.

E2E_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Wine's settings for every prefix: 32-bit, quiet, no Mono/Gecko downloads, no menu entries in
# the user's home, no printers imported from a CUPS server on the host.
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export CUPS_SERVER=/nonexistent/e2e-no-cups.sock
unset WINELOADER WINESERVER

E2E_PASSED=0
E2E_FAILED=0
E2E_FAILED_NAMES=()

e2e_log() { printf '%s\n' "$*" >&2; }

# Starts Xvfb on a display it picks itself (-displayfd) and waits until it accepts clients.
# Sets E2E_XVFB_PID and DISPLAY.
e2e_xvfb_start() {
  local numfile=$1 limit=$((SECONDS + 15))
  : >"$numfile"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$numfile" \
    >"$numfile.log" 2>&1 &
  E2E_XVFB_PID=$!
  while [ ! -s "$numfile" ]; do
    if ! kill -0 "$E2E_XVFB_PID" 2>/dev/null; then
      e2e_log "Xvfb ended at start:"; cat "$numfile.log" >&2; return 1
    fi
    [ $SECONDS -lt $limit ] || { e2e_log "Xvfb did not report a display in 15 s"; return 1; }
    sleep 0.02
  done
  export DISPLAY=":$(tr -dc 0-9 <"$numfile")"
  xdpyinfo >/dev/null 2>&1 || { e2e_log "display $DISPLAY does not answer"; return 1; }
}

e2e_xvfb_stop() {
  if [ -n "${E2E_XVFB_PID:-}" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null || true
    wait "$E2E_XVFB_PID" 2>/dev/null || true
    E2E_XVFB_PID=
  fi
}

# Polls `"$@"` until it succeeds; gives up after MS milliseconds (status 1).
e2e_poll() {
  local ms=$1; shift
  local deadline=$(( $(date +%s%3N) + ms ))
  until "$@"; do
    [ "$(date +%s%3N)" -lt "$deadline" ] || return 1
    sleep 0.01
  done
}

e2e_process_ended() { ! kill -0 "$1" 2>/dev/null; }
e2e_wait_exit() { e2e_poll "$2" e2e_process_ended "$1"; }

# Registry settings every prefix gets: the virtual desktop (1024x768, the size of the Xvfb
# screen) with the shell enabled, so that its taskbar is always shown with task buttons (the
# notification area stays at the bottom right, first icon at (1014, 758)); and unmanaged windows
# (without a window manager, hiding a managed window stalls for 2 s).
e2e_write_settings_reg() {
  cat >"$1" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops\Default]
"EnableShell"=dword:00000001

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
EOF
}

# Boots a fresh prefix into DIR with the settings above and stops its wineserver again.
e2e_boot_prefix() {
  local dir=$1
  (
    export WINEPREFIX=$dir
    trap 'wineserver -k 2>/dev/null; exit 130' INT TERM
    wineboot -i >"$dir.boot.log" 2>&1 || { cat "$dir.boot.log" >&2; exit 1; }
    # Wine as packaged here does not pick up the TrueType fonts of fonts-wine (Tahoma behind
    # "MS Shell Dlg", Marlett for the caption buttons) by itself: without them dialogs come out
    # wider in DejaVu and the close box shows a letter. The system's font folder is searched.
    cp /usr/share/wine/fonts/*.ttf "$dir/drive_c/windows/Fonts/" ||
      { echo "fonts-wine's TrueType fonts are missing" >&2; exit 1; }
    e2e_write_settings_reg "$dir.settings.reg"
    wine regedit /S "$(winepath -w "$dir.settings.reg" 2>/dev/null)" >>"$dir.boot.log" 2>&1 ||
      { cat "$dir.boot.log" >&2; exit 1; }
    wineserver -k
    wineserver -w
  )
}

e2e_init() {
  local build_dir=$1
  WINTEST_EXE="$build_dir/tests/e2e/tools/wintest.exe"
  [ -f "$WINTEST_EXE" ] || { e2e_log "missing $WINTEST_EXE (build the win32 target)"; return 1; }
  if command -v lpstat >/dev/null && [ -n "$(lpstat -e 2>/dev/null)" ]; then
    e2e_log "note: the host has CUPS queues; Wine is kept away from them (CUPS_SERVER)"
  fi
  if [ -s /etc/printcap ] && grep -qv '^[[:space:]]*\(#\|$\)' /etc/printcap; then
    e2e_log "warning: /etc/printcap names printers; Wine may import them"
  fi
  E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/e2e.XXXXXX")
  E2E_TEMPLATE="$E2E_WORK/template"
  local t0=$SECONDS
  (
    trap e2e_xvfb_stop EXIT
    trap 'exit 130' INT TERM
    e2e_xvfb_start "$E2E_WORK/template.display" || exit 1
    e2e_boot_prefix "$E2E_TEMPLATE"
  ) || { e2e_log "booting the template prefix failed"; return 1; }
  e2e_log "e2e: template prefix booted in $((SECONDS - t0)) s"
}

e2e_finish() {
  [ -n "${E2E_WORK:-}" ] && rm -rf "$E2E_WORK"
  [ "$E2E_FAILED" -eq 0 ] || printf 'e2e: failed: %s\n' "${E2E_FAILED_NAMES[*]}"
  printf 'e2e: %d passed, %d failed\n' "$E2E_PASSED" "$E2E_FAILED"
  [ "$E2E_FAILED" -eq 0 ]
}

# ---- inside a case ----

fail() {
  printf 'FAIL: %s\n' "$*"
  exit 1
}

check_eq() {
  [ "$2" == "$3" ] || fail "$1: got '$2', want '$3'"
}

wt() { wine "$WINTEST_EXE" "$@"; }

declare -A E2E_PID

e2e_launch() {
  local name=$1 exe=$2
  wine "$exe" >>"$E2E_CASE_DIR/$name.out" 2>&1 &
  E2E_PID[$name]=$!
}

# A PNG of the whole screen into FILE. With CAPTION, that window is repainted first; then the
# screen is read until two reads 50 ms apart agree (at most 5 s), so the picture does not catch
# a half-drawn window.
e2e_screenshot() {
  local file=$1 caption=${2:-} prev="" cur deadline=$(( $(date +%s%3N) + 5000 ))
  [ -n "$caption" ] && { wt paint "$caption" || true; }
  while :; do
    cur=$(import -display "$DISPLAY" -window root rgb:- | md5sum)
    [ "$cur" = "$prev" ] && break
    [ "$(date +%s%3N)" -lt "$deadline" ] || { e2e_log "screen still changing; taking it as it is"; break; }
    prev=$cur
    sleep 0.05
  done
  import -display "$DISPLAY" -window root "$file"
}

# How many distinct colours the rectangle X Y W H of the PNG FILE holds (1: a plain area, such
# as the bare desktop).
e2e_colours_in() {
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -format %k info:
}

e2e_case_teardown() {
  # The case's own wineserver and every Windows process of its prefix; then its own Xvfb.
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  e2e_xvfb_stop
  [ -n "${WINEPREFIX:-}" ] && rm -rf "$WINEPREFIX"
}

# Ctrl-C or a TERM to the runner (see run.sh): the running case ends at once (its wineserver is
# killed, which ends whatever it waits for) and cleans up after itself; no further case starts.
E2E_STOP=0
E2E_CASE_PID=
e2e_interrupt() {
  E2E_STOP=1
  if [ -n "$E2E_CASE_PID" ]; then
    kill -TERM "$E2E_CASE_PID" 2>/dev/null
    [ -d "$E2E_CASE_DIR/prefix" ] && WINEPREFIX="$E2E_CASE_DIR/prefix" wineserver -k 2>/dev/null
  fi
}

e2e_case() {
  local name=$1; shift
  [ "$E2E_STOP" = 0 ] || return 0
  E2E_CASE_DIR="$E2E_WORK/case-$name"
  mkdir -p "$E2E_CASE_DIR"
  local log="$E2E_CASE_DIR/log" t0=$SECONDS rc
  # In the background so that the runner's wait returns on a signal.
  (
    trap e2e_case_teardown EXIT
    trap 'echo "FAIL: interrupted"; exit 130' TERM
    e2e_xvfb_start "$E2E_CASE_DIR/display" || fail "no X server"
    cp -a "$E2E_TEMPLATE" "$E2E_CASE_DIR/prefix" || fail "copying the template prefix"
    export WINEPREFIX="$E2E_CASE_DIR/prefix"
    wineserver -p || fail "wineserver did not start"
    "$@"
  ) >"$log" 2>&1 &
  E2E_CASE_PID=$!
  while :; do
    wait "$E2E_CASE_PID"
    rc=$?
    # wait also returns when a signal's trap has run; the case is then still ending.
    kill -0 "$E2E_CASE_PID" 2>/dev/null || break
  done
  E2E_CASE_PID=
  if [ $rc -eq 0 ]; then
    E2E_PASSED=$((E2E_PASSED + 1))
    printf 'PASS %s (%d s)\n' "$name" $((SECONDS - t0))
  else
    E2E_FAILED=$((E2E_FAILED + 1))
    E2E_FAILED_NAMES+=("$name")
    printf 'FAIL %s (%d s)\n' "$name" $((SECONDS - t0))
    sed 's/^/    | /' "$log" | tail -n 40
  fi
}
