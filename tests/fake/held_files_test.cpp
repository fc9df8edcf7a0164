// Programs running on the simulated machine hold files: such a file can be
// neither removed nor moved until every program holding it has ended, and
// ending one program frees only what that program held.
#include <string>

#include "tests/fake/machine_test_fixture.h"

namespace brisko::fake {
namespace {

class HeldFilesTest : public MachineTest {
public:
    bool remove(const std::string& path) { return files.removeFile(path.c_str()); }
    bool move(const std::string& path) { return files.moveFile(path.c_str(), (path + ".vir").c_str()); }
};

struct BlockedCase {
    const char* operation;
    bool (HeldFilesTest::*attempt)(const std::string&);
    const char* heldAs;
};

TEST_F(HeldFilesTest, FileIsBlockedUntilItsProgramEnds) {
    const BlockedCase cases[] = {
        {"remove", &HeldFilesTest::remove, "D:\\run\\a.exe"},
        {"remove", &HeldFilesTest::remove, "d:/RUN/A.EXE"},
        {"move", &HeldFilesTest::move, "D:\\run\\a.exe"},
        {"move", &HeldFilesTest::move, "d:/RUN/A.EXE"},
    };
    const std::string path = "D:\\run\\a.exe";
    for (const BlockedCase& c : cases) {
        SCOPED_TRACE(std::string(c.operation) + " of a file held as " + c.heldAs);
        machine.writeFile(path, "running");
        const int program = machine.runProgramHolding(c.heldAs);

        EXPECT_FALSE((this->*c.attempt)(path));
        EXPECT_EQ(machine.readFile(path), "running");

        machine.endProgram(program);
        EXPECT_TRUE((this->*c.attempt)(path));
        EXPECT_FALSE(machine.fileExists(path));
        files.removeFile((path + ".vir").c_str());
    }
}

TEST_F(HeldFilesTest, FileHeldByTwoProgramsIsBlockedUntilBothEnd) {
    const std::string path = "D:\\shared.dll";
    machine.writeFile(path, "shared");
    const int first = machine.runProgramHolding(path);
    const int second = machine.runProgramHolding("D:\\SHARED.DLL");

    machine.endProgram(first);
    EXPECT_FALSE(remove(path));
    EXPECT_FALSE(move(path));

    machine.endProgram(second);
    EXPECT_TRUE(remove(path));
}

TEST_F(HeldFilesTest, EndingAProgramReleasesOnlyItsOwnFiles) {
    machine.writeFile("D:\\first.exe", "1");
    machine.writeFile("D:\\first.dll", "2");
    machine.writeFile("D:\\second.exe", "3");
    // A program holds its image and a library it loaded.
    const int first = machine.runProgramHolding("D:\\first.exe");
    files.holdFile("D:\\first.dll", first);
    machine.runProgramHolding("D:\\second.exe");

    machine.endProgram(first);

    EXPECT_TRUE(remove("D:\\first.exe"));
    EXPECT_TRUE(move("D:\\first.dll"));
    EXPECT_FALSE(remove("D:\\second.exe"));
    EXPECT_FALSE(move("D:\\second.exe"));
}

}  // namespace
}  // namespace brisko::fake
