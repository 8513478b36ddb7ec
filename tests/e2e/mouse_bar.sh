#!/usr/bin/env bash
# Using the bar with the mouse on the real program: branches slide out and back, the main button
# folds the bar and drags it along its edge, Shift-drag exchanges two tiles, dropped files become
# tiles.
set -u
source "$(dirname "$0")/lib.sh"

KEY='SoftWare\Wendor\Quaylite'
prepare() {  # edge: a plain button, a group of two members, a plain button; 32-pixel icons
  reset_store
  set_sz Sens "$1"
  store_group_bar
}
click_at() { xdotool mousemove "$1" "$2" click 1; }
branch_rect() { probe rect BarreBranche; }
branch_visible() { probe visible BarreBranche; }
wait_hidden() {  # the branch window hidden within 5 s
  local i
  for i in $(seq 1 50); do
    [ "$(branch_visible)" = 0 ] && return 0
    sleep 0.1
  done
  return 1
}

# --- Branches on each edge -------------------------------------------------------------
for edge in D G H; do
  prepare "$edge"
  if ! start_dock; then
    check "$edge: the dock starts" false
    continue
  fi
  read -r dx dy dw dh <<<"$(probe rect Quaylite)"
  if [ "$edge" = H ]; then side=$dh; gx=$((dx + 2 * side + side / 2)); gy=$((side / 2)); else
    side=$dw; gx=$((dx + side / 2)); gy=$((dy + 2 * side + side / 2)); fi
  click_at "$gx" "$gy"
  sleep 0.5
  check_eq "$edge: a press on the group opens its branch" "1" "$(branch_visible)"
  read -r bx by bw bh <<<"$(branch_rect)"
  case $edge in
    D) check_eq "right edge: branch left of the bar, level with the group" "$((dx - 2 * side)) $((dy + 2 * side)) $((2 * side)) $side" "$bx $by $bw $bh" ;;
    G) check_eq "left edge: branch right of the bar, level with the group" "$side $((dy + 2 * side)) $((2 * side)) $side" "$bx $by $bw $bh" ;;
    H) check_eq "top edge: branch below the bar, under the group" "$((dx + 2 * side)) $side $side $((2 * side))" "$bx $by $bw $bh" ;;
  esac
  click_at "$gx" "$gy"
  check "$edge: a second press slides it back" wait_hidden
  close_dock
done

# --- Folding and moving with the main button (right edge) --------------------------------
prepare D
if start_dock; then
  read -r dx dy side full <<<"$(probe rect Quaylite)"
  # A press that rests long enough for the hint to show, then drags down along the bar (the
  # pointer passes over the hint): the bar follows the whole way. Then back, at once.
  xdotool mousemove $((dx + side / 2)) $((dy + side / 2)) mousedown 1
  sleep 0.8
  for step in 10 30 40; do
    xdotool mousemove_relative -- 0 "$step"
    sleep 0.05
  done
  xdotool mouseup 1
  sleep 0.3
  check_eq "a drag after the hint showed moves the bar all the way" "$dx $((dy + 80)) $side $full" \
    "$(probe rect Quaylite)"
  xdotool mousedown 1
  xdotool mousemove_relative -- 0 -40
  sleep 0.05
  xdotool mousemove_relative -- 0 -40
  xdotool mouseup 1
  sleep 0.3
  check_eq "and back up" "$dx $dy $side $full" "$(probe rect Quaylite)"
  sleep 0.5
  xdotool mousemove $((dx + side / 2)) $((dy + side / 2)) click --repeat 2 --delay 60 1
  sleep 0.8
  check_eq "double click folds the bar to one tile" "$dx $dy $side $side" "$(probe rect Quaylite)"
  xdotool mousemove $((dx + side / 2)) $((dy + side / 2)) click --repeat 2 --delay 60 1
  sleep 0.8
  check_eq "a second double click unfolds it" "$dx $dy $side $full" "$(probe rect Quaylite)"

  sleep 0.5  # not a third click of the double click
  xdotool mousemove $((dx + side / 2)) $((dy + side / 2)) mousedown 1
  for step in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove $((dx + side / 2)) $((dy + side / 2 + step * 20))
    sleep 0.05
  done
  xdotool mouseup 1
  sleep 0.3
  check_eq "dragging the main button moves the bar down its edge" "$dx $((dy + 200)) $side $full" "$(probe rect Quaylite)"
  close_dock
  check_eq "the position is stored" "$((dy + 200))" "$(value PosTop)"
  if start_dock; then
    check_eq "and survives a restart" "$dx $((dy + 200)) $side $full" "$(probe rect Quaylite)"
    close_dock
  fi
fi

# --- Shift-drag exchanges two tiles --------------------------------------------------------
prepare D
if start_dock; then
  read -r dx dy side _ <<<"$(probe rect Quaylite)"
  sleep 1
  before="$QL_E2E_TMP/before.png"
  screenshot "$before"
  ax=$((dx + side / 2)); ay=$((dy + side + side / 2))        # Notepad, first tile
  by=$((dy + 3 * side + side / 2))                            # Regedit, third tile
  xdotool mousemove "$ax" "$ay" keydown shift mousedown 1
  for step in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove "$ax" $((ay + step * (by - ay) / 10))
    sleep 0.05
  done
  xdotool mouseup 1 keyup shift
  sleep 0.8
  check_eq "store: first entry is now Regedit" "Regedit" "$(value NomApp1)"
  check_eq "store: third entry is now Notepad" "Notepad" "$(value NomApp3)"
  check_eq "store: the group stays second" "Tools" "$(value NomApp2)"
  after="$QL_E2E_TMP/after.png"
  screenshot "$after"
  crop() { convert "$1" -crop "${side}x${side}+$dx+$2" +repage "$3"; }
  crop "$before" $((dy + side)) "$QL_E2E_TMP/a0.png"
  crop "$after" $((dy + 3 * side)) "$QL_E2E_TMP/a1.png"
  crop "$before" $((dy + 3 * side)) "$QL_E2E_TMP/b0.png"
  crop "$after" $((dy + side)) "$QL_E2E_TMP/b1.png"
  same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
  check "on screen: the first tile now shows at the third place" same "$QL_E2E_TMP/a0.png" "$QL_E2E_TMP/a1.png"
  check "on screen: the third tile now shows at the first place" same "$QL_E2E_TMP/b0.png" "$QL_E2E_TMP/b1.png"
  close_dock
fi

# --- Dropped files -------------------------------------------------------------------------
prepare D
if start_dock; then
  read -r dx dy side full <<<"$(probe rect Quaylite)"
  one="$QL_E2E_TMP/dropped one.txt"; two="$QL_E2E_TMP/two.txt"; three="$QL_E2E_TMP/three.txt"
  : >"$one"; : >"$two"; : >"$three"
  probe drop Quaylite "$one"
  sleep 0.5
  check_eq "a dropped file adds a tile at the end of the bar" "$dx $dy $side $((full + side))" "$(probe rect Quaylite)"
  check_eq "and to the store, after the members' entries" "dropped one.txt" "$(value NomApp4)"
  check_eq "with icon index 999" "999" "$(value Icone4 | sed 's/.*,//')"
  probe drop Quaylite "$two" "$three" "$one"
  sleep 0.5
  check_eq "three files at once add only the first" "$dx $dy $side $((full + 2 * side))" "$(probe rect Quaylite)"
  check_eq "the first of the three" "two.txt" "$(value NomApp5)"
  close_dock
fi
finish
