#!/usr/bin/env bash
# A first start with no store: one 48 x 48 main button at the right edge of the 1024 x 768 screen;
# a polite close writes the whole key and the lock values.
set -u
source "$(dirname "$0")/lib.sh"

KEY='SoftWare\Wendor\Quaylite'
reset_store
if ! start_dock; then
  check "the dock starts" false
  finish
fi
check_eq "bar at the right edge, one tile" "976 0 48 48" "$(probe rect Quaylite)"

sleep 1
shot="$QL_E2E_TMP/first.png"
screenshot "$shot"
check_eq "raised frame: white left column" "255 255 255" "$(pixel_of "$shot" 976 20)"
check_eq "raised frame: white top row" "255 255 255" "$(pixel_of "$shot" 990 0)"
check_eq "raised frame: black right column" "0 0 0" "$(pixel_of "$shot" 1023 20)"
check_eq "raised frame: black bottom row" "0 0 0" "$(pixel_of "$shot" 990 47)"
check_eq "silver tile around the icon" "192 192 192" "$(pixel_of "$shot" 979 3)"

check "polite close" close_dock
dump=$(probe regdump "$KEY")
typed_value() { awk -F'\t' -v n="$1" 'tolower($1) == tolower(n) { print $2 ":" $3 }' <<<"$dump"; }
check_eq "Sens" "sz:D" "$(typed_value Sens)"
check_eq "Taille" "sz:32" "$(typed_value Taille)"
check_eq "PosTop" "sz:0" "$(typed_value PosTop)"
check_eq "exit" "sz:1" "$(typed_value exit)"
check_eq "Relief" "sz:1" "$(typed_value Relief)"
check_eq "OnTop" "sz:1" "$(typed_value OnTop)"
check_eq "cfdel" "sz:1" "$(typed_value cfdel)"
check_eq "ShowName" "sz:0" "$(typed_value ShowName)"
check_eq "Couleur is 4 bytes of silver" "binary:c0c0c000" "$(typed_value Couleur)"
check_eq "HotKey empty" "sz:" "$(typed_value HotKey)"
check_eq "no buttons" "" "$(typed_value BtnApp1)"
# 34 options plus "exit": the whole key.
check_eq "number of values" "54" "$(wc -l <<<"$dump")"

lock=$(probe regdump 'RemoteAccess\Windows')
check_eq "lock disabled" "Provider	sz	0" "$(grep -i '^Provider' <<<"$lock")"
check_eq "empty password stored" "Init	binary	" "$(grep -i '^Init' <<<"$lock")"

# "Dock always on top" holds after the start and after every rebuild (a drop rebuilds the bar),
# and so does its opposite.
topmost() { echo $(( $(probe exstyle Quaylite) & 0x8 )); }
for on in 1 0; do
  set_sz OnTop "$on"
  if start_dock; then
    check_eq "OnTop $on: topmost after the start" "$((on * 8))" "$(topmost)"
    probe drop Quaylite 'C:\windows\notepad.exe' >/dev/null
    sleep 0.5
    check_eq "OnTop $on: topmost after a rebuild" "$((on * 8))" "$(topmost)"
    close_dock
  fi
done
finish
