#!/usr/bin/env bash
# Installs what is missing, builds quaylite.exe and starts the dock under Wine.
# With DISPLAY set, the dock runs on that display until you close it (its settings live in the
# Wine prefix ~/.wine-quaylite). Without DISPLAY, it runs in a headless X server: a screenshot of
# the screen is saved to the path printed, then the dock is closed politely (WM_CLOSE).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/install-deps.sh"
# shellcheck source=lib.sh
source "$here/lib.sh"
cd "$QL_ROOT"

cmake --preset windows >/dev/null
cmake --build --preset windows --target quaylite >/dev/null
exe="$QL_ROOT/build/windows/src/quaylite.exe"

if [ -n "${DISPLAY:-}" ]; then
  export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-quaylite}" WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  echo "starting Quaylite on $DISPLAY (Wine prefix $WINEPREFIX)"
  exec wine "$exe"
fi

ql_wine_env
trap ql_stop_all EXIT
ql_start_xvfb
ql_start_wine
shot="$QL_ROOT/build/screenshot.png"
wine "$exe" </dev/null >/dev/null 2>&1 &
dock=$!
if ! timeout 60 xdotool search --sync --onlyvisible --name '^Quaylite$' >/dev/null; then
  echo "the dock did not appear" >&2
  exit 1
fi
sleep 1.5  # let the tiles load their icons and paint
import -window root "$shot"
echo "screenshot: $shot"
wine taskkill /im quaylite.exe </dev/null >/dev/null 2>&1 || true
for _ in $(seq 1 100); do
  kill -0 "$dock" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$dock" 2>/dev/null; then
  echo "the dock did not close" >&2
  exit 1
fi
echo "the dock closed"
