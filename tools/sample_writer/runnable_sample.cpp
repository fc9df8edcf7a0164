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
// The optional header is 224 bytes in both forms, so the section table
// stays at header + 248 where the matcher reads it: PE32+ with 14 data
// directories, PE32 with the usual 16.
constexpr std::uint32_t kOptionalHeaderSize = 224;
constexpr std::uint32_t kDirectories64 = 14;
constexpr std::uint32_t kDirectories32 = 16;
static_assert(112 + kDirectories64 * 8 == kOptionalHeaderSize, "PE32+ optional header");
static_assert(96 + kDirectories32 * 8 == kOptionalHeaderSize, "PE32 optional header");

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
constexpr std::uint8_t kSleepForever64[] = {0x48, 0x83, 0xEC, 0x28, 0xB9, 0xFF, 0xFF, 0xFF, 0xFF,
                                            0xFF, 0x15, 0,    0,    0,    0,    0xEB, 0xF3};
// again: push INFINITE / call [Sleep] / jmp again (Sleep pops its argument)
constexpr std::uint8_t kSleepForever32[] = {0x6A, 0xFF, 0xFF, 0x15, 0, 0, 0, 0, 0xEB, 0xF6};

// What differs between the two machines.
struct MachineForm {
    std::uint16_t machine;
    std::uint16_t characteristics;
    std::uint16_t optionalMagic;
    std::uint64_t imageBase;
    // Operating system and subsystem version: 6.0 for x86-64; 4.0 lets the
    // 32-bit program run on every 32-bit Windows.
    std::uint16_t systemVersion;
    const std::uint8_t* code;
    std::uint32_t codeLength;
    // Where the code names Sleep's address-table entry, and whether as a
    // displacement from the end of the call (x86-64) or as an address.
    std::uint32_t callOperandAt;
    bool callIsRelative;
};

const MachineForm& formOf(RunnableMachine machine) {
    // Executable, no relocations; large addresses (x86-64) or a 32-bit
    // machine (i386).
    static const MachineForm x8664{0x8664, 0x0023, 0x20b, 0x140000000, 6, kSleepForever64,
                                   sizeof kSleepForever64, 11, true};
    static const MachineForm i386{0x014C, 0x0103, 0x10b, 0x400000, 4, kSleepForever32,
                                  sizeof kSleepForever32, 4, false};
    return machine == RunnableMachine::kI386 ? i386 : x8664;
}

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
std::uint32_t placeEntryPoint(const ThreatSignature& record, std::uint32_t sectionEnd, std::uint32_t codeLength) {
    const std::int64_t p1 = record.probeOffset1;
    const std::int64_t p2 = record.probeOffset2;
    const std::int64_t code = codeLength;
    if (overlaps(0, code, p1, kProbeLength) || overlaps(0, code, p2, kProbeLength) ||
        overlaps(p1, kProbeLength, p2, kProbeLength)) {
        return 0;
    }
    const std::int64_t entry = kImportsEnd - std::min<std::int64_t>({0, p1, p2});
    const std::int64_t end = entry + std::max<std::int64_t>({code, p1 + kProbeLength, p2 + kProbeLength});
    return end <= sectionEnd ? static_cast<std::uint32_t>(entry) : 0;
}

// The fields after the image base, from the section alignment to the size
// of the headers, stand at the same offsets in PE32 and PE32+.
void writeHeaders(Bytes& out, const MachineForm& form, std::uint32_t entry, std::uint32_t rawSize) {
    const std::uint32_t virtualSize = (rawSize + kPageSize - 1) / kPageSize * kPageSize;
    out.put(0, "MZ", 2);
    out.put32(60, kHeaderOffset);
    const std::uint32_t file = kHeaderOffset + 4;
    out.put(kHeaderOffset, "PE\0\0", 4);
    out.put16(file + 0, form.machine);
    out.put16(file + 2, 1);  // one section
    out.put16(file + 16, kOptionalHeaderSize);
    out.put16(file + 18, form.characteristics);
    const std::uint32_t optional = file + 20;
    out.put16(optional + 0, form.optionalMagic);
    out.put32(optional + 4, rawSize);
    out.put32(optional + 16, entry);
    out.put32(optional + 20, kSectionStart);
    out.put32(optional + 32, kPageSize);
    out.put32(optional + 36, 0x200);
    out.put16(optional + 40, form.systemVersion);  // operating system version
    out.put16(optional + 48, form.systemVersion);  // subsystem version
    out.put32(optional + 56, kSectionStart + virtualSize);
    out.put32(optional + 60, kHeadersSize);
    out.put16(optional + 68, 2);  // Windows GUI: no console
    std::uint32_t directories = 0;
    if (form.optionalMagic == 0x20b) {
        out.put64(optional + 24, form.imageBase);
        out.put64(optional + 72, 0x100000);  // stack and heap, reserved and committed
        out.put64(optional + 80, 0x1000);
        out.put64(optional + 88, 0x100000);
        out.put64(optional + 96, 0x1000);
        out.put32(optional + 108, kDirectories64);
        directories = optional + 112;
    } else {
        out.put32(optional + 24, kSectionStart);  // base of data
        out.put32(optional + 28, static_cast<std::uint32_t>(form.imageBase));
        out.put32(optional + 72, 0x100000);
        out.put32(optional + 76, 0x1000);
        out.put32(optional + 80, 0x100000);
        out.put32(optional + 84, 0x1000);
        out.put32(optional + 92, kDirectories32);
        directories = optional + 96;
    }
    out.put32(directories + 8, kImportDescriptors);  // the import directory
    out.put32(directories + 12, 40);
    const std::uint32_t section = optional + kOptionalHeaderSize;
    out.put(section, ".text", 5);
    out.put32(section + 8, virtualSize);
    out.put32(section + 12, kSectionStart);
    out.put32(section + 16, rawSize);
    out.put32(section + 20, kHeadersSize);
    out.put32(section + 36, 0xE0000020);  // code; execute, read, write (the loader fills the imports)
}

// The lookup and address tables hold one entry of the machine's word size.
void writeImports(Bytes& out, const MachineForm& form) {
    const auto at = [](std::uint32_t address) { return address - kSectionStart + kHeadersSize; };
    // Zero first: the loader reads the fields left out, and the second
    // descriptor ends the list only when it is all zeros.
    const std::vector<std::uint8_t> zeros(kImportsEnd - kSectionStart, 0);
    out.put(at(kImportDescriptors), zeros.data(), zeros.size());
    out.put32(at(kImportDescriptors) + 0, kLookupTable);
    out.put32(at(kImportDescriptors) + 12, kLibraryName);
    out.put32(at(kImportDescriptors) + 16, kAddressTable);
    if (form.optionalMagic == 0x20b) {
        out.put64(at(kLookupTable), kSleepName);
        out.put64(at(kAddressTable), kSleepName);
    } else {
        out.put32(at(kLookupTable), kSleepName);
        out.put32(at(kAddressTable), kSleepName);
    }
    out.put(at(kSleepName) + 2, "Sleep", 6);
    out.put(at(kLibraryName), "KERNEL32.dll", 13);
}

}  // namespace

std::vector<std::uint8_t> buildRunnableSample(const ThreatSignature& record, RunnableMachine machine) {
    if (record.expectedSize < static_cast<std::int32_t>(kHeadersSize + 0x200)) return {};
    const MachineForm& form = formOf(machine);
    const std::uint32_t fileLength = static_cast<std::uint32_t>(record.expectedSize);
    // Whole file-alignment units; the rest of the file is an overlay.
    const std::uint32_t rawSize = (fileLength - kHeadersSize) / 0x200 * 0x200;
    const std::uint32_t entry = placeEntryPoint(record, kSectionStart + rawSize, form.codeLength);
    if (entry == 0) return {};

    std::vector<std::uint8_t> bytes(fileLength, 0);
    for (std::uint32_t offset = kHeadersSize; offset < fileLength; ++offset) bytes[offset] = fillerByte(offset);
    Bytes out(bytes);
    writeHeaders(out, form, entry, rawSize);
    writeImports(out, form);
    const auto fileOffsetOf = [](std::uint32_t address) { return address - kSectionStart + kHeadersSize; };
    std::vector<std::uint8_t> code(form.code, form.code + form.codeLength);
    const std::uint32_t callEnd = form.callOperandAt + 4;
    const std::uint32_t operand = form.callIsRelative ? kAddressTable - (entry + callEnd)
                                                      : static_cast<std::uint32_t>(form.imageBase) + kAddressTable;
    for (int i = 0; i < 4; ++i) code[form.callOperandAt + i] = static_cast<std::uint8_t>(operand >> (8 * i));
    out.put(fileOffsetOf(entry), code.data(), code.size());
    out.put(fileOffsetOf(entry + static_cast<std::uint32_t>(record.probeOffset1)), record.probeBytes1, kProbeLength);
    out.put(fileOffsetOf(entry + static_cast<std::uint32_t>(record.probeOffset2)), record.probeBytes2, kProbeLength);
    return bytes;
}

}  // namespace brisko
