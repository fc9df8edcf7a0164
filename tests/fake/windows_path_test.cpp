// The Windows path rules the backends over host folders are built on: search masks,
// path keys, the names of a path and its drive letter.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/windows_path.h"

namespace brisko::fake {
namespace {

struct MaskCase {
    const char* mask;
    const char* name;
    bool matches;
};

TEST(MaskMatches, FollowsWindowsWildcardRules) {
    const MaskCase cases[] = {
        // "*.*" takes every name, with or without a dot.
        {"*.*", "one.exe", true},
        {"*.*", "README", true},
        {"*.*", ".", true},
        {"*.*", "archive.tar.gz", true},
        {"*", "one.exe", true},
        {"*", "README", true},
        {"*.exe", "one.exe", true},
        {"*.exe", "ONE.EXE", true},
        {"*.exe", "one.exe.bak", false},
        {"*.exe", "one.dll", false},
        {"*.exe", "exe", false},
        {"a?c", "abc", true},
        {"a?c", "AXC", true},
        {"a?c", "ac", false},
        {"a?c", "abbc", false},
        {"target.exe", "target.exe", true},
        {"target.exe", "Target.EXE", true},
        {"target.exe", "target.exe.bak", false},
        {"target.exe", "xtarget.exe", false},
        {"*arg*", "TARGET.exe", true},
        {"*arg*", "other.exe", false},
    };
    for (const MaskCase& c : cases) {
        SCOPED_TRACE(std::string(c.mask) + " against " + c.name);
        EXPECT_EQ(maskMatches(c.mask, c.name), c.matches);
    }
}

struct KeyCase {
    const char* first;
    const char* second;
};

TEST(PathKey, IsTheSameForPathsWindowsTreatsAsOne) {
    const KeyCase cases[] = {
        {"C:\\Dir\\File.exe", "c:\\dir\\file.EXE"},
        {"C:\\Dir\\File.exe", "C:/Dir/File.exe"},
        {"C:\\Dir\\File.exe", "C:\\\\Dir\\\\\\File.exe"},
        {"C:\\Dir", "C:\\Dir\\"},
        {"C:\\Dir", "c:/dir//"},
        {"C:\\", "c:"},
        {"C:\\Dir\\File.exe", "c:\\dir\\sub\\..\\.\\file.exe"},
        {"C:\\File.exe", "C:\\..\\File.exe"},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " and " + c.second);
        EXPECT_EQ(pathKey(c.first), pathKey(c.second));
    }
}

TEST(PathKey, DiffersForDifferentFiles) {
    const KeyCase cases[] = {
        {"C:\\Dir\\File.exe", "D:\\Dir\\File.exe"},
        {"C:\\Dir\\File.exe", "C:\\Dir\\File.ex"},
        {"C:\\Dir\\File.exe", "C:\\DirFile.exe"},
        {"C:\\a\\bc", "C:\\ab\\c"},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " and " + c.second);
        EXPECT_NE(pathKey(c.first), pathKey(c.second));
    }
}

TEST(PathKey, OfAKeyIsThatKey) {
    for (const char* path : {"C:\\Dir\\File.exe", "d:/a//b/", "e:", "\\no\\drive"}) {
        SCOPED_TRACE(path);
        const std::string key = pathKey(path);
        EXPECT_EQ(pathKey(key), key);
    }
}

struct ComponentsCase {
    const char* path;
    std::vector<std::string> names;
};

TEST(PathComponents, AreTheNamesAfterTheDrive) {
    const ComponentsCase cases[] = {
        {"C:\\Dir\\File.exe", {"Dir", "File.exe"}},
        {"c:/Dir/Sub/", {"Dir", "Sub"}},
        {"C:\\\\Dir\\\\File", {"Dir", "File"}},
        {"C:\\", {}},
        {"C:", {}},
        {"\\Dir\\File", {"Dir", "File"}},
        {"Dir\\File", {"Dir", "File"}},
        {"C:\\a b\\.\\x", {"a b", "x"}},
        {"C:\\a\\..\\b", {"b"}},
        {"C:\\a\\b\\..\\..\\c\\.", {"c"}},
        {"C:\\..\\..\\b", {"b"}},
        {"C:\\a\\..", {}},
    };
    for (const ComponentsCase& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(pathComponents(c.path), c.names);
    }
}

TEST(ClimbsToParent, OnlyWhenANameIsTwoDots) {
    const std::pair<const char*, bool> cases[] = {
        {"C:\\a\\..\\b", true}, {"C:\\..", true},      {"../x", true},       {"..", true},
        {"C:\\a\\b/..", true},   {"C:\\a..b\\c", false}, {"C:\\...\\c", false}, {"C:\\.\\c", false},
        {"C:..", true},          {"C:\\..a", false},     {"", false},
    };
    for (const auto& [path, climbs] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(climbsToParent(path), climbs);
    }
}

struct DriveCase {
    const char* path;
    char letter;
};

TEST(DriveLetterOf, GivesTheCapitalLetterOrZero) {
    const DriveCase cases[] = {
        {"C:\\Dir", 'C'}, {"d:\\dir", 'D'}, {"z:", 'Z'},   {"a:file", 'A'},
        {"\\Dir", 0},     {"Dir", 0},       {"1:\\x", 0},  {":\\x", 0},
        {"C", 0},         {"", 0},          {"CC:\\x", 0},
    };
    for (const DriveCase& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(driveLetterOf(c.path), c.letter);
    }
}

}  // namespace
}  // namespace brisko::fake
