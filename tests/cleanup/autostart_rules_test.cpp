#include <gtest/gtest.h>

#include "cleanup/autostart_rules.h"

namespace brisko {
namespace {

TEST(AutostartRulesTest, JudgesValuesByNameInSystemFoldersOrByFullPath) {
    using V = AutostartVerdict;
    struct Case {
        const char* what;
        const char* data;
        const char* expanded;
        const char* infectedPath;
        V verdict;
    };
    const Case cases[] = {
        {"bare name, file in system32", "x.exe", "x.exe", "c:\\windows\\system32\\x.exe", V::kDeleteSystemFileReference},
        {"bare name, file in system", "x.exe /q", "x.exe /q", "c:\\windows\\system\\x.exe", V::kDeleteSystemFileReference},
        {"bare name, file elsewhere: kept, no path test", "x.exe", "x.exe", "c:\\temp\\x.exe", V::kKeepBareReference},
        {"from the root counts as bare", "\\windows\\system32\\x.exe", "\\windows\\system32\\x.exe",
         "c:\\windows\\system32\\x.exe", V::kDeleteSystemFileReference},
        {"quoted full path with arguments", "\"c:\\program files\\app\\x.exe\" /min",
         "\"c:\\program files\\app\\x.exe\" /min", "c:\\program files\\app\\x.exe", V::kDeleteFullPath},
        {"full path through the environment", "%systemroot%\\x.exe", "c:\\windows\\x.exe", "c:\\windows\\x.exe",
         V::kDeleteFullPath},
        {"no usable expansion: the data alone", "%systemroot%\\x.exe", nullptr, "c:\\windows\\x.exe", V::kKeep},
        {"short form of the path", "c:\\progra~1\\app\\x.exe", "c:\\progra~1\\app\\x.exe",
         "c:\\program files\\app\\x.exe", V::kKeep},
        {"another file", "c:\\windows\\notepad.exe", "c:\\windows\\notepad.exe", "c:\\windows\\x.exe", V::kKeep},
        {"only one quote is skipped", "\"\"c:\\a\\x.exe", "\"\"c:\\a\\x.exe", "c:\\a\\x.exe", V::kKeep},
        {"the path is a prefix of the data", "c:\\a\\x.exe.bak", "c:\\a\\x.exe.bak", "c:\\a\\x.exe", V::kDeleteFullPath},
        {"the name inside a longer bare name", "xx.exe", "xx.exe", "c:\\windows\\system\\x.exe",
         V::kDeleteSystemFileReference},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(judgeAutostartValue(c.data, c.expanded, c.infectedPath), c.verdict);
    }
}

}  // namespace
}  // namespace brisko
