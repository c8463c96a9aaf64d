#include "sessiontext.h"

#include "printers.h"

#include <gtest/gtest.h>

using namespace morlu;

namespace {

TEST(SessionText, CutsNeverSplitACharacter)
{
    struct Row {
        std::string text;
        std::size_t max;
        std::string cut;
    };
    const std::string euro = "\xE2\x82\xAC";
    for (const Row& row : std::vector<Row>{{"abc", 5, "abc"},
                                           {"abc", 2, "ab"},
                                           {"a" + euro, 3, "a"},
                                           {"a" + euro, 4, "a" + euro},
                                           {euro + euro, 5, euro},
                                           {"", 0, ""}}) {
        EXPECT_EQ(sessiontext::cutUtf8(row.text, row.max), row.cut) << row.text << " " << row.max;
    }
}

TEST(SessionText, ChatTextKeepsItsColourWhenCut)
{
    struct Row {
        std::string rest;
        std::size_t budget;
        std::string fitted;
    };
    std::string scratch;
    for (const Row& row : std::vector<Row>{{"hello|clBlack", 100, "hello|clBlack"},
                                           {"hello|clBlack", 10, "he|clBlack"},
                                           {"a|b|$00FF00FF", 13, "a|b|$00FF00FF"},
                                           {"a|b|$00FF00FF", 12, "a||$00FF00FF"},
                                           {"a|b|$00FF00FF", 11, "a|$00FF00FF"},
                                           {"no colour at all", 5, "no co"},
                                           {"x|" + std::string(100, 'c'), 10, "x|cccccccc"}}) {
        EXPECT_EQ(sessiontext::fitChatText(row.rest, row.budget, scratch), row.fitted) << row.rest;
    }
}

TEST(SessionText, LogTextIsPrintableAndShort)
{
    struct Row {
        std::string text;
        QString logged;
    };
    for (const Row& row : std::vector<Row>{{"plain", "plain"},
                                           {"a\nb\x1b", "a\\x0ab\\x1b"},
                                           {"Jos\xE9", "Jos\\xe9"},
                                           {"Zo\xC3\xAB", QString::fromUtf8("Zo\xC3\xAB")},
                                           {std::string(300, 'q'), QString(200, 'q') + "... (300 bytes)"}}) {
        EXPECT_EQ(sessiontext::forLog(row.text), row.logged) << row.text;
    }
}

} // namespace
