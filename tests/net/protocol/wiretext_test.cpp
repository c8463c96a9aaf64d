#include "wiretext.h"

#include <gtest/gtest.h>

#include <string>

using namespace morlu;

namespace {

struct WireRow {
    const char* name;
    std::string text; ///< as the program holds it (UTF-8)
    std::string wire; ///< as it goes out
};

class WireText : public ::testing::TestWithParam<WireRow> {};

TEST_P(WireText, GoesOutInTheWesternSetWhenItFitsAndComesBackWhole)
{
    const WireRow& row = GetParam();
    EXPECT_EQ(wiretext::encode(row.text), row.wire);
    EXPECT_EQ(wiretext::decode(row.wire), row.text);
    EXPECT_EQ(row.wire.find('\xFF'), std::string::npos) << "never the line terminator";

    // A whole line with its terminator: the same bytes and the 0xFF; ASCII is handed back without a copy.
    std::string buffer;
    const std::string line = row.text + '\xFF';
    const std::string_view sent = wiretext::encodeLine(line, buffer);
    EXPECT_EQ(sent, row.wire + '\xFF');
    if (std::string_view(row.name) == "Ascii") {
        EXPECT_EQ(sent.data(), line.data());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Languages, WireText,
    ::testing::Values(WireRow{"Ascii", "CMD_chat+2+Ann chats: hello|clBlack", "CMD_chat+2+Ann chats: hello|clBlack"},
                      WireRow{"French", "Fran\xC3\xA7oise chats: d\xC3\xA9j\xC3\xA0 vu, \xC5\x93uvre \xE2\x82\xAC",
                              "Fran\xE7oise chats: d\xE9j\xE0 vu, \x9Cuvre \x80"},
                      WireRow{"German",
                              "J\xC3\xBCrgen: Stra\xC3\x9F"
                              "e \xC3\x84pfel",
                              "J\xFCrgen: Stra\xDF"
                              "e \xC4pfel"},
                      // Polish and Russian letters have no place in the Western set: the whole line stays UTF-8.
                      WireRow{"Polish", "\xC5\x81ukasz: za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87",
                              "\xC5\x81ukasz: za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87"},
                      WireRow{"Russian",
                              "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD: \xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82",
                              "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD: \xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},
                      // A Russian name and a French text on one relayed line: one set for the whole line.
                      WireRow{"MixedLine", "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD chats: d\xC3\xA9j\xC3\xA0",
                              "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD chats: d\xC3\xA9j\xC3\xA0"},
                      // "ÿ" would be 0xFF, the terminator: it goes as UTF-8.
                      WireRow{"YDiaeresis", "Ha\xC3\xBF", "Ha\xC3\xBF"}),
    [](const ::testing::TestParamInfo<WireRow>& info) { return std::string(info.param.name); });

TEST(WireText, ReadsWhatOlderTablesSendAndKeepsWhatItCannotJudge)
{
    struct Row {
        std::string received;
        std::string held;
    };
    for (const Row& row : {
             Row{"Fran\xE7oise", "Fran\xC3\xA7oise"},                                 // Windows-1252
             Row{"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"}, // unassigned bytes
             Row{"caf\xC3\xA9", "caf\xC3\xA9"},                                       // UTF-8 stays
             Row{"\xC0\xAF", "\xC3\x80\xC2\xAF"},                                     // an overlong form is no UTF-8
             Row{"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},                     // nor is a surrogate
             Row{"", ""},
         }) {
        EXPECT_EQ(wiretext::decode(row.received), row.held);
        std::string inPlace = row.received;
        wiretext::decodeInPlace(inPlace);
        EXPECT_EQ(inPlace, row.held);
    }
    // Text that is not UTF-8 has no known characters to convert: it goes out as it is.
    EXPECT_EQ(wiretext::encode("\xE7\xE0"), "\xE7\xE0");
    EXPECT_TRUE(wiretext::isUtf8("\xF0\x9F\x83\x8F"));
    EXPECT_FALSE(wiretext::isUtf8("\xF4\x90\x80\x80")) << "above U+10FFFF";
    EXPECT_FALSE(wiretext::isUtf8("\xE2\x82")) << "cut short";
}

TEST(WireText, EveryWesternByteButTheTerminatorRoundTrips)
{
    for (int byte = 0x01; byte < 0xFF; ++byte) {
        const std::string wire(1, char(byte));
        const std::string held = wiretext::decode(wire);
        EXPECT_TRUE(wiretext::isUtf8(held)) << byte;
        EXPECT_EQ(wiretext::encode(held), wire) << byte;
    }
}

} // namespace
