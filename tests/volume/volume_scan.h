#pragma once
// A volume made of real host folders next to a folder outside it, and the
// program's whole scan run over the volume as brisko-scan runs it.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/volume/volume_platform.h"
#include "tests/support/temporary_folder.h"

namespace brisko {

struct VolumeScanResult {
    unsigned filesScanned;
    unsigned filesInfected;
    unsigned filesRemoved;
    std::vector<std::string> lines;
};

class VolumeFixture {
public:
    VolumeFixture();

    // Files and links by path relative to the volume's folder; "../outside"
    // reaches the folder beside it.
    void write(const std::string& relative, const std::string& bytes);
    void writeSample(const std::string& relative, int signatureIndex);
    void link(const std::string& relative, const std::string& target);

    // Every file under the outside folder with its content.
    std::map<std::string, std::string> outsideContents() const;

    std::unique_ptr<volume::VolumePlatform> open(volume::DirectoryReader& reader = volume::systemDirectoryReader());
    VolumeScanResult scan(volume::VolumePlatform& platform, int userAction);

    const std::filesystem::path& volumeFolder() const { return volume_; }
    const std::filesystem::path& outsideFolder() const { return outside_; }
    // Read errors the backend reported.
    std::vector<std::string> readErrors;

private:
    TemporaryFolder root_{"brisko-volume-test"};
    std::filesystem::path volume_;
    std::filesystem::path outside_;
};

}  // namespace brisko
