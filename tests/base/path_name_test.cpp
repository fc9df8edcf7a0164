#include <gtest/gtest.h>

#include <string>

#include "base/path_name.h"

namespace brisko {
namespace {

TEST(PathNameTest, FileNameIsWhatFollowsTheLastBackslash) {
    struct Case {
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\WINDOWS\\SYSTEM\\krenot.exe", "krenot.exe"},
        {"krenot.exe", "krenot.exe"},
        {"", ""},
        {"C:\\WINDOWS\\", ""},
        {"\\krenot.exe", "krenot.exe"},
        {"C:krenot.exe", "C:krenot.exe"},
        {"C:/WINDOWS/krenot.exe", "C:/WINDOWS/krenot.exe"},
        {"C:\\dir/sub\\a.b.exe", "a.b.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(std::string(fileNameOf(c.path)), c.expected);
    }
}

TEST(PathNameTest, FileNamePointsIntoThePath) {
    const char path[] = "C:\\a\\b.exe";
    EXPECT_EQ(fileNameOf(path), path + 5);
}

}  // namespace
}  // namespace brisko
