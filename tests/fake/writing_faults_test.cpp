// The simulated machine's faults and records for writing, copying, short
// names and deletion at the next start.
#include <gtest/gtest.h>

#include <string>

#include "platform/windows_path.h"
#include "tests/fake/machine_test_fixture.h"

namespace brisko::fake {
namespace {

class WritingFaultsTest : public MachineTest {
protected:
    int writeAll(const std::string& path, const std::string& text) {
        const WriteMode mode = machine.fileExists(path) ? WriteMode::kTruncateExisting : WriteMode::kCreateNew;
        const int descriptor = files.openForWriting(path.c_str(), mode);
        if (descriptor < 0) return -1;
        const int written = files.write(descriptor, text.data(), static_cast<unsigned>(text.size()));
        files.close(descriptor);
        return written;
    }
};

TEST_F(WritingFaultsTest, AWriteLimitCutsWritesShortAcrossCallsOfOneDescriptor) {
    files.failWritingAfter("d:\\WININIT.INI", 5);
    const int descriptor = files.openForWriting("D:\\wininit.ini", WriteMode::kCreateNew);
    ASSERT_GE(descriptor, 0);
    EXPECT_EQ(files.write(descriptor, "[ren", 4), 4);
    EXPECT_EQ(files.write(descriptor, "ame]", 4), 1);
    EXPECT_EQ(files.write(descriptor, "\r\n", 2), 0);
    files.close(descriptor);
    EXPECT_EQ(machine.readFile("D:\\wininit.ini"), "[rena");
    // Each descriptor starts afresh; other files are not limited.
    EXPECT_EQ(writeAll("D:\\wininit.ini", "abcdefgh"), 5);
    EXPECT_EQ(writeAll("D:\\other.ini", "abcdefgh"), 8);
}

TEST_F(WritingFaultsTest, CopyingAndShortPathsFailOnlyForTheirFile) {
    machine.writeFile("D:\\a.ini", "a");
    machine.writeFile("D:\\b.ini", "b");
    files.failCopying("D:\\A.INI");
    files.failShortPath("d:\\b.ini");
    EXPECT_FALSE(files.copyFile("D:\\a.ini", "D:\\c.ini"));
    EXPECT_TRUE(files.copyFile("D:\\b.ini", "D:\\c.ini"));
    char shortPath[260];
    EXPECT_EQ(files.shortPathName("D:\\b.ini", shortPath, sizeof shortPath), 0u);
    EXPECT_EQ(files.shortPathName("D:\\a.ini", shortPath, sizeof shortPath), 8u);
}

TEST_F(WritingFaultsTest, DeletionsAtRestartAreRecordedInOrderUnlessRefused) {
    files.refuseDeletingAtRestart("D:\\kept.exe");
    EXPECT_TRUE(files.deleteAtRestart("D:\\first.exe"));
    EXPECT_FALSE(files.deleteAtRestart("d:\\KEPT.EXE"));
    EXPECT_TRUE(files.deleteAtRestart("D:\\second.exe"));
    EXPECT_EQ(files.deletionsAtRestart(), (std::vector<std::string>{"D:\\first.exe", "D:\\second.exe"}));
}

TEST_F(WritingFaultsTest, ShortNamesFollowTheEightDotThreeRule) {
    struct Case {
        const char* name;
        const char* shortName;
    };
    const Case cases[] = {
        {"README.TXT", "README.TXT"},
        {"readme.txt", "readme.txt"},
        {"Program Files", "PROGRA~1"},
        {"a long file name.executable", "ALONGF~1.EXE"},
        {"two.dots.exe", "TWODOT~1.EXE"},
        {"12345678.123", "12345678.123"},
        {"123456789.1", "123456~1.1"},
        {"a+b.exe", "AB~1.EXE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(shortNameOf(c.name), c.shortName);
    }
}

TEST_F(WritingFaultsTest, FilesAreFoundUnderTheirShortNames) {
    machine.writeFile("D:\\Program Files\\a long file name.executable", "content");
    EXPECT_EQ(machine.readFile("D:\\PROGRA~1\\ALONGF~1.EXE"), "content");
    EXPECT_EQ(machine.readFile("d:\\progra~1\\alongf~1.exe"), "content");
}

TEST(FakeSystemServicesEnvironment, ExpandsVariablesSetForTheMachine) {
    FakeMachine machine;
    machine.fakeSystem().setEnvironmentVariable("AppData", "C:\\Users\\x\\AppData");
    char expanded[64];
    const std::string expected = "C:\\Users\\x\\AppData\\a.exe %%";
    EXPECT_EQ(systemServices().expandEnvironmentStrings("%APPDATA%\\a.exe %%", expanded, sizeof expanded),
              expected.size() + 1);
    EXPECT_EQ(expanded, expected);
    machine.fakeSystem().setWindowsDirectory("E:\\WINNT");
    char folder[16];
    EXPECT_EQ(systemServices().windowsDirectory(folder, sizeof folder), 8u);
    EXPECT_STREQ(folder, "E:\\WINNT");
}

}  // namespace
}  // namespace brisko::fake
