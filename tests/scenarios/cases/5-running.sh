# 5. A running infected program: the memory scan finds its image, ends it
# and removes the file, with the "System Memory" line first.
scenarios+=(running)
scenario_title[running]="5. A running infected program: System Memory line, process ended, file removed"
through_brisko_scan running

scenario_running_partly() {
  [[ $1 == win98 ]] || return 1
  echo "Wine's Tool Help gives bare file names under win98 (real Windows 9x gives full paths), so the memory scan cannot read the image and posts no System Memory line; here the drive walk finds the file and ends its program by name. The 9x pass with full paths: MemoryScanTest.EndsInfectedProcessesAndRemovesTheirFiles, MemoryScanTest.On9xAnUnendedProcessStillHasItsFileTreated."
}

scenario_running() {
  local version=$1 file=$d/Tools/krenot.exe running
  sample_plant running "$file"
  "$wine" 'D:\Tools\krenot.exe' </dev/null >/dev/null 2>&1 &
  running=$!
  # Loaded, as the memory scan will find it: a scan that came first would
  # miss it.
  expect "the infected program runs" drive listed 'D:\Tools\krenot.exe'
  local finds=$machine/finds.expected scanned
  scanned=$(count_files "$c" "$d")
  if [[ $version == win98 ]]; then
    printf '%s     %s removed\n' "$(windows_path "$file")" "$(sample_threat running)" >"$finds"
  else
    # Handed over by the memory scan, the file is treated under the
    # family's label, which ends in a blank; the walk no longer sees it.
    printf 'System Memory    W32/Krenot.Trojan  removed\n%s     W32/Krenot.Trojan  removed\n' \
      "$(windows_path "$file")" >"$finds"
    scanned=$((scanned - 1))
  fi

  program_scan
  read_report
  expect_report "$finds" "$scanned" 1 1
  if [[ $version != win98 ]]; then
    expect "the System Memory line comes first" test "$(head -n 1 "$machine/report.txt")" == \
      "System Memory    W32/Krenot.Trojan  removed"
  fi
  expect "the infected program has ended" eventually 5 process_gone "$running"
  expect "its file is gone" test ! -e "$file"
  program_ends 1
}
