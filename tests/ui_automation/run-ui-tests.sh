#!/usr/bin/env bash
# Runs brisko.exe for real under Wine on a virtual X display and drives it
# with brisko-driver.exe, as a person would, with real clicks and keys
# (through the system's input queue) wherever a step allows: the idle
# dialog, a second copy, Enter, the mouse over DOWNLOAD, a scan stopped
# with No and then run to its end; with the product installed, a scan whose
# question is closed with its close box, then the x; a second scan asked to
# stop with Escape (No) and the close box (Yes), started under a pointer
# resting on the link, then OK pressed with Space; a third scan asked to
# stop before it starts, asked again while the window is minimised, and OK
# pressed while it winds down. brisko-ask then shows the OK/Cancel and
# single-OK questions, which the driver answers; last, the idle dialog and
# a question at 120 logical pixels per inch. Screenshots are checked pixel
# by pixel against the art: no key colour in a window, the skin in the
# window's shape (corners and notches outside, edges inside), the skin's
# colours where no control lies, the subtitle's cells, the buttons'
# pictures, the questions' background and whole icons.
# The Wine prefix is thrown away afterwards; its only fixed
# drives are D:, a fixture folder of synthetic samples, and E:, a folder of
# ordinary files that the scan walks after D: (C: is marked a network drive
# and Z:, which Wine points at /, is removed). Every stop is asked while the
# driver holds the scan on D:, so E: is still to come whatever the speed of
# the machine. Screenshots go to BUILD_DIR/ui-screenshots (the i686
# build's to ui-screenshots-win32 and ui-screenshots-wow64, after the
# prefix, BRISKO_WINE_ARCH).
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
ask_exe=$(wine_machine_find_built "$build_dir" brisko-ask.exe)

shots="$build_dir/ui-screenshots${BRISKO_WINE_ARCH:+-$BRISKO_WINE_ARCH}"
mkdir -p "$shots"

# shellcheck source=tests/ui_automation/screen_pixels.sh
source "$top/tests/ui_automation/screen_pixels.sh"
art="$top/resources/art"
# The subtitle's character cells and letters, as the label paints them.
subtitle_cell='#024DF6'
subtitle_letter='#FFFFFF'
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
cp "$brisko_exe" "$driver_exe" "$sample_exe" "$ask_exe" "$WINEPREFIX/drive_c/"

drive() { "$wine" 'C:\brisko-driver.exe' "$@" </dev/null; }
shot() { drive settle && import -window root "$shots/$1.png"; }
# A held scan answers no message: the screen as it stands.
shot_held() { import -window root "$shots/$1.png"; }
# The screen rectangle of the window (0) or of a control.
rect_of() { drive rect "$@" | tr -d '\r'; }
# The picture shown whole on a control: shot_picture SHOT [question|asked] ID PICTURE WHAT
check_control_shows() {
  local shot=$1 x y
  shift
  read -r x y <<<"$(rect_of "${@:1:$#-2}" | awk '{ print $1, $2 }')"
  check_picture_shown "$shots/$shot.png" "$x" "$y" "$art/${*: -2:1}" "${*: -1}"
}
# The main window in the shot: the skin in its shape, no key colour, the
# skin's colours where no control lies, the subtitle's cells.
check_main_window() {
  local shot="$shots/$1.png" left top right bottom failed=0
  read -r left top right bottom <<<"$(rect_of 0)"
  check_no_key_colour "$shot" "$left" "$top" "$right" "$bottom" || failed=1
  check_window_shows_skin "$shot" "$left" "$top" "$art/skin.bmp" || failed=1
  check_shape "$shot" "$left" "$top" "$art/skin.bmp" || failed=1
  check_points_of "$shot" "$left" "$top" "$art/skin.bmp" "the skin" header=180,20 between-the-buttons=263,80 \
    left-margin=8,150 right-margin=518,200 footer=20,300 || failed=1
  check_subtitle_cells "$shot" $(rect_of 1068) "$art/skin.bmp" "$left" "$top" "$subtitle_cell" "$subtitle_letter" ||
    failed=1
  return "$failed"
}
# The question in the shot (question: the main window's, asked: brisko-ask's):
# no key colour, its background, its icon.
check_question() {  # check_question SHOT question|asked ICON
  local shot="$shots/$1.png" left top right bottom text_left text_top failed=0
  read -r left top right bottom <<<"$(rect_of "$2" 0)"
  check_no_key_colour "$shot" "$left" "$top" "$right" "$bottom" || failed=1
  read -r text_left text_top _ _ <<<"$(rect_of "$2" 1086)"
  # Left of the text's first line, and in the bottom-left corner: the
  # background, which the icons are drawn on.
  check_colour_of "$shot" "$art/$3" 0 0 "the question's background" $((text_left - 3)),$((text_top + 3)) \
    $((left + 8)),$((bottom - 8)) || failed=1
  check_control_shows "$1" "$2" 1085 "$3" "the question's icon" || failed=1
  return "$failed"
}
start_brisko() {
  "$wine" 'C:\brisko.exe' </dev/null >/dev/null 2>&1 &
  brisko_pid=$!
}

# On D: three infected samples, a near miss, ordinary files and filler
# folders, enough for the driver to find the scan there (10,000 files: a
# few tenths of a second of walking, now that the status is drawn at most
# 30 times a second); on E: more filler, which the scan reaches only after D:.
make_fixture() {
  rm -rf "${fixture:?}"/* "${tail_drive:?}"/*
  mkdir -p "$fixture/Windows/System32" "$fixture/Program Files/Tools" "$fixture/Users/guest/Downloads"
  local sample='C:\brisko-sample.exe'
  "$wine" "$sample" 1 'D:\Windows\System32\netsvc32.exe' </dev/null
  "$wine" "$sample" --layout holes 121 'D:\Program Files\Tools\updater.exe' </dev/null
  "$wine" "$sample" --layout none 5 'D:\Users\guest\Downloads\setup.exe' </dev/null
  "$wine" "$sample" --near-miss probe1-changed 5 'D:\Users\guest\Downloads\almost.exe' </dev/null
  echo "[boot loader]" >"$fixture/boot.ini"
  wine_machine_fill_folders "$fixture" 100
  wine_machine_fill_folders "$tail_drive" 3
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
check_main_window idle || status=1
check_control_shows idle 1052 scan_focus.bmp "SCAN's focus picture" || status=1
check_control_shows idle 1053 download_notfocus.bmp "DOWNLOAD's plain picture" || status=1
"$wine" 'C:\brisko.exe' </dev/null >/dev/null 2>&1 || true
step drive windows 1
step drive --real-input enter
step drive --real-input hover
step drive --real-input scan-and-hold
shot_held scanning
step drive --real-input ask-stop cancel
shot question
check_question question question icon_question.bmp || status=1
check_control_shows question question 6 yes_focus.bmp "YES's focus picture" || status=1
check_control_shows question question 7 no_notfocus.bmp "NO's plain picture" || status=1
step drive --real-input answer no
step drive completed "$files" 3
shot finished
check_main_window finished || status=1
check_control_shows finished 1070 ok_focus.bmp "OK's focus picture" || status=1
check_control_shows finished 1053 download_notfocus.bmp "DOWNLOAD's plain picture" || status=1
check_control_shows finished 1052 scan_disable.bmp "SCAN's disabled picture" || status=1
for removed in Windows/System32/netsvc32.exe "Program Files/Tools/updater.exe" Users/guest/Downloads/setup.exe; do
  if [[ -e $fixture/$removed ]]; then echo "FAIL $removed is still there"; status=1; else echo "ok   $removed was removed"; fi
done
[[ -e $fixture/Users/guest/Downloads/almost.exe ]] && echo "ok   the near miss stays" || { echo "FAIL the near miss was removed"; status=1; }
# Where the link shows, for the pointer to rest on in the second run.
read -r link_left link_top link_right link_bottom <<<"$(rect_of 1077)"
step drive --real-input ok
wait "$brisko_pid" || true

product_key='HKLM\Software\Quenlor\Kavrel 2000'
echo "== with the product installed: a scan, its stop question closed with the close box, the x after it"
"$wine" reg add "$product_key" /v 'Installed Folder' /d 'C:\Kavrel' /f >/dev/null 2>&1
start_brisko
step drive installed
step drive --real-input scan-and-hold
step drive --real-input ask-stop cancel
step drive --real-input answer close
step drive completed "$(find "$fixture" "$tail_drive" -type f | wc -l)" 0
step drive --real-input close-idle
wait "$brisko_pid" || true

echo "== second run: a product folder too long to read, Escape answered No, then the close box answered Yes"
# Longer than the 300 bytes the program reads it into: taken as absent.
"$wine" reg add "$product_key" /v 'Installed Folder' /d "C:\$(printf 'k%.0s' $(seq 400))" /f >/dev/null 2>&1
make_fixture
# The window comes up under a pointer resting on the link: SCAN keeps the
# focus, since the pointer has not moved.
step drive point $(((link_left + link_right) / 2)) $(((link_top + link_bottom) / 2))
start_brisko
step drive idle
step drive --real-input scan-and-hold
step drive --real-input ask-stop escape
step drive answer no x
step drive --real-input answer yes
step drive terminated "$files"
shot terminated
check_main_window terminated || status=1
step drive --real-input ok space
wait "$brisko_pid" || true

echo "== third run: a stop asked before the scan starts, one asked while minimised, OK while the scan winds down"
make_fixture
start_brisko
step drive idle
step drive scan-and-ask-at-once
step drive ask-stop minimised
step drive answer yes-and-ok
wait "$brisko_pid" || true

echo "== the OK/Cancel and single-OK questions, shown by brisko-ask and answered"
# answer_asked FORM ANSWER CODE [SHOT ICON FOCUS_ID FOCUS_PICTURE [ID PICTURE]]:
# brisko-ask shows the form, the driver answers it, brisko-ask exits with
# the answer's code; with SHOT, the question's pixels are checked first.
answer_asked() {
  local form=$1 answer=$2 expected=$3 pid code=0
  "$wine" 'C:\brisko-ask.exe' "$form" </dev/null >/dev/null 2>&1 &
  pid=$!
  step drive asked "$form"
  if [[ $# -gt 3 ]]; then
    shot "$4"
    check_question "$4" asked "$5" || status=1
    check_control_shows "$4" asked "$6" "$7" "${7%%_*}'s focus picture" || status=1
    [[ -z ${8:-} ]] || check_control_shows "$4" asked "$8" "$9" "${9%%_*}'s plain picture" || status=1
  fi
  step drive --real-input asked "$form" "$answer"
  wait "$pid" || code=$?
  if [[ $code == "$expected" ]]; then
    echo "ok   $form answered with $answer gives $expected"
  else
    echo "FAIL $form answered with $answer gives $code, not $expected"
    status=1
  fi
}
answer_asked okcancel cancel 2 asked-ok-cancel icon_information.bmp 1 ok_focus.bmp 2 cancel_notfocus.bmp
answer_asked okcancel ok 1
answer_asked okcancel escape 2
answer_asked ok enter 1 asked-ok icon_exclamation.bmp 3 ok_focus.bmp
answer_asked ok close 2
answer_asked ok ok 1

echo "== large fonts: 120 logical pixels per inch"
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 120 /f >/dev/null 2>&1
step drive dpi 120
start_brisko
step drive idle
shot idle-120dpi
check_main_window idle-120dpi || status=1
check_control_shows idle-120dpi 1052 scan_focus.bmp "SCAN's focus picture" || status=1
step drive --real-input close-idle
wait "$brisko_pid" || true
answer_asked okcancel ok 1 asked-120dpi icon_information.bmp 1 ok_focus.bmp 2 cancel_notfocus.bmp

echo "Screenshots: $shots"
exit "$status"
