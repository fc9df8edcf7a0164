#!/usr/bin/env bash
# Builds the parsers' fuzz targets with clang and libFuzzer (build/fuzz) and
# runs each for SECONDS (default 60) over a copy of its seed corpus; what it
# finds stays under build/fuzz/runs, never in the committed corpus. Prints
# executions and findings per target; fails on any finding.
#   fuzz.sh [SECONDS [TARGET...]]      every target when none is named
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
all_targets=(file_matcher process_table rename_section hosts_check message_dialog_layout region_rectangles hive_logs)
usage="usage: $0 [SECONDS [TARGET...]]; targets: ${all_targets[*]}"
seconds=${1:-60}
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "$usage" >&2
  exit 2
fi
shift $(($# > 0 ? 1 : 0))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")
for target in "${targets[@]}"; do
  if [[ " ${all_targets[*]} " != *" $target "* ]]; then
    echo "$usage" >&2
    exit 2
  fi
done
build=$top/build/fuzz

"$top/scripts/install-build-tools.sh" --fuzz

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISKO_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
cmake --build "$build" --target "${all_targets[@]/%/_fuzz}"

mkdir -p "$build/runs"
run=$(mktemp -d "$build/runs/run.XXXXXX") || {
  echo "cannot make a run folder under $build/runs" >&2
  exit 1
}

failures=0
table=$(printf '%-24s %14s %8s %9s\n' target executions seconds findings)
for target in "${targets[@]}"; do
  folder=$run/$target
  mkdir -p "$folder/artifacts"
  cp -r "$top/tests/fuzz/corpus/$target" "$folder/corpus"
  echo "== $target: ${seconds}s"
  status=0
  (cd "$folder" && "$build/tests/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$folder/artifacts/" corpus >"$folder/log" 2>&1) || status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$folder/log" | tail -n 1)
  elapsed=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$folder/log" | tail -n 1)
  # libFuzzer also keeps inputs that merely ran slowly (slow-unit-*), which
  # a loaded machine produces; only crashes, leaks, hangs and memory
  # exhaustion are findings.
  findings=$(find "$folder/artifacts" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
    -o -name 'oom-*' \) | wc -l)
  if [ "$status" -ne 0 ] && [ "$findings" -eq 0 ]; then
    echo "$target: libFuzzer failed (exit $status) without a finding; see $folder/log" >&2
    findings=1
  fi
  [ "$findings" -eq 0 ] || failures=$((failures + 1))
  table+=$(printf '\n%-24s %14s %8s %9s' "$target" "${executions:-?}" "${elapsed:-$seconds}" "$findings")
done

echo
echo "$table"
echo "Inputs and findings: $run"
[ "$failures" -eq 0 ]
