// The machine's fault plan: every fallible seam call, when the plan fails
// it, answers as the failing Windows call answers, and works again once
// the fault is spent; the plan counts, records and picks its calls.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/fake/fake_machine.h"

namespace brisko::fake {
namespace {

constexpr const char* kFile = "C:\\Data\\file.txt";
constexpr const char* kKey = "SOFTWARE\\Test";
constexpr std::int32_t kFailedProcessOpen = 5;  // ERROR_ACCESS_DENIED

class FaultPlanTest : public ::testing::Test {
protected:
    FaultPlanTest() {
        machine.addWindowsInstallation();
        machine.writeFile(kFile, "hello world");
        machine.writeFile("C:\\Data\\move.txt", "move");
        machine.writeFile("C:\\Data\\remove.txt", "remove");
        machine.fakeRegistry().setString(kKey, "Value", "data");
        machine.fakeRegistry().setString(kKey, "Doomed", "data");
        machine.fakeRegistry().addKey(std::string(kKey) + "\\Sub");
        machine.fakeRegistry().addKey("SOFTWARE\\Gone");
        machine.fakeProcesses().start("C:\\Apps\\first.exe");
        second = machine.fakeProcesses().start("C:\\Apps\\second.exe");
        machine.fakeServices().add("svc");
    }

    FakeMachine machine;
    std::uint32_t second = 0;
};

long long present(bool there) { return there ? 1 : 0; }

// Opens the test key and makes one call on it.
long long onKey(std::uint32_t access, const std::function<RegistryStatus(RegistryKey&)>& call) {
    std::unique_ptr<RegistryKey> key;
    if (registry().openMachineKey(kKey, access, RegistryView::kDefault, key) != kErrorSuccess) return -100;
    return call(*key);
}

long long onService(const std::function<bool(OpenedService&)>& call) {
    std::unique_ptr<ServiceManager> manager = services().openManager(kServiceManagerAllAccess);
    std::unique_ptr<OpenedService> service = manager ? manager->openService("svc", kServiceAllAccess) : nullptr;
    if (!service) return -100;
    return present(call(*service));
}

long long onProcess(std::uint32_t id, const std::function<long long(OpenedProcess&)>& call) {
    std::uint32_t lastError = 0;
    std::unique_ptr<OpenedProcess> process = processes().openProcess(id, kProcessTerminate, lastError);
    return process ? call(*process) : -100;
}

long long onReadDescriptor(const std::function<long long(int)>& call) {
    const int descriptor = files().openForReading(kFile);
    if (descriptor < 0) return -100;
    const long long result = call(descriptor);
    files().close(descriptor);
    return result;
}

struct SeamCase {
    SeamCall call;
    // What the failing Windows call gives back, as the call below tells it.
    long long failure;
    std::function<long long(FakeMachine&, std::uint32_t second)> make;
};

std::vector<SeamCase> seamCases() {
    static std::vector<std::uint8_t> performance(1 << 16);
    return {
        {SeamCall::kListDirectory, 0, [](FakeMachine&, auto) { return present(files().listDirectory("C:\\Data\\*.*") != nullptr); }},
        {SeamCall::kListingNext, 0, [](FakeMachine&, auto) {
             std::unique_ptr<DirectoryListing> listing = files().listDirectory("C:\\Data\\*.*");
             DirectoryEntry entry;
             return listing ? present(listing->next(entry)) : -100;
         }},
        {SeamCall::kDriveType, kDriveUnknown, [](FakeMachine&, auto) { return static_cast<long long>(files().driveType("C:\\")); }},
        {SeamCall::kExists, 0, [](FakeMachine&, auto) { return present(files().exists(kFile)); }},
        {SeamCall::kSetAttributes, 0, [](FakeMachine&, auto) { return present(files().setAttributes(kFile, kAttributeHidden)); }},
        {SeamCall::kRemoveFile, 0, [](FakeMachine&, auto) { return present(files().removeFile("C:\\Data\\remove.txt")); }},
        {SeamCall::kMoveFile, 0, [](FakeMachine&, auto) {
             return present(files().moveFile("C:\\Data\\move.txt", "C:\\Data\\moved.txt"));
         }},
        {SeamCall::kOpenForReading, -1, [](FakeMachine&, auto) {
             const int descriptor = files().openForReading(kFile);
             if (descriptor >= 0) files().close(descriptor);
             return static_cast<long long>(descriptor < 0 ? -1 : 1);
         }},
        {SeamCall::kFileLength, -1, [](FakeMachine&, auto) {
             return onReadDescriptor([](int descriptor) { return files().fileLength(descriptor); });
         }},
        {SeamCall::kSeekFromStart, 0, [](FakeMachine&, auto) {
             return onReadDescriptor([](int descriptor) { return present(files().seekFromStart(descriptor, 2)); });
         }},
        {SeamCall::kRead, -1, [](FakeMachine&, auto) {
             return onReadDescriptor([](int descriptor) {
                 char bytes[4];
                 return files().read(descriptor, bytes, sizeof bytes);
             });
         }},
        {SeamCall::kOpenForWriting, -1, [](FakeMachine&, auto) {
             const int descriptor = files().openForWriting("C:\\Data\\new.txt", WriteMode::kCreateNew);
             if (descriptor < 0) return -1LL;
             files().close(descriptor);
             files().removeFile("C:\\Data\\new.txt");
             return 1LL;
         }},
        {SeamCall::kWrite, -1, [](FakeMachine&, auto) {
             const int descriptor = files().openForWriting("C:\\Data\\new.txt", WriteMode::kCreateNew);
             if (descriptor < 0) return -100LL;
             const int written = files().write(descriptor, "abc", 3);
             files().close(descriptor);
             files().removeFile("C:\\Data\\new.txt");
             return static_cast<long long>(written);
         }},
        {SeamCall::kCopyFile, 0, [](FakeMachine&, auto) { return present(files().copyFile(kFile, "C:\\Data\\copy.txt")); }},
        {SeamCall::kShortPathName, 0, [](FakeMachine&, auto) {
             char buffer[kPathCapacity];
             return static_cast<long long>(files().shortPathName(kFile, buffer, sizeof buffer));
         }},
        {SeamCall::kDeleteAtRestart, 0, [](FakeMachine&, auto) { return present(files().deleteAtRestart(kFile)); }},
        {SeamCall::kTakeMessage, 0, [](FakeMachine& machine, auto) {
             machine.fakeWindows().postQuit();
             WindowMessage message;
             const bool taken = windows().takeMessage(message);
             // A failed take leaves the message for the next one.
             if (!taken && !windows().takeMessage(message)) return -100LL;
             return present(taken);
         }},
        {SeamCall::kWindowsDirectory, 0, [](FakeMachine&, auto) {
             char buffer[kPathCapacity];
             return static_cast<long long>(systemServices().windowsDirectory(buffer, sizeof buffer));
         }},
        {SeamCall::kSystemDirectory, 0, [](FakeMachine&, auto) {
             char buffer[kPathCapacity];
             return static_cast<long long>(systemServices().systemDirectory(buffer, sizeof buffer));
         }},
        {SeamCall::kTemporaryDirectory, 0, [](FakeMachine&, auto) {
             char buffer[kPathCapacity];
             return static_cast<long long>(systemServices().temporaryDirectory(buffer, sizeof buffer));
         }},
        {SeamCall::kExpandEnvironmentStrings, 0, [](FakeMachine&, auto) {
             char buffer[kPathCapacity];
             return static_cast<long long>(systemServices().expandEnvironmentStrings("%windir%", buffer, sizeof buffer));
         }},
        {SeamCall::kQueryVersion, 0, [](FakeMachine&, auto) {
             SystemVersion version{};
             return present(systemControl().queryVersion(version));
         }},
        {SeamCall::kShowSystemMessage, 0, [](FakeMachine&, auto) {
             return static_cast<long long>(systemControl().showSystemMessage("text", "caption", 0));
         }},
        {SeamCall::kRequestShutdown, 0, [](FakeMachine&, auto) {
             return static_cast<long long>(systemControl().requestShutdown(kExitReboot));
         }},
        {SeamCall::kConvertWideText, 0, [](FakeMachine&, auto) {
             char buffer[kPathCapacity];
             const std::uint16_t text[] = {'a', 'b', 0};
             return static_cast<long long>(systemControl().convertWideText(text, buffer, sizeof buffer));
         }},
        {SeamCall::kSnapshotProcesses, 0, [](FakeMachine&, auto) { return present(processes().snapshotProcesses() != nullptr); }},
        {SeamCall::kSnapshotFirst, 0, [](FakeMachine&, auto) {
             std::unique_ptr<ProcessSnapshot> snapshot = processes().snapshotProcesses();
             SnapshotEntry entry;
             return snapshot ? present(snapshot->first(entry)) : -100;
         }},
        {SeamCall::kSnapshotNext, 0, [](FakeMachine&, auto) {
             std::unique_ptr<ProcessSnapshot> snapshot = processes().snapshotProcesses();
             SnapshotEntry entry;
             if (!snapshot || !snapshot->first(entry)) return -100LL;
             return present(snapshot->next(entry));
         }},
        {SeamCall::kListProcessIds, 0, [](FakeMachine&, auto) {
             std::uint32_t ids[8];
             std::uint32_t returned = 0;
             return present(processes().listProcessIds(ids, sizeof ids, returned));
         }},
        {SeamCall::kOpenProcess, kFailedProcessOpen, [](FakeMachine&, std::uint32_t second) {
             std::uint32_t lastError = 0;
             const bool opened = processes().openProcess(second, kProcessQueryInformation, lastError) != nullptr;
             return static_cast<long long>(opened ? -1 : static_cast<long long>(lastError));
         }},
        {SeamCall::kImagePath, 0, [](FakeMachine&, std::uint32_t second) {
             return onProcess(second, [](OpenedProcess& process) {
                 char buffer[kPathCapacity];
                 return static_cast<long long>(process.imagePath(buffer, sizeof buffer));
             });
         }},
        {SeamCall::kTerminateProcess, 0, [](FakeMachine&, std::uint32_t second) {
             return onProcess(second, [](OpenedProcess& process) { return present(process.terminate(0)); });
         }},
        {SeamCall::kOpenMachineKey, kErrorAccessDenied, [](FakeMachine&, auto) {
             std::unique_ptr<RegistryKey> key;
             const RegistryStatus status = registry().openMachineKey(kKey, kKeyRead, RegistryView::kDefault, key);
             return static_cast<long long>(status != kErrorSuccess && key ? -100 : status);
         }},
        {SeamCall::kDeleteMachineKey, kErrorAccessDenied, [](FakeMachine&, auto) {
             return static_cast<long long>(registry().deleteMachineKey("SOFTWARE\\Gone"));
         }},
        {SeamCall::kQueryPerformanceData, kErrorAccessDenied, [](FakeMachine&, auto) {
             std::uint32_t size = static_cast<std::uint32_t>(performance.size());
             return static_cast<long long>(registry().queryPerformanceData("230", performance.data(), size));
         }},
        {SeamCall::kQueryValue, kErrorAccessDenied, [](FakeMachine&, auto) {
             return onKey(kKeyRead, [](RegistryKey& key) {
                 std::uint32_t size = 0;
                 return key.queryValue("Value", nullptr, nullptr, size);
             });
         }},
        {SeamCall::kDeleteValue, kErrorAccessDenied, [](FakeMachine&, auto) {
             return onKey(kKeyAllAccess, [](RegistryKey& key) { return key.deleteValue("Doomed"); });
         }},
        {SeamCall::kCountValues, kErrorAccessDenied, [](FakeMachine&, auto) {
             return onKey(kKeyRead, [](RegistryKey& key) {
                 std::uint32_t count = 0;
                 return key.countValues(count);
             });
         }},
        {SeamCall::kValueNameAt, kErrorAccessDenied, [](FakeMachine&, auto) {
             return onKey(kKeyRead, [](RegistryKey& key) {
                 char name[32];
                 std::uint32_t capacity = sizeof name;
                 return key.valueNameAt(0, name, capacity);
             });
         }},
        {SeamCall::kSubkeyNameAt, kErrorAccessDenied, [](FakeMachine&, auto) {
             return onKey(kKeyRead, [](RegistryKey& key) {
                 char name[32];
                 std::uint32_t capacity = sizeof name;
                 return key.subkeyNameAt(0, name, capacity);
             });
         }},
        {SeamCall::kOpenServiceManager, 0, [](FakeMachine&, auto) {
             return present(services().openManager(kServiceManagerAllAccess) != nullptr);
         }},
        {SeamCall::kOpenService, 0, [](FakeMachine&, auto) {
             std::unique_ptr<ServiceManager> manager = services().openManager(kServiceManagerAllAccess);
             return manager ? present(manager->openService("svc", kServiceAllAccess) != nullptr) : -100;
         }},
        {SeamCall::kStopService, 0, [](FakeMachine&, auto) {
             return onService([](OpenedService& service) {
                 std::uint32_t state = 0;
                 return service.stop(state);
             });
         }},
        {SeamCall::kQueryServiceState, 0, [](FakeMachine&, auto) {
             return onService([](OpenedService& service) {
                 std::uint32_t state = 0;
                 return service.queryState(state);
             });
         }},
        {SeamCall::kOpenOwnToken, 0, [](FakeMachine&, auto) {
             return present(privileges().openOwnToken(kTokenAdjustPrivileges | kTokenQuery) != nullptr);
         }},
        {SeamCall::kEnablePrivilege, kErrorAccessDenied, [](FakeMachine&, auto) {
             std::unique_ptr<AccessToken> token = privileges().openOwnToken(kTokenAdjustPrivileges | kTokenQuery);
             return token ? static_cast<long long>(token->enablePrivilege("SeDebugPrivilege")) : -100;
         }},
    };
}

TEST_F(FaultPlanTest, EveryCallKindFailsAsWindowsFailsItOnceAndThenWorks) {
    std::set<SeamCall> covered;
    for (const SeamCase& c : seamCases()) {
        SCOPED_TRACE(seamCallName(c.call));
        covered.insert(c.call);
        machine.faults().failNext(c.call);
        EXPECT_EQ(c.make(machine, second), c.failure);
        EXPECT_NE(c.make(machine, second), c.failure);
    }
    EXPECT_EQ(covered.size(), kSeamCallKinds);
}

TEST_F(FaultPlanTest, FailsTheNthCallFromArmingAndRecordsTheKinds) {
    FaultPlan& plan = machine.faults();
    plan.recordCalls();
    plan.failCallNumber(2);
    EXPECT_TRUE(files().exists(kFile));
    EXPECT_EQ(files().driveType("C:\\"), kDriveUnknown);
    EXPECT_TRUE(files().exists(kFile));
    EXPECT_EQ(files().driveType("C:\\"), kDriveFixed);
    EXPECT_EQ(plan.recordedCalls(),
              (std::vector<SeamCall>{SeamCall::kExists, SeamCall::kDriveType, SeamCall::kExists, SeamCall::kDriveType}));
    plan.recordCalls();
    EXPECT_TRUE(plan.recordedCalls().empty());
}

TEST_F(FaultPlanTest, FailEveryKeepsFailingOnlyItsKind) {
    machine.faults().failEvery(SeamCall::kExists);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(files().exists(kFile));
    EXPECT_EQ(files().driveType("C:\\"), kDriveFixed);
}

TEST_F(FaultPlanTest, AShortReadOrWriteMovesHalfTheBytes) {
    machine.faults().failNext(SeamCall::kRead, Fault::kShortTransfer);
    EXPECT_EQ(onReadDescriptor([](int descriptor) {
                  char bytes[8];
                  return files().read(descriptor, bytes, sizeof bytes);
              }),
              4);
    machine.faults().failNext(SeamCall::kWrite, Fault::kShortTransfer);
    const int descriptor = files().openForWriting("C:\\Data\\short.txt", WriteMode::kCreateNew);
    ASSERT_GE(descriptor, 0);
    EXPECT_EQ(files().write(descriptor, "abcdef", 6), 3);
    files().close(descriptor);
    EXPECT_EQ(machine.readFile("C:\\Data\\short.txt"), "abc");
}

TEST_F(FaultPlanTest, AFailedListingStepEndsTheListing) {
    std::unique_ptr<DirectoryListing> listing = files().listDirectory("C:\\Data\\*.*");
    ASSERT_NE(listing, nullptr);
    DirectoryEntry entry;
    ASSERT_TRUE(listing->next(entry));
    machine.faults().failNext(SeamCall::kListingNext);
    EXPECT_FALSE(listing->next(entry));
    EXPECT_FALSE(listing->next(entry));
}

TEST_F(FaultPlanTest, AFailedCallChangesNothing) {
    FaultPlan& plan = machine.faults();
    for (SeamCall call : {SeamCall::kRemoveFile, SeamCall::kMoveFile, SeamCall::kSetAttributes}) plan.failEvery(call);
    EXPECT_FALSE(files().removeFile(kFile));
    EXPECT_FALSE(files().moveFile(kFile, "C:\\Data\\other.txt"));
    EXPECT_FALSE(files().setAttributes(kFile, kAttributeReadOnly));
    EXPECT_EQ(machine.readFile(kFile), "hello world");
    EXPECT_FALSE(machine.fileExists("C:\\Data\\other.txt"));
    EXPECT_EQ(machine.fakeFiles().attributesOf(kFile), kAttributeArchive);
    plan.failEvery(SeamCall::kDeleteValue);
    EXPECT_EQ(onKey(kKeyAllAccess, [](RegistryKey& key) { return key.deleteValue("Value"); }), kErrorAccessDenied);
    EXPECT_TRUE(machine.fakeRegistry().value(kKey, "Value").has_value());
}

}  // namespace
}  // namespace brisko::fake
