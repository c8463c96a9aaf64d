#include "chatline.h"

#include "fieldreader.h"
#include "printers.h"

#include <gtest/gtest.h>

/// gtest finds it beside ChatLine::Item.
void PrintTo(const ChatLine::Item& item, std::ostream* os)
{
    const char* kinds[] = {"text", "link", "smiley"};
    *os << kinds[int(item.kind)] << "(" << item.text.toStdString()
        << (item.kind == ChatLine::Item::Kind::Smiley ? std::to_string(item.smiley) : "") << ")";
}

namespace {

using Item = ChatLine::Item;
using Kind = ChatLine::Item::Kind;

Item text(const char* piece)
{
    return Item{Kind::Text, QString::fromUtf8(piece), 0};
}
Item link(const char* piece)
{
    return Item{Kind::Link, QString::fromUtf8(piece), 0};
}
Item smiley(int picture)
{
    return Item{Kind::Smiley, QString(), picture};
}

struct ParseRow {
    const char* name;
    const char* line;
    int style;
    const char* speaker;
    QList<Item> items;
};

class ChatLineParsing : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ChatLineParsing, CutsTheLineIntoSpeakerPiecesLinksAndSmileys)
{
    const ParseRow& row = GetParam();
    const ChatLine chat = ChatLine::parse(QString::fromUtf8(row.line));
    EXPECT_EQ(chat.style, row.style);
    EXPECT_EQ(chat.speaker, QString::fromUtf8(row.speaker));
    EXPECT_EQ(chat.items, row.items);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ChatLineParsing,
    ::testing::Values(
        ParseRow{"System", "0+You are Connected.", 0, "", {text("You "), text("are "), text("Connected. ")}},
        ParseRow{"Speaker", "2+Ann chats: hi: there", 2, "Ann chats:", {text(" "), text("hi: "), text("there ")}},
        ParseRow{"ColonInName", "3+A:nn chats: x", 3, "A:", {text("nn "), text("chats: "), text("x ")}},
        ParseRow{"RunOfBlanks", "1+Bo says:  a", 1, "Bo says:", {text(" "), text(" "), text("a ")}},
        ParseRow{
            "SmileyAfterWord", "1+B chats: hi:)#12!", 1, "B chats:", {text(" "), text("hi "), smiley(2), text("! ")}},
        ParseRow{"SmileyOutOfRange",
                 "1+B chats: :)#99:)#5",
                 1,
                 "B chats:",
                 {text(" "), text(" "), smiley(0), text(" "), smiley(0)}},
        ParseRow{"SmileyNotANumber", "1+B chats: :)#ab", 1, "B chats:", {text(" "), text(" "), smiley(0)}},
        ParseRow{"LastSmiley", "1+B chats: :)#27", 1, "B chats:", {text(" "), text(" "), smiley(17)}},
        ParseRow{"OneLinkPiece",
                 "4+C chats: go to www.x.org now",
                 4,
                 "C chats:",
                 {text(" "), text("go "), text("to "), link("www.x.org "), text("now ")}},
        ParseRow{"SchemeInCapitals",
                 "4+C chats: HTTP://x.org https://y.org",
                 4,
                 "C chats:",
                 {text(" "), text("HTTP://x.org "), link("https://y.org ")}},
        // Markup is only characters: it is cut into pieces like any other text.
        ParseRow{"Markup",
                 "2+D chats: <img src=x> <a href=\"http://e.vil\">y</a>",
                 2,
                 "D chats:",
                 {text(" "), text("<img "), text("src=x> "), text("<a "), link("href=\"http://e.vil\">y</a> ")}}),
    [](const ::testing::TestParamInfo<ParseRow>& info) { return std::string(info.param.name); });

// The table's own notices are read whole: an address with its port is not cut at its colon.
TEST(ChatLine, ANoticeKeepsEveryColonInItsText)
{
    const struct {
        const char* line;
        QList<Item> items;
    } rows[] = {
        {"0+Reachable from the internet at 203.0.113.7:7772",
         {text("Reachable "), text("from "), text("the "), text("internet "), text("at "), text("203.0.113.7:7772 ")}},
        {"0+Tell your friends: 192.0.2.4:7772", {text("Tell "), text("your "), text("friends: "), text("192.0.2.4:7772 ")}},
    };
    for (const auto& row : rows) {
        const ChatLine chat = ChatLine::parse(QString::fromUtf8(row.line), false);
        EXPECT_EQ(chat.speaker, QString()) << row.line;
        EXPECT_EQ(chat.items, row.items) << row.line;
    }
}

TEST(ChatLine, AStyleNumberThatIsNoIntegerIsAFieldError)
{
    EXPECT_THROW(ChatLine::parse(QStringLiteral("x+hello")), morlu::FieldError);
    EXPECT_THROW(ChatLine::parse(QStringLiteral("hello")), morlu::FieldError);
}

} // namespace
