// brisko-scan over a volume whose Windows is hibernated: a changing action
// is refused before anything is touched, while --action leave still scans.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "matcher/threat_signature.h"
#include "tests/brisko_scan/scan_run_fixture.h"
#include "tests/support/folder_snapshot.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::snapshotOf;

struct HibernationCase {
    const char* name;
    const char* fileName;  // as the volume spells it
    std::string start;     // the first bytes of the file
    bool refused;
};

const HibernationCase kCases[] = {
    {"Windows 8 and later, or fast startup", "hiberfil.sys", std::string("HIBR") + std::string(60, '\0'), true},
    {"older Windows", "hiberfil.sys", std::string("hibr") + std::string(60, '\0'), true},
    {"a name in capitals", "HIBERFIL.SYS", "HIBR", true},
    {"resumed", "hiberfil.sys", std::string("wake") + std::string(60, '\0'), false},
    {"shut down fully", "hiberfil.sys", std::string(64, '\0'), false},
    {"shorter than a signature", "hiberfil.sys", "HIB", false},
    {"a signature in mixed case", "hiberfil.sys", "Hibr", false},
};

class HibernatedVolumeRunTest : public testing::ScanRunTest {
protected:
    HibernatedVolumeRunTest() { write("Windows/System32/evil.exe", buildSample(signatureTable[0])); }
};

TEST_F(HibernatedVolumeRunTest, AChangingActionIsRefusedOnlyWhenTheFileHoldsASavedImage) {
    for (const HibernationCase& c : kCases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(volume_);
        write("Windows/System32/evil.exe", buildSample(signatureTable[0]));
        write(c.fileName, c.start);
        const auto before = snapshotOf(volume_);

        const testing::ScanRun run = scan("--action remove " + volume_.string());

        if (c.refused) {
            EXPECT_EQ(run.exitStatus, 2);
            EXPECT_TRUE(run.lines.empty());
            EXPECT_THAT(run.errors, HasSubstr("hibernated"));
            EXPECT_THAT(run.errors, HasSubstr("shut it down fully"));
            EXPECT_EQ(snapshotOf(volume_), before);
        } else {
            EXPECT_EQ(run.exitStatus, 1) << run.errors;
            EXPECT_FALSE(fs::exists(volume_ / "Windows/System32/evil.exe"));
        }
    }
}

TEST_F(HibernatedVolumeRunTest, EveryChangingActionIsRefused) {
    write("hiberfil.sys", "HIBR");
    const auto before = snapshotOf(volume_);
    for (const char* action : {"remove", "rename"}) {
        SCOPED_TRACE(action);
        const testing::ScanRun run = scan(std::string("--action ") + action + " " + volume_.string());
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(snapshotOf(volume_), before);
    }
}

TEST_F(HibernatedVolumeRunTest, LeaveStillScansAndReports) {
    write("hiberfil.sys", "HIBR");
    const auto before = snapshotOf(volume_);
    const testing::ScanRun run = scan("--action leave " + volume_.string());
    EXPECT_EQ(run.exitStatus, 1) << run.errors;
    EXPECT_THAT(run.lines, ::testing::Contains(HasSubstr("C:\\Windows\\System32\\evil.exe")));
    EXPECT_EQ(snapshotOf(volume_), before);
}

// A hiberfil.sys that cannot be read might hold an image: nothing changes.
TEST_F(HibernatedVolumeRunTest, AHibernationFileThatCannotBeReadRefusesChanges) {
    fs::create_directories(volume_ / "hiberfil.sys");
    const auto before = snapshotOf(volume_);
    const testing::ScanRun run = scan("--action remove " + volume_.string());
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_THAT(run.errors, HasSubstr("cannot be read"));
    EXPECT_EQ(snapshotOf(volume_), before);
}

}  // namespace
}  // namespace brisko
