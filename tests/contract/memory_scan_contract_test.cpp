// A whole scan with an infected program running: the memory scan finds its
// image, ends it and removes the file, on the simulated machine and under
// Wine, where the sample is a real 64-bit program that sleeps.
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

    // The first record a runnable sample can be made for.
    static std::vector<std::uint8_t> runnableSample() {
        for (unsigned index = 0; index < kSignatureCount; ++index) {
            std::vector<std::uint8_t> sample = buildRunnableSample(signatureTable[index]);
            if (!sample.empty()) return sample;
        }
        return {};
    }

    ContractScan run_{*backend_};
};

TEST_F(MemoryScanContract, ARunningInfectedProgramIsEndedAndRemoved) {
    if (sizeof(void*) == 4) {
        GTEST_SKIP() << "the runnable sample is an x86-64 program, which a 32-bit prefix cannot start; the x86_64 "
                        "build runs this test";
    }
    const std::vector<std::uint8_t> sample = runnableSample();
    ASSERT_FALSE(sample.empty());
    const std::string path = at("krenot.exe");
    const std::uint32_t running = backend_->startImage(path, std::string(sample.begin(), sample.end()));
    // It runs: it stays until it is ended, and holds its image meanwhile.
    ASSERT_FALSE(backend_->hasEnded(running));
    ASSERT_FALSE(fs_.removeFile(path.c_str()));

    ScanSession& session = run_.session();
    std::snprintf(session.scanTarget, sizeof session.scanTarget, "%s", scratch_.substr(0, scratch_.size() - 1).c_str());
    session.userAction = kActionRemove;
    runScanDriver(run_.scan());

    EXPECT_TRUE(backend_->hasEnded(running));
    EXPECT_THAT(run_.lines(), Contains("System Memory    W32/Krenot.Trojan  removed"));
    EXPECT_FALSE(fs_.exists(path.c_str()));
}

}  // namespace
}  // namespace brisko
