#!/usr/bin/env bash
# Checks brisko-scan.exe under wine64 on a throwaway prefix whose only
# drive is C: (Z: removed, no link out of the prefix), with synthetic
# samples written by brisko-sample.exe:
#   a clean prefix exits 0;
#   an audit (no --action) changes nothing and exits 1;
#   --log appends a header and the report lines of each run;
#   --action remove removes every sample on the drive and exits 1, and the
#   next scan is clean;
#   a FOLDER is scanned alone.
#
#   tests/wine/brisko-scan-exe.sh BUILD_DIR
#
# Builds nothing. Prints a PASS or FAIL line for every check and exits with
# 1 when any fails.
set -uo pipefail

if [[ $# -ne 1 ]]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd) || exit 2

scan_exe=$(find "$build_dir" -name brisko-scan.exe -type f -print -quit)
sample_exe=$(find "$build_dir" -name brisko-sample.exe -type f -print -quit)
if [[ -z $scan_exe || -z $sample_exe ]]; then
  echo "$0: no brisko-scan.exe or brisko-sample.exe under $build_dir; build them first" >&2
  exit 2
fi

source "$(dirname "$0")/../../scripts/lib/wine-machine.sh"

work=
trap '[[ -z $work ]] || wine_machine_cleanup "$work"' EXIT
trap 'exit 130' INT TERM HUP
# The live scan opens no window.
unset DISPLAY WAYLAND_DISPLAY

failures=0
check() {  # check DESCRIPTION COMMAND...
  local description=$1
  shift
  if "$@"; then
    echo "PASS $description"
  else
    echo "FAIL $description"
    failures=$((failures + 1))
  fi
}

wine_machine_make_work "$build_dir" brisko-scan-exe || exit 1
wine_machine_make_prefix "$work" || { echo "FAIL making the Wine prefix"; exit 1; }
c=$WINEPREFIX/drive_c
mkdir -p "$c/brisko" "$c/logs"
cp "$scan_exe" "$c/brisko/brisko-scan.exe"
cp "$sample_exe" "$c/brisko/brisko-sample.exe"

# Runs brisko-scan.exe with the arguments given; its report (CR LF
# stripped) goes to $work/NAME.out, its exit status to status.
status=0
scan() {  # scan NAME ARGUMENTS...
  local name=$1
  shift
  status=0
  "$wine" 'C:\brisko\brisko-scan.exe' "$@" </dev/null 2>"$work/$name.err" | tr -d '\r' >"$work/$name.out"
  status=${PIPESTATUS[0]}
  sed "s/^/    [$name] /" "$work/$name.out" "$work/$name.err" | tr -d '\r'
}

sample() {  # sample RECORD WINDOWS_PATH
  "$wine" 'C:\brisko\brisko-sample.exe' "$1" "$2" </dev/null >/dev/null 2>&1
}

infected_total() {  # infected_total NAME: the count of the run's statistics
  sed -n 's/^Total files infected\t\t:  \([0-9]*\)$/\1/p' "$work/$1.out"
}

scan clean
check "a clean prefix exits 0" test "$status" -eq 0
check "a clean prefix has no infected file" test "$(infected_total clean)" = 0
check "the live scan walked the prefix's own files" \
  grep -qE '^Total files scanned.*:  [0-9]{3,}$' "$work/clean.out"

mkdir -p "$c/samples" "$c/Program Files/Tool" "$c/one" "$c/two"
sample 1 'C:\samples\first.exe'
sample 60 'C:\Program Files\Tool\second.exe'
check "brisko-sample.exe wrote the samples" test -f "$c/samples/first.exe" -a -f "$c/Program Files/Tool/second.exe"

log='C:\logs\fleet.log'
log_unix=$c/logs/fleet.log
scan audit --log "$log"
check "an audit exits 1" test "$status" -eq 1
check "an audit reports both samples" test "$(infected_total audit)" = 2
check "an audit leaves the samples in place" test -f "$c/samples/first.exe" -a -f "$c/Program Files/Tool/second.exe"

scan remove --action remove --log "$log"
check "--action remove exits 1" test "$status" -eq 1
check "--action remove removes both samples" test ! -e "$c/samples/first.exe" -a ! -e "$c/Program Files/Tool/second.exe"
check "--action remove reports them removed" \
  grep -qxF 'C:\samples\first.exe     W32/Krenot.Ek.PSW.Trojan removed' "$work/remove.out"

tr -d '\r' <"$log_unix" >"$work/fleet.log"
sed 's/^/    [log] /' "$work/fleet.log"
check "the log has a header for each run" \
  test "$(grep -cE '^=== brisko-scan Brisko Ver 1\.0 on .+, user .+, [0-9-]{10} [0-9:]{8} UTC ===$' "$work/fleet.log")" -eq 2
check "the log has the audit's lines" \
  grep -qxF 'C:\samples\first.exe     W32/Krenot.Ek.PSW.Trojan not disinfected as per user'"'"'s selection' "$work/fleet.log"
check "the log has the removal's lines" \
  grep -qxF 'C:\samples\first.exe     W32/Krenot.Ek.PSW.Trojan removed' "$work/fleet.log"
check "the log ends each run with its exit status" test "$(grep -cx 'exit status 1' "$work/fleet.log")" -eq 2

scan after --action remove
check "the scan after the removal exits 0" test "$status" -eq 0

sample 3 'C:\one\inside.exe'
sample 3 'C:\two\outside.exe'
scan folder --action remove 'C:\one\'
check "a FOLDER scan exits 1" test "$status" -eq 1
check "a FOLDER scan removes the sample in the folder" test ! -e "$c/one/inside.exe"
check "a FOLDER scan leaves the rest of the drive alone" test -f "$c/two/outside.exe"

scan usage --restart sometimes
check "a wrong option exits 2" test "$status" -eq 2

if [[ $failures -ne 0 ]]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all brisko-scan.exe checks passed"
