#!/usr/bin/env bash
# Runs the Windows test executable of a cross build under Wine, in a
# throwaway Wine prefix whose only drives are C: (the prefix's own) and D:
# (a fresh, empty fixture folder). Drive Z:, which Wine points at /, is
# removed so that nothing under test can reach the host's files.
#
#   tests/wine/run-win32-tests.sh BUILD_DIR [gtest arguments...]
#
# BRISKO_WINE_ARCH chooses the prefix (scripts/lib/wine-machine.sh).
# BRISKO_WINE_VERSION (win98, nt40, winxp, win7, win10) sets the Windows
# version Wine presents; the tests read it too. BRISKO_WINE_GRAPHICS=null
# gives Wine a graphics driver without a display.
#
# Builds nothing. Prints the test executable's counts of passed, failed and
# skipped tests on a line of its own ("gtest counts: ..."), and exits with
# its status.
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

work=
trap '[[ -z $work ]] || wine_machine_cleanup "$work"' EXIT
trap 'exit 130' INT TERM HUP
wine_machine_make_work "$build_dir" win32-tests || exit 1

# No display is needed: the tests create message-only windows, and the
# one test of a titled top-level window runs on its own with Wine's null
# graphics driver (BRISKO_WINE_GRAPHICS=null), which the process and
# service tests do not survive.
unset DISPLAY WAYLAND_DISPLAY
wine_machine_make_prefix "$work" || { echo "$0: wineboot failed" >&2; exit 1; }
if [[ -n ${BRISKO_WINE_GRAPHICS:-} ]]; then
  "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$BRISKO_WINE_GRAPHICS" /f >/dev/null 2>&1
fi

# The contract tests start a 32-bit sample beside the 64-bit build where
# this machine runs 32-bit programs.
# shellcheck source=scripts/lib/thirty-two-bit.sh
source "$(dirname "$0")/../../scripts/lib/thirty-two-bit.sh"
if runs_32_bit_programs; then export BRISKO_RUNS_32_BIT_PROGRAMS=1; fi

# On 64-bit Windows a marker in system32 and one in SysWOW64, written from
# outside Windows, show which folder the seam really lists.
windows_folder=$WINEPREFIX/drive_c/windows
if [[ -d $windows_folder/syswow64 ]]; then
  printf system32 >"$windows_folder/system32/brisko-marker-system32.txt"
  printf syswow64 >"$windows_folder/syswow64/brisko-marker-syswow64.txt"
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

# The counts of GoogleTest's own summary, on one line that
# scripts/run-tests.sh collects: this one ctest test stands for them all.
print_gtest_counts() {
  local log=$1 ran passed failed skipped
  ran=$(sed -n 's/^\[==========\] \([0-9]*\) tests\{0,1\} from .* ran\..*/\1/p' "$log" | tail -n 1)
  if [[ -z $ran ]]; then
    echo "gtest counts: none, the test executable ended before its summary"
    return
  fi
  passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$log" | tail -n 1)
  failed=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\{0,1\}, listed below:.*/\1/p' "$log" | tail -n 1)
  skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\{0,1\}, listed below:.*/\1/p' "$log" | tail -n 1)
  echo "gtest counts: ${passed:-0} passed, ${failed:-0} failed, ${skipped:-0} skipped"
  # The names of the skipped tests follow their count in the summary.
  sed -n 's/^\[  SKIPPED \] \([A-Za-z_][A-Za-z0-9_./]*\)$/gtest skipped: \1/p' "$log" | sort -u
}

# Wine ends the program's lines with CR LF.
set +e
"$wine" 'C:\brisko_win32_tests.exe' "$@" </dev/null 2>&1 | tr -d '\r' | tee "$work/gtest.log"
status=${PIPESTATUS[0]}
set -e
print_gtest_counts "$work/gtest.log"
exit "$status"
