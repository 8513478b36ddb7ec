#!/usr/bin/env bash
# A store prepared by hand: three buttons on the left edge, the second a group of two members,
# 48-pixel icons with labels. The bar takes its specified size and place, and the store reads
# back unchanged after a close.
set -u
source "$(dirname "$0")/lib.sh"

KEY='SoftWare\Wendor\Quaylite'
reset_store
set_sz Sens G
set_sz Taille 48
set_sz ShowName 1
set_sz PosTop 100
set_sz BtnApp1 'C:\windows\notepad.exe'
set_sz NomApp1 Notepad
set_sz Icone1 'C:\windows\notepad.exe,0'
set_sz BtnApp2 'C:\windows\system32\winecfg.exe'
set_sz NomApp2 Tools
set_sz Icone2 'C:\windows\system32\shell32.dll,3'
set_sz BtnApp3 'C:\windows'
set_sz NomApp3 Windows
set_sz Icone3 'C:\windows,0'
set_sz BtnApp4 'C:\windows\regedit.exe,BtnApp2-'
set_sz NomApp4 Regedit
set_sz Icone4 'C:\windows\regedit.exe,0'
set_sz BtnApp5 'C:\windows\system32\cmd.exe|/c exit,BtnApp2-'
set_sz NomApp5 Console
set_sz Icone5 'C:\windows\system32\cmd.exe,0'
buttons() { probe regdump "$KEY" | grep -E '^(BtnApp|NomApp|Icone)[0-9]'; }
before=$(buttons)

if ! start_dock; then
  check "the dock starts" false
  finish
fi
read -r x y w h <<<"$(probe rect Quaylite)"
side=$w
check_eq "left edge" "0" "$x"
check_eq "at PosTop" "100" "$y"
check_eq "main button and three tiles" "$((4 * side))" "$h"
# 48-pixel icons with labels: the tile is the icon, 14 pixels and the label's text height.
check "tile side holds a label ($side)" test "$side" -ge 70 -a "$side" -le 90

sleep 1
shot="$QL_E2E_TMP/stored.png"
screenshot "$shot"
# Four raised tiles stacked down the bar: each has a white top row and a black bottom-right.
for i in 0 1 2 3; do
  top=$((100 + i * side))
  check_eq "tile $i: white top row" "255 255 255" "$(pixel_of "$shot" 10 "$top")"
  check_eq "tile $i: black right column" "0 0 0" "$(pixel_of "$shot" $((side - 1)) $((top + 5)))"
done
# The label strip along the bottom of the first tile, left of its centred caption.
check_eq "label strip colour" "34 36 75" "$(pixel_of "$shot" 3 $((100 + 2 * side - 5)))"

check "polite close" close_dock
check_eq "button entries unchanged" "$before" "$(buttons)"
dump=$(probe regdump "$KEY")
check_eq "edge kept" "Sens	sz	G" "$(grep '^Sens' <<<"$dump")"
check_eq "position kept" "PosTop	sz	100" "$(grep '^PosTop' <<<"$dump")"
check_eq "size kept" "Taille	sz	48" "$(grep '^Taille' <<<"$dump")"

# A second start reads the same bar again.
if start_dock; then
  check_eq "same bar on the next start" "0 100 $side $((4 * side))" "$(probe rect Quaylite)"
  close_dock
fi
finish
