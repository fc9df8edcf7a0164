// brisko-scan on NTFS volumes with links: junctions and symbolic links as
// Windows makes them (reparse points, which ntfs-3g shows as symbolic
// links) and ntfs-3g's own symbolic links. The scan walks every folder
// once, never leaves the volume through a link, and never removes, backs up
// or writes anything through one.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "matcher/threat_signature.h"
#include "tests/hive/hive_builder.h"
#include "tests/hive/hive_contents.h"
#include "tests/ntfs/ntfs_volume_test.h"
#include "tests/ntfs/reparse_data.h"
#include "tests/support/hosts_texts.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::HiveBuilder;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr const char* kRunKey = "Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kUserRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kSoftware = "Windows/System32/config/SOFTWARE";
constexpr const char* kUserHive = "Users/alice/NTUSER.DAT";
constexpr const char* kSample = "Users/alice/AppData/Roaming/netsvc32.exe";
// ntfs-3g's place for the folders other drive letters stand for.
constexpr const char* kDriveD = ".NTFS-3G/D:";

enum class LinkKind {
    kJunction,          // mklink /J
    kSymbolicLink,      // mklink /D, an absolute target
    kNtfs3gLink,        // ln -s on the mount, a target relative to the link
    kNtfs3gLinkOutside  // ln -s on the mount, to a folder beside the image
};

struct LinkCase {
    const char* name;
    LinkKind kind;
    const char* link;
    // A Windows path for the reparse points, a link's text for ntfs-3g's
    // own, a folder below the one beside the image for the last kind.
    const char* target;
};

const LinkCase kLinkCases[] = {
    {"JunctionOfTheOlderProfileFolder", LinkKind::kJunction, "Documents and Settings", "C:\\Users"},
    {"SymbolicLinkToAProfile", LinkKind::kSymbolicLink, "ProgramData/Alice", "C:\\Users\\alice"},
    // A walk that followed it would go round in a loop.
    {"Ntfs3gLinkToItsOwnFolder", LinkKind::kNtfs3gLink, "Users/alice/AppData/Roaming/Again", "."},
    {"Ntfs3gLinkOutOfTheVolume", LinkKind::kNtfs3gLinkOutside, "Outside", ""},
    // Through the folder ntfs-3g maps drive D: to, itself a link out.
    {"JunctionToAProfileOnAnotherDrive", LinkKind::kJunction, "Users/bob", "D:\\bob"},
    {"HostsFolderLinkedOutOfTheVolume", LinkKind::kNtfs3gLinkOutside, "Windows/System32/drivers/etc", "etc"},
};

void PrintTo(const LinkCase& link, std::ostream* out) { *out << link.name; }

class NtfsLinksTest : public testing::NtfsVolumeTest, public ::testing::WithParamInterface<LinkCase> {
protected:
    // A folder beside the image, reached from the volume only through a
    // link: an infected program, an infected hosts file and a profile whose
    // hive starts the program.
    void writeOutside() {
        fs::create_directories(outside_ / "etc");
        fs::create_directories(outside_ / "bob");
        writeFile(outside_ / "netsvc32.exe", buildSample(signatureTable[0]));
        writeFile(outside_ / "bob/netsvc32.exe", buildSample(signatureTable[0]));
        const std::string hosts = testing::infectedHostsText();
        writeFile(outside_ / "etc/hosts", std::vector<std::uint8_t>(hosts.begin(), hosts.end()));
        HiveBuilder(outside_ / "bob/NTUSER.DAT")
            .setString(kUserRunKey, "Helper", "C:\\Users\\bob\\netsvc32.exe")
            .commit();
    }

    static void writeFile(const fs::path& file, const std::vector<std::uint8_t>& bytes) {
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    // An installation whose one infected program sits in a profile.
    void writeInstallation() {
        write(kSample, buildSample(signatureTable[0]));
        fs::create_directories((volume_ / kSoftware).parent_path());
        HiveBuilder(volume_ / kSoftware)
            .setString(kRunKey, "Updater", "C:\\Users\\alice\\AppData\\Roaming\\netsvc32.exe")
            .setString(kRunKey, "Outside", "C:\\Outside\\netsvc32.exe")
            .commit();
        HiveBuilder(volume_ / kUserHive).setString(kUserRunKey, "Helper", testing::windowsPathOf(kSample)).commit();
        fs::create_directories((volume_ / kDriveD).parent_path());
        fs::create_symlink(outside_, volume_ / kDriveD);
    }

    void makeLink(const LinkCase& link) {
        fs::create_directories((volume_ / link.link).parent_path());
        switch (link.kind) {
            case LinkKind::kJunction:
                makeReparsePoint(link.link, testing::junctionTo(link.target));
                break;
            case LinkKind::kSymbolicLink:
                makeReparsePoint(link.link, testing::symbolicLinkTo(link.target));
                break;
            case LinkKind::kNtfs3gLink:
                fs::create_symlink(link.target, volume_ / link.link);
                break;
            case LinkKind::kNtfs3gLinkOutside:
                fs::create_symlink(outside_ / link.target, volume_ / link.link);
                break;
        }
    }

    fs::path outside_ = root_ / "outside";
};

TEST_P(NtfsLinksTest, TheScanWalksEachFolderOnceAndNeverThroughALink) {
    const LinkCase& link = GetParam();
    writeOutside();
    writeInstallation();
    makeLink(link);
    ASSERT_NO_FATAL_FAILURE(remount(""));
    // Made as Windows makes it, it must show as a link, or the case tests
    // nothing.
    ASSERT_TRUE(fs::is_symlink(volume_ / link.link)) << link.link << " is not a link on the mount";
    const testing::FolderSnapshot outsideBefore = testing::snapshotOf(outside_);

    const testing::LeaveAndRemoveRuns runs = checkRemoval({{kSample}, {kSoftware, kUserHive}, {}});
    EXPECT_EQ(testing::removalsReported(runs.remove, kSample), 1u);
    std::size_t userHiveLines = 0;
    for (const std::string& line : runs.remove.lines) {
        EXPECT_THAT(line, Not(HasSubstr(testing::windowsPathOf(link.link)))) << "a path through the link";
        EXPECT_THAT(line, Not(HasSubstr("bob")));
        if (line.find("[Users\\alice\\NTUSER.DAT]") != std::string::npos) ++userHiveLines;
    }
    EXPECT_EQ(userHiveLines, 1u);
    // The value naming a program beyond a link names nothing the scan found.
    const testing::HiveContents software = testing::readHiveContents(volume_ / kSoftware);
    ASSERT_EQ(software.count(kRunKey), 1u);
    EXPECT_EQ(software.at(kRunKey).count("Updater"), 0u);
    EXPECT_EQ(software.at(kRunKey).count("Outside"), 1u);
    EXPECT_THAT(testing::differencesBetween(outsideBefore, testing::snapshotOf(outside_)), IsEmpty());
    // The link itself is as it was: checkRemoval compares it with its target.
    EXPECT_TRUE(fs::is_symlink(volume_ / link.link));
}

INSTANTIATE_TEST_SUITE_P(Cases, NtfsLinksTest, ::testing::ValuesIn(kLinkCases),
                         [](const ::testing::TestParamInfo<LinkCase>& info) { return info.param.name; });

}  // namespace
}  // namespace brisko
