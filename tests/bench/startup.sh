#!/usr/bin/env bash
# Start-up benchmark: how long quaylite.exe takes from its start to a visible dock window, and its
# working set once started, against a bare Win32 window program as the baseline.
#
#   startup.sh QUAYLITE_EXE BARE_WINDOW_EXE QLPROBE_EXE [DOCK_TITLE]
#
# Runs under Wine in the environment it inherits (DISPLAY, WINEPREFIX, ...). Each program is
# started QL_BENCH_RUNS times (default 5), the two alternating. One run: a qlprobe "wait" is
# started first and given time to come up, so that its own start is not counted; then the clock
# starts, the program is started, and the clock stops when the waiting probe has seen the window
# and ended. A second later the working set is read, and the program is closed with WM_CLOSE.
# The dock starts each time with an empty store (its first start on a clean machine).
#
# Prints, for the medians:
#   BENCH startup quaylite: median N ms, working set N KiB
#   BENCH startup bare window: median N ms, working set N KiB
#   BENCH startup difference: N ms, N KiB
# A benchmark, not a timed test: exits 0 whenever the figures were taken, 1 when a program did
# not show its window, 2 on bad usage.
set -u

if [ $# -lt 3 ] || [ $# -gt 4 ]; then
  echo "usage: $0 QUAYLITE_EXE BARE_WINDOW_EXE QLPROBE_EXE [DOCK_TITLE]" >&2
  exit 2
fi
dock_exe=$1
bare_exe=$2
probe_exe=$3
dock_title=${4:-Quaylite}
bare_title=BareWindow
runs=${QL_BENCH_RUNS:-5}
arm_seconds=1
start_timeout_ms=30000

for f in "$dock_exe" "$bare_exe" "$probe_exe"; do
  if [ ! -f "$f" ]; then
    echo "startup.sh: $f does not exist" >&2
    exit 1
  fi
done

probe() {
  wine "$probe_exe" "$@" </dev/null | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

# Waits up to $2 seconds for process $1 to end; kills it when it does not.
end_process() {
  local pid=$1 limit=$2 i
  for ((i = 0; i < limit * 20; i++)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 1
  fi
  wait "$pid" 2>/dev/null
  return 0
}

reset_dock_store() {
  probe regdelkey 'SoftWare\Wendor\Quaylite' && probe regdelkey 'RemoteAccess\Windows'
}

# One run of EXE whose window is TITLE: sets run_ms and run_kib; returns 1 when no window came.
run_once() {
  local exe=$1 title=$2 watcher pid t0 t1 rc first
  run_ms="" run_kib=""
  if ! probe gone "$title" 10000; then
    echo "startup.sh: a window \"$title\" is still open before the start" >&2
    return 1
  fi
  wine "$probe_exe" wait "$title" "$start_timeout_ms" </dev/null >/dev/null 2>&1 &
  watcher=$!
  sleep "$arm_seconds"

  t0=$(date +%s%N)
  wine "$exe" </dev/null >/dev/null 2>&1 &
  pid=$!
  # Whichever ends first: the probe (it saw the window, or gave up) or the program (it failed).
  wait -n -p first "$watcher" "$pid"
  rc=$?
  t1=$(date +%s%N)
  if [ "$first" != "$watcher" ] || [ "$rc" -ne 0 ]; then
    if [ "$first" = "$pid" ]; then
      echo "startup.sh: $(basename "$exe") ended (status $rc) without showing a window \"$title\"" >&2
      kill "$watcher" 2>/dev/null
      wait "$watcher" 2>/dev/null
    else
      echo "startup.sh: $(basename "$exe") showed no window \"$title\" within $start_timeout_ms ms" >&2
      kill -9 "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
    fi
    return 1
  fi
  run_ms=$(((t1 - t0) / 1000000))

  sleep 1
  run_kib=$(probe memory "$title") || run_kib=""

  if ! { probe close "$title" && probe gone "$title" 10000; }; then
    echo "startup.sh: $(basename "$exe") did not close on WM_CLOSE; killed" >&2
  fi
  end_process "$pid" 10 || echo "startup.sh: $(basename "$exe") did not end after its window closed; killed" >&2
  return 0
}

median() {  # of the numbers given as arguments
  [ $# -eq 0 ] && return
  printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

dock_ms=() dock_kib=() bare_ms=() bare_kib=()
failed=0
for ((i = 1; i <= runs; i++)); do
  reset_dock_store
  if run_once "$dock_exe" "$dock_title"; then
    dock_ms+=("$run_ms")
    [ -n "$run_kib" ] && dock_kib+=("$run_kib")
  else
    failed=1
    break
  fi
  if run_once "$bare_exe" "$bare_title"; then
    bare_ms+=("$run_ms")
    [ -n "$run_kib" ] && bare_kib+=("$run_kib")
  else
    failed=1
    break
  fi
done
reset_dock_store

echo "quaylite runs: ${dock_ms[*]:-none} ms; working sets: ${dock_kib[*]:-none} KiB"
echo "bare window runs: ${bare_ms[*]:-none} ms; working sets: ${bare_kib[*]:-none} KiB"
if [ "$failed" -ne 0 ]; then
  echo "BENCH startup: not measured, a program did not start"
  exit 1
fi

dm=$(median "${dock_ms[@]}")
bm=$(median "${bare_ms[@]}")
dk=$(median "${dock_kib[@]}")
bk=$(median "${bare_kib[@]}")
echo "BENCH startup quaylite: median $dm ms, working set ${dk:-?} KiB"
echo "BENCH startup bare window: median $bm ms, working set ${bk:-?} KiB"
if [ -n "$dk" ] && [ -n "$bk" ]; then
  echo "BENCH startup difference: $((dm - bm)) ms, $((dk - bk)) KiB"
else
  echo "BENCH startup difference: $((dm - bm)) ms, working set not read"
fi
exit 0
