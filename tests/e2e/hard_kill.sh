#!/usr/bin/env bash
# Killing the dock hard in the middle of its life, even while it rewrites the store after a
# dropped file, loses nothing that was stored.
set -u
source "$(dirname "$0")/lib.sh"

KEY='SoftWare\Wendor\Quaylite'
reset_store
for i in 1 2 3; do
  probe regset "$KEY" "BtnApp$i" sz "C:\\windows\\app$i.exe"
  probe regset "$KEY" "NomApp$i" sz "App $i"
  probe regset "$KEY" "Icone$i" sz "C:\\windows\\app$i.exe,0"
done
entries() { probe regdump "$KEY" | grep -cE '^BtnApp[0-9]+'; }
originals() { probe regdump "$KEY" | grep -E '^(BtnApp|NomApp|Icone)[1-3]	'; }
first=$(originals)

for round in 1 2 3; do
  if ! start_dock; then
    check "round $round: the dock starts" false
    continue
  fi
  read -r _ _ w h <<<"$(probe rect Quaylite)"
  tiles=$((h / w - 1))
  check_eq "round $round: one tile per stored entry" "$(entries)" "$tiles"
  # Drops in quick succession, each one a whole rewrite of the store; kill while they run.
  for d in 1 2 3 4 5 6; do
    f="$QL_E2E_TMP/r${round}d$d.txt"
    : >"$f"
    probe drop Quaylite "$f" >/dev/null
  done
  sleep "0.$((RANDOM % 5 + 1))"
  kill_dock
  check_eq "round $round: original buttons intact" "$first" "$(originals)"
  # Entries run from 1 with no gap: every stored button is readable on the next start.
  n=$(entries)
  check "round $round: no gap in $n entries" bash -c "[ -z \"\$(seq 1 $n | while read -r i; do grep -q \"^BtnApp\$i	\" <<<\"\$1\" || echo gap; done)\" ]" _ "$(probe regdump "$KEY")"
done
finish
