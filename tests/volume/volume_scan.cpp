#include "tests/volume/volume_scan.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "matcher/threat_signature.h"
#include "scan/scan.h"
#include "scan/scan_driver.h"
#include "tests/support/recorded_scan.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko {

namespace fs = std::filesystem;

VolumeFixture::VolumeFixture() : volume_(root_.path() / "volume"), outside_(root_.path() / "outside") {
    fs::create_directories(volume_);
    fs::create_directories(outside_);
}

void VolumeFixture::write(const std::string& relative, const std::string& bytes) {
    const fs::path path = volume_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

void VolumeFixture::writeSample(const std::string& relative, int signatureIndex) {
    const std::vector<std::uint8_t> image = buildSample(signatureTable[signatureIndex]);
    write(relative, std::string(image.begin(), image.end()));
}

void VolumeFixture::link(const std::string& relative, const std::string& target) {
    const fs::path path = volume_ / relative;
    fs::create_directories(path.parent_path());
    fs::create_symlink(target, path);
}

std::map<std::string, std::string> VolumeFixture::outsideContents() const {
    std::map<std::string, std::string> contents;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(outside_)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        contents[entry.path().string()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return contents;
}

std::unique_ptr<volume::VolumePlatform> VolumeFixture::open(volume::DirectoryReader& reader) {
    return volume::VolumePlatform::open(
        volume_.c_str(), [this](const std::string& line) { readErrors.push_back(line); }, reader);
}

VolumeScanResult VolumeFixture::scan(volume::VolumePlatform& platform, int userAction) {
    installPlatform(&platform);
    testing::EventLog log;
    testing::RecordingFrontEnd frontEnd(log);
    Scan scan(frontEnd);
    ScanSession& session = scan.session();
    session.reportWindow = kWindowlessReport;
    std::snprintf(session.scanTarget, sizeof session.scanTarget, "C:");
    session.userAction = userAction;
    runScanDriver(scan);
    installPlatform(nullptr);
    VolumeScanResult result{static_cast<unsigned>(session.filesScanned), static_cast<unsigned>(session.filesInfected),
                            static_cast<unsigned>(session.filesRemoved), {}};
    for (const std::string& event : log) {
        if (event.rfind("line: ", 0) == 0) result.lines.push_back(event.substr(6));
    }
    return result;
}

}  // namespace brisko
