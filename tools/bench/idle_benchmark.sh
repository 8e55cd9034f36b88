#!/usr/bin/env bash
# Idle cost of the status monitor under Wine, measured next to a baseline program.
#
#   tools/bench/idle_benchmark.sh [options] [WIN32_BUILD_DIR]      (default build dir: build/win32)
#
# Idle mode (default): one throwaway prefix in a private Xvfb, a printer queue of the monitor's
# model on FILE: (so that every evaluation really reads the spooler and the registry), the
# monitor and idle_baseline (the framework's empty hidden dialog with the same two 1 s wakeups)
# started side by side; after a settle time both are sampled for --duration seconds through
# /proc of their Unix processes: CPU (time on a CPU of their threads from schedstat, and
# utime+stime), peak memory (VmHWM), mean VmRSS, wakeups (context switches). Prints both, the ratios and PASS/OVER against the target
# (monitor <= 1.2 x baseline), plus the CPU of the prefix's wineserver and of Wine's own
# processes, for information.
#
# Long mode (--long): the monitor (and the baseline as a control) for --long-duration seconds
# with state changes: the queue's port moved between FILE: and USB001 every --flip seconds (the
# monitor notices and restarts monitoring), the show command (101) posted every --show seconds
# and the window closed again. Every --sample seconds: VmRSS, the process's entries in Wine's
# system handle list, Unix file descriptors and threads. Reports first-minute and last-minute
# means and the least-squares slope per minute, and whether memory or handles grow.
#
# Requests mode (--requests): what the idle cost is made of. The monitor, then the baseline, each
# alone with Wine's server trace on (WINEDEBUG=+server, so CPU figures would be meaningless) for
# --duration seconds; prints their wineserver requests per second by kind and, for the monitor,
# the registry values read per second.
#
# Options:
#   --duration S       idle and requests modes: measured time (60)
#   --settle S         wait after both programs are up before measuring (5)
#   --long             long mode instead of idle mode
#   --requests         requests mode instead of idle mode
#   --long-duration S  long mode: run time (600)
#   --flip S           long mode: port move period (20)
#   --show S           long mode: show command period (45)
#   --sample S         long mode: sampling period (5)
#   --warm S           long mode: samples before S seconds are left out of the statistics
#                      (default: one cycle of port moves and shows, max(2 x flip, show))
#   --out DIR          keep the samples (CSV) and the report in DIR
#   --strict           exit status 1 when a metric is OVER (idle) or grows (long)
#
# This is a benchmark, not a test: it exits 0 whatever it measures unless --strict is given
# (2: bad usage, 3: the setup failed). The machine should be otherwise idle; other Wine
# prefixes running at the same time make the figures noisy.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)

DURATION=60
SETTLE=5
LONG=0
REQUESTS=0
LONG_DURATION=600
FLIP=20
SHOW=45
SAMPLE=5
WARM=""
OUT=""
STRICT=0
BUILD_DIR="$repo/build/win32"
TARGET=1.2

usage() { sed -n '2,/^set -uo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//' >&2; exit 2; }
number() { [[ $2 =~ ^[0-9]+$ ]] && [ "$2" -gt 0 ] || { echo "$1: a positive whole number" >&2; exit 2; }; }
while [ $# -gt 0 ]; do
  case $1 in
    --duration) number "$1" "${2:-}"; DURATION=$2; shift 2 ;;
    --settle) [[ ${2:-} =~ ^[0-9]+$ ]] || usage; SETTLE=$2; shift 2 ;;
    --long) LONG=1; shift ;;
    --requests) REQUESTS=1; shift ;;
    --long-duration) number "$1" "${2:-}"; LONG_DURATION=$2; shift 2 ;;
    --flip) number "$1" "${2:-}"; FLIP=$2; shift 2 ;;
    --show) number "$1" "${2:-}"; SHOW=$2; shift 2 ;;
    --sample) number "$1" "${2:-}"; SAMPLE=$2; shift 2 ;;
    --warm) [[ ${2:-} =~ ^[0-9]+$ ]] || usage; WARM=$2; shift 2 ;;
    --out) [ -n "${2:-}" ] || usage; OUT=$2; shift 2 ;;
    --strict) STRICT=1; shift ;;
    -h | --help) usage ;;
    -*) echo "unknown option $1" >&2; usage ;;
    *) BUILD_DIR=$1; shift ;;
  esac
done

[ -n "$WARM" ] || WARM=$((2 * FLIP > SHOW ? 2 * FLIP : SHOW))
BUILD_DIR=$(cd "$BUILD_DIR" 2>/dev/null && pwd) || { echo "no build directory $BUILD_DIR" >&2; exit 3; }
MONITOR_EXE="$BUILD_DIR/monitor/LX90VENDRA(ESC P).exe"
BASELINE_EXE="$BUILD_DIR/tools/bench/idle_baseline.exe"
PROBE_EXE="$BUILD_DIR/tools/bench/bench_probe.exe"
for f in "$MONITOR_EXE" "$BASELINE_EXE" "$PROBE_EXE" "$BUILD_DIR/tests/e2e/tools/wintest.exe"; do
  [ -f "$f" ] || { echo "not built: $f (build the win32 tree)" >&2; exit 3; }
done
if [ -n "$OUT" ]; then
  mkdir -p "$OUT" && OUT=$(cd "$OUT" && pwd) || exit 3
fi

. "$repo/tests/e2e/lib.sh"
WINTEST_EXE="$BUILD_DIR/tests/e2e/tools/wintest.exe"

QUEUE="Veltro LX90 VENDRA (ESC P)"
MONITOR_CAPTION="Veltro LX90 VENDRA (ESC P) - Status Monitor"
BASELINE_CAPTION="Idle Baseline"
ID_HEADING=1004
CMD_SHOW=101
CMD_EXIT=104
TICK=$(getconf CLK_TCK)
CPUS=$(nproc)

log() { printf 'bench: %s\n' "$*" >&2; }
die() { log "FAILED: $*"; exit 3; }
now_ms() { date +%s%3N; }

# ---- the prefix and the programs ----

BENCH_WORK=$(mktemp -d "${TMPDIR:-/tmp}/idle-bench.XXXXXX")
E2E_CASE_DIR=$BENCH_WORK   # e2e_launch writes the programs' output here

teardown() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  e2e_xvfb_stop
  rm -rf "$BENCH_WORK"
}
trap teardown EXIT
trap 'exit 130' INT TERM

bench_setup() {
  local t0=$SECONDS
  e2e_xvfb_start "$BENCH_WORK/display" || die "no X server"
  export WINEPREFIX="$BENCH_WORK/prefix"
  e2e_boot_prefix "$WINEPREFIX" || die "booting the prefix"
  # The server's trace (requests mode) and any complaint of it go to a file.
  wineserver -p 2>"$BENCH_WORK/server.trace" || die "wineserver did not start"
  # Output to a file, not a pipe: the first program of a prefix starts Wine's services, which
  # inherit its standard handles and would keep a command substitution waiting.
  wine "$PROBE_EXE" queue "$QUEUE" FILE: >"$BENCH_WORK/queue.out" 2>&1 ||
    die "making the queue: $(cat "$BENCH_WORK/queue.out")"
  log "prefix booted, queue \"$QUEUE\" on FILE: ($((SECONDS - t0)) s)"
}

# The wineserver of this prefix: its working directory is server-<dev>-<inode> of the prefix.
wineserver_pid() {
  local dev ino p
  read -r dev ino < <(stat -c '%d %i' "$WINEPREFIX")
  local want
  want=$(printf 'server-%x-%x' "$dev" "$ino")
  for p in /proc/[0-9]*; do
    case $(cat "$p/comm" 2>/dev/null) in
      wineserver*) [ "$(basename "$(readlink "$p/cwd" 2>/dev/null)")" = "$want" ] && { echo "${p#/proc/}"; return 0; } ;;
    esac
  done
  return 1
}

# Wine's own processes of this prefix (services, explorer, ...): their environment names it.
prefix_pids() {
  local p
  for p in /proc/[0-9]*; do
    [ -r "$p/environ" ] || continue
    tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "${p#/proc/}"
  done
}

start_programs() {
  e2e_launch monitor "$MONITOR_EXE"
  e2e_launch baseline "$BASELINE_EXE"
  MON_PID=${E2E_PID[monitor]}
  BASE_PID=${E2E_PID[baseline]}
  wt -t 30000 wait exists "$MONITOR_CAPTION" >/dev/null || die "no monitor window within 30 s"
  wt -t 30000 wait exists "$BASELINE_CAPTION" >/dev/null || die "no baseline window within 30 s"
  # The monitor's first evaluation on FILE: says "Ready".
  wt -t 15000 wait text "$MONITOR_CAPTION" $ID_HEADING "Ready" >/dev/null ||
    log "note: monitor heading is '$(wt text "$MONITOR_CAPTION" $ID_HEADING)', not 'Ready'"
  MON_WINPID=$(wt pid "$MONITOR_CAPTION") || die "no Windows pid of the monitor"
  BASE_WINPID=$(wt pid "$BASELINE_CAPTION") || die "no Windows pid of the baseline"
  WS_PID=$(wineserver_pid) || die "wineserver of the prefix not found"
  local p
  for p in $MON_PID $BASE_PID; do
    kill -0 "$p" 2>/dev/null || die "process $p ended"
  done
  wt visible "$MONITOR_CAPTION" && log "note: the monitor's window is visible"
  wt visible "$BASELINE_CAPTION" && log "note: the baseline's window is visible"
  log "monitor: Unix pid $MON_PID (Windows $MON_WINPID); baseline: Unix pid $BASE_PID (Windows $BASE_WINPID); wineserver $WS_PID"
}

# ---- /proc readings ----

# utime+stime of a process, in clock ticks (all its threads, ended ones included).
cpu_ticks() {
  local s
  s=$(cat "/proc/$1/stat" 2>/dev/null) || { echo -1; return; }
  s=${s##*) }
  # shellcheck disable=SC2086
  set -- $s
  echo $(( ${12} + ${13} ))
}

status_kb() { awk -v k="$2:" '$1 == k { print $2; f = 1 } END { if (!f) print -1 }' "/proc/$1/status" 2>/dev/null || echo -1; }

# Time on a CPU of all live threads, in ns (schedstat; finer than the 1/CLK_TCK s of utime).
run_ns() {
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ n += $1 } END { printf "%d\n", n }'
}

# Voluntary + involuntary context switches of all live threads: wakeups.
switches() {
  cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/^(nonvoluntary|voluntary)_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}

thread_count() { status_kb "$1" Threads; }
fd_count() { ls "/proc/$1/fd" 2>/dev/null | wc -l; }

# Per-thread time on a CPU: "tid ns" lines.
thread_ns() {
  local t v
  for t in /proc/"$1"/task/*; do
    read -r v _ <"$t/schedstat" 2>/dev/null || continue
    echo "${t##*/} $v"
  done
}

# Resident kB per mapped file (basename), anonymous memory as [anon], from /proc/PID/smaps.
smaps_by_file() {
  awk '
    /^[0-9a-f]+-[0-9a-f]+ / { name = (NF >= 6) ? $6 : "[anon]"; for (i = 7; i <= NF; i++) name = name " " $i
                              n = split(name, parts, "/"); name = parts[n]; next }
    /^Rss:/ { rss[name] += $2 }
    END { for (k in rss) if (rss[k] > 0) printf "%d\t%s\n", rss[k], k }' "/proc/$1/smaps" 2>/dev/null
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2fx", a / b; else print "n/a" }'; }
verdict() { awk -v r="$1" -v t="$TARGET" 'BEGIN { if (r == "n/a") print "n/a"; else if (r + 0 <= t + 0) print "PASS"; else print "OVER" }'; }
ms() { awk -v n="$1" 'BEGIN { printf "%.0f", n / 1e6 }'; }
pct_ns() { awk -v n="$1" -v d="$2" 'BEGIN { printf "%.2f", 100 * n / 1e9 / d }'; }
# A process's program name from its command line (Windows or Unix path, arguments dropped).
proc_name() { tr '\0' '\n' 2>/dev/null <"/proc/$1/cmdline" | head -n 1 | sed 's/.*[\\/]//'; }
secs() { awk -v t="$1" -v k="$TICK" 'BEGIN { printf "%.2f", t / k }'; }
pct() { awk -v t="$1" -v k="$TICK" -v d="$2" 'BEGIN { printf "%.2f", 100 * t / k / d }'; }

REPORT="$BENCH_WORK/report.txt"
say() { printf '%s\n' "$*" | tee -a "$REPORT"; }

# ---- idle mode ----

idle_mode() {
  bench_setup
  start_programs
  log "settling ${SETTLE} s, then measuring ${DURATION} s"
  sleep "$SETTLE"

  local others p
  others=$(prefix_pids | grep -vxF -e "$MON_PID" -e "$BASE_PID" -e "$WS_PID")
  declare -A o0
  # Wine's services start and end threads: utime+stime, which keeps what ended threads used.
  for p in $others; do o0[$p]=$(cpu_ticks "$p"); done
  local m0 b0 w0 mn0 bn0 ms0 bs0 mt0 bt0 t0 t1
  m0=$(cpu_ticks "$MON_PID"); b0=$(cpu_ticks "$BASE_PID"); w0=$(run_ns "$WS_PID")
  mn0=$(run_ns "$MON_PID"); bn0=$(run_ns "$BASE_PID")
  ms0=$(switches "$MON_PID"); bs0=$(switches "$BASE_PID")
  mt0=$(thread_ns "$MON_PID"); bt0=$(thread_ns "$BASE_PID")
  t0=$(now_ms)

  local csv="$BENCH_WORK/idle.csv" msum=0 bsum=0 n=0 mr br deadline=$((t0 + DURATION * 1000))
  echo "t_ms,monitor_rss_kb,baseline_rss_kb" >"$csv"
  while [ "$(now_ms)" -lt "$deadline" ]; do
    mr=$(status_kb "$MON_PID" VmRSS); br=$(status_kb "$BASE_PID" VmRSS)
    [ "$mr" -ge 0 ] && [ "$br" -ge 0 ] || die "a program ended during the measurement"
    echo "$(( $(now_ms) - t0 )),$mr,$br" >>"$csv"
    msum=$((msum + mr)); bsum=$((bsum + br)); n=$((n + 1))
    sleep 1
  done
  t1=$(now_ms)
  local m1 b1 w1 mn1 bn1 ms1 bs1 mhwm bhwm d heading
  m1=$(cpu_ticks "$MON_PID"); b1=$(cpu_ticks "$BASE_PID"); w1=$(run_ns "$WS_PID")
  mn1=$(run_ns "$MON_PID"); bn1=$(run_ns "$BASE_PID")
  ms1=$(switches "$MON_PID"); bs1=$(switches "$BASE_PID")
  mhwm=$(status_kb "$MON_PID" VmHWM); bhwm=$(status_kb "$BASE_PID" VmHWM)
  d=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", (b - a) / 1000 }')
  heading=$(wt text "$MONITOR_CAPTION" $ID_HEADING)

  local mc=$((mn1 - mn0)) bc=$((bn1 - bn0)) wc=$((w1 - w0))
  local mrss=$((msum / n)) brss=$((bsum / n))
  local cpu_r mem_r rss_r v_cpu v_mem
  cpu_r=$(ratio $mc $bc); mem_r=$(ratio "$mhwm" "$bhwm"); rss_r=$(ratio $mrss $brss)
  v_cpu=$(verdict "$cpu_r"); v_mem=$(verdict "$mem_r")

  local row='%-9s %8s %8s %8s %10s %12s %10s %8s\n'
  say "idle benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), $CPUS CPUs, $(wine --version 2>/dev/null), load average $(cut -d' ' -f1-3 /proc/loadavg)"
  say "measured $d s after ${SETTLE} s settle, side by side in one prefix; monitor heading '$heading' (queue on FILE:)"
  say ""
  # shellcheck disable=SC2059
  {
    printf "$row" "" "CPU ms" "% core" "ticks" "VmHWM kB" "mean RSS kB" "wakeups/s" "threads"
    printf "$row" monitor "$(ms $mc)" "$(pct_ns $mc "$d")" $((m1 - m0)) "$mhwm" "$mrss" \
      "$(awk -v a=$((ms1 - ms0)) -v d="$d" 'BEGIN { printf "%.1f", a / d }')" "$(thread_count "$MON_PID")"
    printf "$row" baseline "$(ms $bc)" "$(pct_ns $bc "$d")" $((b1 - b0)) "$bhwm" "$brss" \
      "$(awk -v a=$((bs1 - bs0)) -v d="$d" 'BEGIN { printf "%.1f", a / d }')" "$(thread_count "$BASE_PID")"
  } | tee -a "$REPORT"
  say ""
  say "CPU          monitor/baseline $cpu_r  $v_cpu (target <= ${TARGET}x)"
  say "peak memory  monitor/baseline $mem_r  $v_mem (target <= ${TARGET}x; mean RSS ratio $rss_r)"
  say ""
  say "CPU ms: time on a CPU of the process's threads (schedstat); ticks: utime+stime in 1/$TICK s;"
  say "wakeups: context switches of its threads. For information:"
  say "  wineserver of the prefix: $(ms $wc) ms ($(pct_ns $wc "$d") % of a core; serves both programs and Wine's services)"
  local c1
  for p in $others; do
    c1=$(cpu_ticks "$p")
    [ "$c1" -ge 0 ] && [ "${o0[$p]:--1}" -ge 0 ] || continue
    say "  $(proc_name "$p"): $(( (c1 - ${o0[$p]}) * 1000 / TICK )) ms (ticks)"
  done
  local tid v before
  say "  monitor CPU ms by thread (main = the UI thread):"
  while read -r tid v; do
    before=$(awk -v t="$tid" '$1 == t { print $2 }' <<<"$mt0")
    say "    $([ "$tid" = "$MON_PID" ] && echo main || echo "thread $tid"): $(ms $((v - ${before:-0})))"
  done < <(thread_ns "$MON_PID")
  say "  baseline CPU ms by thread:"
  while read -r tid v; do
    before=$(awk -v t="$tid" '$1 == t { print $2 }' <<<"$bt0")
    say "    $([ "$tid" = "$BASE_PID" ] && echo main || echo "thread $tid"): $(ms $((v - ${before:-0})))"
  done < <(thread_ns "$BASE_PID")
  say "  resident memory the monitor has beyond the baseline, by mapping (kB):"
  join -t $'\t' -1 2 -2 2 -a 1 -e 0 -o 0,1.1,2.1 \
    <(smaps_by_file "$MON_PID" | sort -t $'\t' -k2,2) <(smaps_by_file "$BASE_PID" | sort -t $'\t' -k2,2) |
    awk -F '\t' '{ d = $2 - $3; if (d > 0) printf "%d\t%s\t%d\t%d\n", d, $1, $2, $3 }' | sort -rn | head -n 12 |
    while IFS=$'\t' read -r d name mkb bkb; do say "    +$d  $name (monitor $mkb, baseline $bkb)"; done

  RESULT_OVER=0
  if [ "$v_cpu" = OVER ] || [ "$v_mem" = OVER ]; then RESULT_OVER=1; fi
  wt command "$MONITOR_CAPTION" $CMD_EXIT >/dev/null 2>&1
  wt command "$BASELINE_CAPTION" $CMD_EXIT >/dev/null 2>&1
  e2e_wait_exit "$MON_PID" 10000 || log "note: the monitor did not end on Exit within 10 s"
  e2e_wait_exit "$BASE_PID" 10000 || log "note: the baseline did not end on command 104 within 10 s"
}

# ---- long mode ----

# One column COL of the long run's samples (t in ms in column 1): its first value, the means
# over [WARM, WARM + 60 s) and [END - 60 s, END], the least-squares slope per minute from WARM
# on, and its maximum. Negative values (not measured) are left out.
series_stats() {
  awk -F, -v col="$2" -v warm="$3" -v hi="$4" -v lo2="$5" '
    NR == 1 { next }
    $col < 0 { next }
    { y = $col; if (!started) { start = y; started = 1 }; if (!seen || y > mx) mx = y; seen = 1 }
    $1 < warm { next }
    { t = $1 / 60000; n++; st += t; sy += y; stt += t * t; sty += t * y
      if ($1 < hi) { a += y; na++ }
      if ($1 >= lo2) { b += y; nb++ } }
    END {
      d = n * stt - st * st; slope = (d > 0) ? (n * sty - st * sy) / d : 0
      printf "%s %.1f %.1f %.2f %s\n", (started ? start : -1), (na ? a / na : -1), (nb ? b / nb : -1), slope, (seen ? mx : -1) }' "$1"
}

long_mode() {
  bench_setup
  start_programs
  log "settling ${SETTLE} s, then ${LONG_DURATION} s with port moves every ${FLIP} s and show commands every ${SHOW} s"
  sleep "$SETTLE"

  # Handles are read by one probe run at a time, never while another Wine process starts or
  # ends: Wine 8's server can crash when its handle list is read during a process start.
  local hlog="$BENCH_WORK/handles.log" first selfcheck
  selfcheck=$(wine "$PROBE_EXE" selfcheck 2>&1 </dev/null | tr -d '\r' | paste -sd ' ')
  log "handle count self-check: $selfcheck"
  wine "$PROBE_EXE" handles "$MON_WINPID" "$BASE_WINPID" >"$hlog" 2>&1
  first=$(head -n 1 "$hlog")
  log "first handle sample: $first"

  local csv="$BENCH_WORK/long.csv"
  echo "t_ms,monitor_rss_kb,monitor_handles,monitor_fds,monitor_threads,baseline_rss_kb,baseline_handles,baseline_fds,baseline_threads,port,heading" >"$csv"
  local t0 end next_sample next_flip next_show port=FILE: moves=0 seen=0 shows=0 shown=0 t
  t0=$(now_ms); end=$((t0 + LONG_DURATION * 1000))
  next_sample=$t0; next_flip=$((t0 + FLIP * 1000)); next_show=$((t0 + SHOW * 1000))
  local m0; m0=$(cpu_ticks "$MON_PID")   # utime+stime: threads that ended count too
  while t=$(now_ms); [ "$t" -lt "$end" ]; do
    kill -0 "$MON_PID" 2>/dev/null || die "the monitor ended after $(( (t - t0) / 1000 )) s"
    if [ "$t" -ge "$next_flip" ]; then
      local want
      if [ "$port" = FILE: ]; then port=USB001; want="Communication Error"; else port=FILE:; want="Ready"; fi
      wine "$PROBE_EXE" port "$QUEUE" "$port" >/dev/null 2>&1 || log "note: moving the queue to $port failed"
      moves=$((moves + 1))
      wt -t 5000 wait text "$MONITOR_CAPTION" $ID_HEADING "$want" >/dev/null 2>&1 && seen=$((seen + 1))
      next_flip=$((next_flip + FLIP * 1000))
    fi
    if [ "$t" -ge "$next_show" ]; then
      shows=$((shows + 1))
      wt command "$MONITOR_CAPTION" $CMD_SHOW >/dev/null 2>&1
      if wt -t 5000 wait visible "$MONITOR_CAPTION" >/dev/null 2>&1; then
        shown=$((shown + 1))
        sleep 1
      fi
      wt post "$MONITOR_CAPTION" 0x0010 0 0 >/dev/null 2>&1   # WM_CLOSE: hides it again
      next_show=$((next_show + SHOW * 1000))
    fi
    if [ "$t" -ge "$next_sample" ]; then
      local hm hb heading
      wine "$PROBE_EXE" handles "$MON_WINPID" "$BASE_WINPID" >"$hlog.new" 2>&1
      cat "$hlog.new" >>"$hlog"
      hm=$(sed -n "s/^pid=$MON_WINPID listed=\([0-9]*\) .*/\1/p" "$hlog.new"); hm=${hm:--1}
      hb=$(sed -n "s/^pid=$BASE_WINPID listed=\([0-9]*\) .*/\1/p" "$hlog.new"); hb=${hb:--1}
      heading=$(wt text "$MONITOR_CAPTION" $ID_HEADING 2>/dev/null)
      echo "$((t - t0)),$(status_kb "$MON_PID" VmRSS),$hm,$(fd_count "$MON_PID"),$(thread_count "$MON_PID"),$(status_kb "$BASE_PID" VmRSS),$hb,$(fd_count "$BASE_PID"),$(thread_count "$BASE_PID"),$port,$heading" >>"$csv"
      next_sample=$((next_sample + SAMPLE * 1000))
    fi
    sleep 0.2
  done
  local elapsed m1
  elapsed=$(( $(now_ms) - t0 )); m1=$(cpu_ticks "$MON_PID")
  local warm=$((WARM * 1000))
  [ $warm -ge $((elapsed - 60000)) ] && warm=$((elapsed > 120000 ? elapsed - 120000 : 0))
  local first_hi=$((warm + 60000)) last_lo=$((elapsed - 60000))

  say "long run, $(date -u '+%Y-%m-%d %H:%M UTC'), $CPUS CPUs, $(wine --version 2>/dev/null), load average $(cut -d' ' -f1-3 /proc/loadavg)"
  say "$((elapsed / 1000)) s after ${SETTLE} s settle; samples every ${SAMPLE} s: $(($(wc -l <"$csv") - 1))"
  say "port moves FILE: <-> USB001: $moves (heading followed within 5 s: $seen); show commands: $shows (window shown: $shown)"
  say "monitor CPU over the run: $(secs $((m1 - m0))) s ($(pct $((m1 - m0)) "$(awk -v e=$elapsed 'BEGIN { print e / 1000 }')") % of a core)"
  say "handle probe: $first"
  say "handle probe self-check (its own counts around opening 10 events): $selfcheck"
  say "statistics from $((warm / 1000)) s on (the first cycle of port moves and shows is warm-up);"
  say "first minute: $((warm / 1000))-$((first_hi / 1000)) s, last minute: $((last_lo > 0 ? last_lo / 1000 : 0))-$((elapsed / 1000)) s"
  say ""
  printf '%-18s %9s %12s %12s %11s %9s  %s\n' "" "at start" "first min" "last min" "slope/min" "max" "" | tee -a "$REPORT"
  RESULT_OVER=0
  local col name thr_abs thr_slope s0 a b s mx
  while read -r col name thr_abs thr_slope; do
    read -r s0 a b s mx < <(series_stats "$csv" "$col" $warm $first_hi $last_lo)
    local v
    if [ "$a" = "-1.0" ] || [ "$b" = "-1.0" ]; then
      v="not measurable"
    else
      v=$(awk -v a="$a" -v b="$b" -v s="$s" -v ta="$thr_abs" -v ts="$thr_slope" \
        'BEGIN { if (b - a > ta && s > ts) print "GROWS"; else print "steady" }')
    fi
    case $name in monitor*) [ "$v" = GROWS ] && RESULT_OVER=1 ;; esac
    printf '%-18s %9s %12s %12s %11s %9s  %s\n' "$name" "$s0" "$a" "$b" "$s" "$mx" "$v" | tee -a "$REPORT"
  done <<EOF
2 monitor_rss_kB 256 64
3 monitor_handles 1.5 0.5
4 monitor_unix_fds 1.5 0.5
5 monitor_threads 0.5 0.2
6 baseline_rss_kB 256 64
7 baseline_handles 1.5 0.5
EOF
  say ""
  say "GROWS: last-minute mean above the first-minute mean by more than 256 kB / 1.5 handles or fds"
  say "/ 0.5 threads, and a positive least-squares slope above 64 kB / 0.5 / 0.2 per minute."
  say "handles: the process's entries in Wine's system handle list (NtQuerySystemInformation);"
  say "GetProcessHandleCount answers 0 and GetGuiResources fails (120) under Wine 8, so GDI/USER"
  say "object counts are not measurable here."

  wt command "$MONITOR_CAPTION" $CMD_EXIT >/dev/null 2>&1
  wt command "$BASELINE_CAPTION" $CMD_EXIT >/dev/null 2>&1
  e2e_wait_exit "$MON_PID" 10000 || log "note: the monitor did not end on Exit within 10 s"
}

# ---- requests mode ----

# Requests of the server trace between lines FROM and TO: "name" per request (replies, which
# read "name() = STATUS ...", and the server's own events are left out).
trace_requests() {
  sed -n "$2,$3p" "$1" | grep -E '^[0-9a-f]+: [a-z_]+\(' | grep -v ') = ' |
    sed -E 's/^[0-9a-f]+: ([a-z_]+)\(.*/\1/'
}

requests_mode() {
  bench_setup
  # The desktop process is started now, untraced, by a program that is not measured.
  wt count "$MONITOR_CAPTION" >/dev/null
  local trace="$BENCH_WORK/server.trace" prog exe caption pid from to
  say "wineserver requests, $(date -u '+%Y-%m-%d %H:%M UTC'), $(wine --version 2>/dev/null); each program alone, traced, ${DURATION} s after ${SETTLE} s settle"
  for prog in monitor baseline; do
    if [ $prog = monitor ]; then exe=$MONITOR_EXE caption=$MONITOR_CAPTION; else exe=$BASELINE_EXE caption=$BASELINE_CAPTION; fi
    WINEDEBUG=+server e2e_launch "$prog" "$exe"
    pid=${E2E_PID[$prog]}
    wt -t 30000 wait exists "$caption" >/dev/null || die "no $prog window within 30 s"
    [ $prog = monitor ] && { wt -t 15000 wait text "$caption" $ID_HEADING "Ready" >/dev/null || log "note: heading not 'Ready'"; }
    sleep "$SETTLE"
    from=$(($(wc -l <"$trace") + 1)); sleep "$DURATION"; to=$(wc -l <"$trace")
    trace_requests "$trace" $from $to >"$BENCH_WORK/$prog.requests"
    sed -n "${from},${to}p" "$trace" >"$BENCH_WORK/$prog.trace"
    wt command "$caption" $CMD_EXIT >/dev/null 2>&1
    e2e_wait_exit "$pid" 10000 || log "note: the $prog did not end on command 104 within 10 s"
    say ""
    say "$prog: $(awk -v n="$(wc -l <"$BENCH_WORK/$prog.requests")" -v d="$DURATION" 'BEGIN { printf "%.1f", n / d }') requests/s"
    sort "$BENCH_WORK/$prog.requests" | uniq -c | sort -rn | head -n 12 |
      while read -r n name; do say "  $(awk -v n="$n" -v d="$DURATION" 'BEGIN { printf "%6.1f", n / d }')  $name"; done
  done
  say ""
  say "registry values the monitor reads per second:"
  grep -E '^[0-9a-f]+: get_key_value\(' "$BENCH_WORK/monitor.trace" | sed -n 's/.*name=L"\([^"]*\)".*/\1/p' |
    sort | uniq -c | sort -rn | head -n 20 |
    while read -r n name; do say "  $(awk -v n="$n" -v d="$DURATION" 'BEGIN { printf "%6.1f", n / d }')  $name"; done
}

RESULT_OVER=0
if [ $LONG -eq 1 ]; then long_mode; elif [ $REQUESTS -eq 1 ]; then requests_mode; else idle_mode; fi
if [ -n "$OUT" ]; then
  cp "$BENCH_WORK"/*.csv "$BENCH_WORK"/*.out "$OUT"/ 2>/dev/null
  [ -f "$BENCH_WORK/handles.log" ] && cp "$BENCH_WORK/handles.log" "$OUT"/
  cp "$BENCH_WORK"/*.requests "$OUT"/ 2>/dev/null
  cp "$REPORT" "$OUT/report-$([ $LONG -eq 1 ] && echo long || { [ $REQUESTS -eq 1 ] && echo requests; } || echo idle).txt"
  log "samples and report in $OUT"
fi
[ $STRICT -eq 1 ] && [ $RESULT_OVER -eq 1 ] && exit 1
exit 0
