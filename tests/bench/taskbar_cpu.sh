#!/usr/bin/env bash
# Task bar benchmark: the processor time quaylite.exe takes with its task bar on and 50 idle
# application windows open, against the same dock with the task bar off over the same windows,
# measured in the same run under Wine.
#
#   taskbar_cpu.sh QUAYLITE_EXE PROBE_TARGET_EXE QLPROBE_EXE
#
# The 50 windows are one probe_target.exe --apps program, started first. Each dock is started,
# left 3 s to settle (the task bar makes its 50 buttons), then measured for QL_IDLE_SECONDS
# (default 20, kept short for CI; 60 gives steadier figures): its Linux process's time on the
# processor (/proc/PID/schedstat, nanoseconds), and the same with the wineserver's and the
# windows' program's (the poll reads window state through the wineserver). Prints:
#   BENCH taskbar idle, task bar on (50 windows, N s): N % of one core, N % with the wineserver and the windows
#   BENCH taskbar idle, task bar off (50 windows, N s): ...
#   BENCH taskbar idle excess: N % of one core, N % with the wineserver and the windows
# A benchmark, not a timed test: exits 0 whenever the figures were taken, 1 when a program did
# not start or the task bar did not make its buttons, 2 on bad usage.
set -u
if [ $# -ne 3 ]; then
  echo "usage: $0 QUAYLITE_EXE PROBE_TARGET_EXE QLPROBE_EXE" >&2
  exit 2
fi
dock_exe=$1 target_exe=$2 probe_exe=$3
seconds=${QL_IDLE_SECONDS:-20}
windows=50
key='SoftWare\Wendor\Quaylite'

# shellcheck source=cpu_lib.sh
source "$(dirname "$0")/cpu_lib.sh"
buttons() { probe tasks | grep -c $'\tIdle '; }

target_pid=""
cleanup() {
  [ -n "$target_pid" ] && kill -9 "$target_pid" 2>/dev/null
  probe regdelkey "$key" >/dev/null
}
trap cleanup EXIT

# Measures the dock with TaskBar = $1: sets own_ns and all_ns.
measure() {
  local pid pids others server a0 o0 a1 o1 i
  probe regdelkey "$key" >/dev/null
  probe regset "$key" TaskBar sz "$1" >/dev/null
  probe regset "$key" TaskSmallStyle sz 1 >/dev/null
  wine "$dock_exe" </dev/null >/dev/null 2>&1 &
  pid=$!
  if ! probe wait Quaylite 30000 >/dev/null; then
    echo "taskbar_cpu.sh: the dock showed no window" >&2
    kill -9 "$pid" 2>/dev/null
    return 1
  fi
  sleep 3
  if [ "$1" = 1 ]; then
    for i in $(seq 1 50); do
      [ "$(buttons)" -ge "$windows" ] && break
      sleep 0.2
    done
    if [ "$(buttons)" -lt "$windows" ]; then
      echo "taskbar_cpu.sh: the task bar made $(buttons) buttons for $windows windows" >&2
      kill -9 "$pid" 2>/dev/null
      return 1
    fi
  fi
  mapfile -t pids < <(pids_of "$(basename "$dock_exe")")
  mapfile -t others < <(pids_of "$(basename "$target_exe")")
  server=$(server_pid)
  a0=$(cpu_ns "${pids[@]}") o0=$(cpu_ns "${others[@]}" "$server")
  sleep "$seconds"
  a1=$(cpu_ns "${pids[@]}") o1=$(cpu_ns "${others[@]}" "$server")
  own_ns=$((a1 - a0)) all_ns=$((a1 - a0 + o1 - o0))
  probe close Quaylite >/dev/null && probe gone Quaylite 10000 >/dev/null
  wait "$pid" 2>/dev/null
  return 0
}

wine "$target_exe" --apps "$windows" Idle </dev/null >/dev/null 2>&1 &
target_pid=$!
if ! probe wait "Idle $windows" 30000 >/dev/null; then
  echo "taskbar_cpu.sh: the $windows windows did not show" >&2
  exit 1
fi

measure 1 || exit 1
on_own=$own_ns on_all=$all_ns
measure 0 || exit 1
off_own=$own_ns off_all=$all_ns

echo "BENCH taskbar idle, task bar on ($windows windows, ${seconds} s): $(percent "$on_own") % of one core, $(percent "$on_all") % with the wineserver and the windows"
echo "BENCH taskbar idle, task bar off ($windows windows, ${seconds} s): $(percent "$off_own") % of one core, $(percent "$off_all") % with the wineserver and the windows"
echo "BENCH taskbar idle excess: $(percent $((on_own - off_own))) % of one core, $(percent $((on_all - off_all))) % with the wineserver and the windows"
exit 0
