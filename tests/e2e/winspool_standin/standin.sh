# Helpers for end-to-end tests that use the winspool stand-in. Source this file;
# the functions use the caller's WINEPREFIX/WINEARCH/WINEDEBUG and ${WINE:-wine}.
#
#   standin_install <dir> [<stand-in winspool.drv>]   (default: $STANDIN_DLL, else the one
#                                                      in the win32 build $E2E_BUILD_DIR)
#   standin_enable                      adds winspool.drv=n,b to WINEDLLOVERRIDES (exported)
#   wine <dir>/program.exe
#   standin_set_status <queue> <dword>
#   standin_set_jobs <queue> [<job status>...]
#   standin_clear <queue>
#
# Each setter returns once the registry holds the new state; the stand-in reads
# it on the program's next spooler call.

STANDIN_DLLOVERRIDE="winspool.drv=n,b"
STANDIN_ROOT='HKEY_CURRENT_USER\Software\WinspoolStandIn'

# Path of the host Wine's own 32-bit winspool.drv ($STANDIN_WINE_WINSPOOL wins).
standin_wine_winspool() {
  local candidate
  for candidate in "${STANDIN_WINE_WINSPOOL:-}" \
      /usr/lib/i386-linux-gnu/wine/i386-windows/winspool.drv \
      /usr/lib/wine/i386-windows/winspool.drv \
      /usr/lib32/wine/i386-windows/winspool.drv \
      /usr/local/lib/wine/i386-windows/winspool.drv \
      /opt/wine-stable/lib/wine/i386-windows/winspool.drv; do
    if [ -n "$candidate" ] && [ -f "$candidate" ]; then
      printf '%s\n' "$candidate"
      return 0
    fi
  done
  echo "standin: Wine's i386 winspool.drv not found (set STANDIN_WINE_WINSPOOL)" >&2
  return 1
}

# Puts the stand-in and the renamed copy of Wine's winspool.drv beside a program.
standin_install() {
  local dir="$1" dll="${2:-${STANDIN_DLL:-}}" wine_dll
  if [ -z "$dll" ] && [ -n "${E2E_BUILD_DIR:-}" ]; then
    dll="$E2E_BUILD_DIR/tests/e2e/winspool_standin/winspool.drv"
  fi
  if [ -z "$dir" ] || [ ! -d "$dir" ]; then
    echo "standin_install: no such directory '$dir'" >&2
    return 1
  fi
  if [ -z "$dll" ] || [ ! -f "$dll" ]; then
    echo "standin_install: stand-in DLL '$dll' not found (pass it or set STANDIN_DLL)" >&2
    return 1
  fi
  wine_dll="$(standin_wine_winspool)" || return 1
  cp -f "$dll" "$dir/winspool.drv" && cp -f "$wine_dll" "$dir/winspool_wine.drv"
}

# Makes Wine prefer a winspool.drv found beside the program (the stand-in) for
# every program started from now on in this shell.
standin_enable() {
  case ";${WINEDLLOVERRIDES:-};" in
    *";$STANDIN_DLLOVERRIDE;"*) ;;
    *) WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}$STANDIN_DLLOVERRIDE" ;;
  esac
  export WINEDLLOVERRIDES
}

# Registry key of a queue's test state.
standin_key() {
  printf '%s\\%s\n' "$STANDIN_ROOT" "$1"
}

# Echoes a DWORD given as decimal or 0x-hex in decimal; fails on anything else.
_standin_dword() {
  local value="$1"
  if ! [[ "$value" =~ ^(0[xX][0-9a-fA-F]{1,8}|[0-9]{1,10})$ ]] || (( value > 0xFFFFFFFF )); then
    echo "standin: '$value' is not a DWORD" >&2
    return 1
  fi
  printf '%u\n' "$((value))"
}

_standin_reg() {
  "${WINE:-wine}" reg "$@" >/dev/null 2>&1
}

standin_set_status() {
  local queue="$1" value
  [ -n "$queue" ] || { echo "standin_set_status: no queue" >&2; return 1; }
  value="$(_standin_dword "$2")" || return 1
  _standin_reg add "$(standin_key "$queue")" /v Status /t REG_DWORD /d "$value" /f || {
    echo "standin_set_status: reg add failed" >&2
    return 1
  }
}

# Job status values in queue order; none at all means an empty queue.
standin_set_jobs() {
  local queue="$1" hex="" status value
  [ -n "$queue" ] || { echo "standin_set_jobs: no queue" >&2; return 1; }
  shift
  for status in "$@"; do
    value="$(_standin_dword "$status")" || return 1
    value="$(printf '%08x' "$value")"
    # REG_BINARY holds the DWORDs little-endian.
    hex+="${value:6:2}${value:4:2}${value:2:2}${value:0:2}"
  done
  _standin_reg add "$(standin_key "$queue")" /v Jobs /t REG_BINARY /d "$hex" /f || {
    echo "standin_set_jobs: reg add failed" >&2
    return 1
  }
}

# Removes a queue's test state: the real spooler answers again.
standin_clear() {
  local queue="$1" key
  [ -n "$queue" ] || { echo "standin_clear: no queue" >&2; return 1; }
  key="$(standin_key "$queue")"
  _standin_reg delete "$key" /f
  if _standin_reg query "$key"; then
    echo "standin_clear: $key still present" >&2
    return 1
  fi
}
