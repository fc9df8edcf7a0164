#!/usr/bin/env bash
# Builds Brisko and runs every test: the native tests on the simulated
# machine (with sanitizers), the Windows tests under Wine in a throwaway
# prefix, and a compile of the 32-bit Windows build.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${BRISKO_BUILD_DIR:-$top/build}
jobs=$(nproc)

"$top/scripts/install-build-tools.sh"

passed=0
failed=0
# Runs ctest in a build folder and adds its counts to the totals.
run_ctest() {
  local folder=$1 log
  log=$(mktemp)
  local status=0
  ctest --test-dir "$folder" --output-on-failure -j "$jobs" 2>&1 | tee "$log" || status=$?
  local summary
  summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  rm -f "$log"
  if [ -z "$summary" ]; then
    echo "ctest in $folder printed no summary"
    failed=$((failed + 1))
    return
  fi
  local total bad
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
  [ "$status" -eq 0 ] || [ "$bad" -gt 0 ] || failed=$((failed + 1))
}

echo "== Host build (simulated machine, sanitizers)"
cmake -S "$top" -B "$build/host" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRISKO_BENCHMARKS=ON
cmake --build "$build/host" -j "$jobs"
run_ctest "$build/host"

echo "== Windows x86_64 build, tests under Wine"
cmake -S "$top" -B "$build/win64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake"
cmake --build "$build/win64" -j "$jobs"
run_ctest "$build/win64"

echo "== Windows i686 build (compiled only: 32-bit Wine is not available here)"
if command -v i686-w64-mingw32-g++ >/dev/null; then
  cmake -S "$top" -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-i686.cmake"
  cmake --build "$build/win32" -j "$jobs"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
