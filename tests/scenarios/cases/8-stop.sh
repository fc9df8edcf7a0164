# 8. A scan asked to stop with CANCEL, the x and Escape: No lets it go on,
# each time; Yes ends it with "Scanning terminated" and the whole
# statistics block, the find made before the stop removed and counted.
# The driver holds the scan while it walks D:, so that each question comes
# before its end, however fast the machine: E: is still to come.
scenarios+=(stop)
scenario_title[stop]="8. CANCEL, x and Escape during a scan: No goes on, Yes ends it"

scenario_stop() {
  local e=$machine/drive_e
  mkdir -p "$e"
  ln -s "$e" "$WINEPREFIX/dosdevices/e:"
  sample_plant netsvc "$c/windows/system32/netsvc32.exe"
  wine_machine_fill_folders "$d" 100
  wine_machine_fill_folders "$e" 3
  printf '%s     %s removed\n' "$(windows_path "$c/windows/system32/netsvc32.exe")" "$(sample_threat netsvc)" \
    >"$machine/finds.expected"
  local on_c all
  on_c=$(count_files "$c")
  all=$(count_files "$c" "$d" "$e")

  brisko_start
  expect "SCAN starts; the scan is held on D:" drive scan-and-hold
  expect "CANCEL asks to stop" drive ask-stop cancel
  expect "No goes on; the x asks again" drive answer no x
  expect "No goes on; Escape asks again" drive answer no escape
  expect "Yes ends the scan" drive answer yes
  read_report
  expect "the status reads Scanning terminated" grep -qx '     Scanning terminated' "$machine/driver-report.log"
  report_finds >"$machine/finds.txt"
  expect "the find on C: is reported, nothing after it" diff "$machine/finds.expected" "$machine/finds.txt"
  local scanned
  scanned=$(sed -n 's/^Total files scanned\t\t:  //p' "$machine/report.txt")
  # Held on D:, the scan may not have counted a file of it yet.
  expect "the stop came after C: ($on_c files) and before the end ($all files): $scanned scanned" \
    test "${scanned:-0}" -ge "$on_c" -a "${scanned:-0}" -lt "$all"
  expect_report "$machine/finds.expected" "${scanned:-0}" 1 1
  expect "the infected file is gone" test ! -e "$c/windows/system32/netsvc32.exe"
  expect "OK ends the program" drive ok
  expect "brisko.exe has ended" brisko_wait 20
}
