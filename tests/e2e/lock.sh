#!/usr/bin/env bash
# The lock on the real program: "Lock on startup" locks at every start; Escape and closes from
# outside leave it locked; a password changed in the dialog is stored at once, so it is the one
# asked after a hard kill; a wrong one gives "Invalid Password !!!" and the dialog again.
set -u
source "$(dirname "$0")/lib.sh"

DIALOG='Quaylite Protection'
reset_store
set_sz StartLock 1

# Starts the dock and waits for the password dialog (the dock itself stays hidden meanwhile).
start_locked() {
  wine "$QL_EXE" </dev/null >/dev/null 2>&1 &
  QL_DOCK_PID=$!
  track_pid "$QL_DOCK_PID"
  probe wait "$DIALOG" 20000
}
typed() { xdotool type --delay 60 "$1"; }

check "lock on startup: the password dialog shows at start" start_locked
check_eq "the dock is hidden behind the lock" 0 "$(probe visible "$QL_DOCK_TITLE")"
point_at "$DIALOG"
keys Escape
probe close "$DIALOG" >/dev/null
probe close "$QL_DOCK_TITLE" >/dev/null
sleep 1
check_eq "Escape, the dialog's close and WM_CLOSE to the dock leave it locked" 1 "$(probe visible "$DIALOG")"
check "the dock still runs" kill -0 "$QL_DOCK_PID"

# The default empty password, and a new one typed twice (its confirmation in another case).
point_at "$DIALOG"
keys alt+c
typed Neu9
keys Tab
typed nEU9
keys Return
check "the right password gives the desktop back" visible_becomes "$DIALOG" 0
check "and the dock shows" visible_becomes "$QL_DOCK_TITLE" 1

kill_dock
check "after a hard kill it locks again at start" start_locked
point_at "$DIALOG"
keys Return  # the old, empty password
check "a wrong password gives a message" visible_becomes "$QL_DOCK_TITLE" 1
point_at "$QL_DOCK_TITLE"
keys Return
check "then the dialog again" visible_becomes "$QL_DOCK_TITLE" 0
check_eq "still locked" 1 "$(probe visible "$DIALOG")"
point_at "$DIALOG"
typed NEU9
keys Return
check "the changed password unlocks, in any letter case" visible_becomes "$DIALOG" 0
check "and the dock shows" visible_becomes "$QL_DOCK_TITLE" 1
check "unlocked, the dock closes on WM_CLOSE" close_dock
finish
