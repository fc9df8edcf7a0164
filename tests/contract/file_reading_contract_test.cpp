// Contract of the low-level reading calls with which the scan reads image
// headers: open, length, seek from the start, read, close.
#include <ostream>
#include <string>
#include <utility>

#include "tests/contract/file_system_contract.h"

namespace brisko {
namespace {

const std::string kDigits = "0123456789";

// A descriptor of the file system under test, closed at the end of the scope.
class OpenedFile {
public:
    OpenedFile(FileSystem& fs, const std::string& path)
        : fs_(fs), descriptor_(fs.openForReading(path.c_str())) {}
    ~OpenedFile() {
        if (descriptor_ >= 0) fs_.close(descriptor_);
    }
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    int descriptor() const { return descriptor_; }

    // Reads up to count bytes at the current position: the call's result
    // and the bytes it gave.
    std::pair<int, std::string> readUpTo(unsigned count) {
        std::string buffer(count, '\0');
        const int returned = fs_.read(descriptor_, &buffer[0], count);
        buffer.resize(returned > 0 ? static_cast<unsigned>(returned) : 0u);
        return {returned, buffer};
    }

private:
    FileSystem& fs_;
    const int descriptor_;
};

TEST_F(FileSystemContract, OpeningMissingFileGivesMinusOne) {
    EXPECT_EQ(fs_.openForReading(at("absent.exe").c_str()), -1);
    EXPECT_EQ(fs_.openForReading(at("missing\\absent.exe").c_str()), -1);
}

class FileLength : public FileSystemContract, public ::testing::WithParamInterface<unsigned> {};

TEST_P(FileLength, IsTheNumberOfBytesWritten) {
    backend_->writeFile(at("sized.bin"), std::string(GetParam(), 'z'));
    OpenedFile file(fs_, at("sized.bin"));
    ASSERT_GE(file.descriptor(), 0);

    EXPECT_EQ(fs_.fileLength(file.descriptor()), static_cast<std::int32_t>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Lengths, FileLength, ::testing::Values(0u, 1u, 4096u, 70001u));

struct ReadCase {
    std::int32_t offset;
    unsigned count;
    std::string expected;  // what the read gives; its size is the result
};

std::ostream& operator<<(std::ostream& out, const ReadCase& c) {
    return out << c.count << " bytes at " << c.offset;
}

class ReadAtOffset : public FileSystemContract, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadAtOffset, GivesTheBytesThatAreThere) {
    backend_->writeFile(at("digits.bin"), kDigits);
    OpenedFile file(fs_, at("digits.bin"));
    ASSERT_GE(file.descriptor(), 0);

    ASSERT_TRUE(fs_.seekFromStart(file.descriptor(), GetParam().offset));
    const std::pair<int, std::string> result = file.readUpTo(GetParam().count);

    EXPECT_EQ(result.first, static_cast<int>(GetParam().expected.size()));
    EXPECT_EQ(result.second, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, ReadAtOffset,
    ::testing::Values(ReadCase{0, 4, "0123"}, ReadCase{3, 7, "3456789"},
                      ReadCase{4, 100, "456789"},  // short read at the end
                      ReadCase{10, 4, ""},         // exactly at the end
                      ReadCase{1000, 4, ""}));     // past the end

TEST_F(FileSystemContract, ReadsFollowOneAnother) {
    backend_->writeFile(at("digits.bin"), kDigits);
    OpenedFile file(fs_, at("digits.bin"));
    ASSERT_GE(file.descriptor(), 0);

    EXPECT_EQ(file.readUpTo(4).second, "0123");
    EXPECT_EQ(file.readUpTo(4).second, "4567");
    EXPECT_EQ(file.readUpTo(4).second, "89");
    EXPECT_EQ(file.readUpTo(4).first, 0);
}

TEST_F(FileSystemContract, NegativeSeekFailsAndKeepsThePosition) {
    backend_->writeFile(at("digits.bin"), kDigits);
    OpenedFile file(fs_, at("digits.bin"));
    ASSERT_GE(file.descriptor(), 0);
    ASSERT_TRUE(fs_.seekFromStart(file.descriptor(), 3));

    EXPECT_FALSE(fs_.seekFromStart(file.descriptor(), -1));

    EXPECT_EQ(file.readUpTo(2).second, "34");
}

TEST_F(FileSystemContract, BinaryBytesArriveUnchanged) {
    // Text mode would turn CR LF into LF and stop at Ctrl-Z.
    const std::string bytes("MZ\r\n\x1a\0\xff\r", 8);
    backend_->writeFile(at("image.exe"), bytes);
    OpenedFile file(fs_, at("image.exe"));
    ASSERT_GE(file.descriptor(), 0);

    EXPECT_EQ(file.readUpTo(64).second, bytes);
}

// The scan reads files made read-only.
TEST_F(FileSystemContract, ReadOnlyFileCanBeRead) {
    backend_->writeFile(at("readonly.exe"), "readonly.exe");
    ASSERT_TRUE(fs_.setAttributes(at("readonly.exe").c_str(), kAttributeReadOnly));

    OpenedFile file(fs_, at("readonly.exe"));
    ASSERT_GE(file.descriptor(), 0);
    EXPECT_EQ(file.readUpTo(64).second, "readonly.exe");
}

}  // namespace
}  // namespace brisko
