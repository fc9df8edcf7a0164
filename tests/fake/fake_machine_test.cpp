// The simulated machine's life and its helpers for arranging files: it is
// the current platform while it lives, its drives are host folders, and
// writeFile treats names as Windows does.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/fake/fake_machine.h"
#include "tests/fake/machine_test_fixture.h"

namespace brisko::fake {
namespace {
namespace fs = std::filesystem;

// A folder of the host that outlives any machine; removed by the test.
class HostFolder {
public:
    HostFolder() {
        std::string pattern = (fs::temp_directory_path() / "brisko-host-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a host folder");
        path_ = pattern;
    }
    ~HostFolder() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    HostFolder(const HostFolder&) = delete;
    HostFolder& operator=(const HostFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

TEST(FakeMachineLife, IsTheCurrentPlatformWhileItLives) {
    FakeMachine machine;

    EXPECT_EQ(&currentPlatform(), &machine);
    EXPECT_EQ(&files(), &machine.fakeFiles());
    EXPECT_EQ(&windows(), &machine.fakeWindows());
    EXPECT_EQ(&systemServices(), &machine.fakeSystem());
}

TEST(FakeMachineLifeDeathTest, LeavesNoPlatformInstalledWhenDestroyed) {
    { FakeMachine machine; }

    EXPECT_DEATH(currentPlatform(), "no platform backend installed");
}

TEST(FakeMachineLife, RemovesItsFoldersWhenDestroyed) {
    fs::path drive;
    {
        FakeMachine machine;
        drive = machine.addDrive('D');
        machine.writeFile("D:\\deep\\er\\file.txt", "content");
        ASSERT_TRUE(fs::is_regular_file(drive / "deep" / "er" / "file.txt"));
    }

    EXPECT_FALSE(fs::exists(drive));
    EXPECT_FALSE(fs::exists(drive.parent_path())) << "the machine's root";
}

TEST(FakeMachineLife, DriveAtAHostFolderShowsItsFilesAndOutlivesTheMachine) {
    HostFolder host;
    {
        std::ofstream(host.path() / "Before.txt") << "from the host";
        FakeMachine machine;
        machine.addDriveAt('E', host.path());

        EXPECT_EQ(machine.readFile("e:\\BEFORE.TXT"), "from the host");
        machine.writeFile("E:\\Made\\after.txt", "from the machine");
    }

    EXPECT_TRUE(fs::is_regular_file(host.path() / "Before.txt"));
    EXPECT_TRUE(fs::is_regular_file(host.path() / "Made" / "after.txt"));
}

TEST_F(MachineTest, DrivesReportTheTypeTheyWereGiven) {
    machine.addDrive('e', kDriveRemovable);
    machine.addDrive('F', kDriveOptical);
    files.setDriveType('f', kDriveRemote);

    EXPECT_EQ(files.driveType("D:\\"), kDriveFixed);
    EXPECT_EQ(files.driveType("E:\\"), kDriveRemovable);
    EXPECT_EQ(files.driveType("f:\\"), kDriveRemote);
}

TEST_F(MachineTest, WriteFileCreatesTheMissingFolders) {
    machine.writeFile("D:\\a\\b\\c\\file.bin", "xyz");

    EXPECT_TRUE(fs::is_directory(driveD / "a" / "b" / "c"));
    EXPECT_EQ(machine.readFile("D:\\a\\b\\c\\file.bin"), "xyz");
    EXPECT_NE(files.attributesOf("D:\\a\\b") & kAttributeDirectory, 0u);
}

TEST_F(MachineTest, WriteFileReusesFoldersNamedInAnotherCase) {
    machine.writeFile("D:\\Data\\one.txt", "1");
    machine.writeFile("D:\\DATA\\Sub\\two.txt", "2");
    machine.writeFile("d:/data/SUB/three.txt", "3");
    machine.makeDirectory("D:\\dATA\\sub");

    EXPECT_EQ(hostNames(driveD), (std::vector<std::string>{"Data"}));
    EXPECT_EQ(hostNames(driveD / "Data"), (std::vector<std::string>{"Sub", "one.txt"}));
    EXPECT_EQ(hostNames(driveD / "Data" / "Sub"), (std::vector<std::string>{"three.txt", "two.txt"}));
}

TEST_F(MachineTest, WriteFileReplacesAFileNamedInAnotherCase) {
    machine.writeFile("D:\\Note.txt", "the old, longer content");
    machine.writeFile("D:\\NOTE.TXT", "new");

    EXPECT_EQ(hostNames(driveD), (std::vector<std::string>{"Note.txt"}));
    EXPECT_EQ(machine.readFile("d:\\note.txt"), "new");
}

TEST_F(MachineTest, WriteFileRefusesAPathWithoutDriveOrName) {
    for (const char* path : {"Q:\\folder\\file.txt", "Q:\\file.txt", "\\folder\\file.txt",
                             "folder\\file.txt", "D:\\"}) {
        SCOPED_TRACE(path);
        EXPECT_THROW(machine.writeFile(path, "x"), std::invalid_argument);
    }
}

struct LookupCase {
    const char* path;
    bool exists;
    const char* content;
};

TEST_F(MachineTest, FileExistsAndReadFileMatchNamesAsWindowsDoes) {
    machine.writeFile("D:\\Dir\\Report.TXT", "report");
    machine.writeFile("D:\\Dir\\empty.bin", "");

    const LookupCase cases[] = {
        {"D:\\Dir\\Report.TXT", true, "report"},
        {"d:\\dir\\report.txt", true, "report"},
        {"D:/DIR//REPORT.txt", true, "report"},
        {"D:\\Dir\\empty.bin", true, ""},
        {"D:\\Dir\\Report", false, ""},
        {"D:\\Report.TXT", false, ""},
        {"D:\\Dir\\Report.TXT\\inner", false, ""},
        {"E:\\Dir\\Report.TXT", false, ""},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(machine.fileExists(c.path), c.exists);
        EXPECT_EQ(machine.readFile(c.path), c.content);
    }
}

// A folder exists but has no content to read, like a missing file.
TEST_F(MachineTest, ReadFileOfAFolderIsEmpty) {
    machine.makeDirectory("D:\\Dir\\Sub");

    EXPECT_TRUE(machine.fileExists("d:\\dir\\sub"));
    EXPECT_EQ(machine.readFile("d:\\dir\\sub"), "");
    EXPECT_EQ(machine.readFile("D:\\"), "");
}

// Windows resolves "." and ".." before it looks at the disk, and ".." at
// the root of a drive stays there: no path reaches the host around it.
TEST_F(MachineTest, DotAndDotDotNamesNeverLeaveTheDrive) {
    HostFolder host;
    fs::create_directory(host.path() / "drive");
    std::ofstream(host.path() / "outside.txt") << "the host's own";
    machine.addDriveAt('E', host.path() / "drive");

    EXPECT_FALSE(machine.fileExists("E:\\..\\outside.txt"));
    EXPECT_FALSE(files.removeFile("E:\\..\\outside.txt"));
    EXPECT_FALSE(files.moveFile("E:\\sub\\..\\..\\outside.txt", "E:\\moved.txt"));
    EXPECT_TRUE(listNames("E:\\..\\*.*").empty());
    EXPECT_TRUE(fs::is_regular_file(host.path() / "outside.txt"));

    machine.writeFile("E:\\sub\\..\\.\\inside.txt", "in");
    EXPECT_EQ(hostNames(host.path() / "drive"), (std::vector<std::string>{"inside.txt"}));
    EXPECT_EQ(machine.readFile("E:\\..\\inside.txt"), "in");
}

}  // namespace
}  // namespace brisko::fake
