// wininit.ini when two calls of one scheduling fail, which the sweep of one
// failure at a time cannot reach: a failed exists() on the existing file,
// then a failed write. The file must end as it was, or with the one entry
// in its [rename] section, and the result must say which.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "cleanup/deferred_deletion.h"
#include "platform/fake/fake_machine.h"
#include "scan/scan.h"
#include "tests/support/recorded_scan.h"

namespace brisko {
namespace {

using fake::Fault;
using fake::SeamCall;

constexpr const char* kWininit = "C:\\WINDOWS\\wininit.ini";
constexpr const char* kLocked = "C:\\Apps\\locked dll.dll";
const std::string kBefore = "[boot]\r\nshell=explorer.exe\r\n[rename]\r\nOLD=C:\\OLD.TXT\r\n[other]\r\nz=1";

TEST(WininitDoubleFault, AnExistingWininitEndsAsItWasOrWithTheOneEntry) {
    struct Case {
        const char* what;
        std::vector<std::pair<SeamCall, Fault>> faults;
    };
    const Case cases[] = {
        {"exists fails", {{SeamCall::kExists, Fault::kFailure}}},
        {"exists fails, then the write", {{SeamCall::kExists, Fault::kFailure}, {SeamCall::kWrite, Fault::kFailure}}},
        {"exists fails, then the write comes back short",
         {{SeamCall::kExists, Fault::kFailure}, {SeamCall::kWrite, Fault::kShortTransfer}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake::FakeMachine machine;
        machine.addWindowsInstallation();
        machine.fakeControl().setVersion(kPlatformWindows, 4, 10);
        machine.writeFile(kLocked, "locked");
        machine.writeFile(kWininit, kBefore);
        char shortPath[kPathCapacity];
        ASSERT_GT(files().shortPathName(kLocked, shortPath, sizeof shortPath), 0u);
        const std::string entry = "NUL=" + std::string(shortPath) + "\r\n";
        for (const auto& [call, fault] : c.faults) machine.faults().failNext(call, fault);

        testing::EventLog log;
        testing::RecordingFrontEnd frontEnd(log);
        Scan scan(frontEnd);
        const int scheduled = scheduleDeletionAtRestart(scan.context(), kLocked);
        ASSERT_TRUE(machine.fileExists(kWininit));
        const std::string after = machine.readFile(kWininit);
        const std::string withEntry =
            "[boot]\r\nshell=explorer.exe\r\n[rename]\r\nOLD=C:\\OLD.TXT\r\n" + entry + "[other]\r\nz=1";
        EXPECT_EQ(after, scheduled != 0 ? withEntry : kBefore);
    }
}

}  // namespace
}  // namespace brisko
