#!/usr/bin/env bash
# How long brisko.exe takes to scan a drive under Wine, against the cheapest
# walk of the same drive in the same prefix: drive-walk.exe, which only lists
# every folder with FindFirstFileA and FindNextFileA. A benchmark, not a
# test: it prints its figures and the ratio, and fails only when a run does.
#
# A throwaway prefix on its own virtual display; its one fixed drive is D:,
# a generated tree of FILES ordinary files in folders of 100 (C: is marked a
# network drive, so neither program walks it). Each round starts brisko.exe,
# and brisko-driver.exe times its scan from the press of SCAN to the end
# text with OK shown; then drive-walk.exe walks the drive. Both measure
# inside Wine, so starting a program costs neither anything. The first round
# of each only warms the caches and is left out.
#
#   tests/benchmarks/wine-scan-benchmark.sh BUILD_DIR [FILES [ROUNDS]]
#
# BUILD_DIR is a cross build (x86_64) with the targets brisko, brisko-driver
# and drive-walk built. FILES is 30000 and ROUNDS 5 unless given.
set -euo pipefail
# shellcheck source=tests/benchmarks/rounds.sh
source "$(dirname "$0")/rounds.sh"

read_arguments 30000 "$@"

top=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=scripts/lib/wine-machine.sh
source "$top/scripts/lib/wine-machine.sh"
brisko_exe=$(wine_machine_find_built "$build_dir" brisko.exe)
driver_exe=$(wine_machine_find_built "$build_dir" brisko-driver.exe)
walk_exe=$(wine_machine_find_built "$build_dir" drive-walk.exe)
work=
trap '[[ -z $work ]] || wine_machine_cleanup "$work"' EXIT
trap 'exit 130' INT TERM HUP
wine_machine_make_work "$build_dir" scan-benchmark || exit 1

wine_machine_start_display "$work"
wine_machine_make_prefix "$work"
wine_machine_network_drive_c
cp "$brisko_exe" "$driver_exe" "$walk_exe" "$WINEPREFIX/drive_c/"

# Ten folders to a group, a hundred files to a folder; text files of a few
# lengths, none of which a signature takes.
tree="$work/tree"
mkdir "$tree"
echo "making $files files under D:"
for ((i = 0; i < files; i++)); do
  if ((i % 100 == 0)); then
    folder="$tree/data/group$((i / 1000))/folder$((i / 100 % 10))"
    mkdir -p "$folder"
  fi
  printf 'line %d of the benchmark tree%*s\n' "$i" $((i % 7 * 13)) '' >"$folder/note$((i % 100)).txt"
done
ln -s "$tree" "$WINEPREFIX/dosdevices/d:"

# The digits of a line "LABEL ms N" that a program printed.
milliseconds_of() { tr -d '\r' | sed -nE "s/^$1 ms ([0-9]+)$/\1/p"; }

time_scan() {
  "$wine" 'C:\brisko.exe' </dev/null >/dev/null 2>&1 &
  local brisko=$! ms
  ms=$("$wine" 'C:\brisko-driver.exe' time-scan </dev/null | milliseconds_of scan)
  "$wine" 'C:\brisko-driver.exe' ok </dev/null >/dev/null
  wait "$brisko" || true
  [[ -n $ms ]] || { echo "$0: the scan was not timed" >&2; return 1; }
  echo "$ms"
}

time_walk() {
  local line ms
  line=$("$wine" 'C:\drive-walk.exe' </dev/null | tr -d '\r')
  [[ $line =~ ^files\ ([0-9]+)\ ms\ ([0-9]+)$ ]] || { echo "$0: drive-walk printed '$line'" >&2; return 1; }
  [[ ${BASH_REMATCH[1]} -eq $files ]] || { echo "$0: drive-walk found ${BASH_REMATCH[1]} files, not $files" >&2; return 1; }
  echo "${BASH_REMATCH[2]}"
}

run_rounds "$rounds" scan time_scan walk time_walk

echo "files: $files; medians of $rounds rounds: brisko.exe scan $(median "${program_times[@]}") ms," \
  "bare FindFirstFile walk $(median "${baseline_times[@]}") ms"
echo "ratio: $(median "${ratios[@]}")"
