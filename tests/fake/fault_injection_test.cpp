// Faults injected into the simulated machine: each makes one operation fail
// on one file, whatever spelling of its path the program uses, and leaves
// every other file and every other operation alone.
#include <string>

#include "platform/fake/fake_machine.h"
#include <gtest/gtest.h>

namespace brisko::fake {
namespace {

const std::string kVictim = "D:\\Dir\\victim.exe";
const std::string kNeighbour = "D:\\Dir\\neighbour.exe";

struct Operation {
    const char* name;
    bool (*attempt)(FakeFileSystem&, const std::string& path);
};

const Operation kOpen{"open", [](FakeFileSystem& files, const std::string& path) {
                          const int descriptor = files.openForReading(path.c_str());
                          if (descriptor >= 0) files.close(descriptor);
                          return descriptor >= 0;
                      }};
const Operation kSetAttributes{"set attributes", [](FakeFileSystem& files, const std::string& path) {
                                   return files.setAttributes(path.c_str(), kAttributeHidden);
                               }};
const Operation kRename{"rename", [](FakeFileSystem& files, const std::string& path) {
                            return files.moveFile(path.c_str(), (path + ".vir").c_str());
                        }};
const Operation kRemove{"remove", [](FakeFileSystem& files, const std::string& path) {
                            return files.removeFile(path.c_str());
                        }};

struct Fault {
    const char* name;
    void (FakeFileSystem::*inject)(const std::string&);
    const Operation* blocked;
};

const Fault kFaults[] = {
    {"failOpening", &FakeFileSystem::failOpening, &kOpen},
    {"failSettingAttributes", &FakeFileSystem::failSettingAttributes, &kSetAttributes},
    {"failRenaming", &FakeFileSystem::failRenaming, &kRename},
};

// The path a fault is registered with, and the spelling the program uses.
struct Spelling {
    const char* injectedAs;
    const char* usedAs;
};

// Each case needs a machine of its own: a fault cannot be taken back.
TEST(FaultInjection, FailsItsOperationOnItsFileInAnySpellingAndChangesNothing) {
    const Spelling spellings[] = {
        {"D:\\Dir\\victim.exe", "D:\\Dir\\victim.exe"},
        {"D:\\Dir\\victim.exe", "d:\\DIR\\VICTIM.EXE"},
        {"d:/dir/Victim.EXE", "D:\\Dir\\victim.exe"},
        {"D:\\\\Dir\\victim.exe", "D:/Dir/victim.exe"},
    };
    for (const Fault& fault : kFaults) {
        for (const Spelling& spelling : spellings) {
            SCOPED_TRACE(std::string(fault.name) + " at " + spelling.injectedAs + ", used as " +
                         spelling.usedAs);
            FakeMachine machine;
            machine.addDrive('D');
            FakeFileSystem& files = machine.fakeFiles();
            machine.writeFile(kVictim, "victim");
            machine.writeFile(kNeighbour, "neighbour");
            (files.*fault.inject)(spelling.injectedAs);

            EXPECT_FALSE(fault.blocked->attempt(files, spelling.usedAs));
            EXPECT_EQ(machine.readFile(kVictim), "victim");
            EXPECT_FALSE(machine.fileExists(kVictim + ".vir"));
            EXPECT_EQ(files.attributesOf(kVictim), kAttributeArchive);
            EXPECT_TRUE(fault.blocked->attempt(files, kNeighbour));
        }
    }
}

TEST(FaultInjection, LeavesTheOtherOperationsOfItsFileWorking) {
    for (const Fault& fault : kFaults) {
        for (const Operation* other : {&kOpen, &kSetAttributes, &kRename, &kRemove}) {
            if (other == fault.blocked) continue;
            SCOPED_TRACE(std::string(fault.name) + ", then " + other->name);
            FakeMachine machine;
            machine.addDrive('D');
            machine.writeFile(kVictim, "victim");
            (machine.fakeFiles().*fault.inject)(kVictim);

            EXPECT_TRUE(other->attempt(machine.fakeFiles(), kVictim));
        }
    }
}

}  // namespace
}  // namespace brisko::fake
