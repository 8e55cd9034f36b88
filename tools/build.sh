#!/usr/bin/env bash
# Configures and builds both targets from the repository root:
#   build/host   g++ on Linux: the portable core and its unit tests
#   build/win32  mingw-w64 i686: the Windows programs and the end-to-end test tools
# BUILD_ROOT (default: build) moves both folders elsewhere, e.g. BUILD_ROOT=build/mine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=${BUILD_ROOT:-build}

die() { echo "build: FAILED: $*" >&2; exit 1; }

# The Windows programs use the win32 thread model of mingw-w64 (Debian's default alternative).
i686-w64-mingw32-g++ -v 2>&1 | grep -q 'Thread model: win32' ||
  die "i686-w64-mingw32-g++ does not use the win32 thread model" \
      "(update-alternatives --set i686-w64-mingw32-g++ /usr/bin/i686-w64-mingw32-g++-win32)"

# The host build also carries the checks of the win32 build's files (tests/artifacts), which
# need that folder's absolute path.
win32_abs=$(realpath -m "$root/win32")

echo "build: host ($root/host)"
cmake -S . -B "$root/host" -G Ninja -DWIN32_BUILD_DIR="$win32_abs" >/dev/null ||
  die "configuring $root/host"
cmake --build "$root/host" || die "building $root/host"

echo "build: win32 ($root/win32)"
cmake -S . -B "$root/win32" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null || die "configuring $root/win32"
cmake --build "$root/win32" || die "building $root/win32"
echo "build: done"
