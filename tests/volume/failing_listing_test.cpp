// A folder whose listing fails midway, through a directory reader that
// fails in that folder after a few names: one report line names the folder
// and the error, the listing ends there and the walk goes on.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>
#include <string>

#include "session/scan_session.h"
#include "tests/volume/volume_scan.h"

namespace brisko {
namespace {

using ::testing::AllOf;
using ::testing::Each;
using ::testing::HasSubstr;

class FailingAfter : public volume::DirectoryStream {
public:
    FailingAfter(std::unique_ptr<volume::DirectoryStream> real, int names) : real_(std::move(real)), left_(names) {}
    bool next(std::string& name, int& error) override {
        if (left_-- == 0) {
            error = EIO;
            return false;
        }
        return real_->next(name, error);
    }

private:
    std::unique_ptr<volume::DirectoryStream> real_;
    int left_;
};

// Fails in the one folder of that inode; reads every other as the host does.
class ReaderFailingInOneFolder : public volume::DirectoryReader {
public:
    ReaderFailingInOneFolder(ino_t folder, int names) : folder_(folder), names_(names) {}
    std::unique_ptr<volume::DirectoryStream> read(int folder) override {
        std::unique_ptr<volume::DirectoryStream> real = volume::systemDirectoryReader().read(folder);
        struct stat status {};
        if (!real || ::fstat(folder, &status) != 0 || status.st_ino != folder_) return real;
        return std::make_unique<FailingAfter>(std::move(real), names_);
    }

private:
    ino_t folder_;
    int names_;
};

TEST(FailingListing, IsReportedOnceAListingAndTheWalkGoesOn) {
    VolumeFixture volume;
    volume.write("top.txt", "top");
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"}) volume.write(std::string("Big/") + name, "x");
    volume.write("Later/notes.txt", "notes");
    volume.writeSample("Later/tool.exe", 11);
    struct stat big {};
    ASSERT_EQ(::stat((volume.volumeFolder() / "Big").c_str(), &big), 0);
    ReaderFailingInOneFolder reader(big.st_ino, 3);
    std::unique_ptr<volume::VolumePlatform> platform = volume.open(reader);

    const VolumeScanResult result = volume.scan(*platform, kActionLeave);

    // top.txt, three names of Big, and both of Later after it.
    EXPECT_EQ(result.filesScanned, 6u);
    EXPECT_EQ(result.filesInfected, 1u);
    EXPECT_THAT(result.lines, ::testing::Contains(HasSubstr("C:\\Later\\tool.exe")));
    // The walk lists each folder once: one line for the folder.
    EXPECT_EQ(volume.readErrors.size(), 1u);
    EXPECT_THAT(volume.readErrors, Each(AllOf(HasSubstr("C:\\Big\\"), HasSubstr("Input/output error"))));
}

}  // namespace
}  // namespace brisko
