# shellcheck shell=bash
# Helpers for the end-to-end scripts: source this file. The scripts run the real quaylite.exe
# under Wine in the environment they inherit (DISPLAY, WINEPREFIX and the rest, as set by
# scripts/lib.sh) and look at it with qlprobe.exe.
#
# Environment (set by ctest, see CMakeLists.txt beside this file):
#   QL_EXE         quaylite.exe
#   QL_PROBE       qlprobe.exe
#   QL_SOURCE_DIR  the source tree
#
# Functions:
#   probe ARGS...            wine "$QL_PROBE" ARGS..., output without CR; qlprobe's exit status
#   start_dock [TIMEOUT_MS]  starts quaylite.exe in the background, waits for its "Quaylite"
#                            window (default 20000 ms); QL_DOCK_PID is its process; 1 if no window
#   close_dock [TIMEOUT_MS]  WM_CLOSE, then waits until the window is gone and the process ended
#   kill_dock                kill -9 of the dock's process(es) in this Wine prefix
#   set_sz NAME TEXT         a string value in the dock's key; value NAME prints one back
#   store_group_bar          three buttons, the second a group of two (entries 1 to 5)
#   reset_store              deletes HKCU\SoftWare\Wendor\Quaylite and HKCU\RemoteAccess\Windows
#   screenshot FILE          the whole X screen as a picture (PNG by the file name)
#   pixel_of FILE X Y        "r g b" (decimal) of one pixel of a picture
#   track_pid PID            a process to kill -9 when the script ends
#   check NAME COMMAND...    passes when COMMAND succeeds; prints "ok" or "FAIL" with NAME
#   check_eq NAME EXPECTED ACTUAL    passes when the two texts are equal
#   skip NAME REASON         records a check that cannot run here
#   finish                   prints "NAME: N passed, M failed[, K skipped]" and exits 0 only if
#                            nothing failed
# The dock and every tracked process are killed when the script exits.

QL_DOCK_TITLE="Quaylite"
QL_DOCK_PID=""
QL_E2E_NAME=$(basename "${BASH_SOURCE[1]:-$0}" .sh)
QL_E2E_PASSED=0
QL_E2E_FAILED=0
QL_E2E_SKIPPED=0
QL_E2E_PIDS=()

for _ql_var in QL_EXE QL_PROBE WINEPREFIX DISPLAY; do
  if [ -z "${!_ql_var:-}" ]; then
    echo "$QL_E2E_NAME: $_ql_var is not set" >&2
    exit 2
  fi
done
unset _ql_var

# A scratch folder for the script, removed at the end.
QL_E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/ql-e2e.XXXXXX")

probe() {
  wine "$QL_PROBE" "$@" </dev/null | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

track_pid() {
  QL_E2E_PIDS+=("$1")
}

start_dock() {
  local timeout=${1:-20000}
  wine "$QL_EXE" </dev/null >/dev/null 2>&1 &
  QL_DOCK_PID=$!
  track_pid "$QL_DOCK_PID"
  if ! probe wait "$QL_DOCK_TITLE" "$timeout"; then
    echo "$QL_E2E_NAME: the dock window did not appear" >&2
    return 1
  fi
}

# Waits up to TIMEOUT_MS for a Linux process to end.
_ql_wait_exit() {
  local pid=$1 timeout=$2 waited=0
  while kill -0 "$pid" 2>/dev/null; do
    [ "$waited" -ge "$timeout" ] && return 1
    sleep 0.05
    waited=$((waited + 50))
  done
  wait "$pid" 2>/dev/null
  return 0
}

close_dock() {
  local timeout=${1:-10000}
  probe close "$QL_DOCK_TITLE" || return 1
  probe gone "$QL_DOCK_TITLE" "$timeout" || return 1
  if [ -n "$QL_DOCK_PID" ]; then
    _ql_wait_exit "$QL_DOCK_PID" "$timeout" || {
      echo "$QL_E2E_NAME: the dock window is gone but its process still runs" >&2
      return 1
    }
  fi
  QL_DOCK_PID=""
}

# Processes whose command line names the file $1 and that run in this script's Wine prefix
# (other Wine prefixes on the machine may run a program of the same name).
_ql_pids_of() {
  local name pid
  name=$(basename "$1")
  for pid in $(pgrep -f -- "$name"); do
    [ "$pid" = "$$" ] && continue
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"
    fi
  done
}

kill_dock() {
  local pid
  for pid in $(_ql_pids_of "$QL_EXE") $QL_DOCK_PID; do
    kill -9 "$pid" 2>/dev/null
  done
  if [ -n "$QL_DOCK_PID" ]; then
    wait "$QL_DOCK_PID" 2>/dev/null
  fi
  QL_DOCK_PID=""
  # Let the wineserver see the process die before the next start.
  probe gone "$QL_DOCK_TITLE" 5000 >/dev/null 2>&1
  return 0
}

# The dock's key, a string value written into it, and the text of one of its values.
QL_KEY='SoftWare\Wendor\Quaylite'
set_sz() { probe regset "$QL_KEY" "$1" sz "$2"; }
value() { probe regdump "$QL_KEY" | awk -F'\t' -v n="$1" 'tolower($1) == tolower(n) { print $3 }'; }

# A bar of three buttons, the second a group of two members (entries 1 to 5): Notepad, Tools
# (Console, Mines), Regedit.
store_group_bar() {
  set_sz BtnApp1 'C:\windows\notepad.exe'
  set_sz NomApp1 Notepad
  set_sz Icone1 'C:\windows\notepad.exe,0'
  set_sz BtnApp2 'C:\windows\system32\winecfg.exe'
  set_sz NomApp2 Tools
  set_sz Icone2 'C:\windows\system32\shell32.dll,3'
  set_sz BtnApp3 'C:\windows\regedit.exe'
  set_sz NomApp3 Regedit
  set_sz Icone3 'C:\windows\regedit.exe,0'
  set_sz BtnApp4 'C:\windows\system32\cmd.exe,BtnApp2-'
  set_sz NomApp4 Console
  set_sz Icone4 'C:\windows\system32\cmd.exe,0'
  set_sz BtnApp5 'C:\windows\system32\winemine.exe,BtnApp2-'
  set_sz NomApp5 Mines
  set_sz Icone5 'C:\windows\system32\winemine.exe,0'
}

reset_store() {
  probe regdelkey 'SoftWare\Wendor\Quaylite' && probe regdelkey 'RemoteAccess\Windows'
}

# Keys go to the Wine window under the pointer (no window manager: the X focus follows it).
point_at() {
  local x y w h
  read -r x y w h <<<"$(probe rect "$1")"
  xdotool mousemove $((x + w / 2)) $((y + h / 2))
  sleep 0.3
}
keys() { xdotool key --delay 60 "$@"; }
# Until `probe visible TITLE` answers EXPECTED, for at most 10 s.
visible_becomes() {
  local title=$1 expected=$2 i
  for i in $(seq 1 100); do
    [ "$(probe visible "$title")" = "$expected" ] && return 0
    sleep 0.1
  done
  return 1
}

screenshot() {
  import -window root "$1"
}

pixel_of() {
  local file=$1 x=$2 y=$3
  # fx gives plain numbers (the %[pixel:] form may answer with a colour name).
  convert "$file" -format \
    "%[fx:int(255*p{$x,$y}.r+0.5)] %[fx:int(255*p{$x,$y}.g+0.5)] %[fx:int(255*p{$x,$y}.b+0.5)]\n" info:
}

check() {
  local name=$1
  shift
  if "$@"; then
    QL_E2E_PASSED=$((QL_E2E_PASSED + 1))
    echo "ok   $name"
  else
    QL_E2E_FAILED=$((QL_E2E_FAILED + 1))
    echo "FAIL $name"
  fi
}

check_eq() {
  local name=$1 expected=$2 actual=$3
  if [ "$expected" = "$actual" ]; then
    QL_E2E_PASSED=$((QL_E2E_PASSED + 1))
    echo "ok   $name"
  else
    QL_E2E_FAILED=$((QL_E2E_FAILED + 1))
    echo "FAIL $name"
    echo "       expected: $(printf '%q' "$expected")"
    echo "       actual:   $(printf '%q' "$actual")"
  fi
}

skip() {
  QL_E2E_SKIPPED=$((QL_E2E_SKIPPED + 1))
  echo "skip $1: $2"
}

finish() {
  local line="$QL_E2E_NAME: $QL_E2E_PASSED passed, $QL_E2E_FAILED failed"
  [ "$QL_E2E_SKIPPED" -gt 0 ] && line="$line, $QL_E2E_SKIPPED skipped"
  echo "$line"
  [ "$QL_E2E_FAILED" -eq 0 ] && [ "$QL_E2E_PASSED" -gt 0 ]
  exit $?
}

_ql_e2e_cleanup() {
  local pid
  for pid in "${QL_E2E_PIDS[@]}"; do
    kill -9 "$pid" 2>/dev/null
  done
  for pid in $(_ql_pids_of "$QL_EXE"); do
    kill -9 "$pid" 2>/dev/null
  done
  rm -rf "$QL_E2E_TMP"
}
trap _ql_e2e_cleanup EXIT
