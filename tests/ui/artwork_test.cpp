// The committed pictures have the sizes and colour depths the dialogs are
// laid out for, and none uses a grey that loading would repaint.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Bitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    std::vector<std::uint8_t> bytes;
};

std::uint32_t little(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes.at(at + i);
    return value;
}

Bitmap readBitmap(const std::string& name) {
    std::ifstream file(std::string(BRISKO_ART_DIR) + "/" + name, std::ios::binary);
    Bitmap bitmap;
    bitmap.bytes.assign(std::istreambuf_iterator<char>(file), {});
    if (bitmap.bytes.size() < 54 || bitmap.bytes[0] != 'B' || bitmap.bytes[1] != 'M') return bitmap;
    bitmap.width = static_cast<std::int32_t>(little(bitmap.bytes, 18, 4));
    bitmap.height = static_cast<std::int32_t>(little(bitmap.bytes, 22, 4));
    bitmap.bitsPerPixel = static_cast<std::uint16_t>(little(bitmap.bytes, 28, 2));
    bitmap.compression = little(bitmap.bytes, 30, 4);
    if (bitmap.bitsPerPixel <= 8) {
        std::uint32_t entries = little(bitmap.bytes, 46, 4);
        if (entries == 0) entries = 1u << bitmap.bitsPerPixel;
        const std::size_t table = 14 + little(bitmap.bytes, 14, 4);
        for (std::uint32_t i = 0; i < entries; ++i) bitmap.palette.push_back(little(bitmap.bytes, table + 4 * i, 3));
    }
    return bitmap;
}

// Colour of a pixel of an uncompressed 8-bit bottom-up bitmap, top row 0.
std::uint32_t paletteColourAt(const Bitmap& bitmap, int x, int y) {
    const std::size_t stride = (bitmap.width + 3) / 4 * 4;
    const std::size_t pixels = little(bitmap.bytes, 10, 4);
    return bitmap.palette.at(bitmap.bytes.at(pixels + (bitmap.height - 1 - y) * stride + x));
}

// Colour of a pixel of an uncompressed 24-bit bottom-up bitmap, top row 0.
std::uint32_t trueColourAt(const Bitmap& bitmap, int x, int y) {
    const std::size_t stride = (static_cast<std::size_t>(bitmap.width) * 3 + 3) / 4 * 4;
    const std::size_t pixels = little(bitmap.bytes, 10, 4);
    return little(bitmap.bytes, pixels + (bitmap.height - 1 - y) * stride + 3 * static_cast<std::size_t>(x), 3);
}

// The widths of the blank columns between the runs of drawn columns of a
// 24-bit picture, left to right; blank is the background colour give or
// take the blending of the letters' edges.
std::vector<int> blankGaps(const Bitmap& bitmap, std::uint32_t background) {
    const auto near = [](std::uint32_t a, std::uint32_t b) {
        for (int shift = 0; shift < 24; shift += 8) {
            const int difference = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
            if (difference > 40 || difference < -40) return false;
        }
        return true;
    };
    std::vector<int> gaps;
    int blank = -1;  // no drawn column seen yet
    for (int x = 0; x < bitmap.width; ++x) {
        bool drawn = false;
        for (int y = 0; y < bitmap.height && !drawn; ++y) drawn = !near(trueColourAt(bitmap, x, y), background);
        if (!drawn) {
            if (blank >= 0) ++blank;
        } else {
            if (blank > 0) gaps.push_back(blank);
            blank = 0;
        }
    }
    return gaps;
}

TEST(ArtworkTest, SizesAndDepths) {
    struct Case {
        const char* file;
        int width, height, bits;
    };
    const Case cases[] = {
        {"scan_focus.bmp", 180, 33, 8},        {"scan_notfocus.bmp", 180, 33, 8},
        {"scan_disable.bmp", 180, 33, 4},      {"download_focus.bmp", 180, 33, 8},
        {"download_notfocus.bmp", 180, 33, 8}, {"download_disable.bmp", 180, 33, 4},
        {"ok_focus.bmp", 92, 24, 8},           {"ok_notfocus.bmp", 92, 24, 8},
        {"cancel_focus.bmp", 92, 24, 8},       {"cancel_notfocus.bmp", 92, 24, 8},
        {"yes_focus.bmp", 92, 24, 8},          {"yes_notfocus.bmp", 92, 24, 8},
        {"no_focus.bmp", 92, 24, 8},           {"no_notfocus.bmp", 92, 24, 8},
        {"x_focus.bmp", 21, 21, 8},            {"x_notfocus.bmp", 21, 21, 8},
        {"dlink_focus.bmp", 350, 43, 24},      {"dlink_notfocus.bmp", 350, 43, 24},
        {"ulink_focus.bmp", 350, 28, 24},      {"ulink_notfocus.bmp", 350, 28, 24},
        {"quenlorlogo_focus.bmp", 100, 36, 24}, {"quenlorlogo_notfocus.bmp", 100, 36, 24},
        {"icon_information.bmp", 42, 40, 24},  {"icon_question.bmp", 42, 40, 24},
        {"icon_exclamation.bmp", 42, 40, 24},  {"icon_stop.bmp", 42, 40, 24},
        {"skin.bmp", 527, 338, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Bitmap bitmap = readBitmap(c.file);
        EXPECT_EQ(bitmap.width, c.width);
        EXPECT_EQ(bitmap.height, c.height);
        EXPECT_EQ(bitmap.bitsPerPixel, c.bits);
        EXPECT_EQ(bitmap.compression, 0u);
        for (std::uint32_t colour : bitmap.palette) {
            EXPECT_NE(colour, 0x808080u);
            EXPECT_NE(colour, 0xC0C0C0u);
            EXPECT_NE(colour, 0xDFDFDFu);
        }
    }
}

TEST(ArtworkTest, SkinIsMagentaOutsideARoundedOutline) {
    const Bitmap skin = readBitmap("skin.bmp");
    ASSERT_EQ(skin.bitsPerPixel, 8);
    struct Point {
        int x, y;
        bool magenta;
    };
    const Point points[] = {
        {0, 0, true}, {526, 0, true}, {0, 337, true}, {526, 337, true},  // rounded corners
        {263, 2, true}, {263, 336, true},                                 // notches top and bottom
        {263, 170, false}, {10, 20, false}, {515, 320, false},
    };
    for (const Point& p : points) {
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
        EXPECT_EQ(paletteColourAt(skin, p.x, p.y) == 0xFF00FFu, p.magenta);
    }
}

// The badge carries the name's first letter: the rest of the name follows
// it as closely as the name's own letters follow each other, so the logo
// reads as one word.
TEST(ArtworkTest, LogoNameFollowsItsBadgeWithoutAGap) {
    for (const char* file : {"quenlorlogo_focus.bmp", "quenlorlogo_notfocus.bmp"}) {
        SCOPED_TRACE(file);
        const Bitmap logo = readBitmap(file);
        ASSERT_EQ(logo.bitsPerPixel, 24);
        const std::uint32_t footer = trueColourAt(logo, 0, 0);
        const std::vector<int> gaps = blankGaps(logo, footer);
        // The badge, then the six letters of the rest of the name.
        ASSERT_EQ(gaps.size(), 6u);
        const int widestBetweenLetters = *std::max_element(gaps.begin() + 1, gaps.end());
        EXPECT_LE(gaps.front(), widestBetweenLetters);
    }
}

}  // namespace
