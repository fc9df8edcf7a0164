#!/usr/bin/env bash
# Runs brisko.exe for real under wine64 on a virtual X display and drives it
# with brisko-driver.exe, as a person would: the idle dialog, a second copy,
# a scan stopped with No and then run to its end, a second scan stopped with
# Yes. The Wine prefix is thrown away afterwards; its only fixed drive is D:,
# a fixture folder of synthetic samples (C: is marked a network drive and Z:,
# which Wine points at /, is removed). Screenshots go to
# BUILD_DIR/ui-screenshots.
#
#   tests/ui_automation/run-ui-tests.sh BUILD_DIR
set -euo pipefail

if [[ $# -ne 1 ]]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd)
find_built() {
  local found
  found=$(find "$build_dir" -name "$1" -type f -print -quit)
  [[ -n $found ]] || { echo "$0: no $1 under $build_dir; build it first" >&2; exit 2; }
  echo "$found"
}
brisko_exe=$(find_built brisko.exe)
driver_exe=$(find_built brisko-driver.exe)
sample_exe=$(find_built brisko-sample.exe)

wine=${BRISKO_WINE:-/usr/lib/wine/wine64}
wineserver=${BRISKO_WINESERVER:-/usr/lib/wine/wineserver64}
shots="$build_dir/ui-screenshots"
mkdir -p "$shots"

work=$(mktemp -d "${TMPDIR:-/tmp}/brisko-ui.XXXXXX")
xvfb_pid=
cleanup() {
  WINEPREFIX="$work/prefix" "$wineserver" -k >/dev/null 2>&1 || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A display of our own.
display=
for n in $(seq 90 140); do
  [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  sleep 1
  if kill -0 "$xvfb_pid" 2>/dev/null; then display=":$n"; break; fi
  xvfb_pid=
done
[[ -n $display ]] || { echo "$0: no free X display" >&2; exit 1; }

export DISPLAY=$display WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$wine" wineboot -i </dev/null >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; exit 1; }
"$wineserver" -w
rm -f "$WINEPREFIX/dosdevices/z:"
"$wine" reg add 'HKLM\Software\Wine\Drives' /v c: /d network /f >/dev/null 2>&1
# Without a window manager Wine draws the caption bars itself.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
"$wineserver" -k
"$wineserver" -w || true
fixture="$work/fixture"
mkdir "$fixture"
ln -s "$fixture" "$WINEPREFIX/dosdevices/d:"
cp "$brisko_exe" "$driver_exe" "$sample_exe" "$WINEPREFIX/drive_c/"

shot() { import -window root "$shots/$1.png"; }
drive() { "$wine" 'C:\brisko-driver.exe' "$@" </dev/null; }
start_brisko() { "$wine" 'C:\brisko.exe' </dev/null >/dev/null 2>&1 & brisko_pid=$!; }

# Three infected samples, a near miss, ordinary files, and enough filler
# folders that the scan is still running when it is asked to stop.
make_fixture() {
  rm -rf "${fixture:?}"/*
  mkdir -p "$fixture/Windows/System32" "$fixture/Program Files/Tools" "$fixture/Users/guest/Downloads"
  local sample='C:\brisko-sample.exe'
  "$wine" "$sample" 1 'D:\Windows\System32\netsvc32.exe' </dev/null
  "$wine" "$sample" --layout holes 121 'D:\Program Files\Tools\updater.exe' </dev/null
  "$wine" "$sample" --layout none 5 'D:\Users\guest\Downloads\setup.exe' </dev/null
  "$wine" "$sample" --near-miss probe1-changed 5 'D:\Users\guest\Downloads\almost.exe' </dev/null
  echo "[boot loader]" >"$fixture/boot.ini"
  for folder in $(seq -w 1 ${BRISKO_UI_FILLER_FOLDERS:-40}); do
    mkdir -p "$fixture/Data/folder$folder"
    for file in $(seq -w 1 100); do echo "$folder $file" >"$fixture/Data/folder$folder/note$file.txt"; done
  done
}

status=0
step() {
  echo "== $*"
  "$@" || status=1
}

make_fixture
files=$(find "$fixture" -type f | wc -l)

echo "== first run: idle, a second copy, a scan stopped with No and run to its end"
start_brisko
step drive idle
shot idle
"$wine" 'C:\brisko.exe' </dev/null >/dev/null 2>&1 || true
step drive windows 1
step drive scan
shot scanning
step drive ask-stop cancel
shot question
step drive answer no
step drive completed "$files" 3
shot finished
for removed in Windows/System32/netsvc32.exe "Program Files/Tools/updater.exe" Users/guest/Downloads/setup.exe; do
  if [[ -e $fixture/$removed ]]; then echo "FAIL $removed is still there"; status=1; else echo "ok   $removed was removed"; fi
done
[[ -e $fixture/Users/guest/Downloads/almost.exe ]] && echo "ok   the near miss stays" || { echo "FAIL the near miss was removed"; status=1; }
step drive ok
wait "$brisko_pid" || true

echo "== second run: a scan stopped from the close box with Yes"
make_fixture
start_brisko
step drive scan
step drive ask-stop x
step drive answer yes
step drive terminated "$files"
shot terminated
step drive ok
wait "$brisko_pid" || true

echo "Screenshots: $shots"
exit "$status"
