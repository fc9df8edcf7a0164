// How much a scan costs over merely listing the same tree.
//
// Builds a tree of synthetic files (mostly small text files, PE images of
// lengths no signature has, and a few infected samples), then times, in the
// same run and in turn, a bare listing of the tree through the file seam,
// the listings the walk itself makes (every folder once, its subfolders kept
// and entered after its listing has closed), and the whole scan. Reports the scan's
// files per second and its ratio to both listings (medians). Then, in the
// same run and on the same tree, the real brisko-scan program against
// `find FOLDER -printf '%s'`, the cheapest walk a shell offers.
//
//   scan_benchmark [--files N] [--rounds R]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "matcher/threat_signature.h"
#include "platform/fake/fake_machine.h"
#include "scan/scan.h"
#include "scan/scan_driver.h"
#include "tools/sample_writer/sample_writer.h"
#include "ui/window_front_end.h"

namespace brisko {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr unsigned kFilesPerFolder = 100;
constexpr unsigned kFoldersPerLevel = 10;
constexpr unsigned kInfectedSamples = 10;

struct TreeShape {
    unsigned files;
    unsigned infected;
};

bool anySignatureTakes(std::uint64_t length) {
    for (unsigned i = 0; i < kSignatureCount; ++i) {
        if (sizeTestPasses(signatureTable[i], static_cast<std::int32_t>(length))) return true;
    }
    return false;
}

void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Folders three levels deep, a hundred files in each of the deepest.
fs::path folderFor(const fs::path& root, unsigned fileIndex) {
    const unsigned folder = fileIndex / kFilesPerFolder;
    return root / ("d" + std::to_string(folder / (kFoldersPerLevel * kFoldersPerLevel))) /
           ("e" + std::to_string(folder / kFoldersPerLevel % kFoldersPerLevel)) /
           ("f" + std::to_string(folder % kFoldersPerLevel));
}

TreeShape buildTree(const fs::path& root, unsigned fileCount) {
    std::mt19937 random(12345);
    // The head of a real sample, cut to lengths no signature has.
    const std::vector<std::uint8_t> image = buildSample(signatureTable[0]);
    std::vector<std::uint8_t> text(4096);
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<std::uint8_t>("lorem ipsum \n"[i % 13]);

    TreeShape shape{0, 0};
    const unsigned infectedEvery = fileCount / kInfectedSamples + 1;
    for (unsigned i = 0; i < fileCount; ++i) {
        const fs::path folder = folderFor(root, i);
        if (i % kFilesPerFolder == 0) fs::create_directories(folder);
        if (i % infectedEvery == infectedEvery / 2) {
            writeBytes(folder / ("sample" + std::to_string(i) + ".exe"),
                       buildSample(signatureTable[(i * 7) % kSignatureCount]));
            ++shape.infected;
        } else if (i % 10 == 0) {
            std::uint64_t length = 2048 + random() % 14336;
            while (anySignatureTakes(length)) ++length;
            writeBytes(folder / ("program" + std::to_string(i) + ".exe"),
                       std::vector<std::uint8_t>(image.begin(), image.begin() + static_cast<long>(length)));
        } else {
            const std::size_t length = 64 + random() % 2000;
            writeBytes(folder / ("note" + std::to_string(i) + ".txt"),
                       std::vector<std::uint8_t>(text.begin(), text.begin() + static_cast<long>(length)));
        }
        ++shape.files;
    }
    return shape;
}

// Lists every folder once, as the cheapest walk of the same tree would.
unsigned listTree(const std::string& folder) {
    unsigned entries = 0;
    std::unique_ptr<DirectoryListing> listing = files().listDirectory((folder + "\\*.*").c_str());
    if (!listing) return 0;
    DirectoryEntry entry;
    while (listing->next(entry)) {
        ++entries;
        if ((entry.attributes & kAttributeDirectory) != 0 && std::strcmp(entry.name, ".") != 0 &&
            std::strcmp(entry.name, "..") != 0) {
            entries += listTree(folder + "\\" + entry.name);
        }
    }
    return entries;
}

// Lists every folder once, as the walk does: its subfolders are kept while
// it is listed and entered once its listing has closed.
unsigned listTreeAsTheWalkDoes(const std::string& folder) {
    unsigned entries = 0;
    std::vector<std::string> subfolders;
    if (std::unique_ptr<DirectoryListing> listing = files().listDirectory((folder + "\\*.*").c_str())) {
        DirectoryEntry entry;
        while (listing->next(entry)) {
            ++entries;
            if ((entry.attributes & kAttributeDirectory) != 0 && std::strcmp(entry.name, ".") != 0 &&
                std::strcmp(entry.name, "..") != 0) {
                subfolders.emplace_back(entry.name);
            }
        }
    }
    for (const std::string& subfolder : subfolders) entries += listTreeAsTheWalkDoes(folder + "\\" + subfolder);
    return entries;
}

// The dialog's front end over a window of the simulated machine; nobody
// answers questions.
class BenchmarkFrontEnd : public WindowFrontEnd {
public:
    using WindowFrontEnd::WindowFrontEnd;
    int ask(const Question& question) override { return refusalOf(question); }
};

// The record of a whole scan of drive C:, reported to the window.
ScanSession scanTree(WindowHandle window) {
    BenchmarkFrontEnd frontEnd(window);
    Scan scan(frontEnd);
    ScanSession& session = scan.session();
    session.reportWindow = window;
    // Leave the samples where they are, so every round scans the same tree.
    session.userAction = kActionLeave;
    std::strcpy(session.scanTarget, "C:");
    runScanDriver(scan);
    return session;
}

double secondsOf(const std::function<void()>& work) {
    const Clock::time_point start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs a shell command with its output thrown away.
double secondsToRun(const std::string& command) {
    return secondsOf([&] {
        // The status tells only what was found; the time is what counts.
        [[maybe_unused]] const int status = std::system((command + " >/dev/null 2>&1").c_str());
    });
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

unsigned numberAfter(int argc, char** argv, const char* option, unsigned otherwise) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0) return static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
    }
    return otherwise;
}

}  // namespace
}  // namespace brisko

int main(int argc, char** argv) {
    using namespace brisko;
    const unsigned fileCount = numberAfter(argc, argv, "--files", 100000);
    const unsigned rounds = std::max(1u, numberAfter(argc, argv, "--rounds", 5));

    fake::FakeMachine machine;
    const fs::path root = machine.addDrive('C');
    std::printf("building a tree of %u files...\n", fileCount);
    const TreeShape shape = buildTree(root, fileCount);

    unsigned linesPosted = 0;
    const WindowHandle window = machine.fakeWindows().createWindow([&](const WindowMessage& message) {
        if (message.id == kAppendLineMessage) ++linesPosted;
    });

    // One warm-up of each, so both start from the same file cache.
    unsigned listed = listTree("C:");
    ScanSession scanSession = scanTree(window);
    std::vector<double> listingTimes;
    std::vector<double> walkListingTimes;
    std::vector<double> scanTimes;
    for (unsigned round = 0; round < rounds; ++round) {
        listingTimes.push_back(secondsOf([&] { listed = listTree("C:"); }));
        walkListingTimes.push_back(secondsOf([&] { listTreeAsTheWalkDoes("C:"); }));
        scanTimes.push_back(secondsOf([&] { scanSession = scanTree(window); }));
    }
    const double listing = median(listingTimes);
    const double walkListing = median(walkListingTimes);
    const double scan = median(scanTimes);

    std::printf("files in the tree:        %u (%u infected samples)\n", shape.files, shape.infected);
    std::printf("entries listed:           %u\n", listed);
    std::printf("files scanned, infected:  %d, %d\n", scanSession.filesScanned, scanSession.filesInfected);
    std::printf("bare listing (median):    %.3f s\n", listing);
    std::printf("walk's listings (median): %.3f s\n", walkListing);
    std::printf("scan (median):            %.3f s\n", scan);
    std::printf("scan speed:               %.0f files/s\n", shape.files / scan);
    std::printf("scan / bare listing:      %.2f\n", scan / listing);
    std::printf("scan / walk's listings:   %.2f\n", scan / walkListing);

    const std::string folder = "'" + root.string() + "'";
    const std::string briskoScan = std::string(BRISKO_SCAN_PROGRAM) + " " + folder;
    const std::string find = "find " + folder + " -printf '%s'";
    secondsToRun(find);
    std::vector<double> findTimes;
    std::vector<double> briskoScanTimes;
    for (unsigned round = 0; round < rounds; ++round) {
        findTimes.push_back(secondsToRun(find));
        briskoScanTimes.push_back(secondsToRun(briskoScan));
    }
    const double findTime = median(findTimes);
    const double briskoScanTime = median(briskoScanTimes);
    std::printf("find -printf (median):    %.3f s\n", findTime);
    std::printf("brisko-scan (median):     %.3f s\n", briskoScanTime);
    std::printf("brisko-scan / find:       %.2f\n", briskoScanTime / findTime);

    const bool consistent = scanSession.filesScanned == static_cast<std::int32_t>(shape.files) &&
                            scanSession.filesInfected == static_cast<std::int32_t>(shape.infected);
    if (!consistent) std::printf("the scan did not see the tree it was given\n");
    return consistent ? 0 : 1;
}
