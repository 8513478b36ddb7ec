#!/usr/bin/env bash
# The hot key on the real program: with the lock off it only hides and shows the dock; with the
# lock on it locks, and a dock killed during that lock locks again at the next start and shows
# the alert "Computer was shut down !!!" (white on red).
set -u
source "$(dirname "$0")/lib.sh"

DIALOG='Quaylite Protection'
NOTEPAD='Untitled - Notepad'
reset_store
set_sz HotKey 'Ctrl+L'

check "the dock starts" start_dock
# The hot key reaches Wine only while one of its windows has the X focus: a notepad under the pointer.
wine notepad </dev/null >/dev/null 2>&1 &
track_pid $!
check "a notepad runs" probe wait "$NOTEPAD" 20000
point_at "$NOTEPAD"
keys ctrl+l
check "lock off: the hot key hides the dock" visible_becomes "$QL_DOCK_TITLE" 0
check_eq "and shows no password dialog" 0 "$(probe visible "$DIALOG" 2>/dev/null || echo 0)"
check_eq "\"exit\" marks the hidden dock" 0 "$(value exit)"
keys ctrl+l
check "the second press shows it again" visible_becomes "$QL_DOCK_TITLE" 1
check "the dock closes" close_dock

# The lock switched on (the configuration dialog stores it here).
probe regset 'RemoteAccess\Windows' Provider sz 1
check "the dock starts with the lock on" start_dock
point_at "$NOTEPAD"
keys ctrl+l
check "the hot key locks" probe wait "$DIALOG" 10000
check_eq "the dock is hidden behind the lock" 0 "$(probe visible "$QL_DOCK_TITLE")"
kill_dock

wine "$QL_EXE" </dev/null >/dev/null 2>&1 &
QL_DOCK_PID=$!
track_pid "$QL_DOCK_PID"
check "killed during the lock, it locks at the next start" probe wait "$DIALOG" 20000
sleep 0.5
read -r x y w h <<<"$(probe rect "$DIALOG")"
shot="$QL_E2E_TMP/alert.png"
screenshot "$shot"
# Above the text, inside the alert's band.
check_eq "with the alert in red" "255 0 0" "$(pixel_of "$shot" $((x + 160)) $((y + 76)))"
point_at "$DIALOG"
keys Return  # the default empty password
check "the password unlocks" visible_becomes "$DIALOG" 0
check "the dock shows" visible_becomes "$QL_DOCK_TITLE" 1
check "the dock closes" close_dock
finish
