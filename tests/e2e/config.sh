#!/usr/bin/env bash
# The configuration dialog on the real program, opened from the main button's menu and driven by
# the mouse and the keyboard: Escape changes nothing; "Dock to the Left" and OK moves the bar to
# the left edge and stores "G"; adding the clock puts it last on the bar at once; the task bar
# turned on with OK starts (its window shows) and turned off goes; an exported file imported
# after several changes brings the exported state back on screen and in the store. One dock
# start for everything.
set -u
source "$(dirname "$0")/lib.sh"

DIALOG="Quaylite Configuration"

click_at() { xdotool mousemove "$1" "$2" click 1; }
# A left click in the middle of the dialog's control captioned $1.
click_control() {
  local x y w h
  read -r x y w h <<<"$(probe control-rect "$DIALOG" "$1" 5000)" || return 1
  [ -n "$h" ] || return 1
  click_at $((x + w / 2)) $((y + h / 2))
}
# The main button's menu, then its fifth entry: "Quaylite Configuration" (every shell entry off).
open_config() {
  local dx dy side full
  read -r dx dy side full <<<"$(probe rect "$QL_DOCK_TITLE")"
  xdotool mousemove $((dx + side / 2)) $((dy + side / 2)) click 3
  probe menu 5000 >/dev/null || return 1
  xdotool key Down Down Down Down Down
  xdotool key Return
  probe wait "$DIALOG" 10000
}
closed() { visible_becomes "$DIALOG" 0; }
ok_closes() { click_control "&OK" && closed; }
store() { probe regdump "$QL_KEY" | grep -v '^Rewrite' | sort; }
# Until `value NAME` is $2, for at most 5 s.
stored_becomes() {
  for _ in $(seq 1 50); do
    [ "$(value "$1")" = "$2" ] && return 0
    sleep 0.1
  done
  return 1
}
bar_x() { probe rect "$QL_DOCK_TITLE" | awk '{ print $1 }'; }
bar_x_becomes() {
  for _ in $(seq 1 50); do
    [ "$(bar_x)" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
# The hint of the bar's last tile.
last_tile() {
  local dx dy side full
  read -r dx dy side full <<<"$(probe rect "$QL_DOCK_TITLE")"
  probe hints "$QL_DOCK_TITLE" | awk -F'\t' -v r="0 $((full - side)) $side $side" '$1 == r { print $2 }'
}

reset_store
set_sz BtnApp1 'C:\windows\notepad.exe'
set_sz NomApp1 Notepad
set_sz TaskShowTray 1
if ! start_dock; then
  check "the dock starts" false
  finish
fi
screen_w=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1] }')
read -r _ _ side _ <<<"$(probe rect "$QL_DOCK_TITLE")"
before=$(store)

# --- Opening, and Escape ------------------------------------------------------------------
# The placement list, then its element $1 of three (0: "Dock to the Left").
choose_place() {
  local mx my mw mh
  click_control "$2" || return 1
  read -r mx my mw mh <<<"$(probe menu 5000)" || return 1
  click_at $((mx + mw / 2)) $((my + mh * (2 * $1 + 1) / 6))
}
bar_at=$(bar_x)
check "the dialog opens from the main menu" open_config
choose_place 0 "Dock to the Right"
click_control "&My Computer"
check "the list shows the choice" probe control-rect "$DIALOG" "Dock to the Left" 2000
xdotool key Escape
check "Escape closes it" closed
check_eq "and changes nothing in the store" "$before" "$(store)"
check_eq "nor the bar's place" "$bar_at" "$(bar_x)"

# --- Dock to the Left ------------------------------------------------------------------------
open_config
check "the next opening shows the stored place again" choose_place 0 "Dock to the Right"
check "OK closes the dialog" ok_closes
check "Dock to the Left moves the bar to the left edge" bar_x_becomes 0
check "and stores G" stored_becomes Sens G

# --- The clock, added at once ----------------------------------------------------------------
open_config
click_control "Modules"
read -r gx gy _ _ <<<"$(probe control-rect "$DIALOG" " Date and Time " 5000)"
click_at $((gx + 48)) $((gy + 31))  # its Add button
clock_last() {
  for _ in $(seq 1 50); do
    [ "$(last_tile)" = "Clock Quaylite" ] && return 0
    sleep 0.1
  done
  return 1
}
check "Add puts the clock last on the bar while the dialog is open" clock_last
check "and stores it" stored_becomes BtnApp2 "Clock Quaylite"
xdotool key Escape
closed

# --- The task bar on and off -----------------------------------------------------------------
check_eq "the task bar is off" "0" "$(probe visible TaskBar)"
open_config
click_control "Taskbar"
click_control "&Activate Quaylite Taskbar"
ok_closes
check "turned on with OK, the task bar starts" visible_becomes TaskBar 1
check "and it is stored" stored_becomes TaskBar 1
open_config
click_control "Taskbar"
click_control "&Activate Quaylite Taskbar"
ok_closes
check "turned off with OK, it goes" visible_becomes TaskBar 0
check "and it is stored" stored_becomes TaskBar 0

# --- Export, changes, import -----------------------------------------------------------------
# The file choosers are Wine's own dialogs, driven by typing the path and Enter.
qlx="$QL_E2E_TMP/saved.qlx"
qlx_dos="Z:${qlx//\//\\}"
exported=$(store)
typed_in() {  # types $2 into the chooser titled $1 and confirms it
  probe wait "$1" 10000 || return 1
  point_at "$1"
  xdotool type --delay 20 "$2"
  xdotool key Return
}
# The message box that answers an export or an import: Enter on its button.
answer_box() {
  local x y w h
  read -r x y w h <<<"$(probe control-rect Quaylite OK 5000)" || return 1
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}
exists_soon() {
  for _ in $(seq 1 50); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
open_config
click_control "&Export config."
if typed_in "Save As" "$qlx_dos" && exists_soon "$qlx"; then
  check "Export writes the file" exists_soon "$qlx"
  answer_box
  # Several changes: the bar back to the right, the task bar on, and the clock removed.
  choose_place 1 "Dock to the Left"
  click_control "Taskbar"
  click_control "&Activate Quaylite Taskbar"
  ok_closes
  stored_becomes Sens D
  open_config
  click_control "Modules"
  read -r gx gy _ _ <<<"$(probe control-rect "$DIALOG" " Date and Time " 5000)"
  click_at $((gx + 136)) $((gy + 31))  # its Remove button
  check "the changes show before the import" bar_x_becomes $((screen_w - side))
  check_eq "and are stored" "D 1 Notepad" "$(value Sens) $(value TaskBar) $(last_tile)"
  click_control "&Import config."
  typed_in "Open" "$qlx_dos"
  check "after the import the bar is back at the left edge" bar_x_becomes 0
  check "the clock is back last on the bar" clock_last
  check "the task bar is off again" visible_becomes TaskBar 0
  check_eq "the store holds the exported state" "$exported" "$(store)"
  check "the dialog then only closes" click_control "&Close"
  closed
else
  skip "export and import" "the save chooser could not be driven by the keyboard here"
fi

close_dock
finish
