#include <gtest/gtest.h>

#include <cstdint>

#include "base/little_endian.h"

namespace brisko {
namespace {

TEST(LittleEndianTest, ReadsTheLowByteFirst) {
    struct Case {
        const char* what;
        std::uint8_t bytes[4];
        std::uint16_t expected16;
        std::uint32_t expected32;
    };
    const Case cases[] = {
        {"zero", {0x00, 0x00, 0x00, 0x00}, 0x0000, 0x00000000},
        {"each byte in its place", {0x12, 0x34, 0x56, 0x78}, 0x3412, 0x78563412},
        {"the PE mark", {'P', 'E', 0x00, 0x00}, 0x4550, 0x00004550},
        {"top bits set: no sign spreads", {0x80, 0x80, 0x80, 0x80}, 0x8080, 0x80808080},
        {"all ones", {0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFF, 0xFFFFFFFF},
        {"only the highest byte", {0x00, 0x00, 0x00, 0xFE}, 0x0000, 0xFE000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(readLittle16(c.bytes), c.expected16);
        EXPECT_EQ(readLittle32(c.bytes), c.expected32);
    }
}

TEST(LittleEndianTest, ReadsAtAnOddAddress) {
    const std::uint8_t bytes[] = {0xAA, 0x01, 0x02, 0x03, 0x04, 0xBB};
    EXPECT_EQ(readLittle16(bytes + 1), 0x0201);
    EXPECT_EQ(readLittle32(bytes + 1), 0x04030201u);
}

}  // namespace
}  // namespace brisko
