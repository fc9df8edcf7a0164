#!/usr/bin/env bash
# How long brisko-scan --action leave takes over an NTFS volume mounted
# through ntfs-3g, against `find FOLDER -printf '%s'`, the cheapest walk a
# shell offers, over the same mount. A benchmark, not a test: it prints its
# figures and the ratio, and fails only when a run does.
#
# A throwaway image in a temporary folder, made with mkntfs and mounted with
# ntfs-3g; on it FILES ordinary text files in folders of 100 and ten
# infected samples. Each round times brisko-scan, then find, one right after
# the other, both from a warm cache: the first round only warms it and is
# left out. Needs /dev/fuse, the ntfs-3g package and the right to mount
# (root).
#
#   tests/benchmarks/ntfs-scan-benchmark.sh BUILD_DIR [FILES [ROUNDS]]
#
# BUILD_DIR is a host build with brisko-scan and brisko-sample built;
# without sanitizers (-DBRISKO_SANITIZE=OFF, Release) for figures worth
# quoting. FILES is 20000 and ROUNDS 5 unless given.
set -euo pipefail
# shellcheck source=tests/benchmarks/rounds.sh
source "$(dirname "$0")/rounds.sh"

read_arguments 20000 "$@"
brisko_scan=$build_dir/tools/brisko_scan/brisko-scan
brisko_sample=$build_dir/tools/sample_writer/brisko-sample
for program in "$brisko_scan" "$brisko_sample"; do
  [[ -x $program ]] || { echo "$0: $program is not built" >&2; exit 2; }
done
for tool in mkntfs ntfs-3g; do
  PATH=$PATH:/usr/sbin:/sbin command -v "$tool" >/dev/null || { echo "$0: no $tool: install ntfs-3g" >&2; exit 2; }
done
[[ -w /dev/fuse ]] || { echo "$0: /dev/fuse cannot be used" >&2; exit 2; }
export PATH=$PATH:/usr/sbin:/sbin

samples=10
work=$(mktemp -d "${TMPDIR:-/tmp}/ntfs-scan-benchmark-XXXXXX")
mount_point=$work/volume
image=$work/volume.ntfs
driver=
# The driver runs in the foreground as this script's child, so that waiting
# for it after the unmount leaves the image whole before it goes.
cleanup() {
  if [[ -n $driver ]]; then
    umount "$mount_point" 2>/dev/null || kill "$driver" 2>/dev/null || true
    wait "$driver" 2>/dev/null || true
  fi
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

mkdir "$mount_point"
# A small file's record is 1 KiB of the MFT; room for that and then some.
truncate -s "$((64 + files / 200))M" "$image"
mkntfs -F -Q -q "$image" >"$work/mkntfs.log" 2>&1 || { echo "$0: mkntfs failed: $(cat "$work/mkntfs.log")" >&2; exit 1; }
ntfs-3g -o no_detach "$image" "$mount_point" >"$work/driver.log" 2>&1 &
driver=$!
for ((try = 0; try < 600; try++)); do
  [[ $(stat -c %d "$mount_point") != $(stat -c %d "$work") ]] && break
  kill -0 "$driver" 2>/dev/null || { echo "$0: ntfs-3g did not mount: $(cat "$work/driver.log")" >&2; exit 1; }
  sleep 0.1
done
[[ $(stat -c %d "$mount_point") != $(stat -c %d "$work") ]] || { echo "$0: ntfs-3g did not mount" >&2; exit 1; }

# Ten folders to a group, a hundred files to a folder; text files of a few
# lengths, none of which a signature takes.
echo "making $files files and $samples samples on the NTFS volume"
for ((i = 0; i < files; i++)); do
  if ((i % 100 == 0)); then
    folder="$mount_point/data/group$((i / 1000))/folder$((i / 100 % 10))"
    mkdir -p "$folder"
  fi
  printf 'line %d of the benchmark tree%*s\n' "$i" $((i % 7 * 13)) '' >"$folder/note$((i % 100)).txt"
done
mkdir -p "$mount_point/Programs"
for ((i = 1; i <= samples; i++)); do
  "$brisko_sample" "$i" "$mount_point/Programs/sample$i.exe" >/dev/null
done

milliseconds() { echo $(($(date +%s%N) / 1000000)); }

# Left alone, every sample is reported each round: status 1, and every file
# scanned.
time_scan() {
  local start status=0 output
  start=$(milliseconds)
  output=$("$brisko_scan" --action leave "$mount_point") || status=$?
  local ms=$(($(milliseconds) - start))
  [[ $status -eq 1 ]] || { echo "$0: brisko-scan ended with status $status" >&2; return 1; }
  grep -qx "Total files scanned"$'\t\t'":  $((files + samples))" <<<"$output" ||
    { echo "$0: brisko-scan did not scan all $((files + samples)) files" >&2; return 1; }
  echo "$ms"
}

time_find() {
  local start
  start=$(milliseconds)
  find "$mount_point" -printf '%s' >/dev/null
  echo $(($(milliseconds) - start))
}

run_rounds "$rounds" brisko-scan time_scan find time_find

echo "files: $((files + samples)) on ntfs-3g; medians of $rounds rounds: brisko-scan --action leave" \
  "$(median "${program_times[@]}") ms, find -printf $(median "${baseline_times[@]}") ms"
echo "ratio: $(median "${ratios[@]}")"
