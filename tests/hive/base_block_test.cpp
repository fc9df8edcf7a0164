// The base block's checksum: the XOR of its first 127 dwords, except that
// Windows never stores 0 or all ones there.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "platform/hive/base_block.h"

namespace brisko::hive {
namespace {

// A base block of "regf" and one more dword chosen so that the XOR of the
// 127 dwords is xorOfDwords.
std::array<std::uint8_t, kBaseBlockSize> blockWhoseXorIs(std::uint32_t xorOfDwords) {
    std::array<std::uint8_t, kBaseBlockSize> block{};
    block[0] = 'r';
    block[1] = 'e';
    block[2] = 'g';
    block[3] = 'f';
    writeLittle32(block.data() + kPrimarySequenceAt, xorOfDwords ^ readLittle32(block.data()));
    return block;
}

TEST(BaseBlockTest, TheChecksumIsNeverZeroNorAllOnes) {
    struct Case {
        std::uint32_t xorOfDwords;
        std::uint32_t checksum;
    };
    const Case cases[] = {
        {0, 1},
        {1, 1},
        {2, 2},
        {0xFFFFFFFEu, 0xFFFFFFFEu},
        {0xFFFFFFFFu, 0xFFFFFFFEu},
        {0x12345678u, 0x12345678u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xorOfDwords);
        std::array<std::uint8_t, kBaseBlockSize> block = blockWhoseXorIs(c.xorOfDwords);
        EXPECT_EQ(baseBlockChecksum(block.data()), c.checksum);
        sealBaseBlock(block.data());
        EXPECT_TRUE(baseBlockValid(block.data()));
        // The XOR itself, where it differs, is refused as the stored value.
        writeLittle32(block.data() + kChecksumAt, c.xorOfDwords);
        EXPECT_EQ(baseBlockValid(block.data()), c.xorOfDwords == c.checksum);
    }
}

}  // namespace
}  // namespace brisko::hive
