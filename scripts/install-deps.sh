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
# A mirror in mid-sync can fail one index; try again, then go on with what was fetched.
for attempt in 1 2 3; do
  apt-get update -qq && break
  echo "install-deps: apt-get update failed (attempt $attempt)" >&2
  sleep 10
done
# The mingw cross compiler without Recommends; Wine with them (fonts and 32-bit X libraries).
cross=() rest=()
for p in "${missing[@]}"; do
  case "$p" in
    *mingw*) cross+=("$p") ;;
    *) rest+=("$p") ;;
  esac
done
[ "${#cross[@]}" -eq 0 ] || apt-get install -y -qq --no-install-recommends "${cross[@]}" >/dev/null
if [ "${#rest[@]}" -ne 0 ] && ! apt-get install -y -qq "${rest[@]}" >/dev/null; then
  # A security index missing for i386 (a mirror in mid-sync) leaves the two architectures at
  # different versions and Wine's 32-bit libraries uninstallable: take them all from the main
  # archive alone, where both architectures always match.
  echo "install-deps: retrying from the main archive only" >&2
  main_only=$(mktemp --suffix=.sources)
  cat >"$main_only" <<'SOURCES'
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  only=(-o Dir::Etc::SourceParts=/dev/null -o Dir::Etc::SourceList="$main_only")
  apt-get update -qq "${only[@]}"
  apt-get install -y -qq "${only[@]}" "${rest[@]}" >/dev/null
  rm -f "$main_only"
  apt-get update -qq || true
fi
echo "install-deps: done"
