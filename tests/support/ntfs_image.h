#pragma once
// An NTFS volume for a test: an image file made by mkntfs in the test's own
// folder, mounted through ntfs-3g's FUSE driver.
//
// The driver runs in the foreground as a child of the test, so an unmount is
// over, and the image whole, once the child has ended: a check of the image
// right after never races the driver's last writes. Should the test die
// first, the child is told to unmount and end; the destructor unmounts
// whatever is still mounted.
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace brisko::testing {

struct ProgramRun {
    int exitStatus;      // -1 when the program did not end by itself
    std::string output;  // standard output and error, as they came
};

// Runs a program with these arguments, the first its name: found on PATH or
// in the system folders, where mkntfs is and where a user's PATH may not go.
ProgramRun runProgram(const std::vector<std::string>& arguments);

class NtfsImage {
public:
    // Why NTFS images cannot be made and mounted on this machine; nothing
    // when the FUSE device and the ntfs-3g tools are there.
    static std::optional<std::string> whyUnavailable();

    // Makes an empty volume of `megabytes` in `image`, to be mounted on the
    // existing empty folder `mountPoint`. Throws std::runtime_error when
    // mkntfs fails.
    NtfsImage(std::filesystem::path image, std::filesystem::path mountPoint, unsigned megabytes = 64);
    ~NtfsImage();
    NtfsImage(const NtfsImage&) = delete;
    NtfsImage& operator=(const NtfsImage&) = delete;

    // Mounts with these ntfs-3g options ("ro", "permissions", or none).
    // Nothing when mounted, the driver's own words when it refused.
    std::optional<std::string> mount(const std::string& options = "");
    // Unmounts and waits for the driver to end. Throws std::runtime_error
    // when the driver ends with a failure.
    void unmount();
    bool mounted() const { return driver_ > 0; }

    // ntfsfix -n: what it would repair on the unmounted image.
    ProgramRun check() const;

    const std::filesystem::path& mountPoint() const { return mountPoint_; }

private:
    // Waits until the mount point is on the driver's device; false when the
    // driver ended first.
    bool awaitMount();
    int awaitDriver();

    std::filesystem::path image_;
    std::filesystem::path mountPoint_;
    std::filesystem::path driverLog_;
    pid_t driver_ = -1;
};

}  // namespace brisko::testing
