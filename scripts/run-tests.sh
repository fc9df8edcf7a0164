#!/usr/bin/env bash
# Builds Brisko and runs every test: the native tests on the simulated
# machine (with sanitizers), the Windows tests under Wine in throwaway
# prefixes, and the 32-bit Windows build's in a 32-bit prefix and under
# WoW64 where the kernel runs 32-bit programs (elsewhere it is compiled and
# each of its tests named as skipped).
#
# The last line counts every test: "N passed, N failed, N skipped". A ctest
# test that runs a whole GoogleTest executable under Wine (a bundle) counts
# as the tests of that executable, from the line "gtest counts: ..." it
# prints; every other ctest test counts once.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${BRISKO_BUILD_DIR:-$top/build}
jobs=$(nproc)
# The limit of any test that sets none of its own.
ctest_timeout=${BRISKO_CTEST_TIMEOUT:-600}

"$top/scripts/install-build-tools.sh"
# shellcheck source=scripts/lib/thirty-two-bit.sh
source "$top/scripts/lib/thirty-two-bit.sh"

passed=0
failed=0
skipped=0
summary=()

# One line per ctest test from ctest's output: name, outcome, seconds. A
# name may hold spaces; ctest puts a space and dots after it.
ctest_results() {
  sed -nE 's/^ *[0-9]+\/[0-9]+ +Test +#[0-9]+: ([^ ](.*[^ .])?) \.+( +|\*\*\*)([A-Za-z][^*]*[^ ]) +([0-9.]+) sec$/\1\t\4\t\5/p' "$1"
}

# The "gtest counts:" and "gtest skipped:" lines of ctest's full log, each
# after the name of the test that printed it.
bundle_lines() {
  local log=$1/Testing/Temporary/LastTest.log
  [[ -f $log ]] || return 0
  awk '/^[0-9]+\/[0-9]+ Test: / { name = $0; sub(/^[0-9]+\/[0-9]+ Test: /, "", name) }
       /^gtest (counts|skipped): / { print name "\t" $0 }' "$log"
}

# Runs ctest in a build folder and adds its tests to the totals. With
# --every-test the summary shows each test with its outcome and time, not
# only the ones that failed or were skipped.
run_ctest() {
  local label=$1 folder=$2 every_test=${3:-} output=$2/ctest-output.log status=0
  ctest --test-dir "$folder" --output-on-failure -j "$jobs" --timeout "$ctest_timeout" 2>&1 | tee "$output" ||
    status=$?

  local results bundles total listed disabled lines=()
  results=$(ctest_results "$output")
  bundles=$(bundle_lines "$folder")
  total=$(sed -nE 's/.*[0-9]+% tests passed, [0-9]+ tests? failed out of ([0-9]+).*/\1/p' "$output" | tail -n 1)
  listed=$(grep -c . <<<"$results" || true)
  # ctest leaves disabled tests out of its own total.
  disabled=$(grep -c $'\tNot Run (Disabled)\t' <<<"$results" || true)
  local p=0 f=0 s=0
  if [[ -z $total || $((listed - disabled)) -ne $total ]]; then
    lines+=("  ctest's own total (${total:-none}) does not match the $listed results read")
    f=$((f + 1))
  fi

  local name outcome seconds counts bp bf bs skipped_test
  while IFS=$'\t' read -r name outcome seconds; do
    [[ -n $name ]] || continue
    counts=$(awk -F'\t' -v n="$name" '$1 == n && $2 ~ /^gtest counts: [0-9]/ { print $2 }' <<<"$bundles" | tail -n 1)
    if [[ -n $counts ]]; then
      read -r bp bf bs < <(sed -E 's/gtest counts: ([0-9]+) passed, ([0-9]+) failed, ([0-9]+) skipped/\1 \2 \3/' <<<"$counts")
      # A bundle that failed with every test passed failed outside them.
      [[ $outcome == Passed || $bf -gt 0 ]] || bf=1
      p=$((p + bp)); f=$((f + bf)); s=$((s + bs))
      lines+=("$(printf '  %-40s %s  %s s: %d passed, %d failed, %d skipped' "$name" "$outcome" "$seconds" "$bp" "$bf" "$bs")")
      for skipped_test in $(awk -F'\t' -v n="$name" '$1 == n && $2 ~ /^gtest skipped: / { sub(/^gtest skipped: /, "", $2); print $2 }' <<<"$bundles"); do
        lines+=("      skipped: $skipped_test")
      done
      continue
    fi
    case $outcome in
      Passed) p=$((p + 1)) ;;
      Skipped | "Not Run (Disabled)") s=$((s + 1)) ;;
      *) f=$((f + 1)) ;;
    esac
    if [[ -n $every_test || $outcome != Passed ]]; then
      lines+=("$(printf '  %-40s %s  %s s' "$name" "$outcome" "$seconds")")
    fi
  done <<<"$results"
  # A run that failed without a failing test (ctest itself) is a failure too.
  if [[ $status -ne 0 && $f -eq 0 ]]; then
    lines+=("  ctest exited with $status")
    f=$((f + 1))
  fi
  summary+=("$label: $p passed, $f failed, $s skipped" "${lines[@]}")
  passed=$((passed + p)); failed=$((failed + f)); skipped=$((skipped + s))
}

echo "== Host build (simulated machine, sanitizers)"
# Sanitizers on, and no flags left in the cache by an earlier configure that
# could turn them off again.
cmake -S "$top" -B "$build/host" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRISKO_SANITIZE=ON -DBRISKO_BENCHMARKS=ON \
  -DCMAKE_C_FLAGS= -DCMAKE_CXX_FLAGS= -DCMAKE_EXE_LINKER_FLAGS= -DCMAKE_SHARED_LINKER_FLAGS= \
  -DCMAKE_C_FLAGS_DEBUG=-g -DCMAKE_CXX_FLAGS_DEBUG=-g
cmake --build "$build/host" -j "$jobs"
sanitized=$build/host/tests/scan/scan_tests
if ! grep -q __asan_init "$sanitized" || ! grep -q __ubsan_handle "$sanitized"; then
  echo "$sanitized was built without AddressSanitizer and UndefinedBehaviorSanitizer" >&2
  exit 1
fi
run_ctest host "$build/host"

echo "== Windows x86_64 build, tests under Wine"
cmake -S "$top" -B "$build/win64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake"
cmake --build "$build/win64" -j "$jobs"
run_ctest win64 "$build/win64" --every-test

echo "== Windows i686 build, tests under Wine in a 32-bit prefix and under WoW64"
if ! command -v i686-w64-mingw32-g++ >/dev/null; then
  summary+=("i686: no i686-w64-mingw32-g++, the 32-bit build was not compiled")
  failed=$((failed + 1))
elif ! { cmake -S "$top" -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
           -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-i686.cmake" &&
         cmake --build "$build/win32" -j "$jobs"; }; then
  summary+=("i686: the 32-bit build failed")
  failed=$((failed + 1))
elif runs_32_bit_programs; then
  run_ctest i686 "$build/win32" --every-test
else
  # Each test the build registers, as ctest lists it; a bundle counts once.
  mapfile -t i686_tests < <(ctest --test-dir "$build/win32" -N | sed -nE 's/^ *Test +#[0-9]+: (.+)$/\1/p')
  if [[ ${#i686_tests[@]} -eq 0 ]]; then
    summary+=("i686: compiled, but ctest lists no test in $build/win32")
    failed=$((failed + 1))
  else
    summary+=("i686: compiled; its ${#i686_tests[@]} tests under Wine not run")
    for name in "${i686_tests[@]}"; do
      summary+=("i686: skipped $name: $refused_32_bit_reason")
    done
    skipped=$((skipped + ${#i686_tests[@]}))
  fi
fi

echo "== Summary"
printf '%s\n' "${summary[@]}"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
