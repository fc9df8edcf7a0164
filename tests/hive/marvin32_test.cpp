// Marvin32 against the published test vectors (the .NET runtime's
// MarvinTests: three seeds, inputs of 0 to 7 bytes; SymCrypt's known
// answer, byte by byte), and the log seed's halves in the order the kernel
// hands them to SymCrypt.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/hive/marvin32.h"

namespace brisko::hive {
namespace {

struct Vector {
    std::uint64_t seed;
    const char* hex;
    std::uint64_t hash;
};

constexpr std::uint64_t kSeed1 = 0x004FB61A001BDBCCULL;
constexpr std::uint64_t kSeed2 = 0x804FB61A001BDBCCULL;
constexpr std::uint64_t kSeed3 = 0x804FB61A801BDBCCULL;

const Vector kVectors[] = {
    {kSeed1, "", 0x30ED35C100CD3C7DULL},
    {kSeed1, "af", 0x48E73FC77D75DDC1ULL},
    {kSeed1, "e70f", 0xB5F6E1FC485DBFF8ULL},
    {kSeed1, "37f495", 0xF0B07C789B8CF7E8ULL},
    {kSeed1, "8642dc59", 0x7008F2E87E9CF556ULL},
    {kSeed1, "153fb79826", 0xE6C08C6DA2AFA997ULL},
    {kSeed1, "0932e6246c47", 0x6F04BF1A5EA24060ULL},
    {kSeed1, "ab427ea8d10fc7", 0xE11847E4F0678C41ULL},
    {kSeed2, "", 0x10A9D5D3996FD65DULL},
    {kSeed2, "af", 0x68201F91960EBF91ULL},
    {kSeed2, "e70f", 0x64B581631F6AB378ULL},
    {kSeed2, "37f495", 0xE1F2DFA6E5131408ULL},
    {kSeed2, "8642dc59", 0x36289D9654FB49F6ULL},
    {kSeed2, "153fb79826", 0x0A06114B13464DBDULL},
    {kSeed2, "0932e6246c47", 0xD6DD5E40AD1BC2EDULL},
    {kSeed2, "ab427ea8d10fc7", 0xE203987DBA252FB3ULL},
    {kSeed3, "00", 0xA37FB0DA2ECAE06CULL},
    {kSeed3, "ff", 0xFECEF370701AE054ULL},
    {kSeed3, "00ff", 0xA638E75700048880ULL},
    {kSeed3, "ff00", 0xBDFB46D969730E2AULL},
    {kSeed3, "ff00ff", 0x9D8577C0FE0D30BFULL},
    {kSeed3, "00ff00", 0x4F9FBDDE15099497ULL},
    {kSeed3, "00ff00ff", 0x24EAA279D9A529CAULL},
    {kSeed3, "ff00ff00", 0xD3BEC7726B057943ULL},
    {kSeed3, "ff00ff00ff", 0x920B62BBCA3E0B72ULL},
    {kSeed3, "00ff00ff00", 0x1D7DDF9DFDF3C1BFULL},
    {kSeed3, "00ff00ff00ff", 0xEC21276A17E821A5ULL},
    {kSeed3, "ff00ff00ff00", 0x6911A53CA8C12254ULL},
    {kSeed3, "ff00ff00ff00ff", 0xFDFD187B1D3CE784ULL},
    {kSeed3, "00ff00ff00ff00", 0x71876F2EFB1B0EE8ULL},
};

std::vector<std::uint8_t> fromHex(const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

class Marvin32Test : public ::testing::TestWithParam<Vector> {};

TEST_P(Marvin32Test, GivesThePublishedHash) {
    const std::vector<std::uint8_t> data = fromHex(GetParam().hex);
    EXPECT_EQ(marvin32(data.data(), data.size(), GetParam().seed), GetParam().hash)
        << std::hex << "seed " << GetParam().seed << ", data \"" << GetParam().hex << "\"";
}

INSTANTIATE_TEST_SUITE_P(DotNetVectors, Marvin32Test, ::testing::ValuesIn(kVectors));

// The same bytes, longer than a block, hashed in one call: words, then the
// tail, agree with hashing the words and the tail as the format does.
TEST(Marvin32, LongerInputsUseEveryByte) {
    std::vector<std::uint8_t> data(1027);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
    const std::uint64_t whole = marvin32(data.data(), data.size(), kHiveLogSeed);
    for (std::size_t i : {0u, 512u, 1023u, 1024u, 1026u}) {
        std::vector<std::uint8_t> changed = data;
        changed[i] ^= 0x01;
        EXPECT_NE(marvin32(changed.data(), changed.size(), kHiveLogSeed), whole) << i;
    }
}

// SymCrypt's own known answer, the library the kernel hashes log entries
// with: its default seed (s0 = 0xcd0893b7, s1 = 0xd53cd9ce) over "abc",
// stored s0 then s1, least significant byte first, as a log entry's hash
// fields hold it.
TEST(Marvin32, GivesSymCryptsKnownAnswerInTheOrderItStoresIt) {
    const std::uint8_t abc[] = {'a', 'b', 'c'};
    const std::uint64_t hash = marvin32(abc, sizeof abc, 0xD53CD9CECD0893B7ULL);
    std::vector<std::uint8_t> stored;
    for (int i = 0; i < 8; ++i) stored.push_back(static_cast<std::uint8_t>(hash >> (8 * i)));
    EXPECT_EQ(stored, (std::vector<std::uint8_t>{0xbf, 0x69, 0x27, 0x49, 0x39, 0x43, 0xc7, 0x22}));
}

// The kernel passes 0x82EF4D887A4E55C5 as eight bytes in memory: the state
// starts with its low half.
TEST(Marvin32, TheLogSeedStartsWithItsLowHalf) {
    EXPECT_EQ(static_cast<std::uint32_t>(kHiveLogSeed), 0x7A4E55C5u);
    EXPECT_EQ(static_cast<std::uint32_t>(kHiveLogSeed >> 32), 0x82EF4D88u);
}

}  // namespace
}  // namespace brisko::hive
