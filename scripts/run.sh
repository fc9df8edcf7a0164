#!/usr/bin/env bash
# Brisko's main job on a demo machine: builds brisko.exe, makes a throwaway
# Windows machine (a Wine prefix in a scratch folder of the build tree)
# holding harmless synthetic samples, starts Brisko there and presses Scan.
#
# The demo machine: drive C: (the prefix's own) with two samples, one of
# them started by a Run value of the registry; drive D: (a second fixed
# drive, another scratch folder) with a read-only sample, a near miss and
# ordinary files. Nothing outside the scratch folder is touched, and it
# is removed at the end.
#
# With a display (DISPLAY set) Brisko's window shows there and stays until
# you close it; without one it runs on a virtual display, the report list
# is printed and a screenshot saved under build/.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=${BRISKO_BUILD_DIR:-$top/build}
jobs=$(nproc)

"$top/scripts/install-build-tools.sh"
echo "== Building brisko.exe"
cmake -S "$top" -B "$build/win64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build/win64" -j "$jobs" --target brisko brisko-driver brisko-sample >/dev/null
cmake -S "$top" -B "$build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRISKO_SANITIZE=OFF >/dev/null
cmake --build "$build/release" -j "$jobs" --target brisko-sample >/dev/null
sample="$build/release/tools/sample_writer/brisko-sample"

# shellcheck source=scripts/lib/wine-machine.sh
source "$top/scripts/lib/wine-machine.sh"
work=
trap '[[ -z $work ]] || wine_machine_cleanup "$work"' EXIT
trap 'exit 130' INT TERM HUP
wine_machine_make_work "$build" demo || exit 1

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
"$sample" 1 "$c/windows/system32/netsvc32.exe"
"$sample" --layout holes 121 "$c/Program Files/Tools/updater.exe"
"$sample" --layout none 5 "$d/Users/guest/Downloads/setup.exe"
chmod a-w "$d/Users/guest/Downloads/setup.exe"  # read-only on Windows too
"$sample" --near-miss probe1-changed 5 "$d/Users/guest/Downloads/almost.exe"
echo "Nothing to see here." >"$d/Users/guest/readme.txt"
echo "high scores" >"$d/Games/scores.dat"
"$wine" reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v netsvc \
  /d 'C:\windows\system32\netsvc32.exe' /f >/dev/null 2>&1
cp "$build/win64/ui/brisko.exe" "$build/win64/tests/ui_automation/brisko-driver.exe" "$c/"

echo "== Starting Brisko and pressing Scan"
"$wine" 'C:\brisko.exe' </dev/null >/dev/null 2>&1 &
brisko_pid=$!
drive() { "$wine" 'C:\brisko-driver.exe' "$@" </dev/null; }
drive scan >/dev/null || true
drive report | grep -v '^ok '
if [[ $headless -eq 1 ]]; then
  drive settle
  import -window root -crop 527x338+0+0 +repage "$build/brisko-demo.png"
  echo "Screenshot: $build/brisko-demo.png"
  drive ok >/dev/null || true
else
  echo "Close Brisko (OK or the x) to end the demo."
fi
wait "$brisko_pid" || true
run_value=$("$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v netsvc >/dev/null 2>&1 && echo "still there" || echo "removed")
echo "The Run value netsvc after the scan: $run_value"
