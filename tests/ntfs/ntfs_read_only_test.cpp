// brisko-scan on NTFS files that are read-only, as the family leaves its
// programs. Windows' own removal clears the attribute first; on ntfs-3g
// the scan must remove the program as well, and say it did only when it is
// gone, whichever way the mount shows the attribute:
// - by default ntfs-3g shows every file writable and lets any file be
//   removed, the DOS read-only attribute kept on the volume but not shown;
// - with -o permissions it shows the file's security descriptor; a file
//   without write bits is read-only, and chmod sets and clears the DOS
//   attribute with the bits.
// The hosts file is removed without its attributes being touched, as on
// Windows: one that the mount shows read-only stays, and the run says so.
// Read-only files the scan does not remove keep their attributes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

#include "matcher/threat_signature.h"
#include "tests/hive/hive_builder.h"
#include "tests/ntfs/ntfs_volume_test.h"
#include "tests/support/hosts_texts.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using testing::HiveBuilder;

constexpr const char* kRunKey = "Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kSoftware = "Windows/System32/config/SOFTWARE";
constexpr const char* kSample = "Windows/System32/netsvc32.exe";
constexpr const char* kHosts = "Windows/System32/drivers/etc/hosts";
// A file the scan must leave as it is, attributes and all.
constexpr const char* kCleanFile = "Windows/System32/kernel32.dll";

constexpr std::uint32_t kReadOnly = 0x01;
constexpr std::uint32_t kHidden = 0x02;
constexpr std::uint32_t kSystem = 0x04;
constexpr std::uint32_t kArchive = 0x20;

enum class ReadOnlyBy {
    kDosAttributes,  // attrib +r, as Windows and the family set it
    kNoWriteBits     // chmod a-w, on a mount that shows permissions
};

struct ReadOnlyCase {
    const char* name;
    const char* mountOptions;
    ReadOnlyBy by;
    std::uint32_t attributes;  // with kDosAttributes
    bool programRemoved;
    bool hostsRemoved;
};

const ReadOnlyCase kReadOnlyCases[] = {
    {"ReadOnlyAttribute", "", ReadOnlyBy::kDosAttributes, kReadOnly | kArchive, true, true},
    {"ReadOnlyHiddenSystem", "", ReadOnlyBy::kDosAttributes, kReadOnly | kHidden | kSystem | kArchive, true, true},
    // The attribute alone does not take the write bits away.
    {"ReadOnlyAttributeUnderPermissions", "permissions", ReadOnlyBy::kDosAttributes, kReadOnly | kArchive, true, true},
    {"NoWriteBitsUnderPermissions", "permissions", ReadOnlyBy::kNoWriteBits, 0, true, false},
    // Every file shown read-only, and no change of mode takes: nothing can
    // be made writable, so nothing is removed, and the run says so.
    {"WriteBitsMaskedByTheMount", "fmask=0222", ReadOnlyBy::kDosAttributes, kReadOnly | kArchive, false, false},
};

void PrintTo(const ReadOnlyCase& readOnly, std::ostream* out) { *out << readOnly.name; }

class NtfsReadOnlyTest : public testing::NtfsVolumeTest, public ::testing::WithParamInterface<ReadOnlyCase> {
protected:
    std::string mountOptions() const override { return GetParam().mountOptions; }

    void makeReadOnly(const std::string& relative) {
        if (GetParam().by == ReadOnlyBy::kDosAttributes) {
            setDosAttributes(relative, GetParam().attributes);
        } else {
            fs::permissions(volume_ / relative,
                            fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
        }
    }
};

TEST_P(NtfsReadOnlyTest, ReadOnlyInfectedFilesAreRemovedOrReportedAndOthersKeepTheirAttributes) {
    write(kSample, buildSample(signatureTable[0]));
    write(kHosts, testing::infectedHostsText());
    write(kCleanFile, std::string("a program the scan leaves alone"));
    fs::create_directories((volume_ / kSoftware).parent_path());
    HiveBuilder(volume_ / kSoftware).setString(kRunKey, "Updater", testing::windowsPathOf(kSample)).commit();
    for (const char* file : {kSample, kHosts, kCleanFile}) makeReadOnly(file);
    const std::uint32_t cleanAttributes = dosAttributesOf(kCleanFile);
    ASSERT_NE(cleanAttributes & kReadOnly, 0u) << "the volume did not take the read-only attribute";

    const ReadOnlyCase& readOnly = GetParam();
    testing::ExpectedChanges expected{{}, {kSoftware}, {{kHosts, std::string(kHosts) + ".brisko-backup"}}, {}};
    (readOnly.programRemoved ? expected.removed : expected.notRemoved).push_back(kSample);
    (readOnly.hostsRemoved ? expected.removed : expected.notRemoved).push_back(kHosts);
    const testing::LeaveAndRemoveRuns runs = checkRemoval(expected);
    EXPECT_EQ(testing::removalsReported(runs.remove, kSample), readOnly.programRemoved ? 1u : 0u);
    EXPECT_EQ(testing::removalsReported(runs.remove, kHosts), readOnly.hostsRemoved ? 1u : 0u);
    if (!readOnly.programRemoved) {
        EXPECT_THAT(runs.remove.lines,
                    Contains(testing::windowsPathOf(kSample) + "     W32/Krenot.Ek.PSW.Trojan Unable to remove"));
    }
    if (!readOnly.hostsRemoved) {
        EXPECT_THAT(runs.remove.lines, Contains(testing::windowsPathOf(kHosts) + "     W32/Pelto.Worm Remove failed"));
    }
    EXPECT_EQ(dosAttributesOf(kCleanFile), cleanAttributes);
}

INSTANTIATE_TEST_SUITE_P(Cases, NtfsReadOnlyTest, ::testing::ValuesIn(kReadOnlyCases),
                         [](const ::testing::TestParamInfo<ReadOnlyCase>& info) { return info.param.name; });

}  // namespace
}  // namespace brisko
