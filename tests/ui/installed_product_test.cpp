// Whether the maker's product is installed, read from the simulated
// machine's registry.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/fake/fake_machine.h"
#include "ui/installed_product.h"

namespace brisko {
namespace {

const std::string kProductKey = "Software\\Quenlor\\Kavrel 2000";
const std::string kFolderValue = "Installed Folder";

// A string value whose data, terminator included, is `bytes` long.
std::string folderOfDataLength(std::size_t bytes) { return "C:\\" + std::string(bytes - 4, 'K'); }

TEST(InstalledProductTest, PresentOnlyWhenTheFolderValueReadsInto300Bytes) {
    struct Case {
        const char* name;
        std::function<void(fake::FakeRegistry&)> arrange;
        bool present;
    };
    const Case cases[] = {
        {"no key", [](fake::FakeRegistry&) {}, false},
        {"key without the value", [](fake::FakeRegistry& r) { r.addKey(kProductKey); }, false},
        {"value under another name",
         [](fake::FakeRegistry& r) { r.setString(kProductKey, "Installed Path", "C:\\KAVREL"); }, false},
        {"folder", [](fake::FakeRegistry& r) { r.setString(kProductKey, kFolderValue, "C:\\KAVREL"); }, true},
        {"empty value of another type",
         [](fake::FakeRegistry& r) { r.setValue(kProductKey, kFolderValue, kRegistryBinary, {}); }, true},
        {"300 bytes",
         [](fake::FakeRegistry& r) { r.setString(kProductKey, kFolderValue, folderOfDataLength(300)); }, true},
        {"301 bytes",
         [](fake::FakeRegistry& r) { r.setString(kProductKey, kFolderValue, folderOfDataLength(301)); }, false},
        {"key refused",
         [](fake::FakeRegistry& r) {
             r.setString(kProductKey, kFolderValue, "C:\\KAVREL");
             r.denyAccess(kProductKey);
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake::FakeMachine machine;
        c.arrange(machine.fakeRegistry());
        EXPECT_EQ(installedProductPresent(), c.present);
        EXPECT_EQ(machine.fakeRegistry().openKeys(), 0);
    }
}

TEST(InstalledProductTest, AsksTheSizeThenReadsTheValue) {
    fake::FakeMachine machine;
    machine.fakeRegistry().setString(kProductKey, kFolderValue, "C:\\KAVREL");
    machine.faults().recordCalls();
    EXPECT_TRUE(installedProductPresent());
    EXPECT_EQ(machine.faults().recordedCalls(),
              (std::vector<fake::SeamCall>{fake::SeamCall::kOpenMachineKey, fake::SeamCall::kQueryValue,
                                           fake::SeamCall::kQueryValue}));
}

TEST(InstalledProductTest, AbsentWhenEitherQueryOfTheValueFails) {
    // The calls: open the key, ask the value's size, read it.
    for (std::uint64_t failing : {2u, 3u}) {
        SCOPED_TRACE("call " + std::to_string(failing) + " fails");
        fake::FakeMachine machine;
        machine.fakeRegistry().setString(kProductKey, kFolderValue, "C:\\KAVREL");
        machine.faults().failCallNumber(failing);
        EXPECT_FALSE(installedProductPresent());
        EXPECT_EQ(machine.fakeRegistry().openKeys(), 0);
    }
}

// A 32-bit installer on 64-bit Windows writes to the 32-bit view.
TEST(InstalledProductTest, EitherViewOfSixtyFourBitWindowsCounts) {
    struct Case {
        const char* what;
        fake::FakeBitness bitness;
        const char* key;
        bool present;
    };
    const Case cases[] = {
        {"64-bit program, 32-bit view", fake::FakeBitness::k64BitProgram,
         "Software\\Wow6432Node\\Quenlor\\Kavrel 2000", true},
        {"64-bit program, 64-bit view", fake::FakeBitness::k64BitProgram, "Software\\Quenlor\\Kavrel 2000", true},
        {"WoW64, 64-bit view", fake::FakeBitness::k32BitProgramOnWow64, "Software\\Quenlor\\Kavrel 2000", true},
        {"32-bit Windows, a key named like the 32-bit view", fake::FakeBitness::k32BitWindows,
         "Software\\Wow6432Node\\Quenlor\\Kavrel 2000", false},
        {"64-bit program, elsewhere", fake::FakeBitness::k64BitProgram, "Software\\Quenlor\\Other", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake::FakeMachine machine;
        machine.fakeRegistry().setBitness(c.bitness);
        machine.fakeRegistry().setString(c.key, "Installed Folder", "C:\\Kavrel");
        EXPECT_EQ(installedProductPresent(), c.present);
    }
}

}  // namespace
}  // namespace brisko
