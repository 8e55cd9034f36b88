#!/usr/bin/env bash
# Runs the end-to-end tests under Wine.
#
#   tests/e2e/run.sh WIN32_BUILD_DIR ARTIFACT_DIR [CASE_PATTERN...]
#
# WIN32_BUILD_DIR holds the cross-built programs (e.g. build/win32); ARTIFACT_DIR receives what
# a person may want to look at afterwards (screenshots). CASE_PATTERNs (shell patterns) pick
# cases by name; a case runs when any of them matches. Prints one line per case and "e2e: N passed, N failed" last; the exit status
# is non-zero when a case failed.
set -u
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 2 ] || { echo "usage: $0 WIN32_BUILD_DIR ARTIFACT_DIR [CASE_PATTERN...]" >&2; exit 3; }
E2E_BUILD_DIR=$(cd "$1" && pwd) || exit 3
mkdir -p "$2" && E2E_ARTIFACTS=$(cd "$2" && pwd) || exit 3
shift 2
E2E_PATTERNS=("${@:-*}")

. "$here/lib.sh"

# Cases register themselves with `e2e_register NAME FUNCTION` when their file is sourced.
E2E_CASES=()
e2e_register() { E2E_CASES+=("$1:$2"); }
for f in "$here"/*_test.sh; do . "$f"; done

trap '[ -z "${E2E_WORK:-}" ] || rm -rf "$E2E_WORK"' EXIT
trap e2e_interrupt INT TERM
e2e_init "$E2E_BUILD_DIR" || { echo "e2e: 0 passed, 1 failed"; exit 1; }
for entry in "${E2E_CASES[@]}"; do
  name=${entry%%:*}
  for pattern in "${E2E_PATTERNS[@]}"; do
    # shellcheck disable=SC2053
    if [[ $name == $pattern ]]; then
      e2e_case "$name" "${entry#*:}"
      break
    fi
  done
done
[ "$E2E_STOP" = 0 ] || { echo "e2e: interrupted"; e2e_finish; exit 130; }
e2e_finish
