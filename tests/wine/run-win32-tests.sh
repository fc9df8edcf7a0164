#!/usr/bin/env bash
# Runs the Windows test executable of a cross build under wine64, in a
# throwaway Wine prefix whose only drives are C: (the prefix's own) and D:
# (a fresh, empty fixture folder). Drive Z:, which Wine points at /, is
# removed so that nothing under test can reach the host's files.
#
#   tests/wine/run-win32-tests.sh BUILD_DIR [gtest arguments...]
#
# BRISKO_WINE_VERSION (win98, nt40, winxp, win7) sets the Windows version
# Wine presents; the tests read it too.
#
# Builds nothing. Exits with the test executable's status.
set -euo pipefail

if [[ $# -lt 1 ]]; then
  echo "usage: $0 BUILD_DIR [gtest arguments...]" >&2
  exit 2
fi
build_dir=$1
shift

tests_exe=$(find "$build_dir" -name brisko_win32_tests.exe -type f -print -quit)
if [[ -z $tests_exe ]]; then
  echo "$0: no brisko_win32_tests.exe under $build_dir; build it first" >&2
  exit 2
fi

# The shared prefix set-up: drive C: only, Z: removed, and no folder link
# out of the prefix into the host's home.
source "$(dirname "$0")/../../scripts/lib/wine-machine.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/brisko-wine.XXXXXX")
trap 'wine_machine_cleanup "$work"' EXIT
trap 'exit 130' INT TERM

# No display is needed: the tests create no windows.
unset DISPLAY WAYLAND_DISPLAY
wine_machine_make_prefix "$work" || { echo "$0: wineboot failed" >&2; exit 1; }

if [[ -n ${BRISKO_WINE_VERSION:-} ]]; then
  "$wine" reg add 'HKCU\Software\Wine' /v Version /d "$BRISKO_WINE_VERSION" /f >/dev/null 2>&1
  "$wineserver" -w
fi

mkdir "$work/drive_d"
ln -s "$work/drive_d" "$WINEPREFIX/dosdevices/d:"

# The executable runs from a copy on C:, so that it needs nothing outside
# the prefix.
cp "$tests_exe" "$WINEPREFIX/drive_c/brisko_win32_tests.exe"
# The programs the process and service tests start.
for program in brisko_sleeper brisko_test_service; do
  found=$(find "$build_dir" -name "$program.exe" -type f -print -quit)
  if [[ -n $found ]]; then cp "$found" "$WINEPREFIX/drive_c/$program.exe"; fi
done

status=0
"$wine" 'C:\brisko_win32_tests.exe' "$@" </dev/null || status=$?
exit "$status"
