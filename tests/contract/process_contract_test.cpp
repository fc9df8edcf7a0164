// Running processes through the seam and the memory scan's own lists: a
// sleeper program of ours is listed, found and ended, on the simulated
// machine and under Wine with the system version the runner set.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/text_compare.h"
#include "memscan/memory_scan.h"
#include "platform/system_family.h"
#include "memscan/process_list.h"
#include "tests/contract/file_system_contract.h"

namespace brisko {
namespace {

class ProcessContract : public FileSystemContract {
protected:
    ProcessContract() { installPlatform(&backend_->platform()); }
    ~ProcessContract() override { installPlatform(nullptr); }

    static const ProcessEntry* find(const ProcessList& list, std::uint32_t processId) {
        for (const ProcessEntry& entry : list) {
            if (entry.processId == processId) return &entry;
        }
        return nullptr;
    }
};

TEST_F(ProcessContract, VersionTestsFollowTheSystemVersion) {
    struct Case {
        const char* version;
        SystemFamily family;
        NtGeneration generation;
    };
    const Case cases[] = {
        {"win98", kFamilyWindows9x, kGenerationNone},
        {"nt40", kFamilyNt, kGenerationNt4},
        {"winxp", kFamilyNt, kGenerationNt5},
        {"win7", kFamilyNt, kGenerationNone},
        {"win10", kFamilyNt, kGenerationNone},
    };
    const std::string version = backend_->versionName();
    for (const Case& c : cases) {
        if (version != c.version) continue;
        EXPECT_EQ(platformFamily(), c.family);
        EXPECT_EQ(ntGeneration(), c.generation);
        return;
    }
    FAIL() << "unknown version " << version;
}

TEST_F(ProcessContract, PsapiListsTheSleeperWithItsFullPath) {
    const std::string path = at("sleeper.exe");
    const std::uint32_t sleeper = backend_->startSleeper(path);
    ProcessList list;
    ASSERT_TRUE(listProcessesByPsapi(list, DebugPrivilegeStep::kOnRefusal));
    const ProcessEntry* entry = find(list, sleeper);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(equalIgnoringCase(entry->imagePath, path.c_str())) << entry->imagePath;
}

TEST_F(ProcessContract, ToolHelpFindsTheSleeperByFileName) {
    const std::uint32_t sleeper = backend_->startSleeper(at("sleeper.exe"));
    ProcessList list;
    ASSERT_TRUE(listProcessesByToolHelp(list));
    const ProcessEntry* entry = find(list, sleeper);
    ASSERT_NE(entry, nullptr);
    const char* slash = std::strrchr(entry->imagePath, '\\');
    EXPECT_TRUE(equalIgnoringCase(slash != nullptr ? slash + 1 : entry->imagePath, "sleeper.exe"))
        << entry->imagePath;
}

TEST_F(ProcessContract, TerminateByPathEndsTheSleeper) {
    if (platformFamily() == kFamilyNt && ntGeneration() != kGenerationNt5 &&
        !backend_->hasProcessPerformanceData()) {
        GTEST_SKIP() << "this version ends processes found in the performance data, which has no Process "
                        "object here; the simulated machine's tests cover it";
    }
    const std::string path = at("sleeper.exe");
    const std::uint32_t sleeper = backend_->startSleeper(path);
    const std::uint32_t other = backend_->startSleeper(at("other.exe"));
    EXPECT_EQ(terminateByPath(path.c_str()), 1);
    EXPECT_TRUE(backend_->hasEnded(sleeper));
    EXPECT_TRUE(fs_.removeFile(path.c_str()));
    ProcessList list;
    ASSERT_TRUE(listProcessesByToolHelp(list));
    EXPECT_NE(find(list, other), nullptr);
}

}  // namespace
}  // namespace brisko
