// Contract of the FileSystem calls that the scan and the cleanup make on
// paths: drive types, existence, attributes, removal and renaming.
#include <cstdint>
#include <ostream>
#include <string>

#include "tests/contract/file_system_contract.h"

namespace brisko {
namespace {

TEST_F(FileSystemContract, ScratchDriveIsFixed) { EXPECT_EQ(fs_.driveType(driveRoot().c_str()), kDriveFixed); }

TEST_F(FileSystemContract, UnusedDriveHasNoRootDirectory) {
    const std::string root = std::string(1, backend_->unusedDriveLetter()) + ":\\";

    EXPECT_EQ(fs_.driveType(root.c_str()), kDriveNoRootDirectory);
}

struct ExistenceCase {
    const char* path;  // relative to the scratch folder
    bool exists;
};

std::ostream& operator<<(std::ostream& out, const ExistenceCase& c) {
    return out << c.path << (c.exists ? " exists" : " is absent");
}

class Existence : public FileSystemContract,
                  public ::testing::WithParamInterface<ExistenceCase> {};

TEST_P(Existence, OfFilesAndFoldersInAnyCase) {
    backend_->writeFile(at("Present.txt"), "here");
    backend_->makeDirectory(at("Folder"));

    EXPECT_EQ(fs_.exists(at(GetParam().path).c_str()), GetParam().exists);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, Existence,
    ::testing::Values(ExistenceCase{"Present.txt", true}, ExistenceCase{"PRESENT.TXT", true},
                      ExistenceCase{"Folder", true}, ExistenceCase{"fOLDER", true},
                      ExistenceCase{"absent.txt", false},
                      ExistenceCase{"missing\\absent.txt", false},
                      ExistenceCase{"Folder\\absent.txt", false}));

TEST_F(FileSystemContract, ReadOnlyFileCannotBeRemovedUntilMadeArchive) {
    const std::string path = at("locked.exe");
    backend_->writeFile(path, "payload");

    ASSERT_TRUE(fs_.setAttributes(path.c_str(), kAttributeReadOnly));
    EXPECT_FALSE(fs_.removeFile(path.c_str()));
    EXPECT_TRUE(fs_.exists(path.c_str()));

    ASSERT_TRUE(fs_.setAttributes(path.c_str(), kAttributeArchive));
    EXPECT_TRUE(fs_.removeFile(path.c_str()));
    EXPECT_FALSE(fs_.exists(path.c_str()));
}

struct AttributeCase {
    std::uint32_t attributes;
    bool removable;
};

std::ostream& operator<<(std::ostream& out, const AttributeCase& c) {
    return out << "attributes " << c.attributes << (c.removable ? ", removable" : ", kept");
}

class RemovalAfterSettingAttributes : public FileSystemContract,
                                      public ::testing::WithParamInterface<AttributeCase> {};

TEST_P(RemovalAfterSettingAttributes, SucceedsUnlessReadOnly) {
    const std::string path = at("marked.exe");
    backend_->writeFile(path, "payload");

    ASSERT_TRUE(fs_.setAttributes(path.c_str(), GetParam().attributes));

    EXPECT_EQ(fs_.removeFile(path.c_str()), GetParam().removable);
    EXPECT_EQ(fs_.exists(path.c_str()), !GetParam().removable);
}

INSTANTIATE_TEST_SUITE_P(
    Attributes, RemovalAfterSettingAttributes,
    ::testing::Values(AttributeCase{kAttributeArchive, true}, AttributeCase{kAttributeHidden, true},
                      AttributeCase{kAttributeSystem, true},
                      AttributeCase{kAttributeHidden | kAttributeSystem, true},
                      AttributeCase{kAttributeReadOnly, false},
                      AttributeCase{kAttributeReadOnly | kAttributeHidden | kAttributeSystem,
                                    false}));

TEST_F(FileSystemContract, SettingAttributesOfMissingFileFails) {
    EXPECT_FALSE(fs_.setAttributes(at("absent.exe").c_str(), kAttributeArchive));
}

TEST_F(FileSystemContract, RemovingMissingFileFails) {
    EXPECT_FALSE(fs_.removeFile(at("absent.exe").c_str()));
}

TEST_F(FileSystemContract, MoveRenamesAndTheContentFollows) {
    backend_->writeFile(at("before.exe"), "the content");

    ASSERT_TRUE(fs_.moveFile(at("before.exe").c_str(), at("after.vir").c_str()));

    EXPECT_FALSE(fs_.exists(at("before.exe").c_str()));
    EXPECT_EQ(backend_->readFile(at("after.vir")), "the content");
}

TEST_F(FileSystemContract, MoveIntoAnotherFolderOfTheDrive) {
    backend_->writeFile(at("before.exe"), "the content");
    backend_->makeDirectory(at("quarantine"));

    ASSERT_TRUE(fs_.moveFile(at("before.exe").c_str(), at("quarantine\\before.exe").c_str()));

    EXPECT_FALSE(fs_.exists(at("before.exe").c_str()));
    EXPECT_EQ(backend_->readFile(at("quarantine\\before.exe")), "the content");
}

// A file the program itself still has open is neither removed nor renamed
// until it closes it: the C runtime opens files without sharing deletion.
// A scan that forgot to close a file would fail every removal on Windows.
enum class OpenedFor { kReading, kWriting };

std::ostream& operator<<(std::ostream& out, OpenedFor opened) {
    return out << (opened == OpenedFor::kReading ? "opened for reading" : "opened for writing");
}

class ChangeOfAFileHeldOpen : public FileSystemContract, public ::testing::WithParamInterface<OpenedFor> {
protected:
    int openHeld(const std::string& path) {
        return GetParam() == OpenedFor::kReading ? fs_.openForReading(path.c_str())
                                                 : fs_.openForWriting(path.c_str(), WriteMode::kTruncateExisting);
    }
};

TEST_P(ChangeOfAFileHeldOpen, IsRefusedUntilItIsClosed) {
    const std::string path = at("held.exe");
    backend_->writeFile(path, "held");
    const int held = openHeld(path);
    ASSERT_GE(held, 0);

    EXPECT_FALSE(fs_.removeFile(path.c_str()));
    EXPECT_FALSE(fs_.moveFile(path.c_str(), at("moved.exe").c_str()));
    EXPECT_TRUE(fs_.exists(path.c_str()));
    EXPECT_FALSE(fs_.exists(at("moved.exe").c_str()));
    // Another file of the folder is not held by it.
    backend_->writeFile(at("other.exe"), "other");
    EXPECT_TRUE(fs_.removeFile(at("other.exe").c_str()));

    fs_.close(held);
    EXPECT_TRUE(fs_.moveFile(path.c_str(), at("moved.exe").c_str()));
    EXPECT_TRUE(fs_.removeFile(at("moved.exe").c_str()));
    EXPECT_FALSE(fs_.exists(at("moved.exe").c_str()));
}

INSTANTIATE_TEST_SUITE_P(Opened, ChangeOfAFileHeldOpen, ::testing::Values(OpenedFor::kReading, OpenedFor::kWriting),
                         [](const ::testing::TestParamInfo<OpenedFor>& info) {
                             return info.param == OpenedFor::kReading ? "ForReading" : "ForWriting";
                         });

// A failed move leaves both source and target as they were.
struct FailedMoveCase {
    const char* description;
    const char* from;
    const char* to;
};

std::ostream& operator<<(std::ostream& out, const FailedMoveCase& c) {
    return out << c.description;
}

class FailedMove : public FileSystemContract,
                   public ::testing::WithParamInterface<FailedMoveCase> {};

TEST_P(FailedMove, ChangesNothing) {
    backend_->writeFile(at("source.exe"), "source");
    backend_->writeFile(at("taken.exe"), "taken");

    EXPECT_FALSE(fs_.moveFile(at(GetParam().from).c_str(), at(GetParam().to).c_str()));

    EXPECT_EQ(backend_->readFile(at("source.exe")), "source");
    EXPECT_EQ(backend_->readFile(at("taken.exe")), "taken");
    EXPECT_FALSE(fs_.exists(at("moved.exe").c_str()));
    EXPECT_FALSE(fs_.exists(at("missing").c_str()));
}

INSTANTIATE_TEST_SUITE_P(
    Moves, FailedMove,
    ::testing::Values(FailedMoveCase{"onto an existing file", "source.exe", "taken.exe"},
                      FailedMoveCase{"into a missing folder", "source.exe", "missing\\moved.exe"},
                      FailedMoveCase{"from a missing file", "absent.exe", "moved.exe"}));

}  // namespace
}  // namespace brisko
