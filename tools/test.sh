#!/usr/bin/env bash
# The test command: installs what is missing, builds both targets, runs the unit tests (ctest on
# the host build), the end-to-end tests under Wine (tests/e2e, in a private Xvfb) and the
# artefact tests, and ends with one line "N passed, N failed" over all of them. Exits non-zero
# on any failure. Run as root on Debian 12 from anywhere.
#
#   BUILD_ROOT    build folders (default: build)
#   E2E_ARTIFACTS screenshots of the end-to-end tests (default: $BUILD_ROOT/e2e-artifacts)
#   E2E_CASES     shell patterns (blank-separated) picking end-to-end cases by name (default: all)
set -uo pipefail
cd "$(dirname "$0")/.."
root=${BUILD_ROOT:-build}
artifacts=${E2E_ARTIFACTS:-$root/e2e-artifacts}
logs="$root/test-logs"
passed=0
failed=0
t0=$SECONDS

finish() {
  echo "test: $((SECONDS - t0)) s in all"
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
  exit $?
}

# A step that must work before anything can be counted.
prerequisite() {
  local what=$1; shift
  local t=$SECONDS
  if ! "$@"; then
    echo "test: $what FAILED" >&2
    failed=$((failed + 1))
    finish
  fi
  echo "test: $what took $((SECONDS - t)) s"
}

# Adds the counts of a line "... N passed, N failed" (the last such line of FILE); a suite that
# ended without one counts as one failure.
count_from() {
  local suite=$1 file=$2 rc=$3 line
  line=$(grep -E '[0-9]+ passed, [0-9]+ failed' "$file" | tail -n 1)
  if [ -z "$line" ]; then
    echo "test: $suite ended without a summary (status $rc)" >&2
    failed=$((failed + 1))
    return
  fi
  local p f
  p=$(sed -E 's/(^|.*[^0-9])([0-9]+) passed, ([0-9]+) failed.*/\2/' <<<"$line")
  f=$(sed -E 's/(^|.*[^0-9])([0-9]+) passed, ([0-9]+) failed.*/\3/' <<<"$line")
  passed=$((passed + p))
  failed=$((failed + f))
  if [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; then
    echo "test: $suite exited with status $rc" >&2
    failed=$((failed + 1))
  fi
}

# Runs ctest on the host build (or CTEST_DIR) with the extra ARGS and adds its cases to the counts.
run_ctest() {
  local suite=$1 log="$logs/$2" t=$SECONDS rc summary f n
  shift 2
  ctest --test-dir "${CTEST_DIR:-$root/host}" --output-on-failure --timeout 300 -j "$(nproc)" "$@" \
    >"$log" 2>&1
  rc=$?
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$summary" ]; then
    f=$(sed -E 's/.*tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
    n=$(sed -E 's/.*tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$summary")
    [ "$f" -eq 0 ] || sed -n '/The following tests FAILED/,$p' "$log" >&2
    echo "test: $suite: $((n - f)) passed, $f failed ($((SECONDS - t)) s; log $log)"
    passed=$((passed + n - f))
    failed=$((failed + f))
    if [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; then failed=$((failed + 1)); fi
  elif grep -q 'No tests were found' "$log"; then
    echo "test: $suite: none found"
  else
    echo "test: $suite: ctest gave no summary (status $rc); see $log" >&2
    failed=$((failed + 1))
  fi
}

prerequisite "install-deps" tools/install-deps.sh
prerequisite "build" tools/build.sh
mkdir -p "$logs"

# Unit tests: every ctest case of the host build but the checks of the win32 build's files.
run_ctest "unit tests" ctest.log -E '^win32_artifacts$'

# The unit tests once more with the address and undefined-behaviour sanitizers, so that a read
# outside a buffer (the parsers of device records and resource lists) fails the run.
t=$SECONDS
if cmake -S . -B "$root/host-sanitize" -G Ninja -DSANITIZE=ON >"$logs/sanitize-build.log" 2>&1 &&
   cmake --build "$root/host-sanitize" --target unit_tests >>"$logs/sanitize-build.log" 2>&1; then
  echo "test: sanitizer build took $((SECONDS - t)) s"
  CTEST_DIR="$root/host-sanitize" run_ctest "unit tests with sanitizers" ctest-sanitize.log \
    -E '^(win32_artifacts|artwork_files)$'
else
  echo "test: sanitizer build FAILED; see $logs/sanitize-build.log" >&2
  failed=$((failed + 1))
fi

# End-to-end tests under Wine.
t=$SECONDS
read -r -a patterns <<<"${E2E_CASES:-*}"
tests/e2e/run.sh "$root/win32" "$artifacts" "${patterns[@]}" 2>&1 | tee -i "$logs/e2e.log"
rc=${PIPESTATUS[0]}
count_from "end-to-end tests" "$logs/e2e.log" "$rc"
echo "test: end-to-end tests took $((SECONDS - t)) s; screenshots in $artifacts"

# Artefact tests: the host build's checks of the built Windows files (tests/artifacts).
run_ctest "artefact tests" ctest-artifacts.log -R '^win32_artifacts$'

finish
