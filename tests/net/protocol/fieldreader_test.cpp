#include "fieldreader.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace morlu;

TEST(FieldReader, PeelsFieldsUpToEachPlus)
{
    FieldReader reader("3+22+5+t+");
    EXPECT_EQ(reader.field(), "3");
    EXPECT_EQ(reader.intField(), 22);
    EXPECT_EQ(reader.field(), "5");
    EXPECT_EQ(reader.field(), "t");
    EXPECT_TRUE(reader.atEnd());
}

TEST(FieldReader, FieldWithoutPlusIsEmptyAndTheRestStays)
{
    FieldReader reader("1+1500");
    EXPECT_EQ(reader.intField(), 1);
    EXPECT_EQ(reader.field(), "");
    EXPECT_EQ(reader.rest(), "1500");
    // The missing trailing plus makes the number unreadable, as it always has.
    FieldReader again("1+1500");
    again.field();
    EXPECT_THROW(again.intField(), FieldError);
}

TEST(FieldReader, LastFieldMayHoldPluses)
{
    FieldReader reader("2+A+B+C");
    EXPECT_EQ(reader.intField(), 2);
    EXPECT_EQ(reader.takeRest(), "A+B+C");
    EXPECT_TRUE(reader.atEnd());
}

TEST(FieldReader, EmptyFieldsAreFields)
{
    FieldReader reader("++x+");
    EXPECT_EQ(reader.field(), "");
    EXPECT_EQ(reader.field(), "");
    EXPECT_EQ(reader.field(), "x");
}

struct IntRow {
    const char* text;
    bool ok;
    int value;
};

// Short row names for the test list, instead of the row's bytes.
inline void PrintTo(const IntRow& row, std::ostream* os)
{
    *os << '\'' << row.text << '\'';
}

class ToIntRows : public ::testing::TestWithParam<IntRow> {};

TEST_P(ToIntRows, ReadsDecimalOnly)
{
    const IntRow row = GetParam();
    int value = -7;
    EXPECT_EQ(tryToInt(row.text, value), row.ok) << row.text;
    if (row.ok) {
        EXPECT_EQ(value, row.value);
        EXPECT_EQ(toInt(row.text), row.value);
    } else {
        try {
            toInt(row.text);
            ADD_FAILURE() << "no error for " << row.text;
        } catch (const FieldError& error) {
            EXPECT_EQ(std::string(error.what()), std::string("'") + row.text + "' is not a valid integer value");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ToIntRows,
                         ::testing::Values(IntRow{"0", true, 0}, IntRow{"7", true, 7}, IntRow{"-800", true, -800},
                                           IntRow{"0010", true, 10}, IntRow{"2147483647", true, 2147483647},
                                           IntRow{"-2147483648", true, INT32_MIN}, IntRow{"", false, 0},
                                           IntRow{"-", false, 0}, IntRow{"2147483648", false, 0},
                                           IntRow{"1 ", false, 0}, IntRow{" 1", false, 0}, IntRow{"+1", false, 0},
                                           IntRow{"x", false, 0}, IntRow{"$1F", false, 0}, IntRow{"1.5", false, 0},
                                           IntRow{"--1", false, 0}));
