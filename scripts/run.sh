#!/usr/bin/env bash
# Brisko's main job on a demo machine: builds brisko.exe, makes a throwaway
# Windows machine (a Wine prefix in a scratch folder of the build tree)
# holding harmless synthetic samples, starts Brisko there and presses Scan.
#
#   scripts/run.sh [--built BUILD_DIR] [--picture FILE]
#
# --built BUILD_DIR runs the programs of an x86_64 cross build already made
# there (brisko.exe, brisko-driver.exe, brisko-sample.exe): nothing is
# installed or built, and the scratch folder is made in BUILD_DIR.
# --picture FILE is where a run without a display saves its picture
# (build/brisko-demo.png unless given).
#
# The demo machine: drive C: (the prefix's own) with two samples, one of
# them started by a Run value of the registry; drive D: (a second fixed
# drive, another scratch folder) with a read-only sample, a near miss and
# ordinary files. Nothing outside the scratch folder is touched, and it
# is removed at the end.
#
# With a display (DISPLAY set) Brisko's window shows there and stays until
# you close it; without one it runs on a virtual display, the report list
# is printed and a picture of Brisko's window, as the screen shows it, is
# saved.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${BRISKO_BUILD_DIR:-$top/build}
picture=
built=
usage() {
  echo "usage: $0 [--built BUILD_DIR] [--picture FILE]" >&2
  exit 2
}
while [[ $# -gt 0 ]]; do
  [[ $# -ge 2 ]] || usage
  case $1 in
    --built) built=$2 ;;
    --picture) picture=$2 ;;
    *) usage ;;
  esac
  shift 2
done
picture=${picture:-$build/brisko-demo.png}

if [[ -n $built ]]; then
  win64=$(cd "$built" && pwd)
  scratch_home=$win64
else
  win64=$build/win64
  scratch_home=$build
  "$top/scripts/install-build-tools.sh"
  echo "== Building brisko.exe"
  cmake -S "$top" -B "$win64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$win64" -j "$(nproc)" --target brisko brisko-driver brisko-sample >/dev/null
fi

# shellcheck source=scripts/lib/wine-machine.sh
source "$top/scripts/lib/wine-machine.sh"
programs=()
for program in brisko.exe brisko-driver.exe brisko-sample.exe; do
  programs+=("$(wine_machine_find_built "$win64" "$program")")
done
work=
trap '[[ -z $work ]] || wine_machine_cleanup "$work"' EXIT
trap 'exit 130' INT TERM HUP
wine_machine_make_work "$scratch_home" demo || exit 1

headless=0
if [[ -z ${DISPLAY:-} ]]; then
  headless=1
  wine_machine_start_display "$work"
fi

echo "== Making the demo machine in $work"
wine_machine_make_prefix "$work"
c="$WINEPREFIX/drive_c"
d="$work/drive_d"
mkdir -p "$d/Users/guest/Downloads" "$d/Games" "$c/Program Files/Tools"
ln -s "$d" "$WINEPREFIX/dosdevices/d:"
cp "${programs[@]}" "$c/"
sample() { "$wine" 'C:\brisko-sample.exe' "$@" </dev/null >/dev/null; }
sample 1 'C:\windows\system32\netsvc32.exe'
sample --layout holes 121 'C:\Program Files\Tools\updater.exe'
sample --layout none 5 'D:\Users\guest\Downloads\setup.exe'
chmod a-w "$d/Users/guest/Downloads/setup.exe"  # read-only on Windows too
sample --near-miss probe1-changed 5 'D:\Users\guest\Downloads\almost.exe'
echo "Nothing to see here." >"$d/Users/guest/readme.txt"
echo "high scores" >"$d/Games/scores.dat"
"$wine" reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v netsvc \
  /d 'C:\windows\system32\netsvc32.exe' /f >/dev/null 2>&1

echo "== Starting Brisko and pressing Scan"
"$wine" 'C:\brisko.exe' </dev/null >/dev/null 2>&1 &
brisko_pid=$!
drive() { "$wine" 'C:\brisko-driver.exe' "$@" </dev/null; }
drive scan >/dev/null || true
drive report | grep -v '^ok '
if [[ $headless -eq 1 ]]; then
  drive settle
  # The part of the screen the window's shape covers, wherever it stands.
  read -r left top right bottom <<<"$(drive rect shape | tr -d '\r')"
  import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$picture"
  echo "Picture of Brisko's window: $picture"
  drive ok >/dev/null || true
else
  echo "Close Brisko (OK or the x) to end the demo."
fi
wait "$brisko_pid" || true
run_value=$("$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v netsvc >/dev/null 2>&1 && echo "still there" || echo "removed")
echo "The Run value netsvc after the scan: $run_value"
