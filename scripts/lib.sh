# Shared by run.sh and test.sh: an isolated, quiet Wine and a headless X server.
# Source it; nothing here touches the real home directory.

QL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QL_SCRATCH=${QL_SCRATCH:-$QL_ROOT/build/wine-env}

ql_wine_env() {
  mkdir -p "$QL_SCRATCH/home" "$QL_SCRATCH/xdg-data" "$QL_SCRATCH/xdg-config"
  export HOME="$QL_SCRATCH/home"
  export XDG_DATA_HOME="$QL_SCRATCH/xdg-data"
  export XDG_CONFIG_HOME="$QL_SCRATCH/xdg-config"
  export WINEPREFIX="$QL_SCRATCH/prefix"
  export WINEARCH=win32
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
  # A silent wave device: PlaySound succeeds without a sound card.
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$QL_SCRATCH/asound.conf"
  export ALSA_CONFIG_PATH="$QL_SCRATCH/asound.conf"
}

# Starts Xvfb on a free display (1024 x 768) and exports DISPLAY; QL_XVFB_PID names it.
ql_start_xvfb() {
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    QL_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$QL_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$QL_XVFB_PID" 2>/dev/null || true
  done
  echo "could not start Xvfb" >&2
  return 1
}

# Creates the 32-bit prefix once, keeps one wineserver for the run and starts Wine's background
# services detached from every pipe (otherwise they hold the caller's output open).
ql_start_wine() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "creating the Wine prefix in $WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w
  fi
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

ql_stop_all() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${QL_XVFB_PID:-}" ]; then
    kill "$QL_XVFB_PID" 2>/dev/null || true
    wait "$QL_XVFB_PID" 2>/dev/null || true
  fi
}
