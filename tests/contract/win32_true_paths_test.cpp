// The file seam sees the true file system of 64-bit Windows, whichever build
// runs: system32 is the native folder and SysWOW64 only itself, so a 32-bit
// build under WoW64 neither walks SysWOW64 twice nor misses the native
// system32. The runner (tests/wine/run-win32-tests.sh) puts a marker file
// into each of the two folders from outside Windows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win32/win32_file_system.h"

namespace brisko {
namespace {

constexpr const char* kSystem32 = "C:\\windows\\system32\\";
constexpr const char* kSysWow64 = "C:\\windows\\syswow64\\";

std::vector<std::string> markersIn(FileSystem& files, const std::string& folder) {
    std::vector<std::string> names;
    std::unique_ptr<DirectoryListing> listing = files.listDirectory((folder + "brisko-marker-*").c_str());
    DirectoryEntry entry{};
    while (listing && listing->next(entry)) names.emplace_back(entry.name);
    return names;
}

std::string contentOf(FileSystem& files, const std::string& path) {
    const int descriptor = files.openForReading(path.c_str());
    if (descriptor < 0) return "(cannot be opened)";
    char bytes[64] = {};
    const int read = files.read(descriptor, bytes, sizeof bytes - 1);
    files.close(descriptor);
    return std::string(bytes, read > 0 ? static_cast<std::size_t>(read) : 0);
}

TEST(Win32TruePathsTest, System32IsTheNativeFolderAndSysWow64OnlyItself) {
    Win32FileSystem files;
    if (!files.exists((std::string(kSysWow64) + "brisko-marker-syswow64.txt").c_str())) {
        GTEST_SKIP() << "no SysWOW64 marker: 32-bit Windows";
    }
    EXPECT_EQ(markersIn(files, kSystem32), std::vector<std::string>{"brisko-marker-system32.txt"});
    EXPECT_EQ(markersIn(files, kSysWow64), std::vector<std::string>{"brisko-marker-syswow64.txt"});
    EXPECT_FALSE(files.exists((std::string(kSystem32) + "brisko-marker-syswow64.txt").c_str()));
    EXPECT_EQ(contentOf(files, std::string(kSystem32) + "brisko-marker-system32.txt"), "system32");
    char shortPath[260] = {};
    EXPECT_GT(files.shortPathName((std::string(kSystem32) + "brisko-marker-system32.txt").c_str(), shortPath,
                                  sizeof shortPath),
              0u);
}

}  // namespace
}  // namespace brisko
