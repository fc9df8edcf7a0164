#!/usr/bin/env bash
# Runs brisko.exe for real under wine64 on a virtual X display and drives it
# with brisko-driver.exe, as a person would: the idle dialog, a second copy,
# Enter, a scan stopped with No and then run to its end, the close box of
# an idle program, a second scan asked to stop with Escape (No) and the
# close box (Yes), then OK pressed with Space; a third scan asked to stop
# before it starts, asked again while the window is minimised, and OK
# pressed while it winds down. Screenshots are checked pixel by pixel: the
# skin in the window's shape, the whole message icon, the focus on OK.
# The Wine prefix is thrown away afterwards; its only fixed
# drives are D:, a fixture folder of synthetic samples, and E:, a folder of
# ordinary files that the scan walks after D: (C: is marked a network drive
# and Z:, which Wine points at /, is removed). Every stop is asked while the
# driver holds the scan on D:, so E: is still to come whatever the speed of
# the machine. Screenshots go to BUILD_DIR/ui-screenshots.
#
#   tests/ui_automation/run-ui-tests.sh BUILD_DIR
set -euo pipefail

if [[ $# -ne 1 ]]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=scripts/lib/wine-machine.sh
source "$top/scripts/lib/wine-machine.sh"
brisko_exe=$(wine_machine_find_built "$build_dir" brisko.exe)
driver_exe=$(wine_machine_find_built "$build_dir" brisko-driver.exe)
sample_exe=$(wine_machine_find_built "$build_dir" brisko-sample.exe)

shots="$build_dir/ui-screenshots"
mkdir -p "$shots"

# shellcheck source=tests/ui_automation/screen_pixels.sh
source "$top/tests/ui_automation/screen_pixels.sh"
art="$top/resources/art"
work=
trap '[[ -z $work ]] || wine_machine_cleanup "$work"' EXIT
trap 'exit 130' INT TERM HUP
wine_machine_make_work "$build_dir" ui-tests || exit 1

wine_machine_start_display "$work"
wine_machine_make_prefix "$work"
# C: becomes a network drive, so that the scan walks the fixture alone.
wine_machine_network_drive_c
fixture="$work/fixture"
tail_drive="$work/tail"
mkdir "$fixture" "$tail_drive"
ln -s "$fixture" "$WINEPREFIX/dosdevices/d:"
ln -s "$tail_drive" "$WINEPREFIX/dosdevices/e:"
cp "$brisko_exe" "$driver_exe" "$sample_exe" "$WINEPREFIX/drive_c/"

drive() { "$wine" 'C:\brisko-driver.exe' "$@" </dev/null; }
shot() { drive settle && import -window root "$shots/$1.png"; }
# A held scan answers no message: the screen as it stands.
shot_held() { import -window root "$shots/$1.png"; }
# The top-left corner of the window (0) or of a control, on the screen.
corner() { drive rect "$@" | tr -d '\r' | awk '{ print $1, $2 }'; }
start_brisko() {
  "$wine" 'C:\brisko.exe' </dev/null >/dev/null 2>&1 &
  brisko_pid=$!
}

# On D: three infected samples, a near miss, ordinary files and filler
# folders, enough for the driver to find the scan there (10,000 files: a
# few tenths of a second of walking, now that the status is drawn at most
# 30 times a second); on E: more filler, which the scan reaches only after D:.
fill() {  # fill FOLDER COUNT
  local folder file
  for folder in $(seq -w 1 "$2"); do
    mkdir -p "$1/Data/folder$folder"
    for file in $(seq -w 1 100); do echo "$folder $file" >"$1/Data/folder$folder/note$file.txt"; done
  done
}
make_fixture() {
  rm -rf "${fixture:?}"/* "${tail_drive:?}"/*
  mkdir -p "$fixture/Windows/System32" "$fixture/Program Files/Tools" "$fixture/Users/guest/Downloads"
  local sample='C:\brisko-sample.exe'
  "$wine" "$sample" 1 'D:\Windows\System32\netsvc32.exe' </dev/null
  "$wine" "$sample" --layout holes 121 'D:\Program Files\Tools\updater.exe' </dev/null
  "$wine" "$sample" --layout none 5 'D:\Users\guest\Downloads\setup.exe' </dev/null
  "$wine" "$sample" --near-miss probe1-changed 5 'D:\Users\guest\Downloads\almost.exe' </dev/null
  echo "[boot loader]" >"$fixture/boot.ini"
  fill "$fixture" 100
  fill "$tail_drive" 3
}

status=0
step() {
  echo "== $*"
  "$@" || status=1
}

make_fixture
files=$(find "$fixture" "$tail_drive" -type f | wc -l)

echo "== first run: idle, a second copy, a scan stopped with No and run to its end"
start_brisko
step drive idle
shot idle
read -r x y <<<"$(corner 0)"
check_window_shows_skin "$shots/idle.png" "$x" "$y" "$art/skin.bmp" || status=1
"$wine" 'C:\brisko.exe' </dev/null >/dev/null 2>&1 || true
step drive windows 1
step drive enter
step drive hover
step drive scan-and-hold
shot_held scanning
step drive ask-stop cancel
shot question
read -r x y <<<"$(corner question 1085)"
check_picture_shown "$shots/question.png" "$x" "$y" "$art/icon_question.bmp" "the question's icon" || status=1
step drive answer no
step drive completed "$files" 3
shot finished
read -r x y <<<"$(corner 1070)"
check_picture_shown "$shots/finished.png" "$x" "$y" "$art/ok_focus.bmp" "OK's focus picture" || status=1
read -r x y <<<"$(corner 1053)"
check_picture_shown "$shots/finished.png" "$x" "$y" "$art/download_notfocus.bmp" "DOWNLOAD's plain picture" || status=1
for removed in Windows/System32/netsvc32.exe "Program Files/Tools/updater.exe" Users/guest/Downloads/setup.exe; do
  if [[ -e $fixture/$removed ]]; then echo "FAIL $removed is still there"; status=1; else echo "ok   $removed was removed"; fi
done
[[ -e $fixture/Users/guest/Downloads/almost.exe ]] && echo "ok   the near miss stays" || { echo "FAIL the near miss was removed"; status=1; }
step drive ok
wait "$brisko_pid" || true

product_key='HKLM\Software\Quenlor\Kavrel 2000'
echo "== with the product installed; the close box ends an idle program"
"$wine" reg add "$product_key" /v 'Installed Folder' /d 'C:\Kavrel' /f >/dev/null 2>&1
start_brisko
step drive installed
step drive close-idle
wait "$brisko_pid" || true

echo "== second run: a product folder too long to read, Escape answered No, then the close box answered Yes"
# Longer than the 300 bytes the program reads it into: taken as absent.
"$wine" reg add "$product_key" /v 'Installed Folder' /d "C:\$(printf 'k%.0s' $(seq 400))" /f >/dev/null 2>&1
make_fixture
start_brisko
step drive idle
step drive scan-and-hold
step drive ask-stop escape
step drive answer no x
step drive answer yes
step drive terminated "$files"
shot terminated
step drive ok space
wait "$brisko_pid" || true

echo "== third run: a stop asked before the scan starts, one asked while minimised, OK while the scan winds down"
make_fixture
start_brisko
step drive idle
step drive scan-and-ask-at-once
step drive ask-stop minimised
step drive answer yes-and-ok
wait "$brisko_pid" || true

echo "Screenshots: $shots"
exit "$status"
