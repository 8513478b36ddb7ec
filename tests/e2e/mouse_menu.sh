#!/usr/bin/env bash
# Launching from the bar and deleting with the button menu, on the real program: a double click
# starts the tile's program with the parameters after "|"; "Delete Button", confirmed with Yes,
# removes a tile, or a group with its members, from the bar and from the store.
set -u
source "$(dirname "$0")/lib.sh"

KEY='SoftWare\Wendor\Quaylite'
entries() { probe regdump "$KEY" | grep -cE '^BtnApp[0-9]+	'; }
settled_rect() {  # the dock's rectangle once it is back on screen (a rebuild moves it away)
  local r
  for _ in $(seq 1 100); do
    r=$(probe rect Quaylite)
    case $r in -2000\ *) sleep 0.1 ;; *) break ;; esac
  done
  echo "$r"
}
wait_title() {  # a visible window whose title contains $1, within 15 s
  timeout 15 xdotool search --sync --onlyvisible --name "$1" >/dev/null 2>&1
}

note="$QL_E2E_TMP/qlnote.txt"
echo "opened by the dock" >"$note"
winnote="Z:${note//\//\\}"

reset_store
set_sz Confirm 1
store_group_bar
set_sz BtnApp1 "C:\\windows\\notepad.exe|$winnote"

if ! start_dock; then
  check "the dock starts" false
  finish
fi
read -r dx dy side full <<<"$(probe rect Quaylite)"
tile_y() { echo $((dy + $1 * side + side / 2)); }

# A double click on the first tile runs notepad with the file given after "|".
xdotool mousemove $((dx + side / 2)) "$(tile_y 1)" click --repeat 2 --delay 60 1
check "double click starts notepad on the file after the bar" wait_title 'qlnote'
for w in $(xdotool search --name 'qlnote' 2>/dev/null); do xdotool windowclose "$w" 2>/dev/null; done
pkill -9 -f 'notepad.exe' 2>/dev/null

# "Delete Button" on the third tile, confirmed: the menu's seventh entry, then Yes.
delete_tile() {  # $1 tile number on the bar
  xdotool mousemove $((dx + side / 2)) "$(tile_y "$1")" click 3
  sleep 0.7
  xdotool key Down Down Down Down Down Down Down Return
  # The confirmation box: keys go to the window under the pointer, and Yes is its default.
  local box
  box=$(timeout 10 xdotool search --sync --onlyvisible --name '^Confirm$' 2>/dev/null | head -n 1)
  if [ -z "$box" ]; then
    echo "no confirmation box" >&2
    return 1
  fi
  eval "$(xdotool getwindowgeometry --shell "$box")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + 10)) key Return
  for _ in $(seq 1 50); do
    xdotool search --onlyvisible --name '^Confirm$' >/dev/null 2>&1 || break
    sleep 0.1
  done
  sleep 0.5
}
check "the confirmation box asks and Yes answers it" delete_tile 3
check_eq "the tile is gone from the bar" "$dx $dy $side $((full - side))" "$(settled_rect)"
check_eq "and from the store" "" "$(probe regdump "$KEY" | grep -i 'regedit')"
check_eq "entries left: two buttons and two members" "4" "$(entries)"

# The same on the group removes its members with it.
check "the group's confirmation is answered" delete_tile 2
check_eq "the group's tile is gone" "$dx $dy $side $((full - 2 * side))" "$(settled_rect)"
check_eq "its members are gone from the store" "1" "$(entries)"
check_eq "the first button stays" "Notepad" "$(value NomApp1)"
close_dock

# The two button dialogs: "Send button to..." with OK and no line chosen sends the button to the
# end of the bar; "Button Properties" closed with Escape changes nothing.
reset_store
for i in 1 2 3; do
  set_sz "BtnApp$i" "C:\\windows\\app$i.exe"
  set_sz "NomApp$i" "App $i"
done
if start_dock; then
  read -r dx dy side full <<<"$(probe rect Quaylite)"
  menu_entry() {  # $1 tile, $2 how many entries down
    xdotool mousemove $((dx + side / 2)) "$(tile_y "$1")" click 3
    sleep 0.7
    local i
    for i in $(seq 1 "$2"); do xdotool key Down; done
    xdotool key Return
  }
  answer_dialog() {  # $1 title, $2 key: the modal dialog answered from the keyboard
    local w
    w=$(timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$w" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$w")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + 5)) key "$2"
    for _ in $(seq 1 50); do
      xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
      sleep 0.1
    done
    return 1
  }
  value_soon() {  # the value $1 once it reads $2, or what it reads after 6 s
    local v
    for _ in $(seq 1 30); do
      v=$(value "$1")
      [ "$v" = "$2" ] && break
      sleep 0.2
    done
    echo "$v"
  }
  menu_entry 1 8
  check "the send-to dialog opens and OK closes it" answer_dialog 'Send button to group' Return
  check_eq "the sent button is now the last of the bar" "App 1" "$(value_soon NomApp3 "App 1")"
  check_eq "the others moved up" "App 2" "$(value NomApp1)"
  menu_entry 3 1
  check "the properties dialog opens and Escape closes it" answer_dialog 'Button Properties' Escape
  sleep 1
  check_eq "Escape changes nothing" "App 1" "$(value NomApp3)"
  check_eq "nor the bar" "$dx $dy $side $full" "$(probe rect Quaylite)"
  close_dock
fi
finish
