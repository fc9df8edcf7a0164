#pragma once
// A fresh simulated machine, a zeroed scan session and a report window that
// records every shown item and posted line into the event log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/scan_session.h"
#include "platform/fake/fake_machine.h"
#include "tests/support/attach_point_doubles.h"

namespace brisko::testing {

class EngineTest : public ::testing::Test {
protected:
    EngineTest();
    ~EngineTest() override;

    // Only the posted lines, in order.
    std::vector<std::string> reportLines() const;
    // Only the shown items, in order.
    std::vector<std::string> shownItems() const;
    // Events of one kind ("line", "item", "dialog", ...) without their prefix.
    std::vector<std::string> events(const std::string& kind) const;

    fake::FakeMachine machine;
};

}  // namespace brisko::testing
