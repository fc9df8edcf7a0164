// The volume backend's safety rules over real folders: links are never
// doors, ".." and other drives name nothing, names are matched without
// regard to case, and a whole scan that removes what it finds changes
// nothing outside the volume.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "session/scan_session.h"
#include "tests/volume/volume_scan.h"

namespace brisko {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class VolumeSafety : public ::testing::Test {
protected:
    // Every name a listing of the pattern gives.
    std::vector<std::string> listed(const std::string& pattern) {
        std::vector<std::string> names;
        std::unique_ptr<DirectoryListing> listing = platform_->files().listDirectory(pattern.c_str());
        DirectoryEntry entry{};
        while (listing && listing->next(entry)) names.emplace_back(entry.name);
        return names;
    }

    VolumeFixture volume_;
    std::unique_ptr<volume::VolumePlatform> platform_;
};

// A volume whose links lead out of it, to themselves and to each other.
class LinksOnTheVolume : public VolumeSafety {
protected:
    LinksOnTheVolume() {
        volume_.writeSample("../outside/infected.exe", 7);
        volume_.writeSample("../outside/folder/deep.exe", 8);
        volume_.write("real.txt", "inside");
        volume_.link("toFolder", volume_.outsideFolder() / "folder");
        volume_.link("toFile.exe", volume_.outsideFolder() / "infected.exe");
        volume_.link("relative.exe", "../outside/infected.exe");
        volume_.link("self", "self");
        volume_.link("loopA", "loopB");
        volume_.link("loopB", "loopA");
        volume_.link("dir/up", "..");
        platform_ = volume_.open();
    }
};

TEST_F(LinksOnTheVolume, AreLeftOutOfListings) {
    EXPECT_THAT(listed("C:\\*.*"), ElementsAre("dir", "real.txt"));
    EXPECT_THAT(listed("C:\\dir\\*.*"), ElementsAre(".", ".."));
}

TEST_F(LinksOnTheVolume, CannotBeOpenedRemovedOrWrittenThrough) {
    FileSystem& files = platform_->files();
    const auto before = volume_.outsideContents();
    for (const std::string link : {"C:\\toFolder", "C:\\toFile.exe", "C:\\relative.exe", "C:\\self", "C:\\loopA",
                                   "C:\\dir\\up"}) {
        SCOPED_TRACE(link);
        EXPECT_FALSE(files.exists(link.c_str()));
        EXPECT_EQ(files.openForReading(link.c_str()), -1);
        EXPECT_EQ(files.listDirectory((link + "\\*.*").c_str()), nullptr);
        EXPECT_EQ(files.listDirectory(link.c_str()), nullptr);
        EXPECT_FALSE(files.setAttributes(link.c_str(), kAttributeReadOnly));
        EXPECT_FALSE(files.removeFile(link.c_str()));
        EXPECT_FALSE(files.moveFile(link.c_str(), "C:\\moved"));
        EXPECT_EQ(files.openForWriting(link.c_str(), WriteMode::kCreateNew), -1);
        EXPECT_EQ(files.openForWriting(link.c_str(), WriteMode::kTruncateExisting), -1);
        EXPECT_FALSE(files.copyFile("C:\\real.txt", link.c_str()));
        EXPECT_FALSE(files.copyFile(link.c_str(), "C:\\copied"));
        // Nor is any of them a folder on the way.
        EXPECT_FALSE(files.exists((link + "\\deep.exe").c_str()));
        EXPECT_EQ(files.openForWriting((link + "\\new.exe").c_str(), WriteMode::kCreateNew), -1);
        EXPECT_FALSE(files.moveFile("C:\\real.txt", (link + "\\real.txt").c_str()));
    }
    EXPECT_EQ(volume_.outsideContents(), before);
    EXPECT_TRUE(files.exists("C:\\real.txt"));
    EXPECT_FALSE(files.exists("C:\\moved"));
    EXPECT_FALSE(files.exists("C:\\copied"));
}

TEST_F(LinksOnTheVolume, AScanThatRemovesFindsOnlyTheVolumesOwnSample) {
    volume_.writeSample("Windows/svc.exe", 3);
    volume_.link("Documents and Settings", volume_.volumeFolder() / "Windows");
    platform_ = volume_.open();
    const auto before = volume_.outsideContents();

    const VolumeScanResult result = volume_.scan(*platform_, kActionRemove);

    EXPECT_EQ(result.filesScanned, 2u);  // real.txt and Windows\svc.exe, once
    EXPECT_EQ(result.filesInfected, 1u);
    EXPECT_EQ(result.filesRemoved, 1u);
    EXPECT_THAT(result.lines, ::testing::Contains(HasSubstr("C:\\Windows\\svc.exe")));
    EXPECT_FALSE(std::filesystem::exists(volume_.volumeFolder() / "Windows/svc.exe"));
    EXPECT_EQ(volume_.outsideContents(), before);
    EXPECT_TRUE(volume_.readErrors.empty());
}

// Paths that would leave the volume, or name no part of it.
class PathsOffTheVolume : public VolumeSafety, public ::testing::WithParamInterface<const char*> {
protected:
    PathsOffTheVolume() {
        volume_.write("dir/inside.exe", "inside");
        volume_.write("../outside/x.exe", "outside");
        platform_ = volume_.open();
    }
};

TEST_P(PathsOffTheVolume, NameNothing) {
    FileSystem& files = platform_->files();
    const char* path = GetParam();

    EXPECT_FALSE(files.exists(path));
    EXPECT_EQ(files.openForReading(path), -1);
    EXPECT_EQ(files.listDirectory(path), nullptr);
    EXPECT_FALSE(files.removeFile(path));
    EXPECT_EQ(files.openForWriting(path, WriteMode::kTruncateExisting), -1);

    EXPECT_TRUE(std::filesystem::exists(volume_.volumeFolder() / "dir/inside.exe"));
    EXPECT_TRUE(std::filesystem::exists(volume_.outsideFolder() / "x.exe"));
}

INSTANTIATE_TEST_SUITE_P(Paths, PathsOffTheVolume,
                         ::testing::Values("C:\\dir\\..\\..\\outside\\x.exe", "C:\\..\\outside\\x.exe",
                                           "C:..\\outside\\x.exe", "C:\\dir\\..\\dir\\inside.exe",
                                           "C:/dir/../dir/inside.exe", "D:\\dir\\inside.exe",
                                           "\\dir\\inside.exe", "dir\\inside.exe"));

TEST_F(VolumeSafety, OnlyDriveCIsThere) {
    platform_ = volume_.open();
    EXPECT_EQ(platform_->files().driveType("C:\\"), kDriveFixed);
    EXPECT_EQ(platform_->files().driveType("c:\\"), kDriveFixed);
    for (const char* root : {"A:\\", "D:\\", "Z:\\"}) EXPECT_EQ(platform_->files().driveType(root), kDriveNoRootDirectory);
}

TEST_F(VolumeSafety, NamesAreFoundInAnyCaseAndTheExactCaseWins) {
    volume_.write("Windows/System32/Kernel32.DLL", "kernel");
    volume_.write("Name.txt", "upper");
    volume_.write("name.txt", "lower");
    platform_ = volume_.open();
    FileSystem& files = platform_->files();

    EXPECT_TRUE(files.exists("C:\\WINDOWS\\system32\\kernel32.dll"));
    EXPECT_THAT(listed("C:\\windows\\SYSTEM32\\*.*"), ElementsAre(".", "..", "Kernel32.DLL"));
    EXPECT_THAT(listed("C:\\windows\\system32\\KERNEL32.*"), ElementsAre("Kernel32.DLL"));
    EXPECT_THAT(listed("C:\\windows\\system32\\kernel32.dll"), ElementsAre("Kernel32.DLL"));
    for (const auto& [path, content] : {std::pair<const char*, const char*>{"C:\\Name.txt", "upper"},
                                        {"C:\\name.txt", "lower"}}) {
        SCOPED_TRACE(path);
        EXPECT_THAT(listed(path), ElementsAre(std::string(path).substr(3)));
        const int descriptor = files.openForReading(path);
        ASSERT_GE(descriptor, 0);
        char bytes[5];
        EXPECT_EQ(files.read(descriptor, bytes, sizeof bytes), 5);
        files.close(descriptor);
        EXPECT_EQ(std::string(bytes, 5), content);
    }
    // A new name spelt like an existing one in other letters is that file.
    EXPECT_EQ(files.openForWriting("C:\\windows\\SYSTEM32\\KERNEL32.dll", WriteMode::kCreateNew), -1);
    EXPECT_TRUE(files.moveFile("C:\\WINDOWS\\System32\\kernel32.dll", "C:\\Windows\\System32\\KERNEL32.DLL"));
    EXPECT_TRUE(std::filesystem::exists(volume_.volumeFolder() / "Windows/System32/KERNEL32.DLL"));
}

TEST_F(VolumeSafety, ReadOnlyIsTheLackOfWriteBitsAndArchiveLetsARemovalGoAhead) {
    volume_.write("locked.exe", "x");
    std::filesystem::permissions(volume_.volumeFolder() / "locked.exe", std::filesystem::perms::owner_read);
    platform_ = volume_.open();
    FileSystem& files = platform_->files();

    std::unique_ptr<DirectoryListing> listing = files.listDirectory("C:\\locked.exe");
    DirectoryEntry entry{};
    ASSERT_TRUE(listing && listing->next(entry));
    EXPECT_EQ(entry.attributes, kAttributeReadOnly | kAttributeArchive);
    EXPECT_FALSE(files.removeFile("C:\\locked.exe"));
    ASSERT_TRUE(files.setAttributes("C:\\locked.exe", kAttributeArchive));
    EXPECT_TRUE(files.removeFile("C:\\locked.exe"));
    EXPECT_FALSE(std::filesystem::exists(volume_.volumeFolder() / "locked.exe"));
}

}  // namespace
}  // namespace brisko
