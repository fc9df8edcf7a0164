#!/usr/bin/env bash
# Clears the scratch folder of the NTFS tests: unmounts every file system
# mounted below it, which only a test killed on its time limit leaves
# behind, and removes the images and folders it holds.
#   clear-ntfs-scratch.sh [--remove] FOLDER
# Without --remove the folder stays, empty, for the tests to come.
set -euo pipefail

remove=false
if [[ ${1:-} == --remove ]]; then
  remove=true
  shift
fi
if [[ $# -ne 1 ]]; then
  echo "usage: $0 [--remove] FOLDER" >&2
  exit 2
fi
mkdir -p "$1"
folder=$(cd "$1" && pwd -P)

# Deepest first, so that no mount is hidden under another. /proc writes a
# blank in a path as \040, which printf %b turns back.
mounts_below() {
  local target
  while read -r _ target _; do
    target=$(printf '%b' "$target")
    if [[ $target == "$folder"/* ]]; then echo "$target"; fi
  done </proc/self/mounts | sort -r
}

while IFS= read -r target; do
  # A driver that was killed leaves a mount that only a lazy unmount takes.
  umount "$target" 2>/dev/null || umount -l "$target"
  echo "unmounted $target, left behind by a test"
done < <(mounts_below)

# Never into a file system still mounted there, should an unmount have failed.
rm -rf --one-file-system "${folder:?}"/*
if $remove; then rmdir "$folder"; fi
