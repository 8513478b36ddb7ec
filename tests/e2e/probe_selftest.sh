#!/usr/bin/env bash
# The probe itself, on a window of known geometry (probe_target.exe) and the real registry: what
# the end-to-end tests read through it must be right. Also the dock helpers of lib.sh, with the
# bare benchmark window standing in for the dock.
# shellcheck disable=SC2317  # the small predicates below run through check
set -u
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "$0")/lib.sh"

helpers=$(dirname "$QL_PROBE")
target_exe="$helpers/probe_target.exe"
bare_exe="$helpers/../bench/bare_window.exe"
title="Probe Target"
record="$QL_E2E_TMP/dropped.txt"
record_win=$(winepath -w "$record" 2>/dev/null | tr -d '\r')

status_of() {  # exit status of a command, its output discarded
  "$@" >/dev/null 2>&1
  echo $?
}

matches() {  # TEXT REGEX
  [[ $1 =~ $2 ]]
}

process_ended() {  # no such process, or only a zombie left (a child not yet waited for)
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null)
  [ -z "$state" ] || [ "${state:0:1}" = Z ]
}

# --- usage errors are told apart from failures
check_eq "no command is bad usage" 2 "$(status_of probe)"
check_eq "unknown command is bad usage" 2 "$(status_of probe frobnicate)"
check_eq "missing argument is bad usage" 2 "$(status_of probe rect)"
check_eq "bad timeout is bad usage" 2 "$(status_of probe wait "$title" soon)"
check_eq "odd hex digits are bad usage" 2 "$(status_of probe regset 'Software\QlProbeTest' v binary abc)"
check_eq "unknown value type is bad usage" 2 "$(status_of probe regset 'Software\QlProbeTest' v qword 1)"
check_eq "regdelkey refuses the root of HKCU" 2 "$(status_of probe regdelkey "HKCU\\")"

# --- windows
wine "$target_exe" "$title" "$record_win" </dev/null >/dev/null 2>&1 &
target_pid=$!
track_pid "$target_pid"
check "wait finds the target window" probe wait "$title" 20000
check_eq "rect in screen coordinates" "100 120 240 160" "$(probe rect "$title")"
check_eq "visible window" 1 "$(probe visible "$title")"
check_eq "hidden window" 0 "$(probe visible "$title hidden")"
check_eq "wait ignores a hidden window" 1 "$(status_of probe wait "$title hidden" 300)"
check_eq "titles are compared exactly" 1 "$(status_of probe wait "probe target" 300)"
check_eq "rect of a missing window fails" 1 "$(status_of probe rect "No Such Window")"
check_eq "children relative to the parent's client area, in order" \
  $'Button 10 20 80 24\nStatic 10 60 120 20' "$(probe children "$title")"

check_eq "screen pixel in r g b order" "200 40 10" "$(probe pixel 300 250)"
shot="$QL_E2E_TMP/shot.png"
screenshot "$shot"
check_eq "pixel_of a screenshot" "200 40 10" "$(pixel_of "$shot" 300 250)"

memory=$(probe memory "$title")
check "working set in KiB is a plausible number ($memory)" \
  matches "$memory" '^[0-9]{3,}$'
if gdi=$(probe gdi "$title" 2>/dev/null); then
  check "gdi and user object counts ($gdi)" matches "$gdi" '^gdi [1-9][0-9]* user [1-9][0-9]*$'
else
  skip "gdi and user object counts" "GetGuiResources is not implemented here"
fi

# Dropped files reach the window as DragQueryFileW gives them: Unix paths as the DOS paths Wine
# maps them to, Windows paths unchanged, non-ASCII names and spaces intact.
mkdir -p "$QL_E2E_TMP/drop dir"
first="$QL_E2E_TMP/drop dir/Café ☕.txt"
second="$QL_E2E_TMP/plain.txt"
touch "$first" "$second"
first_win=$(winepath -w "$first" 2>/dev/null | tr -d '\r')
second_win=$(winepath -w "$second" 2>/dev/null | tr -d '\r')
check "drop posts WM_DROPFILES" probe drop "$title" "$first" "$second" 'C:\windows\win.ini'
for _ in $(seq 1 50); do
  grep -q '^end' "$record" 2>/dev/null && break
  sleep 0.1
done
check_eq "dropped files as the window reads them" \
  "$(printf 'file %s\nfile %s\nfile %s\nend 3' "$first_win" "$second_win" 'C:\windows\win.ini')" \
  "$(cat "$record" 2>/dev/null)"

check "close posts WM_CLOSE" probe close "$title"
check "gone waits for the window to go" probe gone "$title" 10000
check "the target process ended" _ql_wait_exit "$target_pid" 10000

wine "$target_exe" "$title 2" "$record_win" </dev/null >/dev/null 2>&1 &
track_pid $!
ms=$(probe started-ms "$title 2" 20000)
check "started-ms gives a number ($ms)" matches "$ms" '^[0-9]+$'
probe close "$title 2" && probe gone "$title 2" 10000

# --- registry
key='Software\QlProbeTest'
probe regdelkey "$key"
probe regset "$key" s sz 'Café € ☕'
probe regset "HKCU\\$key" b binary 00ff10Ab
probe regset "$key" d dword 4294967295
probe regset "$key" A sz $'two\nlines\ttab'
probe regset "$key" 'Näme' sz x
probe regset "$key" empty sz ''
probe regset "$key\\sub" inner dword 7
# Written by Wine's own reg.exe, so that the reading is checked against another writer.
wine reg add "HKCU\\$key" /v c_reg /t REG_BINARY /d 0102abcd /f </dev/null >/dev/null 2>&1
wine reg add "HKCU\\$key" /v e /t REG_EXPAND_SZ /d '%SystemRoot%\x' /f </dev/null >/dev/null 2>&1
check_eq "regdump: every type, sorted without regard to case" \
  "$(printf '%s\n' \
    $'A\tsz\ttwo\\x0alines\\x09tab' \
    $'b\tbinary\t00ff10ab' \
    $'c_reg\tbinary\t0102abcd' \
    $'d\tdword\t4294967295' \
    $'e\texpand_sz\t%SystemRoot%\\x' \
    $'empty\tsz\t' \
    $'Näme\tsz\tx' \
    $'s\tsz\tCafé € ☕')" \
  "$(probe regdump "$key")"
# And what the probe wrote, read by reg.exe (ASCII only: reg prints in the DOS code page).
query=$(wine reg query "HKCU\\$key" </dev/null 2>/dev/null | tr -d '\r')
check "reg.exe reads the binary value" grep -qE '^ +b +REG_BINARY +00FF10AB$' <<<"$query"
check "reg.exe reads the dword value" grep -qE '^ +d +REG_DWORD +0xffffffff$' <<<"$query"

check "regdelkey deletes the key tree" probe regdelkey "$key"
check_eq "regdump of a missing key fails" 1 "$(status_of probe regdump "$key")"
check_eq "regdump of a missing subkey fails" 1 "$(status_of probe regdump "$key\\sub")"
check "regdelkey of a missing key succeeds" probe regdelkey "$key"

probe regset 'SoftWare\Wendor\Quaylite' exit sz 1
probe regset 'RemoteAccess\Windows' Provider sz 0
reset_store
check_eq "reset_store empties the dock's store" 1 "$(status_of probe regdump 'SoftWare\Wendor\Quaylite')"
check_eq "reset_store empties the lock values" 1 "$(status_of probe regdump 'RemoteAccess\Windows')"

# --- the dock helpers, with the bare window playing the dock
if [ -f "$bare_exe" ]; then
  saved_exe=$QL_EXE saved_title=$QL_DOCK_TITLE
  QL_EXE=$bare_exe QL_DOCK_TITLE=BareWindow
  check "start_dock waits for the window" start_dock
  stand_in=$QL_DOCK_PID
  QL_DOCK_PID=""  # kill_dock has to find the process by the program's name
  check "kill_dock kills the process" kill_dock
  check "kill_dock: the process is gone" process_ended "$stand_in"
  check_eq "kill_dock: the window is gone" 1 "$(status_of probe wait BareWindow 300)"
  check "start_dock again" start_dock
  stand_in=$QL_DOCK_PID
  check "close_dock closes it politely" close_dock
  check "close_dock: the process ended" process_ended "$stand_in"
  QL_EXE=$saved_exe QL_DOCK_TITLE=$saved_title
else
  skip "dock helpers" "bare_window.exe was not built"
fi

finish
