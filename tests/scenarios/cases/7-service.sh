# 7. An infected program that runs as a service. The program ends it like
# any infected process and removes its file; only a process that cannot be
# ended is treated as a service (stopped, its keys deleted), and Wine lets
# every process be ended (see the reason).
scenarios+=(service)
scenario_title[service]="7. An infected service: its process ended and file removed (stopped and keys deleted when it cannot be ended)"

scenario_service_not_here() {
  [[ $1 == win98 ]] || return 1
  echo "The 9x family has no services: its memory scan ends the program or hands its file on (MemoryScanTest.On9xAnUnendedProcessStillHasItsFileTreated)."
}

scenario_service_partly() {
  echo "Wine lets the program end every process, a service's too, so the service step, taken only for a process that cannot be ended, is never reached here. Covered by MemoryScanTest.OnNtAnUnendedProcessIsStoppedAsItsService, MemoryScanTest.OnNtAProcessThatCannotBeStoppedEndsTheProgramAfterThePrompt and ServiceCleanupTest.* on the simulated machine, and under Wine on our test service by ServiceContract.StopsARunningServiceOnce and ServiceContract.DeletesTheEntriesUnderBothControlSets."
}

create_service() {  # create_service NAME PROGRAM
  win sc create "$1" binPath= "$2" >/dev/null 2>&1
}

service_program_runs() {
  pgrep -f 'krenotsvc\.exe' >/dev/null
}

scenario_service() {
  local file=$c/windows/system32/krenotsvc.exe service
  local key='HKLM\System\CurrentControlSet\Services\krenotsvc'
  sample_plant running "$file"
  # The sample only sleeps and never reports to Wine's service manager,
  # which ends such a program after ServicesPipeTimeout: it gets time.
  "$wine" reg add 'HKLM\System\CurrentControlSet\Control' /v ServicesPipeTimeout /t REG_DWORD /d 600000 /f \
    </dev/null >/dev/null 2>&1
  "$wineserver" -k
  "$wineserver" -w
  wine_keep_running
  expect "the service is created" create_service krenotsvc 'C:\windows\system32\krenotsvc.exe'
  "$wine" sc start krenotsvc </dev/null >/dev/null 2>&1 &
  expect "the service manager starts the infected program" eventually 20 service_program_runs
  service=$(pgrep -f 'krenotsvc\.exe' | head -n 1)
  printf 'System Memory    W32/Krenot.Trojan  removed\n%s     W32/Krenot.Trojan  removed\n' \
    "$(windows_path "$file")" >"$machine/finds.expected"
  local scanned
  scanned=$(($(count_files "$c" "$d") - 1))

  brisko_start
  expect "SCAN starts the scan" drive scan
  read_report
  expect_report "$machine/finds.expected" "$scanned" 1 1
  expect "the service's program has ended" eventually 5 process_gone "${service:-0}"
  expect "its file is gone" test ! -e "$file"
  expect "its keys stay: it was ended, not stopped as a service" test -n "$(registry_value "$key" ImagePath)"
  expect "OK ends the program" drive ok
  expect "brisko.exe has ended" brisko_wait 20
}
