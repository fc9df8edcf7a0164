#!/usr/bin/env bash
# Checks under wine64 that the system's next start really deletes the files
# scheduleDeletionAtRestart leaves for it, in both of its ways:
#   win98  an entry NUL=<short path> in the [rename] section of wininit.ini,
#          carried out at start, after which wininit.ini becomes wininit.bak;
#   winxp  a delayed move (PendingFileRenameOperations).
# For each version: a throwaway prefix (drive C: only), two files in folders
# with long names held open by a running program, the deletion scheduled by
# brisko_schedule_deletion.exe, the prefix's processes ended, and a restart
# with `wineboot -r`.
#
#   tests/wine/deferred-deletion-restart.sh BUILD_DIR
#
# Builds nothing. Prints a PASS or FAIL line for every check and exits with
# 1 when any fails.
set -uo pipefail

if [[ $# -ne 1 ]]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build_dir=$1

program_exe=$(find "$build_dir" -name brisko_schedule_deletion.exe -type f -print -quit)
if [[ -z $program_exe ]]; then
  echo "$0: no brisko_schedule_deletion.exe under $build_dir; build it first" >&2
  exit 2
fi

source "$(dirname "$0")/../../scripts/lib/wine-machine.sh"
source "$(dirname "$0")/../../scripts/lib/restart-deletion.sh"

work=
trap '[[ -z $work ]] || wine_machine_cleanup "$work"' EXIT
trap 'exit 130' INT TERM HUP
unset DISPLAY WAYLAND_DISPLAY

failures=0
check() {  # check VERSION DESCRIPTION COMMAND...
  local version=$1 description=$2
  shift 2
  if "$@"; then
    echo "PASS [$version] $description"
  else
    echo "FAIL [$version] $description"
    failures=$((failures + 1))
  fi
}

long_dos='C:\Program Files\Some App\locked one.exe'
long_unix='Program Files/Some App/locked one.exe'
short_dos='C:\t\locked2.exe'
short_unix='t/locked2.exe'
# Not scheduled: the restart must leave it alone.
kept_unix='t/kept.exe'
# Not held: shows that the deletion below would work on a free file.
free_dos='C:\t\free.exe'
free_unix='t/free.exe'

run_version() {
  local version=$1
  if ! wine_machine_make_work "$build_dir" "restart-$version"; then
    echo "FAIL [$version] making the work folder"
    failures=$((failures + 1))
    return
  fi
  if ! wine_machine_make_prefix "$work"; then
    echo "FAIL [$version] making the Wine prefix"
    failures=$((failures + 1))
    wine_machine_cleanup "$work"; work=
    return
  fi
  "$wine" reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null 2>&1
  "$wineserver" -w

  local c=$WINEPREFIX/drive_c windir=$WINEPREFIX/drive_c/windows
  mkdir -p "$c/Program Files/Some App" "$c/t"
  printf 'MZ locked one' >"$c/$long_unix"
  printf 'MZ locked two' >"$c/$short_unix"
  printf 'MZ kept' >"$c/$kept_unix"
  printf 'MZ free' >"$c/$free_unix"
  rm -f "$windir/wininit.ini" "$windir/wininit.bak"
  cp "$program_exe" "$c/brisko_schedule_deletion.exe"

  # The files are held open, as an infected program holds its own, while
  # the deletion is scheduled.
  "$wine" 'C:\brisko_schedule_deletion.exe' --hold "$long_dos" "$short_dos" </dev/null >"$work/hold.log" 2>&1 &
  local holder=$! i
  for i in $(seq 1 60); do
    [[ $(grep -c '^holding ' "$work/hold.log") -eq 2 ]] && break
    grep -q '^cannot hold' "$work/hold.log" && break
    sleep 0.5
  done
  check "$version" "a program holds both files open" test "$(grep -c '^holding ' "$work/hold.log")" -eq 2
  # Held without sharing for deletion, it cannot be deleted now; the same
  # deletion removes a file nobody holds.
  "$wine" cmd /c "del $short_dos" </dev/null >/dev/null 2>&1
  "$wine" cmd /c "del $free_dos" </dev/null >/dev/null 2>&1
  check "$version" "a file nobody holds is deleted at once" test ! -e "$c/$free_unix"
  check "$version" "a held file cannot be deleted before the restart" test -e "$c/$short_unix"

  local status=0
  "$wine" 'C:\brisko_schedule_deletion.exe' "$long_dos" "$short_dos" </dev/null >"$work/schedule.log" 2>&1 || status=$?
  sed "s/^/    [$version] /" "$work/schedule.log"
  check "$version" "brisko_schedule_deletion returns 1 for both files" test "$status" -eq 0

  if [[ $version == win98 ]]; then
    local ini entries
    ini=$windir/wininit.ini
    check "$version" "wininit.ini exists in the Windows folder" test -f "$ini"
    entries=$( [[ -f $ini ]] && wininit_nul_entries "$ini" )
    sed "s/^/    [$version] NUL=/" <<<"$entries"
    check "$version" "[rename] holds exactly two NUL= entries" test "$(grep -c . <<<"$entries")" -eq 2
    # wininit.ini is read before long names exist: short paths only, each
    # naming one of the two files.
    check "$version" "the entries hold no long name" bash -c '! grep -q " " <<<"$1"' _ "$entries"
    check "$version" "the entry $short_dos is there as it is (already 8.3)" grep -qixF "$short_dos" <<<"$entries"
    # Wine's short names are hashed: the other entry is checked by asking
    # Windows whether a file is there, and by the restart itself below.
    local long_entry
    long_entry=$(grep -viF "$short_dos" <<<"$entries" | head -n 1)
    check "$version" "the other entry ($long_entry) is a path on C:" \
      bash -c '[[ -n $1 && $1 == [Cc]:\\* ]]' _ "$long_entry"
    [[ -n $long_entry ]] && check "$version" "Windows finds a file at $long_entry" windows_sees "$long_entry"
  else
    local pending
    pending=$("$wine" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' \
                /v PendingFileRenameOperations </dev/null 2>/dev/null | tr -d '\r')
    sed -n "s/^ *PendingFileRenameOperations/    [$version] PendingFileRenameOperations/p" <<<"$pending"
    check "$version" "PendingFileRenameOperations names $long_dos" grep -qiF "$long_dos" <<<"$pending"
    check "$version" "PendingFileRenameOperations names $short_dos" grep -qiF "$short_dos" <<<"$pending"
    check "$version" "no wininit.ini is written on NT" test ! -e "$windir/wininit.ini"
  fi
  check "$version" "both files still exist before the restart" test -e "$c/$long_unix" -a -e "$c/$short_unix"

  # The prefix's processes, the holder among them, are ended first, as the
  # shutdown of a real machine ends them; then Wine restarts.
  wine_restart "$work/wineboot-restart.log"
  wait "$holder" 2>/dev/null

  check "$version" "$long_dos is gone after the restart" test ! -e "$c/$long_unix"
  check "$version" "$short_dos is gone after the restart" test ! -e "$c/$short_unix"
  check "$version" "an unscheduled file in the same folder is still there" test -e "$c/$kept_unix"
  if [[ $version == win98 ]]; then
    check "$version" "wininit.ini became wininit.bak" test ! -e "$windir/wininit.ini" -a -f "$windir/wininit.bak"
  fi

  wine_machine_cleanup "$work"
  work=
}

run_version win98
run_version winxp

if [[ $failures -ne 0 ]]; then
  echo "FAIL: $failures check(s) failed"
  exit 1
fi
echo "PASS: files scheduled for deletion are gone after Wine's restart (win98 and winxp)"
