# 6. An infected file held open by a clean program, which the program does
# not end: "Unable to remove", the deletion left to the next start (9x: a
# NUL= entry with the short path in wininit.ini; NT: a delayed move) and
# the restart question after the statistics.
#   locked-yes  Yes: the program asks for the restart, every program ends,
#               and after Wine's restart the file is gone.
#   locked-no   No: the program stays; the file is still there, scheduled.
scenarios+=(locked-yes locked-no)
scenario_title[locked-yes]="6. A locked infected file: scheduled, restart question Yes, gone after the restart"
scenario_title[locked-no]="6. A locked infected file: scheduled, restart question No, still scheduled"

# On D:, which is walked after C:: the wininit.ini the program writes on
# the 9x family is not among the files it scans.
locked_dos='D:\Program Files\Some App\locked one.exe'

expect_scheduled() {
  local version=$1 entries pending
  if [[ $version == win98 ]]; then
    entries=$(wininit_nul_entries "$c/windows/wininit.ini")
    expect "wininit.ini holds one NUL= entry ($entries)" test "$(grep -c . <<<"$entries")" -eq 1
    expect "the entry is a short path, without blanks" bash -c '[[ -n $1 && $1 != *" "* ]]' _ "$entries"
    expect "Windows finds the locked file at that short path" windows_sees "$entries"
  else
    pending=$(registry_value 'HKLM\System\CurrentControlSet\Control\Session Manager' PendingFileRenameOperations)
    expect "PendingFileRenameOperations names $locked_dos ($pending)" grep -qiF "$locked_dos" <<<"$pending"
    expect "no wininit.ini is written on NT" test ! -e "$c/windows/wininit.ini"
  fi
}

# The scan up to the restart question; the holder's pid in holder.
scan_locked_file() {
  local version=$1 file="$d/Program Files/Some App/locked one.exe"
  sample_plant setup "$file"
  rm -f "$c/windows/wininit.ini"
  "$wine" 'C:\brisko_schedule_deletion.exe' --hold "$locked_dos" </dev/null >"$machine/hold.log" 2>&1 &
  holder=$!
  expect "a clean program holds the file open" eventually 20 grep -q '^holding ' "$machine/hold.log"
  printf '%s     %s Unable to remove\n' "$locked_dos" "$(sample_threat setup)" >"$machine/finds.expected"
  local scanned
  scanned=$(count_files "$c" "$d")

  brisko_start
  expect "SCAN starts the scan" drive scan
  # Ending the holder by the file's path finds no program, which is
  # announced where the search can fail: Tool Help (9x) and the process
  # table of the performance data (NT 4 and from Vista on). Under NT 5 the
  # search through PSAPI finds nothing to end and says nothing.
  if [[ $version != winxp ]]; then
    expect "Could not kill process is announced, and OK closes it" drive notice "Could not kill process" "$locked_dos"
  fi
  read_report
  expect_report "$machine/finds.expected" "$scanned" 1 0
  expect "the file is still there" test -e "$file"
  expect_scheduled "$version"
}

scenario_locked-yes() {
  local version=$1 holder
  scan_locked_file "$version"
  expect "Yes is pressed in the restart question" drive restart yes
  # Wine ends every program of the session for the restart it is asked.
  expect "brisko.exe ends with the session" brisko_wait 30
  expect "the holder ends with the session" eventually 10 process_gone "$holder"
  restart
  expect "after the restart the file is gone" test ! -e "$d/Program Files/Some App/locked one.exe"
  if [[ $version == win98 ]]; then
    expect "wininit.ini became wininit.bak" test ! -e "$c/windows/wininit.ini" -a -f "$c/windows/wininit.bak"
  fi
}

scenario_locked-no() {
  local version=$1 holder
  scan_locked_file "$version"
  expect "No is pressed; the program waits for OK" drive restart no
  expect "the file is still there" test -e "$d/Program Files/Some App/locked one.exe"
  expect_scheduled "$version"
  expect "OK ends the program" drive ok
  expect "brisko.exe has ended" brisko_wait 20
  expect "the holder still runs" kill -0 "$holder"
}
