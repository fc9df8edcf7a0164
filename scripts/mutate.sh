#!/usr/bin/env bash
# Mutation run: plants one fault at a time from a catalogue into the sources,
# builds the host build incrementally and runs its suite, to show which
# faults the suite catches. Run on demand; it takes minutes per fault.
#   mutate.sh [-b BUILD_DIR] [-f PATTERN] [CATALOGUE]
#     -b  host build to use (default build/host, configured like run-tests.sh if missing)
#     -f  run only the entries where "FILE:LINE" (LINE: the entry's line in the catalogue) matches
#         PATTERN, an extended regular expression: -f hive/ or -f 'exit_status.cpp:(70|71)$'
#     CATALOGUE defaults to tests/mutations/catalogue.txt; its header describes the format.
# Every mutated file is restored byte for byte after its fault, on error and
# on Ctrl-C too. Prints one line per fault and the totals, and writes them to
# build/mutation-report.md.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
usage="usage: $0 [-b BUILD_DIR] [-f PATTERN] [CATALOGUE]"
build=$top/build/host
pattern=
while getopts "b:f:" option; do
  case $option in
    b) build=$(realpath -m "$OPTARG") ;;
    f) pattern=$OPTARG ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -le 1 ] || { echo "$usage" >&2; exit 2; }
catalogue=$(realpath "${1:-$top/tests/mutations/catalogue.txt}")
report=$top/build/mutation-report.md

# One entry per line: FILE | EXACT TEXT | REPLACEMENT | WHAT [| equivalent: REASON].
# The parser hands the fields on separated by the unit separator (0x1f), which
# no source holds and which, unlike a tab, read never merges when a field (an
# empty replacement) is empty. The text itself may not hold " | ".
entries=$(python3 - "$catalogue" <<'PYTHON'
import sys
for number, line in enumerate(open(sys.argv[1], encoding="utf-8"), 1):
    line = line.rstrip("\n")
    if not line.strip() or line.lstrip().startswith("#"):
        continue
    fields = line.split(" | ")
    equivalent = ""
    if len(fields) == 5 and fields[4].startswith("equivalent: "):
        equivalent = fields[4][len("equivalent: "):]
    elif len(fields) != 4:
        sys.exit(f"{sys.argv[1]}:{number}: expected FILE | TEXT | REPLACEMENT | WHAT [| equivalent: REASON]")
    if not fields[1] or fields[1] == fields[2]:
        sys.exit(f"{sys.argv[1]}:{number}: an empty text, or a replacement equal to it")
    print("\x1f".join([str(number), fields[0].strip(), fields[1], fields[2], fields[3].strip(), equivalent]))
PYTHON
)

selected=()
while IFS= read -r entry; do
  IFS=$'\x1f' read -r number file _ <<<"$entry"
  if [[ -z $pattern || $file:$number =~ $pattern ]]; then
    selected+=("$entry")
  fi
done <<<"$entries"
[ ${#selected[@]} -gt 0 ] || { echo "no entry of $catalogue matches '$pattern'" >&2; exit 2; }

# A fault planted over uncommitted work would be restored to that work, but a
# report on it would describe sources nobody can check out again.
cd "$top"
files=$(printf '%s\n' "${selected[@]}" | cut -d $'\x1f' -f2 | sort -u)
for file in $files; do
  [ -f "$file" ] || continue
  if ! git diff --quiet HEAD -- "$file"; then
    echo "$file has uncommitted changes; commit or stash them first" >&2
    exit 1
  fi
done

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRISKO_SANITIZE=ON -DBRISKO_BENCHMARKS=ON \
    -DCMAKE_C_FLAGS= -DCMAKE_CXX_FLAGS= -DCMAKE_EXE_LINKER_FLAGS= -DCMAKE_SHARED_LINKER_FLAGS= \
    -DCMAKE_C_FLAGS_DEBUG=-g -DCMAKE_CXX_FLAGS_DEBUG=-g
fi
echo "== Building the unchanged sources"
cmake --build "$build" -j 2 >/dev/null || { echo "the unchanged sources do not build in $build" >&2; exit 1; }

saved=$(mktemp)
mutated=
restore() {
  if [ -n "$mutated" ]; then
    # Written over, not moved back: the file keeps its inode and mode, and its
    # new time makes the next build recompile it.
    cat "$saved" >"$mutated"
    mutated=
  fi
}
trap 'restore; rm -f "$saved"' EXIT
trap 'exit 130' INT TERM

# Written after every fault, so a run cut short still leaves what it found.
write_report() {
  local state=$1
  local totals="${#lines[@]} of ${#selected[@]} faults: $killed killed, $survived survived, $equivalent equivalent,"
  totals+=" $stale stale, $unbuilt did not build"
  {
    echo "# Mutation run"
    echo
    echo "$(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git rev-parse --short HEAD)," \
      "catalogue $(realpath --relative-to="$top" "$catalogue")${pattern:+, entries matching '$pattern'}," \
      "$(((SECONDS - started) / 60)) minutes, $state."
    echo
    printf '%s\n' "${lines[@]}"
    echo
    echo "$totals"
  } >"$report"
}

# The tests of the fault's own folder run first: most faults fail one of them
# within seconds, where the whole suite, cheapest tests last, takes minutes.
# A fault they miss still meets the whole suite.
own_tests() {
  case $1 in
    matcher/* | walk/* | scan/*) echo scan ;;
    platform/hive/*) echo hive ;;
    tools/brisko_scan/*) echo brisko_scan ;;
    *) echo "${1%%/*}" ;;
  esac
}

suite_passes() {
  local own=$build/tests/$(own_tests "$1")
  if [ -d "$own" ] && ! ctest --test-dir "$own" -E 'wine|Wine' -j 2 --stop-on-failure --output-on-failure --timeout 60; then
    return 1
  fi
  ctest --test-dir "$build" -E 'wine|Wine' -j 2 --stop-on-failure --output-on-failure --timeout 60
}

logs=$top/build/mutation-logs
rm -rf "$logs"
mkdir -p "$logs"
lines=()
started=$SECONDS
killed=0 survived=0 equivalent=0 stale=0 unbuilt=0
for entry in "${selected[@]}"; do
  IFS=$'\x1f' read -r number file text replacement what equivalent_reason <<<"$entry"
  label="$file ($what)"
  occurrences=$(python3 -c 'import sys; print(open(sys.argv[1], "rb").read().count(sys.argv[2].encode()))' \
    "$file" "$text" 2>/dev/null || echo 0)
  if [ "$occurrences" != 1 ]; then
    outcome="stale (the text occurs $occurrences times)"
    stale=$((stale + 1))
  elif [ -n "$equivalent_reason" ]; then
    outcome="equivalent: $equivalent_reason"
    equivalent=$((equivalent + 1))
  else
    echo "== $label"
    cp "$file" "$saved"
    mutated=$file
    python3 -c 'import sys
path, text, replacement = sys.argv[1], sys.argv[2].encode(), sys.argv[3].encode()
data = open(path, "rb").read()
open(path, "wb").write(data.replace(text, replacement, 1))' "$file" "$text" "$replacement"
    log=$logs/entry-$number.log
    fault_started=$SECONDS
    if ! cmake --build "$build" -j 2 >"$log" 2>&1; then
      outcome="did not build"
      unbuilt=$((unbuilt + 1))
    elif suite_passes "$file" >>"$log" 2>&1; then
      outcome="SURVIVED"
      survived=$((survived + 1))
    else
      # ctest's progress line of the first test that did not pass names it.
      failing=$(grep -m1 -E 'Test +#[0-9]+: .*(\*\*\*|Exception|Not Run)' "$log" |
        sed -E 's/.*Test +#[0-9]+: ([^ ]+).*/\1/' || true)
      outcome="killed by ${failing:-the suite}"
      killed=$((killed + 1))
    fi
    restore
    outcome="$outcome ($((SECONDS - fault_started)) s)"
  fi
  lines+=("- \`$file\` (catalogue line $number) $what: **$outcome**")
  echo "   $outcome"
  write_report "in progress"
done

echo "== Building the restored sources"
cmake --build "$build" -j 2 >/dev/null
write_report "complete"
cat "$report"
[ "$survived" -eq 0 ] && [ "$stale" -eq 0 ]
