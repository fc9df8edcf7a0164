#include <gtest/gtest.h>

#include <string>

#include "tools/brisko_scan/json_text.h"

namespace brisko {
namespace {

TEST(JsonTextTest, EveryTextBecomesAValidJsonString) {
    struct Case {
        const char* what;
        std::string text;
        std::string json;
    };
    const Case cases[] = {
        {"a Windows path", "C:\\Users\\a \"b\".exe", "\"C:\\\\Users\\\\a \\\"b\\\".exe\""},
        {"control characters", std::string("a\tb\nc\0d", 7), "\"a\\u0009b\\u000ac\\u0000d\""},
        {"the last control character and the first that is none", "\x1F\x20", "\"\\u001f \""},
        {"UTF-8 kept as it is", "Fran\xC3\xA7ois \xE2\x82\xAC \xF0\x9F\x98\x80", "\"Fran\xC3\xA7ois \xE2\x82\xAC \xF0\x9F\x98\x80\""},
        {"a Latin-1 byte", "Fran\xE7ois", "\"Fran\\u00e7ois\""},
        {"a sequence cut short", "x\xE2\x82", "\"x\\u00e2\\u0082\""},
        {"an overlong form", "\xC0\xAF", "\"\\u00c0\\u00af\""},
        {"a surrogate", "\xED\xA0\x80", "\"\\u00ed\\u00a0\\u0080\""},
        {"empty", "", "\"\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(jsonString(c.text), c.json);
    }
}

}  // namespace
}  // namespace brisko
