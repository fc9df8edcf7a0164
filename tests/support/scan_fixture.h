#pragma once
// A fresh simulated machine and one scan over it, reporting to a recording
// front end, with the parts the test stands in for recorded in the same
// event log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_machine.h"
#include "scan/scan.h"
#include "tests/support/recorded_scan.h"

namespace brisko::testing {

class ScanTest : public ::testing::Test {
protected:
    explicit ScanTest(unsigned standIns = kStandInForMemoryScan | kStandInForCleanup);

    // Forgets every recorded event, scripted answer and result.
    void resetRecords();

    // Only the posted lines, in order.
    std::vector<std::string> reportLines() const;
    // Only the shown items, in order.
    std::vector<std::string> shownItems() const;
    // Events of one kind ("line", "item", "dialog", ...) without their prefix.
    std::vector<std::string> events(const std::string& kind) const;

    fake::FakeMachine machine;
    EventLog eventLog;
    RecordingFrontEnd frontEnd{eventLog};
    RecordedActions actions;
    Scan scan;
    // The scan's record, reporting to the recorder.
    ScanSession& scanSession;
    ScanContext& context;
};

}  // namespace brisko::testing
