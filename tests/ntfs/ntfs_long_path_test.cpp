// brisko-scan on NTFS paths near and beyond the 260 characters of a
// Windows path (MAX_PATH), which NTFS holds and the scan's paths do not: a
// file whose path fits is scanned and removed; one beyond, or in a folder
// beyond, is passed over as the Windows program passes it over, and the
// walk goes on with the rest of the volume.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>

#include "matcher/threat_signature.h"
#include "platform/platform_types.h"
#include "tests/hive/hive_builder.h"
#include "tests/ntfs/ntfs_volume_test.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRunKey = "Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kSoftware = "Windows/System32/config/SOFTWARE";
// Walked after the deep folder, so a walk that stopped there would miss it.
constexpr const char* kLaterSample = "Zeta/netsvc32.exe";
// "C:\", which the volume's relative paths leave out.
constexpr std::size_t kDrivePrefix = 3;
// The longest path a Windows path buffer holds, its terminator aside.
constexpr std::size_t kLongestPath = kPathCapacity - 1;

struct LongPathCase {
    const char* name;
    // The length of the sample's folder and of its whole path, as Windows
    // paths ("C:\Deep\...\x.exe").
    std::size_t folderLength;
    std::size_t pathLength;
    bool scanned;
};

const LongPathCase kLongPathCases[] = {
    // The walk lists a folder as FOLDER\*.*, so a folder of 255 is the
    // deepest it enters.
    {"JustWithinTheLimit", kLongestPath - 4 - 10, kLongestPath, true},
    {"FileBeyondTheLimit", 200, kLongestPath + 2, false},
    {"FolderBeyondTheLimit", kLongestPath + 20, kLongestPath + 40, false},
};

void PrintTo(const LongPathCase& path, std::ostream* out) { *out << path.name; }

// Folders of a hundred characters or fewer below Deep, to make a Windows
// path of exactly this length.
std::string folderOfLength(std::size_t length) {
    std::string folder = "Deep";
    char letter = 'a';
    while (kDrivePrefix + folder.size() < length) {
        const std::size_t left = length - kDrivePrefix - folder.size() - 1;
        folder += "/" + std::string(std::min<std::size_t>(left, 100), letter++);
    }
    return folder;
}

class NtfsLongPathTest : public testing::NtfsVolumeTest, public ::testing::WithParamInterface<LongPathCase> {};

TEST_P(NtfsLongPathTest, APathBeyondTheLimitIsPassedOverAndTheWalkGoesOn) {
    const LongPathCase& path = GetParam();
    const std::string folder = folderOfLength(path.folderLength);
    const std::string name = std::string(path.pathLength - kDrivePrefix - folder.size() - 5, 'x') + ".exe";
    const std::string sample = folder + "/" + name;
    ASSERT_EQ(testing::windowsPathOf(sample).size(), path.pathLength);
    write(sample, buildSample(signatureTable[0]));
    write(kLaterSample, buildSample(signatureTable[1]));
    fs::create_directories((volume_ / kSoftware).parent_path());
    testing::HiveBuilder(volume_ / kSoftware)
        .setString(kRunKey, "Later", testing::windowsPathOf(kLaterSample))
        .commit();

    testing::ExpectedChanges expected{{kLaterSample}, {kSoftware}, {}, {}};
    if (path.scanned) expected.removed.push_back(sample);
    const testing::LeaveAndRemoveRuns runs = checkRemoval(expected);
    EXPECT_EQ(testing::removalsReported(runs.remove, sample), path.scanned ? 1u : 0u);
    EXPECT_EQ(testing::removalsReported(runs.remove, kLaterSample), 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, NtfsLongPathTest, ::testing::ValuesIn(kLongPathCases),
                         [](const ::testing::TestParamInfo<LongPathCase>& info) { return info.param.name; });

}  // namespace
}  // namespace brisko
