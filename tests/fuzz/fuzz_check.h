#pragma once
// What every fuzz target shares: an invariant check that stops the run where
// libFuzzer (or the replay driver) reports it, and the entry point.
#include <cstddef>
#include <cstdint>
#include <cstdio>

// A violated invariant: say which, then trap so the input is kept.
#define FUZZ_CHECK(condition)                                                          \
    do {                                                                               \
        if (!(condition)) {                                                            \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            __builtin_trap();                                                          \
        }                                                                              \
    } while (0)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
