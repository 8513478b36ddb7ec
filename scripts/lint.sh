#!/usr/bin/env bash
# clang-format and clang-tidy over the sources. The portable core is checked with the native
# compile database, the Win32 layer with the cross build's, pointed at mingw's headers.
# Needs both presets configured (scripts/test.sh does that). Exits non-zero on any finding.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
status=0

mapfile -t sources < <(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'tools/*.cpp' 'tools/*.h')
if ! clang-format --dry-run --Werror "${sources[@]}" 2>/dev/null; then
  echo "clang-format: these files need formatting:"
  for f in "${sources[@]}"; do
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || echo "  $f"
  done
  status=1
fi

# The Windows headers are reached through win/Win.h only; the Windows macros come from quaylite_defs.
sdk='#include <(windows|objbase|shellapi|shlobj|commctrl|commdlg|mmsystem)\.h>'
if git grep -n -E "$sdk" -- 'src/*' 'tests/*' 'tools/*' ':!src/win/Win.h' | grep .; then
  echo "include the Windows headers through win/Win.h"
  status=1
fi
if git grep -n -E '_WIN32_WINNT *=|define _WIN32_WINNT' -- 'src/*' 'tests/*' 'tools/*' 'cmake/*' ':!src/CMakeLists.txt' | grep .; then
  echo "_WIN32_WINNT is defined once, by the quaylite_defs target"
  status=1
fi

gcc_dir=$(ls -d /usr/lib/gcc/i686-w64-mingw32/*-posix 2>/dev/null | tail -n 1)
cross=(--extra-arg=--target=i686-w64-mingw32
       "--extra-arg=-isystem$gcc_dir/include/c++"
       "--extra-arg=-isystem$gcc_dir/include/c++/i686-w64-mingw32"
       --extra-arg=-isystem/usr/i686-w64-mingw32/include)
mapfile -t core < <(git ls-files 'src/core/*.cpp')
mapfile -t win < <(git ls-files 'src/*.cpp' | grep -v '^src/core/')
tidy() { clang-tidy --quiet "$@" 2>&1 | grep -E '(warning|error):' ; }
findings=$( { tidy -p build/native "${core[@]}"; tidy -p build/windows "${cross[@]}" "${win[@]}"; } )
if [ -n "$findings" ]; then
  echo "$findings"
  status=1
fi
[ "$status" -eq 0 ] && echo "lint: clean"
exit "$status"
