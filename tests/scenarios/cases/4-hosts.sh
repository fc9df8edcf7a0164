# 4. An infected hosts file, at the place the running family keeps it, is
# removed with its line at the first detection; the same text at the other
# family's place, and every other file, stays.
scenarios+=(hosts)
scenario_title[hosts]="4. Infected hosts file removed; the other family's hosts file untouched"

scenario_hosts() {
  local version=$1 hosts other
  if [[ $version == win98 ]]; then
    hosts=$c/windows/hosts other=$c/windows/system32/drivers/etc/hosts
  else
    hosts=$c/windows/system32/drivers/etc/hosts other=$c/windows/hosts
  fi
  expect "the infected hosts file is written" win 'C:\brisko-infected-hosts.exe' "$(windows_path "$hosts")"
  cp "$hosts" "$other"
  # The check runs at every detection: two of them, one hosts line.
  sample_plant netsvc "$d/first/netsvc32.exe"
  sample_plant setup "$d/second/setup.exe"
  local finds=$machine/finds.expected
  {
    printf '%s     W32/Pelto.Worm removed\n' "$(windows_path "$hosts")"
    printf '%s     %s removed\n' "$(windows_path "$d/first/netsvc32.exe")" "$(sample_threat netsvc)"
    printf '%s     %s removed\n' "$(windows_path "$d/second/setup.exe")" "$(sample_threat setup)"
  } >"$finds"
  local scanned
  scanned=$(count_files "$c" "$d")
  fingerprint "$c" "$d" | grep -vF -e "$hosts" -e "$d/first/" -e "$d/second/" >"$machine/untouched.before"

  brisko_start
  expect "SCAN starts the scan" drive scan
  read_report
  # The hosts file is counted among the files scanned and, once found, as
  # infected and removed.
  expect_report "$finds" "$scanned" 3 3
  expect "the infected hosts file is gone" test ! -e "$hosts"
  fingerprint "$c" "$d" >"$machine/untouched.after"
  expect "the other family's hosts file and every other file are untouched" \
    diff "$machine/untouched.before" "$machine/untouched.after"
  expect "OK ends the program" drive ok
  expect "brisko.exe has ended" brisko_wait 20
}
