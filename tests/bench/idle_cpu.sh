#!/usr/bin/env bash
# Idle benchmark: the processor time quaylite.exe takes with the four modules on the bar and
# nothing else happening, against a bare program that runs timers of the same three periods
# (bare_timers.exe), measured in the same run under Wine.
#
#   idle_cpu.sh QUAYLITE_EXE BARE_TIMERS_EXE QLPROBE_EXE
#
# Each program is started, left 3 s to settle, then measured for QL_IDLE_SECONDS (default 20):
# its Linux process's time on the processor (/proc/PID/schedstat, nanoseconds), and the same
# with the wineserver's (Wine's timers and messages go through it; nothing else runs in this
# prefix meanwhile). Prints:
#   BENCH idle quaylite (4 modules): N % of one core, N % with the wineserver
#   BENCH idle bare timers: N % of one core, N % with the wineserver
#   BENCH idle excess: N % of one core, N % with the wineserver (goal: below 0.2 %)
# A benchmark, not a timed test: exits 0 whenever the figures were taken, 1 when a program did
# not start, 2 on bad usage.
set -u
if [ $# -ne 3 ]; then
  echo "usage: $0 QUAYLITE_EXE BARE_TIMERS_EXE QLPROBE_EXE" >&2
  exit 2
fi
dock_exe=$1 bare_exe=$2 probe_exe=$3
seconds=${QL_IDLE_SECONDS:-20}
key='SoftWare\Wendor\Quaylite'

# shellcheck source=cpu_lib.sh
source "$(dirname "$0")/cpu_lib.sh"

# Measures EXE with window TITLE: sets own_ns and all_ns.
measure() {
  local exe=$1 title=$2 pid pids server a0 s0 a1 s1
  wine "$exe" </dev/null >/dev/null 2>&1 &
  pid=$!
  if ! probe wait "$title" 30000 >/dev/null; then
    echo "idle_cpu.sh: $(basename "$exe") showed no window \"$title\"" >&2
    kill -9 "$pid" 2>/dev/null
    return 1
  fi
  sleep 3
  mapfile -t pids < <(pids_of "$(basename "$exe")")
  server=$(server_pid)
  a0=$(cpu_ns "${pids[@]}") s0=$(cpu_ns "$server")
  sleep "$seconds"
  a1=$(cpu_ns "${pids[@]}") s1=$(cpu_ns "$server")
  own_ns=$((a1 - a0)) all_ns=$((a1 - a0 + s1 - s0))
  probe close "$title" >/dev/null && probe gone "$title" 10000 >/dev/null
  wait "$pid" 2>/dev/null
  return 0
}

probe regdelkey "$key" >/dev/null
i=1
for kind in 'Clock Quaylite' 'Recycler' 'Virtual Desktop' 'SysInfo'; do
  probe regset "$key" "BtnApp$i" sz "$kind" >/dev/null
  i=$((i + 1))
done
probe regset "$key" Taille sz 48 >/dev/null

measure "$dock_exe" Quaylite || exit 1
dock_own=$own_ns dock_all=$all_ns
measure "$bare_exe" BareTimers || exit 1
bare_own=$own_ns bare_all=$all_ns
probe regdelkey "$key" >/dev/null

echo "BENCH idle quaylite (4 modules, ${seconds} s): $(percent "$dock_own") % of one core, $(percent "$dock_all") % with the wineserver"
echo "BENCH idle bare timers (${seconds} s): $(percent "$bare_own") % of one core, $(percent "$bare_all") % with the wineserver"
echo "BENCH idle excess: $(percent $((dock_own - bare_own))) % of one core, $(percent $((dock_all - bare_all))) % with the wineserver (goal: below 0.2 %)"
exit 0
