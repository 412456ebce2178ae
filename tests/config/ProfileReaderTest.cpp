#include "config/ProfileReader.h"

#include <gtest/gtest.h>

TEST(ParseConfigNumber, ReadsLeadingDecimalDigits)
{
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {" 2x", 2}, {"0x10", 0}, {"-3", -3}, {"+7", 7}, {"", 0}, {"abc", 0},
        {"\t 42 ", 42}, {"2a", 2}, {"99999999999999999999", 2147483647},
        {"-99999999999999999999", -2147483647 - 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseConfigNumber(c.text), c.value) << '"' << c.text << '"';
}
