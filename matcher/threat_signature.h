#pragma once
// The record of one signature and the table of all of them.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace brisko {

constexpr unsigned kProbeLength = 20;
constexpr unsigned kThreatNameCapacity = 50;
// Size mode 2 accepts a length closer than this to the expected size.
constexpr std::int32_t sizeTolerance = 4096;

enum SizeMode : std::int32_t {
    kSizeExact = 1,
    kSizeNear = 2,
    kSizeAny = 3,
};

// One signature, laid out byte for byte as it is stored: 108 bytes,
// little-endian, the two probe offsets at unaligned positions.
#pragma pack(push, 1)
struct ThreatSignature {
    char name[kThreatNameCapacity];  // empty in the end record
    std::int32_t probeOffset1;       // from the entry point
    std::uint8_t probeBytes1[kProbeLength];
    std::uint8_t zero1;
    std::int32_t probeOffset2;
    std::uint8_t probeBytes2[kProbeLength];
    std::uint8_t zero2;
    std::int32_t expectedSize;
    std::int32_t sizeMode;
};
#pragma pack(pop)

static_assert(sizeof(ThreatSignature) == 108, "a signature record is 108 bytes");
static_assert(offsetof(ThreatSignature, probeOffset1) == 50, "probeOffset1 at byte 50");
static_assert(offsetof(ThreatSignature, probeBytes1) == 54, "probeBytes1 at byte 54");
static_assert(offsetof(ThreatSignature, probeOffset2) == 75, "probeOffset2 at byte 75");
static_assert(offsetof(ThreatSignature, probeBytes2) == 79, "probeBytes2 at byte 79");
static_assert(offsetof(ThreatSignature, expectedSize) == 100, "expectedSize at byte 100");
static_assert(offsetof(ThreatSignature, sizeMode) == 104, "sizeMode at byte 104");

constexpr unsigned kSignatureCount = 125;

// The 125 signatures in table order, then the end record.
extern const ThreatSignature signatureTable[kSignatureCount + 1];

// The record's name: its field may be filled to the last byte with no
// terminator, so it is never measured past the field.
inline std::string_view threatNameOf(const ThreatSignature& signature) {
    const void* end = std::memchr(signature.name, '\0', sizeof signature.name);
    const std::size_t length = end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - signature.name)
                                              : sizeof signature.name;
    return std::string_view(signature.name, length);
}

// Whether a record's size test passes for a file of this length.
bool sizeTestPasses(const ThreatSignature& signature, std::int32_t fileLength);

}  // namespace brisko
