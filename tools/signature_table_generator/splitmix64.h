#pragma once
// A tiny fixed-seed generator, so the table comes out the same on every run
// and every machine.
#include <cstdint>

namespace brisko {

class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }

    // A value in [low, high]. The modulo bias is irrelevant for spans this
    // small against 2^64.
    std::int64_t between(std::int64_t low, std::int64_t high) {
        const std::uint64_t span = static_cast<std::uint64_t>(high - low) + 1;
        return low + static_cast<std::int64_t>(next() % span);
    }

private:
    std::uint64_t state_;
};

}  // namespace brisko
