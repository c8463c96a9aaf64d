#include "colortext.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct ReadCase {
    const char* text;
    bool valid;
    std::uint32_t value;
};

// Short row names for the test list, instead of the row's bytes.
inline void PrintTo(const ReadCase& row, std::ostream* os)
{
    *os << '\'' << row.text << '\'';
}

class ColorTextRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ColorTextRead, ReadsNamesAndNumbers)
{
    const ReadCase& c = GetParam();
    const std::optional<std::uint32_t> value = ColorText::read(QString::fromLatin1(c.text));
    ASSERT_EQ(value.has_value(), c.valid) << c.text;
    if (c.valid) {
        EXPECT_EQ(*value, c.value) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ColorTextRead,
                         ::testing::Values(ReadCase{"clRed", true, 0x0000FF}, ReadCase{"CLRED", true, 0x0000FF},
                                           ReadCase{"clblack", true, 0x000000}, ReadCase{"clBlue", true, 0xFF0000},
                                           ReadCase{"clNavy", true, 0x800000}, ReadCase{"clWhite", true, 0xFFFFFF},
                                           ReadCase{"clBtnFace", true, 0x8000000F},
                                           ReadCase{"clInfoBk", true, 0x80000018}, ReadCase{"clNone", true, 0x1FFFFFFF},
                                           ReadCase{"$0000FF00", true, 0x00FF00}, ReadCase{"$ff", true, 0xFF},
                                           ReadCase{"255", true, 255}, ReadCase{"-1", true, 0xFFFFFFFF},
                                           ReadCase{"", false, 0}, ReadCase{"$", false, 0},
                                           ReadCase{"$123456789", false, 0}, ReadCase{"red", false, 0},
                                           ReadCase{"12ab", false, 0}, ReadCase{" 12", false, 0},
                                           ReadCase{"clRed ", false, 0}));

TEST(ColorText, WritesNamesWhereTheyExistAndHexOtherwise)
{
    EXPECT_EQ(ColorText::write(0x000000), QStringLiteral("clBlack"));
    EXPECT_EQ(ColorText::write(0x0000FF), QStringLiteral("clRed"));
    EXPECT_EQ(ColorText::write(0x80000005), QStringLiteral("clWindow"));
    EXPECT_EQ(ColorText::write(0x00123456), QStringLiteral("$00123456"));
    EXPECT_EQ(ColorText::write(0x00ABCDEF), QStringLiteral("$00ABCDEF"));
}

TEST(ColorText, WrittenTextReadsBackToTheSameValue)
{
    for (const std::uint32_t value : {0x0u, 0xFFu, 0x00C0C0C0u, 0x00ABCDEFu, 0x80000010u, 0x1FFFFFFFu, 0xFFFFFFFFu})
        EXPECT_EQ(ColorText::read(ColorText::write(value)), value) << value;
}

TEST(ColorText, ValueLayoutIsRedInTheLowByte)
{
    EXPECT_EQ(ColorText::toColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(ColorText::toColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(ColorText::toColor(0x123456), QColor(0x56, 0x34, 0x12));
    EXPECT_EQ(ColorText::fromColor(QColor(0x56, 0x34, 0x12)), 0x123456u);
    EXPECT_TRUE(ColorText::toColor(0x8000000F).isValid());
}

} // namespace
