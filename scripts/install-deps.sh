#!/usr/bin/env bash
# Brings a Debian 12 machine (run as root) to a working Quaylite toolchain:
# mingw-w64 (posix threads) for i686, 32-bit Wine, Xvfb and the X tools, CMake, Ninja, GoogleTest.
# Installs only what is missing and stays quiet when everything is there.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 wine64
  xvfb xauth xdotool imagemagick x11-utils procps
  clang-format clang-tidy
)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
i386=1
dpkg --print-foreign-architectures | grep -qx i386 || i386=0

if [ "${#missing[@]}" -eq 0 ] && [ "$i386" -eq 1 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages (${missing[*]}); run as root to install them" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
echo "install-deps: installing ${missing[*]}"
[ "$i386" -eq 1 ] || dpkg --add-architecture i386
apt-get update -qq
# The mingw cross compiler without Recommends; Wine with them (fonts and 32-bit X libraries).
cross=() rest=()
for p in "${missing[@]}"; do
  case "$p" in
    *mingw*) cross+=("$p") ;;
    *) rest+=("$p") ;;
  esac
done
[ "${#cross[@]}" -eq 0 ] || apt-get install -y -qq --no-install-recommends "${cross[@]}" >/dev/null
[ "${#rest[@]}" -eq 0 ] || apt-get install -y -qq "${rest[@]}" >/dev/null
echo "install-deps: done"
