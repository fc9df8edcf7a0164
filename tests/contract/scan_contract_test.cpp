// Whole scans over the backend's scratch folder: the scan's own walk,
// matcher and disposition on the simulated machine natively, and on real
// Windows files under Wine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "matcher/threat_signature.h"
#include "scan/scan_driver.h"
#include "tests/contract/contract_scan.h"
#include "tests/contract/file_system_contract.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

class ScanContract : public FileSystemContract {
protected:
    ScanContract() { installPlatform(&backend_->platform()); }
    ~ScanContract() override { installPlatform(nullptr); }

    void plant(const std::string& relative, const std::vector<std::uint8_t>& image) {
        backend_->writeFile(at(relative), std::string(image.begin(), image.end()));
    }

    // Scans the scratch folder as the scan target, with the given action.
    void scanScratch(std::int32_t action) {
        ScanSession& session = run_.session();
        std::snprintf(session.scanTarget, sizeof session.scanTarget, "%s",
                      scratch_.substr(0, scratch_.size() - 1).c_str());
        session.userAction = action;
        runScanDriver(run_.scan());
    }

    // The lines before the statistics block.
    std::vector<std::string> detectionLines() const {
        std::vector<std::string> found;
        for (const std::string& line : run_.lines()) {
            if (line == " " || line == "Scanning statistics") break;
            found.push_back(line);
        }
        return found;
    }

    ContractScan run_{*backend_};
};

TEST_F(ScanContract, RemovesEverySampleWhateverItsAttributesAndLeavesTheRest) {
    plant("a.exe", buildSample(signatureTable[0]));
    backend_->makeDirectory(at("deep"));
    plant("deep\\b.dll", buildSample(signatureTable[120], SampleLayout::SectionsWithHoles));
    plant("locked-down.exe", buildSample(signatureTable[4], SampleLayout::NoSections));
    ASSERT_TRUE(fs_.setAttributes(at("locked-down.exe").c_str(),
                                  kAttributeReadOnly | kAttributeHidden | kAttributeSystem));
    plant("near.exe", buildSample(signatureTable[4], SampleLayout::OneSection, NearMiss::Probe2Changed));
    backend_->writeFile(at("notes.txt"), "nothing here");

    scanScratch(kActionRemove);

    EXPECT_THAT(detectionLines(),
                UnorderedElementsAre(at("a.exe") + "     W32/Krenot.Ek.PSW.Trojan removed",
                                     at("deep\\b.dll") + "     W32/Krenot.Fqc.PSW.Trojan removed",
                                     at("locked-down.exe") + "     W32/Krenot.Gn.PSW.Trojan removed"));
    const std::vector<std::string>& lines = run_.lines();
    EXPECT_THAT(std::vector<std::string>(lines.end() - 6, lines.end()),
                ElementsAre(" ", "Scanning statistics", "------------------------------",
                            "Total files scanned\t\t:  5", "Total files infected\t\t:  3",
                            "Total files removed\t\t:  3"));
    EXPECT_EQ(run_.items().back(), "Scanning completed");
    for (const char* gone : {"a.exe", "deep\\b.dll", "locked-down.exe"}) {
        EXPECT_FALSE(fs_.exists(at(gone).c_str())) << gone;
    }
    EXPECT_TRUE(fs_.exists(at("near.exe").c_str()));
    EXPECT_TRUE(fs_.exists(at("notes.txt").c_str()));
}

TEST_F(ScanContract, ASampleHeldOpenCannotBeRemoved) {
    plant("busy.exe", buildSample(signatureTable[60]));
    backend_->holdOpen(at("busy.exe"));
    scanScratch(kActionRemove);
    EXPECT_THAT(detectionLines(),
                ElementsAre(at("busy.exe") + "     " + signatureTable[60].name + " Unable to remove"));
    EXPECT_TRUE(fs_.exists(at("busy.exe").c_str()));
    EXPECT_EQ(run_.session().filesRemoved, 0);
}

TEST_F(ScanContract, RenameReplacesTheFirstLetterOfTheExtension) {
    plant("tool.exe", buildSample(signatureTable[99]));
    scanScratch(kActionRename);
    EXPECT_THAT(detectionLines(), ElementsAre(at("tool.exe") + "     " + signatureTable[99].name + " renamed"));
    EXPECT_FALSE(fs_.exists(at("tool.exe").c_str()));
    EXPECT_TRUE(fs_.exists(at("tool.Vxe").c_str()));
}

}  // namespace
}  // namespace brisko
