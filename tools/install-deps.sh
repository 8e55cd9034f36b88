#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12 (run as root). Quick and silent when
# everything is there already; safe to run again.
set -euo pipefail

packages=(
  # the cross build of the Windows programs and the host build of the unit tests
  g++-mingw-w64-i686 binutils-mingw-w64-i686 cmake ninja-build g++
  googletest libgtest-dev libgmock-dev
  # Wine (32-bit) with its fonts: without fonts-wine dialogs are laid out with other fonts
  wine wine32:i386 fonts-wine
  # a private X server and the tools the tests drive and photograph it with
  xvfb xauth xdotool x11-utils imagemagick
)

missing=()
for p in "${packages[@]}"; do
  if [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" != installed ]; then
    missing+=("$p")
  fi
done
i386=yes
dpkg --print-foreign-architectures | grep -qx i386 || i386=no

if [ ${#missing[@]} -eq 0 ] && [ $i386 = yes ]; then
  echo "install-deps: all packages present"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  [ $i386 = yes ] || echo "install-deps: the i386 architecture is not enabled" >&2
  [ ${#missing[@]} -eq 0 ] || echo "install-deps: missing packages: ${missing[*]}" >&2
  echo "install-deps: run as root to install them" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if [ $i386 = no ]; then
  echo "install-deps: adding the i386 architecture"
  dpkg --add-architecture i386
fi
echo "install-deps: installing ${missing[*]}"
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
echo "install-deps: done"
