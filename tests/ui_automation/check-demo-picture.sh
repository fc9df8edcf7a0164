#!/usr/bin/env bash
# Runs scripts/run.sh's demo without a display on the programs of a cross
# build, and checks the picture it saves the way the UI test checks its
# screenshots: the picture is Brisko's window as the screen shows it, the
# skin's size, with the skin along its edges and the desktop in the
# corners and notches the shape leaves out, no key-colour pixel and no band
# of empty screen. The picture is kept in BUILD_DIR/demo-picture.
#
#   tests/ui_automation/check-demo-picture.sh BUILD_DIR
set -uo pipefail

if [[ $# -ne 1 ]]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd) || exit 2
top=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=tests/ui_automation/screen_pixels.sh
source "$top/tests/ui_automation/screen_pixels.sh"
skin="$top/resources/art/skin.bmp"
picture="$build_dir/demo-picture/brisko-demo.png"
mkdir -p "$(dirname "$picture")"
rm -f "$picture"

# The demo's own virtual display, whatever display this run has.
if ! env -u DISPLAY -u WAYLAND_DISPLAY "$top/scripts/run.sh" --built "$build_dir" --picture "$picture"; then
  echo "FAIL the demo runs to its end"
  exit 1
fi
[[ -f $picture ]] || { echo "FAIL the demo saves a picture"; exit 1; }

status=0
size=$(identify -format '%wx%h' "$picture")
skin_size=$(identify -format '%wx%h' "$skin")
if [[ $size == "$skin_size" ]]; then
  echo "ok   the picture has the size of the window's skin ($size)"
else
  echo "FAIL the picture has the size of the window's skin ($size, not $skin_size)"
  status=1
fi
check_window_shows_skin "$picture" 0 0 "$skin" || status=1
check_shape "$picture" 0 0 "$skin" || status=1
check_no_key_colour "$picture" 0 0 "${size%x*}" "${size#*x}" || status=1
check_no_empty_band "$picture" || status=1
exit "$status"
