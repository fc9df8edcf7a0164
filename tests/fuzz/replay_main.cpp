// Replays a fuzz target without libFuzzer, for the ordinary test run: every
// file of its seed corpus, then a fixed number of mutations of them drawn
// from a fixed seed, so a run is the same on every machine.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr unsigned kMutationRuns = 2000;
constexpr std::uint32_t kMutationSeed = 20261210;
constexpr std::size_t kLargestInput = 1 << 20;

using Bytes = std::vector<std::uint8_t>;

bool readCorpus(const std::filesystem::path& folder, std::vector<Bytes>& seeds) {
    std::error_code error;
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file()) paths.push_back(entry.path());
    }
    if (error) return false;
    std::sort(paths.begin(), paths.end());
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.eof() && in.fail()) return false;
        seeds.push_back(std::move(bytes));
    }
    return !seeds.empty();
}

// One to four edits of the kinds libFuzzer makes most: flipped bits,
// inserted and deleted bytes, boundary values, and a splice of two seeds.
Bytes mutate(const std::vector<Bytes>& seeds, std::mt19937& random) {
    auto below = [&random](std::size_t bound) {
        return bound == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, bound - 1)(random);
    };
    Bytes bytes = seeds[below(seeds.size())];
    static const std::uint8_t kBoundaries[] = {0x00, 0x01, 0x7F, 0x80, 0xFF, '\r', '\n', '['};
    const std::size_t edits = 1 + below(4);
    for (std::size_t i = 0; i < edits; ++i) {
        switch (below(5)) {
            case 0:
                if (!bytes.empty()) bytes[below(bytes.size())] ^= static_cast<std::uint8_t>(1u << below(8));
                break;
            case 1:
                if (bytes.size() < kLargestInput) {
                    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(below(bytes.size() + 1)),
                                 static_cast<std::uint8_t>(below(256)));
                }
                break;
            case 2:
                if (!bytes.empty()) bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(below(bytes.size())));
                break;
            case 3:
                if (!bytes.empty()) bytes[below(bytes.size())] = kBoundaries[below(sizeof kBoundaries)];
                break;
            default: {
                const Bytes& other = seeds[below(seeds.size())];
                const std::size_t keep = below(bytes.size() + 1);
                const std::size_t from = below(other.size() + 1);
                bytes.resize(keep);
                bytes.insert(bytes.end(), other.begin() + static_cast<std::ptrdiff_t>(from), other.end());
                break;
            }
        }
    }
    return bytes;
}

// libFuzzer hands every input over in a block of exactly its size; so does
// the replay, so that a read past the end shows under the address sanitizer.
void run(const Bytes& bytes) {
    const std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), exact.get());
    LLVMFuzzerTestOneInput(exact.get(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    std::vector<Bytes> seeds;
    if (!readCorpus(argv[1], seeds)) {
        std::fprintf(stderr, "%s: no readable seed in %s\n", argv[0], argv[1]);
        return 1;
    }
    for (const Bytes& seed : seeds) run(seed);
    std::mt19937 random(kMutationSeed);
    for (unsigned i = 0; i < kMutationRuns; ++i) run(mutate(seeds, random));
    std::printf("%zu seeds and %u mutations passed\n", seeds.size(), kMutationRuns);
    return 0;
}
