// A whole scan with an infected program running: the memory scan finds its
// image, ends it and removes the file, on the simulated machine and under
// Wine, where the sample is a real 64-bit or 32-bit program that sleeps.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "matcher/threat_signature.h"
#include "scan/scan_driver.h"
#include "tests/contract/contract_scan.h"
#include "tests/contract/file_system_contract.h"
#include "tools/sample_writer/runnable_sample.h"

namespace brisko {
namespace {

using ::testing::Contains;

class MemoryScanContract : public FileSystemContract {
protected:
    MemoryScanContract() { installPlatform(&backend_->platform()); }
    ~MemoryScanContract() override { installPlatform(nullptr); }

    // A sample of the first record that can be made into a program for
    // the machine.
    static std::vector<std::uint8_t> runnableSample(RunnableMachine machine) {
        for (unsigned index = 0; index < kSignatureCount; ++index) {
            std::vector<std::uint8_t> sample = buildRunnableSample(signatureTable[index], machine);
            if (!sample.empty()) return sample;
        }
        return {};
    }

    // The sample runs; the scan ends it from its memory scan and removes it.
    void endsAndRemoves(RunnableMachine machine) {
        const std::vector<std::uint8_t> sample = runnableSample(machine);
        ASSERT_FALSE(sample.empty());
        const std::string path = at("krenot.exe");
        const std::uint32_t running = backend_->startImage(path, std::string(sample.begin(), sample.end()));
        // It runs: it stays until it is ended, and holds its image meanwhile.
        ASSERT_FALSE(backend_->hasEnded(running));
        ASSERT_FALSE(fs_.removeFile(path.c_str()));

        ScanSession& session = run_.session();
        std::snprintf(session.scanTarget, sizeof session.scanTarget, "%s",
                      scratch_.substr(0, scratch_.size() - 1).c_str());
        session.userAction = kActionRemove;
        runScanDriver(run_.scan());

        EXPECT_TRUE(backend_->hasEnded(running));
        EXPECT_THAT(run_.lines(), Contains("System Memory    W32/Krenot.Trojan  removed"));
        EXPECT_FALSE(fs_.exists(path.c_str()));
    }

    ContractScan run_{*backend_};
};

TEST_F(MemoryScanContract, ARunningSixtyFourBitInfectedProgramIsEndedAndRemoved) {
    if (!backend_->startsProgramsFor(RunnableMachine::kX86_64)) {
        GTEST_SKIP() << "a 32-bit program does not read the image of a 64-bit one";
    }
    endsAndRemoves(RunnableMachine::kX86_64);
}

// The family's own programs are 32-bit; on 64-bit Windows the 64-bit build
// ends them as well.
TEST_F(MemoryScanContract, ARunningThirtyTwoBitInfectedProgramIsEndedAndRemoved) {
    if (!backend_->startsProgramsFor(RunnableMachine::kI386)) {
        GTEST_SKIP() << "this machine does not run 32-bit programs";
    }
    endsAndRemoves(RunnableMachine::kI386);
}

}  // namespace
}  // namespace brisko
