#pragma once
// brisko-scan over a Windows volume on a real NTFS file system: an image in
// the test's folder, mounted through ntfs-3g where the volume folder would
// be. Skipped, with the reason, where FUSE or ntfs-3g is missing or the
// mount is refused.
//
// Each test writes its volume, then checkRemoval runs the program as a
// person would: --action leave, which must change nothing, then --action
// remove; it unmounts, has ntfsfix look over the image, mounts it read-only
// and compares every path with what it was before the runs.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/brisko_scan/scan_run_fixture.h"
#include "tests/support/folder_snapshot.h"
#include "tests/support/ntfs_image.h"

namespace brisko::testing {

// What --action remove may change on the volume, and nothing else: paths
// below the volume's folder as the volume spells them.
struct ExpectedChanges {
    // A copy of a file as it was before the runs (an infected hosts file's),
    // named as the program names the file, which may differ in case from
    // the volume's spelling.
    struct Copy {
        std::string of;
        std::string as;
    };
    // Infected files taken away.
    std::vector<std::string> removed;
    // Hives written anew, the old one kept beside as NAME.brisko-backup.
    std::vector<std::string> rewrittenHives;
    std::vector<Copy> copies;
    // Infected files the removal cannot take away: the run says so and ends
    // with status 3.
    std::vector<std::string> notRemoved;
};

struct LeaveAndRemoveRuns {
    ScanRun leave;
    ScanRun remove;
};

class NtfsVolumeTest : public ScanRunTest {
protected:
    void SetUp() override;

    // The ntfs-3g options of the mount the program runs on.
    virtual std::string mountOptions() const { return ""; }

    // Mounted anew with these options. A reparse point set through an
    // attribute shows as a link only on a fresh mount: until then the
    // kernel keeps the folder it knew.
    void remount(const std::string& options);

    // The file's DOS attributes (FILE_ATTRIBUTE_*), as Windows sets them.
    void setDosAttributes(const std::string& relative, std::uint32_t attributes);
    std::uint32_t dosAttributesOf(const std::string& relative);
    // An empty folder made into a reparse point (reparse_data.h); it shows
    // as a link after remount.
    void makeReparsePoint(const std::string& relative, const std::vector<std::uint8_t>& data);

    // Runs both actions over the volume and checks the image as the header
    // says; the volume is mounted read-only afterwards.
    LeaveAndRemoveRuns checkRemoval(const ExpectedChanges& expected);

    std::optional<NtfsImage> image_;

private:
    void expectOnlyTheseChanges(const FolderSnapshot& before, const ExpectedChanges& expected);
};

// C:\Windows\x.exe for Windows/x.exe.
std::string windowsPathOf(const std::string& relative);
// How often a line of the run says this file was removed.
std::size_t removalsReported(const ScanRun& run, const std::string& relative);

}  // namespace brisko::testing
