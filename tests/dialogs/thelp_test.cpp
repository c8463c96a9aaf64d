#include "thelp.h"

#include "printers.h"

#include <QListWidget>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

struct PageRow {
    const char* title;
    std::vector<const char*> phrases;
};

TEST(Thelp, EveryPageIsReadableAndCoversItsTopic)
{
    const PageRow rows[] = {
        {"How to Play", {"32 cards", "director", "$10,000", "follow the suit", "no trumps", "tie"}},
        {"The Contracts",
         {"MORLU", "WATERLOO", "SIEGE", "TOUCHE", "GUILLOTINE", "DOMINO", "$800", "$200", "$100", "$400", "$300"}},
        {"DOMINO",
         {"starting rank", "After the Ace", "passed over", "three players", "Jack, Queen, King, Ace, 7, 8, 9"}},
        {"Rank Orders",
         {"A \u2013 10 \u2013 K \u2013 Q \u2013 J \u2013 9 \u2013 8 \u2013 7",
          "7 \u2013 8 \u2013 9 \u2013 10 \u2013 J \u2013 Q \u2013 K \u2013 A"}},
        {"Game Lengths", {"Short Game", "Half Game", "Full Game", "8", "16", "24"}},
        {"Money and Scoring", {"director", "never pays", "below zero", "$1,100", "tie"}},
        {"Connecting", {"7772", "--server", "--port", "true", "false", "spectators", "Game is full", "seat 1"}},
        {"Watching and Removing",
         {"Just Watch", "Spy List", "Remove From Game", "Set to Just Watch", "Unset Just Watch"}},
        {"The Tally", {"Players In Current Game", "Players Being Tallied", "Tally Reset", "Morlutally.tld.bad", "tie"}},
        {"Game Records and Replay", {"Open Game Record", "Keep Game Records", "Page Down", "unfinished", "morlu-game"}},
    };
    QStringList titles;
    for (const PageRow& row : rows)
        titles << QString::fromLatin1(row.title);
    ASSERT_EQ(Thelp::pageTitles(), titles);

    Thelp help;
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Morlu - Help"));
    EXPECT_FALSE(help.isModal());
    for (int n = 0; n < int(std::size(rows)); ++n) {
        help.showPage(n);
        EXPECT_EQ(help.currentPage(), n);
        const QString text = help.shownText();
        EXPECT_GT(text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts).size(), 80)
            << rows[n].title;
        EXPECT_TRUE(text.startsWith(QString::fromLatin1(rows[n].title))) << rows[n].title;
        for (const char* phrase : rows[n].phrases)
            EXPECT_TRUE(text.contains(QString::fromUtf8(phrase))) << rows[n].title << ": " << phrase;
    }

    // Choosing a topic in the list shows its page.
    help.findChild<QListWidget*>(QStringLiteral("listbox_topics"))->setCurrentRow(2);
    EXPECT_TRUE(help.shownText().startsWith(QStringLiteral("DOMINO")));
    EXPECT_TRUE(Thelp::pageHtml(-1).isEmpty());
    EXPECT_TRUE(Thelp::pageHtml(int(std::size(rows))).isEmpty());
}

} // namespace
