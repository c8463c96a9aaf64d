#include "chatpane.h"

#include "chatbuttons.h"
#include "chatentry.h"
#include "chatview.h"
#include "fieldreader.h"
#include "printers.h"
#include "tablerecorders.h"
#include "tablestate.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

using namespace morlu::test;

namespace {

/// A chat pane in an area of its own, its handlers registered on a dispatch table, its requests
/// recorded, links opened into a list and the cooldown on a hand-driven clock.
class ChatPaneTest : public ::testing::Test {
protected:
    ChatPaneTest()
    {
        state.myseat = 2;
        state.connected = true;
        pane.registerOn(commands);
    }

    /// Types @p keys into the entry and presses Enter; returns what went to the host.
    std::vector<std::string> type(const QString& keys)
    {
        host.sent.clear();
        QTest::keyClicks(&pane.mychat(), keys);
        QTest::keyClick(&pane.mychat(), Qt::Key_Return);
        return host.sent;
    }

    /// The lines of the view, without the blanks each piece ends with and the isolates.
    QStringList lines() const
    {
        QStringList lines = pane.mainchat().toPlainText().split(QLatin1Char('\n'));
        for (QString& line : lines)
            line = line.remove(QChar(0x2068)).remove(QChar(0x2069)).trimmed();
        lines.removeAll(QString());
        return lines;
    }

    QWidget area;
    TableState state;
    HostRecorder host;
    QStringList messages;
    QList<QUrl> opened;
    std::int64_t now = 0;
    ChatPane pane{&area,
                  state,
                  host,
                  [this](const QString& text) { messages << text; },
                  [this](const QUrl& url) {
                      opened << url;
                      return true;
                  },
                  [this] { return now; }};
    morlu::Dispatcher<> commands;
};

TEST_F(ChatPaneTest, LiesInTheAreaItIsGivenWithNoPartOverAnother)
{
    EXPECT_EQ(pane.mainchat().parentWidget(), &area);
    EXPECT_EQ(pane.mainchat().objectName(), QStringLiteral("mainchat"));
    QList<QWidget*> parts{&pane.mainchat(), &pane.mychat(), pane.buttons().soundButton(),
                          pane.buttons().smileyButton()};
    for (int n = 1; n <= ChatButtons::kPhraseCount; ++n)
        parts << pane.buttons().phraseButton(n);
    for (QWidget* part : parts) {
        EXPECT_EQ(part->parentWidget(), &area) << qPrintable(part->objectName());
        EXPECT_TRUE(QRect(0, 0, pane.mainchat().width(), 197).contains(part->geometry()))
            << qPrintable(part->objectName());
        for (QWidget* other : parts)
            EXPECT_TRUE(part == other || !part->geometry().intersects(other->geometry()))
                << qPrintable(part->objectName()) << " over " << qPrintable(other->objectName());
    }
}

TEST_F(ChatPaneTest, SystemLinesAreBlue)
{
    pane.systemLine(QStringLiteral("You are Connected."));
    EXPECT_EQ(lines(), QStringList{QStringLiteral("You are Connected.")});
    EXPECT_EQ(pane.mainchat().styleColour(0), QColor(0, 0, 255));
}

// A system line, whichever road it comes by, starts with the blank of its empty speaker part.
TEST_F(ChatPaneTest, SystemLinesKeepTheirLeadingBlank)
{
    struct Row {
        const char* name;
        std::function<void(ChatPane&)> add;
        QString shown;
    };
    const Row rows[] = {
        {"the table's own", [](ChatPane& p) { p.systemLine(QStringLiteral("You are Connected.")); },
         QStringLiteral(" You are Connected. ")},
        {"relayed by the host", [](ChatPane& p) { p.chatrecieved("0+The host player allows hints.|clBlue"); },
         QStringLiteral(" The host player allows hints. ")},
        {"a notice", [](ChatPane& p) { p.noticeLine(QStringLiteral("Tell your friends: 192.0.2.4:7772")); },
         QStringLiteral(" Tell your friends: 192.0.2.4:7772 ")},
    };
    for (const Row& row : rows) {
        pane.ClearMainChat1Click();
        row.add(pane);
        EXPECT_EQ(pane.mainchat().document()->firstBlock().text(), row.shown) << row.name;
    }
}

TEST_F(ChatPaneTest, RelayedChatIsDrawnInTheSendersColourOrRed)
{
    for (const char* line : {"CMD_chat+3+Bob chats: hi there|clGreen", "CMD_action+4+ Cid waves|$00FF0000",
                             "CMD_chat+3+Bob chats: no colour", "CMD_chat+3+Bob chats: a|b|clLime"})
        EXPECT_TRUE(commands.dispatch(line)) << line;
    // A "|" inside the text stays in the text; the colour is what follows the last one.
    EXPECT_EQ(pane.mainchat().styleColour(3), QColor(0, 255, 0));
    commands.dispatch("CMD_chat+3+Bob chats: c|nocolour");
    EXPECT_EQ(lines(), (QStringList{QStringLiteral("Bob chats:  hi there"), QStringLiteral("Cid waves"),
                                    QStringLiteral("Bob chats:  no colour"), QStringLiteral("Bob chats:  a|b"),
                                    QStringLiteral("Bob chats:  c")}));
    const QTextBlock cid = pane.mainchat().document()->findBlockByNumber(1);
    EXPECT_EQ(cid.begin().fragment().charFormat().foreground().color(), QColor(0, 0, 255));
    // Bob's last line had an unreadable colour: all his lines are red now.
    EXPECT_EQ(pane.mainchat().styleColour(3), QColor(255, 0, 0));
}

TEST_F(ChatPaneTest, ChatterSoundsAreReportedWithTheSendersSeat)
{
    QSignalSpy chatter(&pane, &ChatPane::chatterSoundReceived);
    commands.dispatch("CMD_playasound+3+wave3+");
    ASSERT_EQ(chatter.count(), 1);
    EXPECT_EQ(chatter.at(0).at(0).toInt(), 3);
    EXPECT_EQ(chatter.at(0).at(1).toString(), QStringLiteral("wave3"));
    EXPECT_THROW(commands.dispatch("CMD_playasound+x+wave3+"), morlu::FieldError);
    EXPECT_EQ(chatter.count(), 1);
}

TEST_F(ChatPaneTest, TypedLinesFollowTheSlashMeRules)
{
    pane.setTextColour(0x00FF00);
    struct Row {
        const char* typed;
        std::vector<std::string> sent;
    };
    const Row rows[] = {
        {"hello + you", {"CMD_chat+2+hello + you|clLime\xFF"}},
        {"/me waves", {"CMD_action+2+waves|clLime\xFF"}},
        {"/me", {"CMD_action+2+|clLime\xFF"}},
        {"/mewaves", {"CMD_action+2+aves|clLime\xFF"}}, // the fourth character goes with the "/me"
        {"/quit", {}},                                  // any other "/" sends nothing
        {"", {}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(type(QString::fromLatin1(row.typed)), row.sent) << row.typed;
        EXPECT_EQ(pane.mychat().text(), QString()) << row.typed;
    }
    // Not connected yet: nothing goes out and the entry keeps its text.
    state.connected = false;
    EXPECT_EQ(type(QStringLiteral("early")), std::vector<std::string>{});
    EXPECT_EQ(pane.mychat().text(), QStringLiteral("early"));
}

// The host closes a table that sends a line longer than it reads: a long text is cut to fit, on a
// character boundary; one that fits goes as it is.
TEST_F(ChatPaneTest, TextTooLongForOneLineIsCutToFit)
{
    constexpr std::size_t kMaxLine = 65536; // the 0xFF not counted
    struct Row {
        const char* name;
        QString text;
        std::size_t length; ///< of the line sent, the 0xFF counted
    };
    const QString fits(65536 - 20, QLatin1Char('a'));
    const Row rows[] = {
        {"fits", fits, fits.size() + std::strlen("CMD_chat+2+|clBlack") + 1},
        {"ascii", QString(70000, QLatin1Char('a')), kMaxLine + 1},
        {"two bytes a character", QString(40000, QChar(0x00E9)), kMaxLine}, // 65536 falls inside a character
    };
    for (const Row& row : rows) {
        host.sent.clear();
        pane.requests().sendit(row.text);
        ASSERT_EQ(host.sent.size(), 1u) << row.name;
        const std::string& line = host.sent.front();
        EXPECT_EQ(line.size(), row.length) << row.name;
        EXPECT_TRUE(line.ends_with("|clBlack\xFF")) << row.name;
        const std::string text = line.substr(11, line.size() - 11 - 9);
        EXPECT_TRUE(QString::fromStdString(text).toStdString() == text) << row.name << ": cut inside a character";
    }
}

TEST_F(ChatPaneTest, ThePlaceholderGoesWithTheFirstKeyOrSmileyAndNeverComesBack)
{
    ChatEntry& entry = pane.mychat();
    EXPECT_EQ(entry.text(), QStringLiteral("<Enter Chat Here>"));
    QTest::keyClick(&entry, Qt::Key_H);
    EXPECT_EQ(entry.text(), QStringLiteral("h"));
    entry.clear();
    EXPECT_EQ(entry.text(), QString());

    ChatEntry fresh;
    fresh.N271Click(12);
    fresh.N271Click(27);
    EXPECT_EQ(fresh.text(), QStringLiteral(":)#12:)#27"));
    EXPECT_EQ(fresh.cursorPosition(), fresh.text().size());
    QApplication::clipboard()->setText(QStringLiteral("pasted www.x.org"));
    fresh.popupMenu()->findChild<QAction*>(QStringLiteral("Paste1"))->trigger();
    EXPECT_EQ(fresh.text(), QStringLiteral("pasted www.x.org"));
}

// After a smiley is picked the entry has the keyboard again: Enter sends the line.
TEST_F(ChatPaneTest, EnterAfterASmileySendsTheLine)
{
    area.show();
    area.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&area));
    area.setFocus();
    QTest::keyClicks(&pane.mychat(), QStringLiteral("hi"));
    pane.buttons().smileyMenu()->actions().front()->trigger();
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    host.sent.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(host.sent.size(), 1u);
    EXPECT_TRUE(host.sent.front().starts_with("CMD_chat+2+hi")) << host.sent.front();
}

TEST_F(ChatPaneTest, PhraseButtonsSendActionsOnceEveryTwoSecondsOnTheClock)
{
    ChatButtons& buttons = pane.buttons();
    EXPECT_EQ(buttons.phrase(1), QStringLiteral("Way To Go!"));
    EXPECT_EQ(buttons.phrase(9), QStringLiteral("Good Game Everyone!"));
    buttons.setPhrase(3, QStringLiteral("/me bows"));
    struct Row {
        std::int64_t at;
        int button;
        std::vector<std::string> sent;
    };
    const Row rows[] = {
        {0, 1, {"CMD_action+2+says: Way To Go!|clBlack\xFF"}},
        {1999, 2, {}}, // within the two seconds
        {2000, 3, {"CMD_action+2+bows|clBlack\xFF"}},
        {2500, 3, {}},
        {60000, 2, {"CMD_action+2+says: Good One!|clBlack\xFF"}},
    };
    for (const Row& row : rows) {
        now = row.at;
        pane.phrasePauseOver(); // what the pause's single-shot timer does
        // Within the pause every phrase button is shown disabled; afterwards they are back.
        EXPECT_EQ(buttons.phraseButton(row.button)->isEnabled(), !row.sent.empty()) << row.at;
        host.sent.clear();
        QTest::mouseClick(buttons.phraseButton(row.button), Qt::LeftButton);
        EXPECT_EQ(host.sent, row.sent) << row.at;
    }
}

// A phrase button shows its whole phrase when it fits, else its first whole words and an ellipsis,
// else its first word cut to fit; at the designed width and at twice it. The whole phrase stays in the
// tooltip, and the nine phrases a table starts with read differently on their buttons.
TEST_F(ChatPaneTest, PhraseButtonsShowAsMuchOfTheirPhraseAsFits)
{
    const QString fifty = QStringLiteral("Pneumonoultramicroscopicsilicovolcanoconiosisxyzwv");
    ASSERT_EQ(fifty.size(), 50);
    const QChar ellipsis(0x2026);
    struct Row {
        QString phrase;
        QString atDesigned; ///< the caption at the designed width; empty: checked by the rules alone
    };
    const Row rows[] = {
        {QStringLiteral("Thanks!"), QStringLiteral("Thanks!")},
        {QStringLiteral("  Nice \t  Try  "), QStringLiteral("Nice Try")},
        {QString(), QString()},
        {QStringLiteral("   "), QString()},
        {QStringLiteral("Way To Go Teamie!"), QString()},
        {fifty, QString()},
        {QStringLiteral("Congratulations everybody, that was a splendid game"), QString()},
    };
    QAbstractButton* button = pane.buttons().phraseButton(4);
    const QRect designed = button->geometry();
    int fiftyShown = 0;
    for (const int widen : {1, 2}) {
        button->resize(designed.width() * widen, designed.height());
        for (const Row& row : rows) {
            SCOPED_TRACE(qPrintable(row.phrase + QStringLiteral(" x%1").arg(widen)));
            pane.buttons().setPhrase(4, row.phrase);
            const QString shown = button->text();
            const QString whole = row.phrase.simplified();
            EXPECT_EQ(button->toolTip(), row.phrase);
            EXPECT_EQ(pane.buttons().phrase(4), row.phrase);
            EXPECT_LE(button->sizeHint().width(), button->width()) << qPrintable(shown);
            if (widen == 1 && !row.atDesigned.isEmpty()) {
                EXPECT_EQ(shown, row.atDesigned);
            }
            if (!shown.endsWith(ellipsis)) {
                EXPECT_EQ(shown, whole);
                continue;
            }
            // Cut: whole leading words, or the first word elided; never a word cut after the first.
            const QString lead = shown.chopped(1);
            ASSERT_FALSE(lead.isEmpty());
            ASSERT_TRUE(whole.startsWith(lead)) << qPrintable(shown);
            const bool wholeWords = whole.at(lead.size()) == QLatin1Char(' ');
            EXPECT_TRUE(wholeWords || !lead.contains(QLatin1Char(' '))) << qPrintable(shown);
            if (row.phrase == fifty) {
                EXPECT_GT(shown.size(), fiftyShown) << "a wider button shows more";
                fiftyShown = int(shown.size());
            }
        }
    }
    button->resize(designed.size());
    QStringList captions;
    for (int n = 1; n <= ChatButtons::kPhraseCount; ++n) {
        pane.buttons().setPhrase(n, QString::fromLatin1(ChatButtons::kBuiltInPhrases.at(std::size_t(n - 1))));
        captions << pane.buttons().phraseButton(n)->text();
    }
    EXPECT_EQ(QSet<QString>(captions.begin(), captions.end()).size(), ChatButtons::kPhraseCount)
        << qPrintable(captions.join(QStringLiteral(" | ")));
}

// The sound and smiley buttons grow with the board: their pictures fill the larger icon instead of
// staying at the designed size in the middle of a larger button.
TEST_F(ChatPaneTest, GlyphButtonsFillTheIconSizeTheBoardGivesThem)
{
    for (QAbstractButton* button : {pane.buttons().soundButton(), pane.buttons().smileyButton()}) {
        for (const int side : {16, 32, 48}) {
            SCOPED_TRACE(qPrintable(button->objectName() + QStringLiteral(" at %1").arg(side)));
            const QPixmap shown = button->icon().pixmap(QSize(side, side), 1.0);
            EXPECT_EQ(std::max(shown.width(), shown.height()), side);
        }
    }
}

TEST_F(ChatPaneTest, ChatterSoundsAreAskedForOnlyBySeatedConnectedPlayers)
{
    QMenu* menu = pane.buttons().soundMenu();
    ASSERT_EQ(menu->actions().size(), 21);
    EXPECT_EQ(menu->actions().front()->text(), QStringLiteral("<Cancel>"));
    EXPECT_EQ(menu->actions().at(5)->text(), QStringLiteral("Where have you been?"));
    EXPECT_EQ(menu->actions().back()->toolTip(), QStringLiteral("Crying"));
    EXPECT_EQ(pane.buttons().smileyMenu()->actions().size(), 18);
    EXPECT_EQ(pane.buttons().smileyMenu()->actions().back()->text(), QStringLiteral(":)#27"));

    struct Row {
        int seat;
        bool connected;
        int item;
        std::vector<std::string> sent;
    };
    const Row rows[] = {
        {2, true, 7, {"CMD_playasound+2+wave7+\xFF"}}, {2, true, 0, {}}, {6, true, 3, {}}, {2, false, 3, {}}};
    for (const Row& row : rows) {
        state.myseat = row.seat;
        state.connected = row.connected;
        host.sent.clear();
        pane.mainchat().clear();
        menu->actions().at(row.item)->trigger();
        EXPECT_EQ(host.sent, row.sent) << row.seat << " " << row.item;
        // A sound sent leaves its trace in the chat; one not sent leaves none.
        EXPECT_EQ(lines().filter(QStringLiteral("You played sound")),
                  row.sent.empty() ? QStringList() : QStringList{QStringLiteral("You played sound %1.").arg(row.item)});
    }
}

TEST_F(ChatPaneTest, LinksOpenOnlyAsWebPages)
{
    commands.dispatch("CMD_chat+3+Bob chats: see www.example.org/a?b=1 or http://x.net/p and https://y.org "
                      "javascript:alert('http://') file:///etc/passwd?www.x|clBlack");
    ChatView& view = pane.mainchat();
    ASSERT_EQ(view.linkcount(), 4);
    for (int n = 0; n <= view.linkcount(); ++n)
        view.mainchatJump(n);
    EXPECT_EQ(opened, (QList<QUrl>{QUrl(QStringLiteral("http://www.example.org/a?b=1")),
                                   QUrl(QStringLiteral("http://x.net/p")), QUrl(QStringLiteral("https://y.org"))}));
    EXPECT_EQ(messages, QStringList(2, QStringLiteral("Cannot open Webpage")));
}

} // namespace
