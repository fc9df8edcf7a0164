# 2. Run and RunServices values that start an infected file: those of the
# machine (HKLM) are removed, by the bare-name rule for a file in the
# system folder and by the full-path rule (quoted, with arguments, other
# letter case, or through %SystemRoot%); every other value stays, and so
# do the current user's (HKCU), which the program does not look at.
scenarios+=(autostart)
scenario_title[autostart]="2. Run and RunServices values (HKLM removed by both rules, HKCU and others kept)"
through_brisko_scan autostart

scenario_autostart() {
  local run='Software\Microsoft\Windows\CurrentVersion\Run'
  local services='Software\Microsoft\Windows\CurrentVersion\RunServices'
  sample_plant netsvc "$c/windows/system32/netsvc32.exe"
  sample_plant tool "$d/Apps/Tool One/tool.exe"
  # key|name|data|removed or kept
  local -a values=(
    "HKLM\\$run|netsvc|netsvc32.exe|removed"
    "HKLM\\$run|toolq|\"D:\\APPS\\Tool One\\TOOL.EXE\" /min|removed"
    "HKLM\\$run|toolbare|tool.exe|kept"
    "HKLM\\$run|notepad|C:\\windows\\notepad.exe|kept"
    "HKLM\\$services|svcnet|%SystemRoot%\\system32\\netsvc32.exe|removed"
    "HKLM\\$services|svcother|C:\\windows\\system32\\other.exe|kept"
    "HKCU\\$run|usernet|C:\\windows\\system32\\netsvc32.exe|kept"
    "HKCU\\$services|usertool|D:\\Apps\\Tool One\\tool.exe|kept"
  )
  registry_table_set "${values[@]}"
  local removed i
  removed=$(registry_table_removed "${values[@]}")

  local finds=$machine/finds.expected
  {
    printf '%s     %s removed\n' "$(windows_path "$c/windows/system32/netsvc32.exe")" "$(sample_threat netsvc)"
    printf '%s     %s removed\n' "$(windows_path "$d/Apps/Tool One/tool.exe")" "$(sample_threat tool)"
    for ((i = 0; i < removed; i++)); do echo "System Registry     W32/Krenot.Trojan removed"; done
  } >"$finds"
  local scanned
  scanned=$(count_files "$c" "$d")

  program_scan
  read_report
  expect_report "$finds" "$scanned" 2 2
  registry_table_expect "${values[@]}"
  program_ends 1
}
