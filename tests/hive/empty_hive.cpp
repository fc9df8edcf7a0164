#include "tests/hive/empty_hive.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <stdexcept>

namespace brisko::testing {
namespace {

constexpr std::size_t kBaseBlockSize = 4096;
constexpr std::size_t kBinSize = 4096;
constexpr std::size_t kBinHeaderSize = 32;
constexpr std::size_t kChecksumOffset = 508;
constexpr std::uint32_t kNoCell = 0xFFFFFFFF;
// 2004-01-01 as a FILETIME: any plausible time serves.
constexpr std::uint64_t kWrittenAt = 127175616000000000ULL;

constexpr std::uint16_t kKeyHiveEntry = 0x0004;
constexpr std::uint16_t kKeyCompressedName = 0x0020;
constexpr std::size_t kKeyNodeFixedSize = 0x4C;  // up to the name
constexpr std::size_t kSecurityFixedSize = 0x14;  // up to the descriptor

void put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    for (int i = 0; i < 2; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
void put64(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
void putText(std::vector<std::uint8_t>& bytes, std::size_t at, const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) bytes[at + i] = static_cast<std::uint8_t>(text[i]);
}

// Cells are sized in multiples of 8, their 4-byte size field included.
std::size_t cellSize(std::size_t content) { return (4 + content + 7) / 8 * 8; }

// A self-relative descriptor: owner Administrators, group SYSTEM, and a
// DACL allowing Administrators full access to the key and its subkeys.
std::vector<std::uint8_t> minimalSecurityDescriptor() {
    const std::uint8_t administrators[] = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 0x02, 0, 0};
    const std::uint8_t system[] = {1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};
    constexpr std::size_t kHeader = 20;
    constexpr std::size_t kOwner = kHeader;
    constexpr std::size_t kGroup = kOwner + sizeof administrators;
    constexpr std::size_t kAcl = kGroup + sizeof system;
    constexpr std::size_t kAce = kAcl + 8;
    constexpr std::size_t kAceSize = 8 + sizeof administrators;
    std::vector<std::uint8_t> sd(kAce + kAceSize);
    sd[0] = 1;                         // revision
    put16(sd, 2, 0x8004);              // SE_SELF_RELATIVE | SE_DACL_PRESENT
    put32(sd, 4, kOwner);
    put32(sd, 8, kGroup);
    put32(sd, 16, kAcl);               // no SACL at 12
    std::copy(std::begin(administrators), std::end(administrators), sd.begin() + kOwner);
    std::copy(std::begin(system), std::end(system), sd.begin() + kGroup);
    sd[kAcl] = 2;                      // ACL revision
    put16(sd, kAcl + 2, static_cast<std::uint16_t>(8 + kAceSize));
    put16(sd, kAcl + 4, 1);            // one ACE
    sd[kAce] = 0;                      // ACCESS_ALLOWED_ACE_TYPE
    sd[kAce + 1] = 0x03;               // inherited by subkeys
    put16(sd, kAce + 2, static_cast<std::uint16_t>(kAceSize));
    put32(sd, kAce + 4, 0xF003F);      // KEY_ALL_ACCESS
    std::copy(std::begin(administrators), std::end(administrators), sd.begin() + kAce + 8);
    return sd;
}

// XOR of the dwords before the checksum; 0 and all-ones are reserved.
std::uint32_t baseBlockChecksum(const std::vector<std::uint8_t>& bytes) {
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at < kChecksumOffset; at += 4) {
        sum ^= static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
               static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
    }
    if (sum == 0) return 1;
    if (sum == 0xFFFFFFFF) return 0xFFFFFFFE;
    return sum;
}

}  // namespace

std::vector<std::uint8_t> emptyHiveBytes(const std::string& rootName, std::uint32_t minorVersion) {
    std::vector<std::uint8_t> bytes(kBaseBlockSize + kBinSize);
    const std::vector<std::uint8_t> descriptor = minimalSecurityDescriptor();
    // Cell offsets count from the first bin.
    const std::size_t rootCell = kBinHeaderSize;
    const std::size_t rootCellSize = cellSize(kKeyNodeFixedSize + rootName.size());
    const std::size_t securityCell = rootCell + rootCellSize;
    const std::size_t securityCellSize = cellSize(kSecurityFixedSize + descriptor.size());
    const std::size_t freeCell = securityCell + securityCellSize;
    if (freeCell + 8 > kBinSize) throw std::runtime_error("root key name too long for one bin");

    putText(bytes, 0, "regf");
    put32(bytes, 4, 1);  // primary and secondary sequence numbers agree:
    put32(bytes, 8, 1);  // the last write completed
    put64(bytes, 12, kWrittenAt);
    put32(bytes, 20, 1);  // major version
    put32(bytes, 24, minorVersion);
    put32(bytes, 28, 0);  // a primary file
    put32(bytes, 32, 1);  // the direct memory load format
    put32(bytes, 36, static_cast<std::uint32_t>(rootCell));
    put32(bytes, 40, static_cast<std::uint32_t>(kBinSize));
    put32(bytes, 44, 1);  // clustering factor
    put32(bytes, kChecksumOffset, baseBlockChecksum(bytes));

    const std::size_t bin = kBaseBlockSize;
    putText(bytes, bin, "hbin");
    put32(bytes, bin + 4, 0);  // its offset from the first bin
    put32(bytes, bin + 8, static_cast<std::uint32_t>(kBinSize));
    put64(bytes, bin + 20, kWrittenAt);

    // Allocated cells carry their size negated.
    const std::size_t nk = bin + rootCell;
    put32(bytes, nk, static_cast<std::uint32_t>(-static_cast<std::int32_t>(rootCellSize)));
    putText(bytes, nk + 4, "nk");
    put16(bytes, nk + 6, kKeyHiveEntry | kKeyCompressedName);
    put64(bytes, nk + 8, kWrittenAt);
    put32(bytes, nk + 20, kNoCell);  // parent: none
    put32(bytes, nk + 32, kNoCell);  // subkey list
    put32(bytes, nk + 36, kNoCell);  // volatile subkey list
    put32(bytes, nk + 44, kNoCell);  // value list
    put32(bytes, nk + 48, static_cast<std::uint32_t>(securityCell));
    put32(bytes, nk + 52, kNoCell);  // class name
    put16(bytes, nk + 4 + 0x48, static_cast<std::uint16_t>(rootName.size()));
    putText(bytes, nk + 4 + kKeyNodeFixedSize, rootName);

    // The only descriptor links to itself both ways.
    const std::size_t sk = bin + securityCell;
    put32(bytes, sk, static_cast<std::uint32_t>(-static_cast<std::int32_t>(securityCellSize)));
    putText(bytes, sk + 4, "sk");
    put32(bytes, sk + 8, static_cast<std::uint32_t>(securityCell));
    put32(bytes, sk + 12, static_cast<std::uint32_t>(securityCell));
    put32(bytes, sk + 16, 1);  // referenced by the root alone
    put32(bytes, sk + 20, static_cast<std::uint32_t>(descriptor.size()));
    std::copy(descriptor.begin(), descriptor.end(), bytes.begin() + static_cast<std::ptrdiff_t>(sk + 24));

    // The rest of the bin is one free cell.
    put32(bytes, bin + freeCell, static_cast<std::uint32_t>(kBinSize - freeCell));
    return bytes;
}

void writeEmptyHive(const std::filesystem::path& file, const std::string& rootName, std::uint32_t minorVersion) {
    const std::vector<std::uint8_t> bytes = emptyHiveBytes(rootName, minorVersion);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write the hive " + file.string());
}

}  // namespace brisko::testing
