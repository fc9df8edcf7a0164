// Attributes the simulated machine keeps on top of the host's files: their
// defaults, what setAttributes stores, and that they travel with a moved
// file and show in listings.
#include <string>
#include <vector>

#include "tests/fake/machine_test_fixture.h"

namespace brisko::fake {
namespace {

class AttributesTest : public MachineTest {
protected:
    AttributesTest() {
        machine.writeFile("D:\\Dir\\file.exe", "image");
        machine.makeDirectory("D:\\Dir\\Folder");
    }

    static std::uint32_t attributesIn(const std::vector<DirectoryEntry>& entries,
                                      const std::string& name) {
        for (const DirectoryEntry& entry : entries) {
            if (name == entry.name) return entry.attributes;
        }
        ADD_FAILURE() << name << " is not listed";
        return 0;
    }
};

TEST_F(AttributesTest, DefaultsAreArchiveForFilesAndDirectoryForFolders) {
    EXPECT_EQ(files.attributesOf("D:\\Dir\\file.exe"), kAttributeArchive);
    EXPECT_EQ(files.attributesOf("D:\\Dir\\Folder"), kAttributeDirectory);
    EXPECT_EQ(files.attributesOf("D:\\Dir\\absent.exe"), 0u);
}

struct SetCase {
    const char* path;
    std::uint32_t set;
    std::uint32_t expected;
};

TEST_F(AttributesTest, AreWhatWasSetAndFoldersStayFolders) {
    const SetCase cases[] = {
        {"D:\\Dir\\file.exe", kAttributeReadOnly | kAttributeHidden | kAttributeSystem,
         kAttributeReadOnly | kAttributeHidden | kAttributeSystem},
        {"D:\\Dir\\file.exe", 0, 0},
        {"D:\\Dir\\file.exe", kAttributeArchive | kAttributeDirectory, kAttributeArchive},
        {"D:\\Dir\\Folder", kAttributeHidden, kAttributeHidden | kAttributeDirectory},
        {"D:\\Dir\\Folder", 0, kAttributeDirectory},
    };
    for (const SetCase& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " set to " + std::to_string(c.set));
        ASSERT_TRUE(files.setAttributes(c.path, c.set));
        EXPECT_EQ(files.attributesOf(c.path), c.expected);
    }
}

TEST_F(AttributesTest, AreKeptForThePathInAnySpelling) {
    ASSERT_TRUE(files.setAttributes("d:/DIR/FILE.EXE", kAttributeHidden));

    EXPECT_EQ(files.attributesOf("D:\\Dir\\file.exe"), kAttributeHidden);
    EXPECT_EQ(files.attributesOf("D:\\\\dir\\File.Exe"), kAttributeHidden);
}


TEST_F(AttributesTest, FollowAMovedFile) {
    for (const char* to : {"D:\\Dir\\renamed.vir", "D:\\Dir\\Folder\\file.exe", "D:\\Dir\\FILE.EXE"}) {
        SCOPED_TRACE(to);
        machine.writeFile("D:\\Dir\\file.exe", "image");
        ASSERT_TRUE(files.setAttributes("D:\\Dir\\file.exe", kAttributeHidden | kAttributeSystem));

        ASSERT_TRUE(files.moveFile("D:\\Dir\\file.exe", to));

        EXPECT_EQ(files.attributesOf(to), kAttributeHidden | kAttributeSystem);
        ASSERT_TRUE(files.setAttributes(to, kAttributeArchive));
        ASSERT_TRUE(files.removeFile(to));
    }
}

TEST_F(AttributesTest, DoNotPassToANewFileAtTheSamePath) {
    ASSERT_TRUE(files.setAttributes("D:\\Dir\\file.exe", kAttributeHidden));
    ASSERT_TRUE(files.moveFile("D:\\Dir\\file.exe", "D:\\Dir\\file.vir"));
    machine.writeFile("D:\\Dir\\file.exe", "a new file");
    EXPECT_EQ(files.attributesOf("D:\\Dir\\file.exe"), kAttributeArchive);

    ASSERT_TRUE(files.setAttributes("D:\\Dir\\file.vir", kAttributeSystem));
    ASSERT_TRUE(files.removeFile("D:\\Dir\\file.vir"));
    machine.writeFile("D:\\Dir\\file.vir", "another new file");
    EXPECT_EQ(files.attributesOf("D:\\Dir\\file.vir"), kAttributeArchive);
}

TEST_F(AttributesTest, ListingsReportTheStoredAttributes) {
    machine.writeFile("D:\\Dir\\plain.txt", "untouched");
    machine.writeFile("D:\\Top.sys", "at the root");
    ASSERT_TRUE(files.setAttributes("D:\\Dir\\file.exe", kAttributeReadOnly | kAttributeHidden));
    ASSERT_TRUE(files.setAttributes("D:\\Dir\\Folder", kAttributeHidden));
    ASSERT_TRUE(files.setAttributes("D:\\top.SYS", kAttributeSystem));

    for (const char* pattern : {"D:\\Dir\\*.*", "d:/DIR/*", "D:\\\\dir\\\\*.*"}) {
        SCOPED_TRACE(pattern);
        const std::vector<DirectoryEntry> entries = listAll(pattern);
        EXPECT_EQ(attributesIn(entries, "file.exe"), kAttributeReadOnly | kAttributeHidden);
        EXPECT_EQ(attributesIn(entries, "plain.txt"), kAttributeArchive);
        EXPECT_EQ(attributesIn(entries, "Folder"), kAttributeHidden | kAttributeDirectory);
    }
    EXPECT_EQ(attributesIn(listAll("D:\\*.*"), "Top.sys"), kAttributeSystem);
    EXPECT_EQ(attributesIn(listAll("D:\\Dir\\FILE.EXE"), "file.exe"),
              kAttributeReadOnly | kAttributeHidden);
}

}  // namespace
}  // namespace brisko::fake
