// Writing and copying: what the deferred deletion relies on to write its
// list of files to remove.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace brisko
