#include <gtest/gtest.h>

#include <string>

#include "walk/display_text.h"

namespace brisko {
namespace {

std::string shortened(const std::string& text, int limit, std::size_t capacity = 512) {
    std::string output(capacity, '#');
    shortenForDisplay(text.c_str(), output.data(), capacity, limit);
    return output.c_str();
}

std::string sequence(std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
    return text;
}

TEST(DisplayTextTest, ShortensByLimit) {
    struct Case {
        std::size_t length;
        int limit;
        std::string expected;
    };
    const std::string text61 = sequence(61);
    const std::string text200 = sequence(200);
    const Case cases[] = {
        {0, 60, ""},
        {59, 60, sequence(59)},
        {60, 60, sequence(60)},
        {61, 60, text61.substr(0, 29) + ".." + text61.substr(61 - 29)},
        {200, 60, text200.substr(0, 29) + ".." + text200.substr(200 - 29)},
        // An odd limit leaves three dots between the halves.
        {200, 7, text200.substr(0, 2) + "..." + text200.substr(198)},
        // With no half left there is nothing to shorten.
        {200, 3, text200},
        {200, 100, text200.substr(0, 49) + ".." + text200.substr(200 - 49)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("length " + std::to_string(c.length) + ", limit " + std::to_string(c.limit));
        const std::string result = shortened(sequence(c.length), c.limit);
        EXPECT_EQ(result, c.expected);
        if (c.length > static_cast<std::size_t>(c.limit) && c.limit >= 4) {
            EXPECT_EQ(result.size(), static_cast<std::size_t>(c.limit));
        }
    }
}

TEST(DisplayTextTest, NeverWritesPastTheOutputBuffer) {
    EXPECT_EQ(shortened(sequence(40), 60, 10), sequence(9));
    EXPECT_EQ(shortened(sequence(300), 60, 30), "");
}

}  // namespace
}  // namespace brisko
