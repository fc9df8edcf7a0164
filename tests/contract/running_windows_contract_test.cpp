// What only a running Windows system gives: files held open by running
// programs, short (8.3) names, deletion at the next start, its own
// directories and environment, and the hidden and system attributes. The
// mounted volume's executable leaves this file out: an offline volume has
// none of them.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>

#include "platform/read_only_file.h"
#include "tests/contract/file_system_contract.h"

namespace brisko {
namespace {

class RunningWindowsContract : public FileSystemContract {
protected:
    // The short form of a path, or empty when there is none.
    std::string shortPathOf(const std::string& path) {
        char shortPath[260];
        const unsigned length = fs_.shortPathName(path.c_str(), shortPath, sizeof shortPath);
        if (length == 0 || length >= sizeof shortPath) return {};
        EXPECT_EQ(std::string(shortPath).size(), length);
        return shortPath;
    }
};

TEST_F(RunningWindowsContract, HiddenAndSystemShowInTheListing) {
    for (const std::uint32_t attributes :
         {kAttributeHidden, kAttributeSystem, kAttributeReadOnly | kAttributeHidden | kAttributeSystem}) {
        SCOPED_TRACE(attributes);
        EXPECT_EQ(listedAttributesAfterSetting(attributes) & attributes, attributes);
    }
}

TEST_F(RunningWindowsContract, FileHeldOpenCannotBeRemovedUntilReleased) {
    const std::string path = at("running.exe");
    backend_->writeFile(path, "payload");
    backend_->holdOpen(path);

    EXPECT_FALSE(fs_.removeFile(path.c_str()));
    EXPECT_TRUE(fs_.exists(path.c_str()));

    backend_->releaseHeldFiles();
    EXPECT_TRUE(fs_.removeFile(path.c_str()));
    EXPECT_FALSE(fs_.exists(path.c_str()));
}

// The scan reads programs that are running.
TEST_F(RunningWindowsContract, HeldFileCanBeRead) {
    backend_->writeFile(at("running.exe"), "running.exe");
    backend_->holdOpen(at("running.exe"));

    ReadOnlyFile file(fs_, at("running.exe").c_str());
    char content[11];
    ASSERT_TRUE(file.isOpen());
    ASSERT_TRUE(file.readExactly(0, content, sizeof content));
    EXPECT_EQ(std::string(content, sizeof content), "running.exe");
}

TEST_F(RunningWindowsContract, AShortPathNamesTheSameFile) {
    backend_->makeDirectory(at("A Long Folder Name"));
    backend_->writeFile(at("A Long Folder Name\\a long file name.executable"), "content");
    backend_->writeFile(at("SHORT.EXE"), "short");
    // The scratch folder's own name need not be a short one.
    const std::string scratchShort = shortPathOf(scratch_);
    ASSERT_FALSE(scratchShort.empty());
    EXPECT_EQ(scratchShort.back(), '\\');

    const std::string longPath = at("A Long Folder Name\\a long file name.executable");
    const std::string shortPath = shortPathOf(longPath);
    ASSERT_EQ(shortPath.compare(0, scratchShort.size(), scratchShort), 0) << shortPath;
    EXPECT_NE(shortPath, longPath);
    EXPECT_EQ(backend_->readFile(shortPath), "content");
    // Each name below the scratch folder has the 8.3 form.
    const std::string below = shortPath.substr(scratchShort.size());
    const std::size_t slash = below.find('\\');
    for (const std::string& name : {below.substr(0, slash), below.substr(slash + 1)}) {
        const std::size_t dot = name.find('.');
        EXPECT_LE(name.substr(0, dot).size(), 8u) << name;
        if (dot != std::string::npos) {
            EXPECT_LE(name.size() - dot - 1, 3u) << name;
        }
    }
    // A name that already is a short one stays as it is.
    EXPECT_EQ(shortPathOf(at("SHORT.EXE")), scratchShort + "SHORT.EXE");
}

TEST_F(RunningWindowsContract, ShortPathOfAMissingFileOrIntoASmallBufferFails) {
    char shortPath[260];
    EXPECT_EQ(fs_.shortPathName(at("missing.exe").c_str(), shortPath, sizeof shortPath), 0u);
    backend_->writeFile(at("SHORT.EXE"), "short");
    char tiny[4];
    EXPECT_EQ(fs_.shortPathName(at("SHORT.EXE").c_str(), tiny, sizeof tiny), shortPathOf(at("SHORT.EXE")).size() + 1);
}

TEST_F(RunningWindowsContract, DeletionAtTheNextStartIsAcceptedForAFileInUse) {
    backend_->writeFile(at("busy.exe"), "x");
    backend_->holdOpen(at("busy.exe"));
    EXPECT_TRUE(fs_.deleteAtRestart(at("busy.exe").c_str()));
    EXPECT_TRUE(fs_.exists(at("busy.exe").c_str()));
}

class SystemDirectoriesContract : public FileSystemContract {
protected:
    SystemServices& system_ = backend_->platform().system();
};

TEST_F(SystemDirectoriesContract, DirectoriesExistAndOnlyTheTemporaryOneEndsInABackslash) {
    struct Case {
        const char* what;
        unsigned (SystemServices::*get)(char*, unsigned);
        bool endsInBackslash;
    };
    const Case cases[] = {
        {"windows", &SystemServices::windowsDirectory, false},
        {"system", &SystemServices::systemDirectory, false},
        {"temporary", &SystemServices::temporaryDirectory, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        char folder[260];
        const unsigned length = (system_.*c.get)(folder, sizeof folder);
        ASSERT_GT(length, 3u);
        ASSERT_LT(length, sizeof folder);
        EXPECT_EQ(folder[length - 1] == '\\', c.endsInBackslash);
        EXPECT_TRUE(fs_.exists(folder)) << folder;
        char tiny[3];
        EXPECT_EQ((system_.*c.get)(tiny, sizeof tiny), length + 1);
    }
}

TEST_F(SystemDirectoriesContract, ExpandsKnownVariablesAndKeepsUnknownOnes) {
    char windows[260];
    const unsigned windowsLength = system_.windowsDirectory(windows, sizeof windows);
    ASSERT_GT(windowsLength, 0u);
    char expanded[261];
    const unsigned size = system_.expandEnvironmentStrings("%SystemRoot%\\x.exe %NO_SUCH_NAME_HERE%", expanded,
                                                           sizeof expanded);
    const std::string expected = std::string(windows) + "\\x.exe %NO_SUCH_NAME_HERE%";
    EXPECT_EQ(size, expected.size() + 1);
    // The Windows directory and SystemRoot may differ in letter case only.
    ASSERT_EQ(std::string(expanded).size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(std::tolower(static_cast<unsigned char>(expanded[i])),
                  std::tolower(static_cast<unsigned char>(expected[i])))
            << i;
    }
    char tiny[8];
    EXPECT_EQ(system_.expandEnvironmentStrings("%SystemRoot%\\x.exe", tiny, sizeof tiny),
              windowsLength + 7);
}

}  // namespace
}  // namespace brisko
