#!/usr/bin/env bash
# Checks the winspool stand-in under Wine with standin_check.exe: the
# forwarders, the registry test state and the two-call protocol.
#
#   tests/e2e/winspool_standin/test_standin.sh STANDIN_BUILD_DIR [WORK_DIR]
#
# STANDIN_BUILD_DIR holds winspool.drv and standin_check.exe (in the win32 tree:
# <build>/tests/e2e/winspool_standin). WORK_DIR (default STANDIN_BUILD_DIR/standin-test)
# receives a throwaway 32-bit prefix and is removed at the end. No X server needed.
# Prints PASS/FAIL per case and "standin: N passed, N failed"; non-zero exit on failure.
set -u
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 1 ] || { echo "usage: $0 STANDIN_BUILD_DIR [WORK_DIR]" >&2; exit 3; }
build=$(cd "$1" && pwd) || exit 3
work=${2:-$build/standin-test}
for f in winspool.drv standin_check.exe; do
  [ -f "$build/$f" ] || { echo "missing $build/$f" >&2; exit 3; }
done

. "$here/standin.sh"

export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export CUPS_SERVER=/nonexistent/standin-no-cups.sock
unset WINELOADER WINESERVER

rm -rf "$work"
mkdir -p "$work/app" "$work/plain" || exit 3
export WINEPREFIX="$work/prefix"
cleanup() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

wineboot -i >"$work/boot.log" 2>&1 || { cat "$work/boot.log"; exit 1; }
# A persistent server for the many short runs below (the boot's own one goes first).
wineserver -k 2>/dev/null
wineserver -w
wineserver -p || exit 1

cp "$build/standin_check.exe" "$work/plain/" || exit 1
cp "$build/standin_check.exe" "$work/app/" || exit 1
standin_install "$work/app" "$build/winspool.drv" || exit 1
standin_enable

QUEUE="Test Queue"
OTHER="Other Queue"

# Runs the check program beside the stand-in (or, with "plain", beside nothing, so
# Wine's own winspool.drv answers). Output in $OUT (no CRs), exit status in $RC.
run() {
  local dir="$work/app"
  if [ "$1" = plain ]; then dir="$work/plain"; shift; fi
  wine "$dir/standin_check.exe" "$@" >"$work/run.out" 2>&1
  RC=$?
  OUT=$(tr -d '\r' <"$work/run.out")
}

field() {
  printf '%s\n' "$OUT" | sed -n "s/^$1=//p" | head -n 1
}

fail() {
  printf 'FAIL: %s\n' "$*"
  printf '%s\n' "$OUT" | sed 's/^/    > /'
  exit 1
}

check_eq() {
  [ "$2" == "$3" ] || fail "$1: got '$2', want '$3'"
}

# Reads a queue and checks the four things the status monitor looks at.
expect_queue() {
  local queue=$1 status=$2 cjobs=$3 jobs=$4
  run show "$queue"
  check_eq "$queue: exit status" "$RC" 0
  check_eq "$queue: Status" "$(field status)" "$status"
  check_eq "$queue: cJobs" "$(field cjobs)" "$cjobs"
  check_eq "$queue: job Status list" "$(field jobs)" "$jobs"
}

# Queues are made through the stand-in: AddPrinterDriverA, AddPrinterA, OpenPrinterA,
# GetPrinterA level 5 and ClosePrinter all go through the forwarders. Without test
# state every answer equals Wine's own.
case_forwarders() {
  run add "$QUEUE" FILE:
  check_eq "add $QUEUE" "$RC/$(field added)" "0/$QUEUE"
  run add "$OTHER" FILE:
  check_eq "add $OTHER" "$RC/$(field added)" "0/$OTHER"

  run show "$QUEUE"
  check_eq "exit status" "$RC" 0
  case "$(field winspool)" in
    *\\app\\WINSPOOL.DRV | *\\app\\winspool.drv) ;;
    *) fail "winspool.drv not taken from beside the program: $(field winspool)" ;;
  esac
  case "$(field winspool_wine)" in
    *\\app\\winspool_wine.drv) ;;
    *) fail "forwarders did not load winspool_wine.drv: $(field winspool_wine)" ;;
  esac
  check_eq "level 5 name" "$(field level5_name)" "$QUEUE"
  check_eq "level 5 port" "$(field level5_port)" "FILE:"
  local through
  through=$(printf '%s\n' "$OUT" | grep -v '^winspool')

  run plain show "$QUEUE"
  check_eq "Wine's own winspool.drv used" "$(field winspool_wine)" "(not loaded)"
  check_eq "answers without test state" "$through" "$(printf '%s\n' "$OUT" | grep -v '^winspool')"
}

# The state the status monitor has to see: a paused queue with a job printing.
# standin_check also checks the two-call protocols (size query, one byte short, exact).
case_paused_and_printing() {
  standin_set_status "$QUEUE" 1 || fail "standin_set_status"
  standin_set_jobs "$QUEUE" 0x2010 || fail "standin_set_jobs"
  expect_queue "$QUEUE" 0x1 1 0x2010
  case "$(field size_query)" in
    "FALSE error=122 needed="[1-9]*) ;;
    *) fail "EnumJobsA size query: $(field size_query)" ;;
  esac
  check_eq "job ids" "$(field job_ids)" 1
  check_eq "level 5 still Wine's" "$(field level5_port)" "FILE:"
  check_eq "EnumJobsA level 1 still Wine's stub" "$(field enum_level1)" "FALSE error=12345 needed=0"
  # State belongs to one queue name only.
  expect_queue "$OTHER" 0x0 0 ""
  standin_clear "$QUEUE" || fail "standin_clear"
}

# FirstJob/NoJobs pick a window of the job list; past the end there is nothing.
case_job_window() {
  standin_set_jobs "$QUEUE" 0x10 0x2010 8 1 || fail "standin_set_jobs"
  local row first count want_jobs want_ids
  while read -r first count want_jobs want_ids; do
    [ "$want_jobs" = - ] && want_jobs=""
    [ "$want_ids" = - ] && want_ids=""
    run enum "$QUEUE" "$first" "$count"
    row="FirstJob $first NoJobs $count"
    check_eq "$row: exit status" "$RC" 0
    check_eq "$row: jobs" "$(field jobs)" "$want_jobs"
    check_eq "$row: ids" "$(field job_ids)" "$want_ids"
    if [ -z "$want_jobs" ]; then
      check_eq "$row: size query" "$(field size_query)" "TRUE error=0 needed=0"
    fi
  done <<'EOF'
0 4 0x10,0x2010,0x8,0x1 1,2,3,4
0 100 0x10,0x2010,0x8,0x1 1,2,3,4
1 2 0x2010,0x8 2,3
3 10 0x1 4
4 10 - -
9 1 - -
0 0 - -
EOF
  standin_clear "$QUEUE" || fail "standin_clear"
}

# The state is read on every call: a running program that keeps its handle open
# sees a change made while it runs.
case_live_change() {
  standin_set_status "$QUEUE" 1 || fail "standin_set_status"
  local out="$work/watch.out"
  wine "$work/app/standin_check.exe" watch "$QUEUE" 0x80 20000 >"$out" 2>&1 &
  local pid=$! deadline=$((SECONDS + 20))
  # Change the state only once the watcher has seen the first one.
  until grep -q '^status=0x1' "$out"; do
    kill -0 $pid 2>/dev/null || { OUT=$(cat "$out"); fail "watcher ended early"; }
    [ $SECONDS -lt $deadline ] || { OUT=$(cat "$out"); fail "watcher never saw Status 1"; }
    sleep 0.01
  done
  standin_set_status "$QUEUE" 0x80 || fail "standin_set_status"
  wait $pid
  local rc=$?
  OUT=$(tr -d '\r' <"$out")
  check_eq "watcher exit status" "$rc" 0
  check_eq "Status seen in turn" "$(printf '%s\n' "$OUT" | grep '^status=' | tr '\n' ' ')" \
    "status=0x1 status=0x80 "
  standin_clear "$QUEUE" || fail "standin_clear"
}

# Value forms: an empty job list, REG_MULTI_SZ numbers, values that are ignored.
case_state_forms() {
  local key
  key=$(standin_key "$QUEUE")
  standin_set_status "$QUEUE" 0x400 || fail "standin_set_status"
  standin_set_jobs "$QUEUE" || fail "standin_set_jobs (none)"
  expect_queue "$QUEUE" 0x400 0 ""
  check_eq "empty list size query" "$(field size_query)" "TRUE error=0 needed=0"

  # REG_MULTI_SZ: "0x" is hex, everything else decimal (010 is ten, not eight).
  wine reg add "$key" /v Jobs /t REG_MULTI_SZ /d '0x10\0010\04294967295' /f >/dev/null 2>&1 ||
    fail "reg add REG_MULTI_SZ"
  expect_queue "$QUEUE" 0x400 3 0x10,0xa,0xffffffff

  # Malformed values do not override anything: the real answers come through.
  local bad
  for bad in 'REG_BINARY 102000' 'REG_MULTI_SZ 0x10\0twelve' 'REG_MULTI_SZ 4294967296' \
             'REG_SZ 1' 'REG_DWORD 1'; do
    wine reg add "$key" /v Jobs /t "${bad%% *}" /d "${bad#* }" /f >/dev/null 2>&1 ||
      fail "reg add Jobs $bad"
    expect_queue "$QUEUE" 0x400 0 ""
  done
  wine reg add "$key" /v Status /t REG_SZ /d 1 /f >/dev/null 2>&1 || fail "reg add Status REG_SZ"
  expect_queue "$QUEUE" 0x0 0 ""

  standin_clear "$QUEUE" || fail "standin_clear"
  standin_clear "$QUEUE" || fail "standin_clear of an absent key"
  expect_queue "$QUEUE" 0x0 0 ""
}

# The helpers refuse what is not a DWORD instead of writing something else.
case_helper_input() {
  local value
  for value in abc -1 0x100000000 4294967296 1.5 ""; do
    if standin_set_status "$QUEUE" "$value" 2>/dev/null; then fail "status '$value' accepted"; fi
    if standin_set_jobs "$QUEUE" 1 "$value" 2>/dev/null; then fail "job '$value' accepted"; fi
  done
  if wine reg query "$(standin_key "$QUEUE")" >/dev/null 2>&1; then
    fail "a refused value left state behind"
  fi
  standin_set_jobs "$QUEUE" 4294967295 0x1 || fail "largest DWORD refused"
  expect_queue "$QUEUE" 0x0 2 0xffffffff,0x1
  standin_clear "$QUEUE" || fail "standin_clear"
}

passed=0
failed=0
for c in forwarders paused_and_printing job_window live_change state_forms helper_input; do
  OUT=""
  # A case that failed half-way must not leave its state to the next one.
  standin_clear "$QUEUE" || { echo "cannot clear the test state"; exit 1; }
  if (case_$c) >"$work/$c.log" 2>&1; then
    passed=$((passed + 1)); echo "PASS $c"
  else
    failed=$((failed + 1)); echo "FAIL $c"; sed 's/^/    | /' "$work/$c.log" | tail -n 40
  fi
done
echo "standin: $passed passed, $failed failed"
[ $failed -eq 0 ]
