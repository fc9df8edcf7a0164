# 7. An infected program that runs as a service and cannot be ended: on
# the NT family the program stops the service named after the file and
# deletes its keys. Wine cannot make that machine (see the reasons).
scenarios+=(service)
scenario_title[service]="7. An infected service that cannot be ended: stopped, its keys deleted"

scenario_service_not_here() {
  if [[ $1 == win98 ]]; then
    echo "The 9x family has no services: its memory scan ends the program or hands its file on (MemoryScanTest.On9xAnUnendedProcessStillHasItsFileTreated)."
  else
    echo "Wine lets the program end every process, a service's too, so the service step, taken only for a process that cannot be ended, is never reached; the process ended and its file removed is scenario 5. Covered by MemoryScanTest.OnNtAnUnendedProcessIsStoppedAsItsService, MemoryScanTest.OnNtAProcessThatCannotBeStoppedEndsTheProgramAfterThePrompt and ServiceCleanupTest.* on the simulated machine, and under Wine on our test service by ServiceContract.StopsARunningServiceOnce and ServiceContract.DeletesTheEntriesUnderBothControlSets."
  fi
}
