// Writing, copying, short names and deletion at the next start: what the
// deferred deletion relies on.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "tests/contract/file_system_contract.h"

namespace brisko {
namespace {

class FileWritingContract : public FileSystemContract {
protected:
    // Writes the text through the seam; false on any short write.
    bool writeThrough(const std::string& path, WriteMode mode, const std::string& text) {
        const int descriptor = fs_.openForWriting(path.c_str(), mode);
        if (descriptor < 0) return false;
        const int written = fs_.write(descriptor, text.data(), static_cast<unsigned>(text.size()));
        fs_.close(descriptor);
        return written == static_cast<int>(text.size());
    }

    // The short form of a path, or empty when there is none.
    std::string shortPathOf(const std::string& path) {
        char shortPath[260];
        const unsigned length = fs_.shortPathName(path.c_str(), shortPath, sizeof shortPath);
        if (length == 0 || length >= sizeof shortPath) return {};
        EXPECT_EQ(std::string(shortPath).size(), length);
        return shortPath;
    }
};

TEST_F(FileWritingContract, CreateNewMakesAMissingFileAndNeverOpensAnExistingOne) {
    ASSERT_TRUE(writeThrough(at("new.ini"), WriteMode::kCreateNew, "[rename]\r\n"));
    EXPECT_EQ(backend_->readFile(at("new.ini")), "[rename]\r\n");
    EXPECT_EQ(fs_.openForWriting(at("NEW.INI").c_str(), WriteMode::kCreateNew), -1);
    EXPECT_EQ(backend_->readFile(at("new.ini")), "[rename]\r\n");
}

TEST_F(FileWritingContract, TruncateEmptiesAnExistingFileButCreatesNone) {
    backend_->writeFile(at("old.ini"), "a much longer old content\r\n");
    ASSERT_TRUE(writeThrough(at("old.ini"), WriteMode::kTruncateExisting, "new\n"));
    EXPECT_EQ(backend_->readFile(at("old.ini")), "new\n");
    EXPECT_EQ(fs_.openForWriting(at("missing.ini").c_str(), WriteMode::kTruncateExisting), -1);
    EXPECT_FALSE(fs_.exists(at("missing.ini").c_str()));
}

TEST_F(FileWritingContract, WritingABinaryLineEndKeepsItAsItIs) {
    const std::string bytes("a\nb\r\nc\x1a", 7);
    ASSERT_TRUE(writeThrough(at("bytes.bin"), WriteMode::kCreateNew, bytes));
    EXPECT_EQ(backend_->readFile(at("bytes.bin")), bytes);
}

TEST_F(FileWritingContract, CopyReplacesAnExistingTarget) {
    backend_->writeFile(at("from.ini"), "fresh");
    backend_->writeFile(at("to.ini"), "stale and longer");
    ASSERT_TRUE(fs_.copyFile(at("from.ini").c_str(), at("to.ini").c_str()));
    EXPECT_EQ(backend_->readFile(at("to.ini")), "fresh");
    ASSERT_TRUE(fs_.copyFile(at("from.ini").c_str(), at("copy.ini").c_str()));
    EXPECT_EQ(backend_->readFile(at("copy.ini")), "fresh");
    EXPECT_FALSE(fs_.copyFile(at("missing.ini").c_str(), at("other.ini").c_str()));
    EXPECT_FALSE(fs_.copyFile(at("from.ini").c_str(), at("no folder\\to.ini").c_str()));
}

TEST_F(FileWritingContract, AShortPathNamesTheSameFile) {
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

TEST_F(FileWritingContract, ShortPathOfAMissingFileOrIntoASmallBufferFails) {
    char shortPath[260];
    EXPECT_EQ(fs_.shortPathName(at("missing.exe").c_str(), shortPath, sizeof shortPath), 0u);
    backend_->writeFile(at("SHORT.EXE"), "short");
    char tiny[4];
    EXPECT_EQ(fs_.shortPathName(at("SHORT.EXE").c_str(), tiny, sizeof tiny), shortPathOf(at("SHORT.EXE")).size() + 1);
}

TEST_F(FileWritingContract, DeletionAtTheNextStartIsAcceptedForAFileInUse) {
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
