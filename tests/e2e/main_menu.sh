#!/usr/bin/env bash
# The main button's menu on the real program: a right press shows as many entries as the options
# call for; "Shutdown Quaylite" ends the program with the store written; "My Documents" lists the
# documents folder and a text file chosen there opens in notepad; the floppy format and the
# session commands reach the system, the session commands after writing the store. The session
# calls are seen through QUAYLITE_SESSION_LOG, which turns them into lines of a file (a plain
# request to end the session is refused there, a forced one accepted).
set -u
source "$(dirname "$0")/lib.sh"

main_menu() {  # a right press on the main button; the menu's height once it shows
  local dx dy side full
  read -r dx dy side full <<<"$(probe rect Quaylite)"
  xdotool mousemove $((dx + side / 2)) $((dy + side / 2)) click 3
  probe menu 5000 | awk '{ print $4 }'
}
choose() {  # the entry at this place, separators not counted
  local i
  for i in $(seq 1 "$1"); do xdotool key Down; done
  xdotool key Return
}
dock_ends() {  # the window goes and the process ends
  probe gone Quaylite 10000 && _ql_wait_exit "$QL_DOCK_PID" 10000 && QL_DOCK_PID=""
}
stored_soon() {  # the first button's name once the store holds it again (after 6 s: empty)
  local v=""
  for _ in $(seq 1 30); do
    v=$(value NomApp1)
    [ -n "$v" ] && break
    sleep 0.2
  done
  echo "$v"
}
log="$QL_E2E_TMP/session.log"
logged_soon() {  # the session log once it has $1 lines, or what it has after 6 s
  for _ in $(seq 1 30); do
    [ -f "$log" ] && [ "$(wc -l <"$log")" -ge "$1" ] && break
    sleep 0.2
  done
  [ -f "$log" ] && tr -d '\r' <"$log" | tr '\n' ';'
}

reset_store
set_sz BtnApp1 'C:\windows\notepad.exe'
set_sz NomApp1 Notepad

# Every shell entry and the format off: the title, three commands, the configuration and the end,
# with two separators.
if ! start_dock; then
  check "the dock starts" false
  finish
fi
plain=$(main_menu)
check "a right press on the main button shows the menu" test -n "$plain"
probe regdelkey "$QL_KEY"
choose 6
check "Shutdown Quaylite ends the program" dock_ends
check_eq "the store is written as it closes" "Notepad" "$(value NomApp1)"

# "My Documents" and the format on: two entries and two separators more.
set_sz Perso 1
set_sz Format 1
# A new prefix knows the text file class but maps no extension to it.
wine reg add 'HKLM\Software\Classes\.txt' /ve /d txtfile /f </dev/null >/dev/null 2>&1
note="$HOME/zqlnote.txt"
echo "chosen in the documents menu" >"$note"
export QUAYLITE_SESSION_LOG="Z:${log//\//\\}"
start_dock
unset QUAYLITE_SESSION_LOG
check_eq "the menu grows by two entries and two separators" "$((plain + 60))" "$(main_menu)"
choose 2
sleep 0.5
check "My Documents shows the documents folder" probe menu 5000
xdotool key z  # the only entry that starts with z runs at once
notepad_shows() { timeout 15 xdotool search --sync --onlyvisible --name 'zqlnote' >/dev/null 2>&1; }
check "a text file chosen there opens in notepad" notepad_shows
for w in $(xdotool search --name 'zqlnote' 2>/dev/null); do xdotool windowclose "$w" 2>/dev/null; done
for pid in $(_ql_pids_of notepad.exe); do kill -9 "$pid" 2>/dev/null; done
rm -f "$note"

main_menu >/dev/null
choose 3
check_eq "Format Floppy Disk: the first floppy, the default format" "SHFormatDrive 0 65535 0;" "$(logged_soon 1)"
shutdown="ExitWindowsEx 1;EnableShutdownPrivilege;ExitWindowsEx 5;"
restart="ExitWindowsEx 2;EnableShutdownPrivilege;ExitWindowsEx 6;"
probe regdelkey "$QL_KEY"
main_menu >/dev/null
choose 4
check_eq "Shutdown Computer: refused, then the privilege and the forced form" \
  "SHFormatDrive 0 65535 0;$shutdown" "$(logged_soon 4)"
check_eq "and the store written first" "Notepad" "$(stored_soon)"
probe regdelkey "$QL_KEY"
main_menu >/dev/null
choose 5
check_eq "Restart Computer: the same with a restart" "SHFormatDrive 0 65535 0;$shutdown$restart" \
  "$(logged_soon 7)"
check_eq "and the store written first" "Notepad" "$(stored_soon)"
probe regdelkey "$QL_KEY"
main_menu >/dev/null
choose 6
check "Logout Computer ends the dock" dock_ends
check_eq "after one log-off request" "SHFormatDrive 0 65535 0;${shutdown}${restart}ExitWindowsEx 0;" \
  "$(logged_soon 8)"
check_eq "and the store written" "Notepad" "$(value NomApp1)"
finish
