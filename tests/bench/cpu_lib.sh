# Shared by the processor-time benchmarks: the probe, the Linux processes of this Wine prefix and
# their time on the processor. Source it after setting probe_exe and seconds.

probe() {
  wine "$probe_exe" "$@" </dev/null | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

# The Linux processes of this Wine prefix whose command line names $1.
pids_of() {
  local pid
  for pid in $(pgrep -f -- "$1"); do
    [ "$pid" = "$$" ] && continue
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
}
server_pid() {
  local pid
  for pid in $(pgrep wineserver); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && { echo "$pid"; return; }
  done
}
cpu_ns() {  # nanoseconds on the processor of the given processes, added up
  local total=0 pid ns
  for pid in "$@"; do
    { read -r ns _ <"/proc/$pid/schedstat"; } 2>/dev/null || ns=0
    total=$((total + ns))
  done
  echo "$total"
}
percent() {  # $1 ns over $seconds s, as a percentage of one core with three decimals
  awk -v ns="$1" -v s="$seconds" 'BEGIN { printf "%.3f", ns / (s * 1e9) * 100 }'
}
