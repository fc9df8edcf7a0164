// The volume's read-only attribute on ntfs-3g mounts, through the file
// system brisko-scan uses. ntfs-3g takes a change of mode without a word
// and keeps the old one unless mounted with -o permissions; an fmask
// without the owner's write bit shows every file read-only. Whatever the
// mount, setting attributes succeeds only when the volume then shows them.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "platform/volume/volume_platform.h"
#include "tests/ntfs/ntfs_volume_test.h"

namespace brisko {
namespace {

constexpr const char* kFile = "C:\\Windows\\netsvc32.exe";
constexpr const char* kRelativeFile = "Windows/netsvc32.exe";
constexpr std::uint32_t kDosReadOnly = 0x01;

struct AttributesCase {
    const char* name;
    const char* mountOptions;
    // Whether the mount shows the file read-only to begin with.
    bool shownReadOnly;
    // Whether a change of the write bits takes on this mount.
    bool modeChanges;
};

const AttributesCase kAttributesCases[] = {
    {"DefaultMount", "", false, false},
    {"WriteBitsMasked", "fmask=0222", true, false},
    {"Permissions", "permissions", false, true},
};

void PrintTo(const AttributesCase& attributes, std::ostream* out) { *out << attributes.name; }

class NtfsAttributesTest : public testing::NtfsVolumeTest, public ::testing::WithParamInterface<AttributesCase> {
protected:
    std::string mountOptions() const override { return GetParam().mountOptions; }

    // Whether the volume lists the file read-only.
    bool listedReadOnly(FileSystem& files) {
        std::unique_ptr<DirectoryListing> listing = files.listDirectory(kFile);
        DirectoryEntry entry{};
        if (!listing || !listing->next(entry)) {
            ADD_FAILURE() << kFile << " is not listed";
            return false;
        }
        return (entry.attributes & kAttributeReadOnly) != 0;
    }
};

TEST_P(NtfsAttributesTest, SettingAttributesSucceedsOnlyWhenTheVolumeShowsThem) {
    const AttributesCase& mount = GetParam();
    write(kRelativeFile, std::string("a program"));
    const std::unique_ptr<volume::VolumePlatform> platform =
        volume::VolumePlatform::open(volume_.c_str(), [](const std::string& line) { ADD_FAILURE() << line; });
    ASSERT_TRUE(platform);
    FileSystem& files = platform->files();
    ASSERT_EQ(listedReadOnly(files), mount.shownReadOnly);

    const auto attributes = [](bool readOnly) { return readOnly ? kAttributeReadOnly : kAttributeArchive; };
    const bool set = files.setAttributes(kFile, attributes(!mount.shownReadOnly));
    EXPECT_EQ(set, mount.modeChanges);
    EXPECT_EQ(listedReadOnly(files), set != mount.shownReadOnly);
    if (!set) return;
    // Where the mode takes, the DOS attribute follows it, and back again.
    EXPECT_EQ(dosAttributesOf(kRelativeFile) & kDosReadOnly, mount.shownReadOnly ? 0u : kDosReadOnly);
    EXPECT_TRUE(files.setAttributes(kFile, attributes(mount.shownReadOnly)));
    EXPECT_EQ(listedReadOnly(files), mount.shownReadOnly);
    EXPECT_EQ(dosAttributesOf(kRelativeFile) & kDosReadOnly, mount.shownReadOnly ? kDosReadOnly : 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, NtfsAttributesTest, ::testing::ValuesIn(kAttributesCases),
                         [](const ::testing::TestParamInfo<AttributesCase>& info) { return info.param.name; });

}  // namespace
}  // namespace brisko
