#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "text_format.h"

namespace {

struct Case {
    const char* format;
    int a, b, c, d;
    uint32_t count;
    const char* expected;
};

TEST(TextFormat, FormatsWithinTheBoxCount) {
    const Case cases[] = {
        {"%4d", 7, 0, 0, 0, 5, "   7"},
        {"%4d", -12, 0, 0, 0, 5, " -12"},
        {"%4d", 123456, 0, 0, 0, 5, "12345"},  // wider than its field: cut only by the box
        {"%4d", INT_MIN, 0, 0, 0, 11, "-2147483648"},
        {"%-4d|", 5, 0, 0, 0, 6, "5   |"},
        {"%04d", -5, 0, 0, 0, 5, "-005"},
        {"1%d%d.%d%d", 2, 3, 4, 5, 6, "123.45"},
        {"1%d%d.%d%d", 2, 3, 4, 15, 6, "123.41"},
        {"%x%X", 255, 171, 0, 0, 8, "ffAB"},
        {"100%%", 0, 0, 0, 0, 5, "100%"},
        {"OFF", 0, 0, 0, 0, 5, "OFF"},
        {"%q", 0, 0, 0, 0, 5, "%q"},
        {"%4d", 1, 0, 0, 0, 0, ""},
    };
    for (const Case& c : cases) {
        char buffer[32];
        std::memset(buffer, 'Z', sizeof buffer);
        const uint32_t n = text_format::Format(buffer, c.count, c.format, c.a, c.b, c.c, c.d);
        EXPECT_STREQ(buffer, c.expected) << c.format;
        EXPECT_EQ(n, std::strlen(c.expected));
        EXPECT_EQ(buffer[c.count + 1], 'Z') << "nothing written past count + 1";
    }
}

TEST(TextFormat, MissingArgumentsPrintZero) {
    char buffer[8];
    text_format::Format(buffer, 7, "%d-%d", 4);
    EXPECT_STREQ(buffer, "4-0");
}

}  // namespace
