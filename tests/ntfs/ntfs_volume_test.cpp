#include "tests/ntfs/ntfs_volume_test.h"

#include <gmock/gmock.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace brisko::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

// ntfs-3g's window on the DOS attributes, as a big-endian 32-bit number.
constexpr const char* kAttributesName = "system.ntfs_attrib_be";
// Its window on a reparse point, the data as Windows stores it.
constexpr const char* kReparseDataName = "system.ntfs_reparse_data";
constexpr const char* kBackupSuffix = ".brisko-backup";

// The number a statistics line ("Total files infected\t\t:  2") gives, or
// -1 when the run printed no such line.
long statisticOf(const ScanRun& run, const std::string& label) {
    const std::string start = label + "\t\t:  ";
    for (const std::string& line : run.lines) {
        if (line.rfind(start, 0) == 0) return std::strtol(line.c_str() + start.size(), nullptr, 10);
    }
    return -1;
}

}  // namespace

void NtfsVolumeTest::SetUp() {
    if (const std::optional<std::string> why = NtfsImage::whyUnavailable()) GTEST_SKIP() << *why;
    image_.emplace(root_ / "volume.ntfs", volume_);
    if (const std::optional<std::string> refused = image_->mount(mountOptions())) {
        GTEST_SKIP() << "ntfs-3g did not mount an image here: " << *refused;
    }
}

void NtfsVolumeTest::remount(const std::string& options) {
    image_->unmount();
    const std::optional<std::string> refused = image_->mount(options);
    ASSERT_FALSE(refused) << *refused;
}

void NtfsVolumeTest::setDosAttributes(const std::string& relative, std::uint32_t attributes) {
    const unsigned char bigEndian[4] = {
        static_cast<unsigned char>(attributes >> 24), static_cast<unsigned char>(attributes >> 16),
        static_cast<unsigned char>(attributes >> 8), static_cast<unsigned char>(attributes)};
    const fs::path file = volume_ / relative;
    ASSERT_EQ(::lsetxattr(file.c_str(), kAttributesName, bigEndian, sizeof bigEndian, 0), 0)
        << file << ": " << std::strerror(errno);
}

std::uint32_t NtfsVolumeTest::dosAttributesOf(const std::string& relative) {
    unsigned char bigEndian[4] = {};
    const fs::path file = volume_ / relative;
    if (::lgetxattr(file.c_str(), kAttributesName, bigEndian, sizeof bigEndian) != sizeof bigEndian) {
        ADD_FAILURE() << file << ": no DOS attributes: " << std::strerror(errno);
        return 0;
    }
    return static_cast<std::uint32_t>(bigEndian[0]) << 24 | static_cast<std::uint32_t>(bigEndian[1]) << 16 |
           static_cast<std::uint32_t>(bigEndian[2]) << 8 | bigEndian[3];
}

void NtfsVolumeTest::makeReparsePoint(const std::string& relative, const std::vector<std::uint8_t>& data) {
    const fs::path folder = volume_ / relative;
    fs::create_directories(folder);
    ASSERT_EQ(::lsetxattr(folder.c_str(), kReparseDataName, data.data(), data.size(), 0), 0)
        << folder << ": " << std::strerror(errno);
}

LeaveAndRemoveRuns NtfsVolumeTest::checkRemoval(const ExpectedChanges& expected) {
    const long removed = static_cast<long>(expected.removed.size());
    const long infected = removed + static_cast<long>(expected.notRemoved.size());
    const FolderSnapshot before = snapshotOf(volume_);
    LeaveAndRemoveRuns runs;

    runs.leave = scan("--action leave " + volume_.string());
    EXPECT_EQ(runs.leave.exitStatus, 1) << runs.leave.errors;
    EXPECT_EQ(statisticOf(runs.leave, "Total files infected"), infected);
    EXPECT_THAT(differencesBetween(before, snapshotOf(volume_)), IsEmpty()) << "--action leave changed the volume";

    runs.remove = scan("--action remove " + volume_.string());
    // 1: every infected file found was treated as asked; 3: not every one.
    EXPECT_EQ(runs.remove.exitStatus, expected.notRemoved.empty() ? 1 : 3) << runs.remove.errors;
    EXPECT_EQ(statisticOf(runs.remove, "Total files infected"), infected);
    EXPECT_EQ(statisticOf(runs.remove, "Total files removed"), removed);

    image_->unmount();
    const ProgramRun check = image_->check();
    EXPECT_EQ(check.exitStatus, 0) << check.output;
    EXPECT_THAT(check.output, HasSubstr("processed successfully"));
    EXPECT_THAT(check.output, Not(HasSubstr("FAILED")));

    // Read-only, so that nothing the comparison does can change the image.
    const std::optional<std::string> refused = image_->mount("ro");
    if (refused) {
        ADD_FAILURE() << "the image did not mount again: " << *refused;
        return runs;
    }
    expectOnlyTheseChanges(before, expected);
    return runs;
}

void NtfsVolumeTest::expectOnlyTheseChanges(const FolderSnapshot& before, const ExpectedChanges& expected) {
    const FolderSnapshot after = snapshotOf(volume_);
    FolderSnapshot wanted = before;
    for (const std::string& file : expected.removed) {
        EXPECT_EQ(wanted.erase(file), 1u) << file << " was not on the volume to begin with";
    }
    for (const ExpectedChanges::Copy& copy : expected.copies) {
        const auto old = before.find(copy.of);
        if (old == before.end()) {
            ADD_FAILURE() << copy.of << " was not on the volume to begin with";
            continue;
        }
        wanted[copy.as] = old->second;
    }
    for (const std::string& hive : expected.rewrittenHives) {
        const auto old = before.find(hive);
        const auto now = after.find(hive);
        if (old == before.end() || now == after.end()) {
            ADD_FAILURE() << hive << " is missing before or after the removal";
            continue;
        }
        EXPECT_NE(now->second, old->second) << hive << " was not written";
        wanted[hive] = now->second;
        wanted[hive + kBackupSuffix] = old->second;
    }
    EXPECT_THAT(differencesBetween(wanted, after), IsEmpty());
}

std::string windowsPathOf(const std::string& relative) {
    std::string path = "C:\\" + relative;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::size_t removalsReported(const ScanRun& run, const std::string& relative) {
    const std::string windowsPath = windowsPathOf(relative);
    std::size_t count = 0;
    for (const std::string& line : run.lines) {
        if (line.rfind(windowsPath + "     ", 0) == 0 && line.size() >= 8 &&
            line.compare(line.size() - 8, 8, " removed") == 0) {
            ++count;
        }
    }
    return count;
}

}  // namespace brisko::testing
