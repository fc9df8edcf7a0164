#include "tools/sample_writer/runnable_sample.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "tools/sample_writer/filler.h"

namespace brisko {
namespace {

constexpr std::uint32_t kHeaderOffset = 0x80;
constexpr std::uint32_t kHeadersSize = 0x200;
constexpr std::uint32_t kSectionStart = 0x1000;  // the one section's address
constexpr std::uint32_t kPageSize = 0x1000;
constexpr std::uint64_t kImageBase = 0x140000000;
constexpr std::uint32_t kDataDirectories = 14;
constexpr std::uint32_t kOptionalHeaderSize = 112 + kDataDirectories * 8;
static_assert(kOptionalHeaderSize == 224, "the section table must stay at header + 248");

// The import table at the start of the section: one descriptor and its
// terminator, the lookup and address tables (one entry and a zero each),
// the hint and name of Sleep, the library name.
constexpr std::uint32_t kImportDescriptors = kSectionStart;
constexpr std::uint32_t kLookupTable = kSectionStart + 0x28;
constexpr std::uint32_t kAddressTable = kSectionStart + 0x38;
constexpr std::uint32_t kSleepName = kSectionStart + 0x48;
constexpr std::uint32_t kLibraryName = kSectionStart + 0x50;
constexpr std::uint32_t kImportsEnd = kSectionStart + 0x60;

// sub rsp, 40 / again: mov ecx, INFINITE / call [rip + Sleep] / jmp again
constexpr std::uint8_t kSleepForever[] = {0x48, 0x83, 0xEC, 0x28, 0xB9, 0xFF, 0xFF, 0xFF, 0xFF,
                                          0xFF, 0x15, 0,    0,    0,    0,    0xEB, 0xF3};
constexpr std::uint32_t kCallDisplacementAt = 11;
constexpr std::uint32_t kCallEnd = 15;

class Bytes {
public:
    explicit Bytes(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    void put(std::uint32_t at, const void* data, std::size_t length) { std::memcpy(&bytes_.at(at), data, length); }
    void put16(std::uint32_t at, std::uint16_t value) { putLittle(at, value, 2); }
    void put32(std::uint32_t at, std::uint32_t value) { putLittle(at, value, 4); }
    void put64(std::uint32_t at, std::uint64_t value) { putLittle(at, value, 8); }

private:
    void putLittle(std::uint32_t at, std::uint64_t value, int length) {
        for (int i = 0; i < length; ++i) bytes_.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
    }
    std::vector<std::uint8_t>& bytes_;
};

bool overlaps(std::int64_t start1, std::int64_t length1, std::int64_t start2, std::int64_t length2) {
    return start1 < start2 + length2 && start2 < start1 + length1;
}

// The lowest entry point that keeps the code and both probe windows inside
// the section's file data, past the imports and apart; 0 when none does.
std::uint32_t placeEntryPoint(const ThreatSignature& record, std::uint32_t sectionEnd) {
    const std::int64_t p1 = record.probeOffset1;
    const std::int64_t p2 = record.probeOffset2;
    const std::int64_t code = sizeof kSleepForever;
    if (overlaps(0, code, p1, kProbeLength) || overlaps(0, code, p2, kProbeLength) ||
        overlaps(p1, kProbeLength, p2, kProbeLength)) {
        return 0;
    }
    const std::int64_t entry = kImportsEnd - std::min<std::int64_t>({0, p1, p2});
    const std::int64_t end = entry + std::max<std::int64_t>({code, p1 + kProbeLength, p2 + kProbeLength});
    return end <= sectionEnd ? static_cast<std::uint32_t>(entry) : 0;
}

void writeHeaders(Bytes& out, std::uint32_t entry, std::uint32_t rawSize) {
    const std::uint32_t virtualSize = (rawSize + kPageSize - 1) / kPageSize * kPageSize;
    out.put(0, "MZ", 2);
    out.put32(60, kHeaderOffset);
    const std::uint32_t file = kHeaderOffset + 4;
    out.put(kHeaderOffset, "PE\0\0", 4);
    out.put16(file + 0, 0x8664);  // x86-64
    out.put16(file + 2, 1);       // one section
    out.put16(file + 16, kOptionalHeaderSize);
    out.put16(file + 18, 0x0023);  // executable, no relocations, large addresses
    const std::uint32_t optional = file + 20;
    out.put16(optional + 0, 0x20b);  // PE32+
    out.put32(optional + 4, rawSize);
    out.put32(optional + 16, entry);
    out.put32(optional + 20, kSectionStart);
    out.put64(optional + 24, kImageBase);
    out.put32(optional + 32, kPageSize);
    out.put32(optional + 36, 0x200);
    out.put16(optional + 40, 6);  // operating system version 6.0
    out.put16(optional + 48, 6);  // subsystem version 6.0
    out.put32(optional + 56, kSectionStart + virtualSize);
    out.put32(optional + 60, kHeadersSize);
    out.put16(optional + 68, 2);  // Windows GUI: no console
    out.put64(optional + 72, 0x100000);
    out.put64(optional + 80, 0x1000);
    out.put64(optional + 88, 0x100000);
    out.put64(optional + 96, 0x1000);
    out.put32(optional + 108, kDataDirectories);
    out.put32(optional + 112 + 8, kImportDescriptors);  // the import directory
    out.put32(optional + 112 + 12, 40);
    const std::uint32_t section = optional + kOptionalHeaderSize;
    out.put(section, ".text", 5);
    out.put32(section + 8, virtualSize);
    out.put32(section + 12, kSectionStart);
    out.put32(section + 16, rawSize);
    out.put32(section + 20, kHeadersSize);
    out.put32(section + 36, 0xE0000020);  // code; execute, read, write (the loader fills the imports)
}

void writeImports(Bytes& out) {
    const auto at = [](std::uint32_t address) { return address - kSectionStart + kHeadersSize; };
    // Zero first: the loader reads the fields left out, and the second
    // descriptor ends the list only when it is all zeros.
    const std::vector<std::uint8_t> zeros(kImportsEnd - kSectionStart, 0);
    out.put(at(kImportDescriptors), zeros.data(), zeros.size());
    out.put32(at(kImportDescriptors) + 0, kLookupTable);
    out.put32(at(kImportDescriptors) + 12, kLibraryName);
    out.put32(at(kImportDescriptors) + 16, kAddressTable);
    out.put64(at(kLookupTable), kSleepName);
    out.put64(at(kAddressTable), kSleepName);
    out.put(at(kSleepName) + 2, "Sleep", 6);
    out.put(at(kLibraryName), "KERNEL32.dll", 13);
}

}  // namespace

std::vector<std::uint8_t> buildRunnableSample(const ThreatSignature& record) {
    if (record.expectedSize < static_cast<std::int32_t>(kHeadersSize + 0x200)) return {};
    const std::uint32_t fileLength = static_cast<std::uint32_t>(record.expectedSize);
    // Whole file-alignment units; the rest of the file is an overlay.
    const std::uint32_t rawSize = (fileLength - kHeadersSize) / 0x200 * 0x200;
    const std::uint32_t entry = placeEntryPoint(record, kSectionStart + rawSize);
    if (entry == 0) return {};

    std::vector<std::uint8_t> bytes(fileLength, 0);
    for (std::uint32_t offset = kHeadersSize; offset < fileLength; ++offset) bytes[offset] = fillerByte(offset);
    Bytes out(bytes);
    writeHeaders(out, entry, rawSize);
    writeImports(out);
    const auto fileOffsetOf = [](std::uint32_t address) { return address - kSectionStart + kHeadersSize; };
    std::uint8_t code[sizeof kSleepForever];
    std::memcpy(code, kSleepForever, sizeof code);
    const std::uint32_t displacement = kAddressTable - (entry + kCallEnd);
    for (int i = 0; i < 4; ++i) code[kCallDisplacementAt + i] = static_cast<std::uint8_t>(displacement >> (8 * i));
    out.put(fileOffsetOf(entry), code, sizeof code);
    out.put(fileOffsetOf(entry + static_cast<std::uint32_t>(record.probeOffset1)), record.probeBytes1, kProbeLength);
    out.put(fileOffsetOf(entry + static_cast<std::uint32_t>(record.probeOffset2)), record.probeBytes2, kProbeLength);
    return bytes;
}

}  // namespace brisko
