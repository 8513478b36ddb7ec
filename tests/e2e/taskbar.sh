#!/usr/bin/env bash
# The dock's own task bar on the real program: with the option on in the store, a notepad window
# gets a label button at the bottom left of the screen in the stored colour, the button goes when
# notepad closes, and the settings survive a restart. (Under Wine's default mode there is no
# system task bar, so rows run to the screen's width.)
set -u
source "$(dirname "$0")/lib.sh"

GREEN="10 200 30"
reset_store
set_sz TaskBar 1
set_sz TaskSmallStyle 1
set_sz TaskShowTray 0
# Both states in one colour: the new window is the foreground window, its button down.
probe regset "$QL_KEY" TaskColorOff binary 0ac81e00 >/dev/null
probe regset "$QL_KEY" TaskColorOn binary 0ac81e00 >/dev/null

if ! start_dock; then
  check "the dock starts with its task bar" false
  finish
fi
screen_h=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[2] }')
# Below the icon, left of the label: the button's background.
bx=1 by=$((screen_h - 1))
button_colour() {
  screenshot "$QL_E2E_TMP/s.png"
  pixel_of "$QL_E2E_TMP/s.png" "$bx" "$by"
}
wait_colour() {
  local i
  for i in $(seq 1 25); do
    [ "$(button_colour)" = "$1" ] && return 0
    sleep 0.2
  done
  return 1
}
wait_not_colour() {
  local i
  for i in $(seq 1 25); do
    [ "$(button_colour)" != "$1" ] && return 0
    sleep 0.2
  done
  return 1
}

wine notepad </dev/null >/dev/null 2>&1 &
track_pid $!
probe wait "Untitled - Notepad" 15000 >/dev/null
check "a notepad window gets a button at the bottom left in the stored colour" wait_colour "$GREEN"
probe close "Untitled - Notepad" >/dev/null
probe gone "Untitled - Notepad" 8000 >/dev/null
check "the button goes when notepad closes" wait_not_colour "$GREEN"

close_dock
check_eq "the task bar's settings stay in the store" "1 0" "$(value TaskSmallStyle) $(value TaskShowTray)"
finish
