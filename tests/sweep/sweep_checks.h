#pragma once
// What every scan of the sweep must have left, whatever call failed: no
// clean file or value touched, wininit.ini whole, no "removed" that did
// not happen, figures that match the machine, and a scan that ended.
#include "tests/sweep/sweep_run.h"

namespace brisko::sweep {

void expectSoundOutcome(const Scenario& scenario, const ScanRecord& record);

// The run without a fault does the scenario's whole work, so that the
// faulted runs have something to get wrong.
void expectWholeWorkDone(const Scenario& scenario, const ScanRecord& record);

}  // namespace brisko::sweep
