# 3. The variant's uninstall entry and its Run value are deleted after an
# infected file is removed, without a line of their own; the key itself,
# its other values and a Run value of other data stay.
scenarios+=(variant)
scenario_title[variant]="3. The variant's uninstall entry and Run value"

scenario_variant() {
  local uninstall='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\rhcjg7j0e38v'
  local run='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
  sample_plant setup "$d/Downloads/setup.exe"
  registry_set "$uninstall" UninstallString 'C:\Program Files\rhcjg7j0e38v\uninstall.exe'
  registry_set "$uninstall" DisplayName 'rhcjg7j0e38v'
  registry_set "$run" SMrhcjg7j0e38v 'C:\windows\system32\rhcjg7j0e38v.exe'
  registry_set "$run" Updater 'C:\windows\system32\rhcjg7j0e38v.exe'

  printf '%s     %s removed\n' "$(windows_path "$d/Downloads/setup.exe")" "$(sample_threat setup)" \
    >"$machine/finds.expected"
  local scanned
  scanned=$(count_files "$c" "$d")

  brisko_start
  expect "SCAN starts the scan" drive scan
  read_report
  expect_report "$machine/finds.expected" "$scanned" 1 1
  expect "UninstallString is removed" registry_absent "$uninstall" UninstallString
  expect "the Run value SMrhcjg7j0e38v is removed" registry_absent "$run" SMrhcjg7j0e38v
  expect "the uninstall key and its DisplayName stay" test "$(registry_value "$uninstall" DisplayName)" == rhcjg7j0e38v
  expect "a Run value of another name stays" \
    test "$(registry_value "$run" Updater)" == 'C:\windows\system32\rhcjg7j0e38v.exe'
  expect "OK ends the program" drive ok
  expect "brisko.exe has ended" brisko_wait 20
}
