#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test: the portable core natively
# (AddressSanitizer + UBSan), then the Win32 tests, the end-to-end tests and the benchmarks under
# Wine in a headless X server. Ends with one summary line.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/install-deps.sh" || exit 1
# shellcheck source=lib.sh
source "$here/lib.sh"
cd "$QL_ROOT" || exit 1

passed=0 failed=0
count() {  # adds the figures of one ctest log
  local line p f
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$1" | tail -n 1)
  if [ -z "$line" ]; then
    failed=$((failed + 1))
    return
  fi
  f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
  p=$(( $(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line") - f ))
  passed=$((passed + p)) failed=$((failed + f))
}

logs="$QL_ROOT/build/test-logs"
mkdir -p "$logs"

echo "== native: portable core"
if cmake --preset native >"$logs/native-configure.log" 2>&1 &&
   cmake --build --preset native >"$logs/native-build.log" 2>&1; then
  ctest --preset native -j2 2>&1 | tee "$logs/native-ctest.log" | grep -E 'tests passed|Failed|\*\*\*' 
  count "$logs/native-ctest.log"
else
  echo "native build failed (see $logs)"; tail -n 30 "$logs/native-build.log"; failed=$((failed + 1))
fi

echo "== windows: quaylite.exe, Wine and end-to-end tests"
ql_wine_env
trap ql_stop_all EXIT
if ql_start_xvfb && ql_start_wine; then
  if cmake --preset windows >"$logs/windows-configure.log" 2>&1 &&
     cmake --build --preset windows >"$logs/windows-build.log" 2>&1; then
    ctest --preset windows 2>&1 </dev/null | tee "$logs/windows-ctest.log" | grep -E 'Test +#|tests passed|\*\*\*'
    count "$logs/windows-ctest.log"
    echo "== benchmarks"
    grep -h '^BENCH' "$QL_ROOT/build/windows/Testing/Temporary/LastTest.log" || echo "(no benchmark figures)"
    echo "== end-to-end checks"
    grep -hE '^[a-z_]+: [0-9]+ passed, [0-9]+ failed' "$QL_ROOT/build/windows/Testing/Temporary/LastTest.log" |
      sed 's/^/   /' || true
  else
    echo "windows build failed (see $logs)"; tail -n 30 "$logs/windows-build.log"; failed=$((failed + 1))
  fi
else
  echo "could not start X or Wine"; failed=$((failed + 1))
fi

echo "== lint: clang-format and clang-tidy"
if "$here/lint.sh" >"$logs/lint.log" 2>&1; then
  passed=$((passed + 1))
  echo "lint: clean"
else
  failed=$((failed + 1))
  head -n 40 "$logs/lint.log"
fi

echo
echo "Quaylite: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
