#include "linebuilder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace morlu;

TEST(LineBuilder, WritesWordFieldsAndEndByte)
{
    std::string buffer = "old content";
    LineBuilder line(buffer, "CMD_test");
    line.field(-800).field("t").flag(false).number(INT_MIN).plus().number(INT_MAX).plus().text("A+B");
    const std::string_view bytes = line.finish();
    EXPECT_EQ(bytes, "CMD_test+-800+t+f+-2147483648+2147483647+A+B\xFF");
    EXPECT_EQ(bytes.data(), buffer.data());
}

TEST(LineBuilder, LeavesTheEndByteOutOfText)
{
    struct Row {
        std::string text;
        std::string written;
    };
    const Row rows[] = {
        {"plain", "plain"},
        {"a\xFF"
         "CMD_kickhim+1+2+",
         "aCMD_kickhim+1+2+"},
        {"\xFF\xFF\xFF", ""},
        {"\xFFx\xFF", "x"},
        {"caf\xC3\xA9", "caf\xC3\xA9"},
    };
    std::string buffer;
    for (const Row& row : rows) {
        const std::string_view bytes = LineBuilder(buffer, "CMD_chat").field(1).text(row.text).finish();
        EXPECT_EQ(bytes, "CMD_chat+1+" + row.written + "\xFF");
    }
}

TEST(LineBuilder, ReusesTheBufferOnceItIsLargeEnough)
{
    std::string buffer;
    buffer.reserve(64);
    const char* storage = buffer.data();
    const std::size_t capacity = buffer.capacity();
    for (int i = 0; i < 1000; ++i)
        LineBuilder(buffer, "CMD_placecard").field(i % 4 + 1).field(i % 32 + 1).field(i % 8 + 1).flag(i % 2).finish();
    EXPECT_EQ(buffer.data(), storage);
    EXPECT_EQ(buffer.capacity(), capacity);
}
