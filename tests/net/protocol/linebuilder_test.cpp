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

// Lines longer than the builder's first window grow the buffer; every byte must land in order.
TEST(LineBuilder, LongLinesGrowTheBuffer)
{
    std::string text;
    std::string expected = "CMD_chat+7+";
    for (int i = 0; i < 5000; ++i) {
        const char c = static_cast<char>(i % 7 == 0 ? 0xFF : 'a' + i % 26);
        text += c;
        if (c != '\xFF')
            expected += c;
    }
    expected += "+-1+\xFF";
    std::string buffer = "short";
    for (int pass = 0; pass < 2; ++pass) {
        LineBuilder line(buffer, "CMD_chat");
        line.field(7);
        for (std::size_t at = 0; at < text.size(); at += 333)
            line.text(std::string_view(text).substr(at, 333));
        EXPECT_EQ(line.plus().field(-1).finish(), expected);
        EXPECT_EQ(buffer, expected);
    }
    EXPECT_EQ(LineBuilder(buffer, "CMD_full").finish(), "CMD_full+\xFF") << "a short line after a long one";
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
