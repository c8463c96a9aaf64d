#include "playerinput.h"

#include "boardkeys.h"
#include "cardplace.h"
#include "clicklabel.h"
#include "contractchooser.h"
#include "instructionspanel.h"
#include "printers.h"
#include "tablefixture.h"
#include "titledpanel.h"

#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

using morlu::test::TableFixture;

class PlayerInputTest : public TableFixture {
protected:
    void SetUp() override
    {
        board.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&board));
    }
    void clickCard(int place) { QTest::mouseClick(board.handPlace(place), Qt::LeftButton); }
    void release(ClickLabel* label, Qt::MouseButton button = Qt::LeftButton) { QTest::mouseClick(label, button); }
    std::vector<std::string> sentLines() const { return host.sent; }
};

TEST_F(PlayerInputTest, OwnTurnSendsTheSlotOfTheClickedPlace)
{
    openRound(2);
    round.getnextplayer("1+");
    Board::showInFront(board.errorPanel());
    clickCard(5);
    EXPECT_EQ(sentLines(), std::vector<std::string>{"CMD_playcard+1+5+\xFF"});
    EXPECT_FALSE(shown("panel_error"));
    // The card stays until the host answers, so a second click sends again.
    EXPECT_FALSE(board.handPlace(5)->isHidden());
    clickCard(5);
    EXPECT_EQ(sentLines().size(), 2u);
    // The slot travels, not the card the place shows.
    round.mycards("1+5+27");
    clickCard(5);
    EXPECT_EQ(sentLines().back(), "CMD_playcard+1+5+\xFF");
}

TEST_F(PlayerInputTest, NothingIsSentOutsideTheOwnTurnForEmptyPlacesOrUnconnected)
{
    openRound(2);
    round.getnextplayer("2+");
    clickCard(3);
    round.getnextplayer("1+");
    board.handPlace(4)->setSlot(0); // played: the host's answer emptied it
    QTest::mouseClick(board.handPlace(4), Qt::LeftButton);
    board.handPlace(4)->setSlot(4);
    state.connected = false;
    Board::showInFront(board.errorPanel());
    clickCard(4);
    EXPECT_TRUE(sentLines().empty());
    EXPECT_FALSE(shown("panel_error"));
}

TEST_F(PlayerInputTest, PlayedPlaceSendsNothing)
{
    openRound(2);
    round.getnextplayer("1+");
    game.placecard("1+9+3+t+");
    input.card_1Click(board.handPlace(3));
    EXPECT_TRUE(sentLines().empty());
}

TEST_F(PlayerInputTest, SpectatorNeverSends)
{
    state.myseat = 6;
    openRound(2);
    for (const char* seat : {"1+", "2+", "3+", "4+"}) {
        round.getnextplayer(seat);
        for (int k = 1; k <= 8; ++k)
            input.card_1Click(board.handPlace(k));
    }
    release(board.chooser()->titleLabel(5));
    EXPECT_TRUE(sentLines().empty());
}

TEST_F(PlayerInputTest, RightButtonReleaseOnADescriptionChooses)
{
    openRound(1);
    Board::showInFront(board.errorPanel());
    release(board.chooser()->descriptionLabel(3), Qt::RightButton);
    EXPECT_EQ(sentLines(), std::vector<std::string>{"CMD_choosetype+1+3+\xFF"});
    // One choice per answer of the host: a second release sends nothing.
    release(board.chooser()->descriptionLabel(4), Qt::RightButton);
    EXPECT_EQ(sentLines().size(), 1U);
    EXPECT_EQ(heard.sounds.constLast(), QStringLiteral("clickcontract"));
    EXPECT_FALSE(shown("panel_error"));
    EXPECT_TRUE(shown("panel_choosen")); // closed only by the host's answer
}

TEST_F(PlayerInputTest, ShortGameIgnoresTheFirstFourEntries)
{
    openRound(1, "s");
    for (int code = 1; code <= 4; ++code) {
        release(board.chooser()->titleLabel(code));
        release(board.chooser()->descriptionLabel(code), Qt::RightButton);
    }
    EXPECT_TRUE(sentLines().empty());
    EXPECT_EQ(display.model().chooser(), 1);
    EXPECT_TRUE(heard.sounds.filter(QStringLiteral("clickcontract")).isEmpty());
    release(board.chooser()->titleLabel(5));
    EXPECT_EQ(sentLines(), std::vector<std::string>{"CMD_choosetype+1+5+\xFF"});
}

// An entry that cannot be chosen is greyed, tells why when clicked, and every entry shows its rule.
TEST_F(PlayerInputTest, UnavailableContractsAreGreyAndSayWhy)
{
    struct Row {
        const char* length;
        std::vector<std::string> lines; ///< after the round opens
        int code;
        const char* status; ///< after a click on the entry; empty: it is chosen
    };
    const std::vector<Row> rows = {
        {"s", {}, 2, "Waterloo cannot be chosen: not in a short game."},
        {"h", {}, 1, "Morlu cannot be chosen: not in a half game."},
        {"l", {"CMD_handsused+1+3"}, 3, "Siege cannot be chosen: already used."},
        {"l", {}, 3, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.status);
        openRound(1, row.length);
        for (const std::string& line : row.lines)
            commands.dispatch(line);
        const std::size_t sentBefore = sentLines().size();
        ClickLabel* title = board.chooser()->titleLabel(row.code);
        EXPECT_FALSE(title->toolTip().isEmpty());
        const bool unavailable = *row.status != '\0';
        EXPECT_EQ(title->palette().color(QPalette::WindowText) == QColor(Qt::gray), unavailable);
        release(title);
        if (unavailable) {
            EXPECT_EQ(textOf("label_status"), QString::fromUtf8(row.status));
            EXPECT_EQ(sentLines().size(), sentBefore);
        } else {
            EXPECT_EQ(sentLines().size(), sentBefore + 1);
        }
    }
}

TEST_F(PlayerInputTest, TwoQuickChoicesSendOne)
{
    openRound(1);
    release(board.chooser()->titleLabel(2));
    release(board.chooser()->titleLabel(6));
    EXPECT_EQ(sentLines(), std::vector<std::string>{"CMD_choosetype+1+2+\xFF"});
    // A refusal reopens choosing.
    round.alreadychoose("1+2+");
    release(board.chooser()->titleLabel(2));
    release(board.chooser()->titleLabel(6));
    EXPECT_EQ(sentLines().back(), "CMD_choosetype+1+6+\xFF");
    EXPECT_EQ(sentLines().size(), 2u);
}

TEST_F(PlayerInputTest, ChoosingIsClosedForOthersAndBeforeTheSeatIsKnown)
{
    openRound(3);
    release(board.chooser()->titleLabel(1));
    EXPECT_TRUE(sentLines().empty());

    // Nobody chooses before the login: myseat 0 opens nothing, not even a sound.
    state.myseat = 0;
    state.connected = false;
    input.label_city1MouseUp(1);
    EXPECT_TRUE(heard.sounds.filter(QStringLiteral("clickcontract")).isEmpty());

    // Not connected: the choice closes the gate and clicks, but nothing goes out.
    state.myseat = 1;
    round.startround("1+2+");
    input.label_city1MouseUp(6);
    input.label_city1MouseUp(5);
    EXPECT_TRUE(sentLines().empty());
    EXPECT_EQ(heard.sounds.filter(QStringLiteral("clickcontract")).size(), 1);
}

// While the connection cannot carry a request (the table reconnects), a click or key still hands it over,
// and the connection drops it and says so; but nothing answers it as if the host had taken it: no click,
// and the choice stays open, so the same request goes out once the host can hear the table again.
TEST_F(PlayerInputTest, ARequestTheConnectionDropsNeitherClicksNorClosesTheChoice)
{
    BoardKeys keys{board, input};
    const auto ownTurn = [this] {
        openRound(2);
        round.choosehand("2+2+0+");
        game.starthand("");
        round.getnextplayer("1+");
    };
    const auto ownChoice = [this] { openRound(1); };
    struct Row {
        const char* name;
        std::function<void()> setup;
        std::function<void()> act;
        std::string line;
        const char* sound; ///< once the host hears the request; empty for none
    };
    const Row rows[] = {
        {"a card clicked", ownTurn, [this] { clickCard(3); }, "CMD_playcard+1+3+\xFF", ""},
        {"a card key", ownTurn, [&] { keys.press(Qt::Key_3); }, "CMD_playcard+1+3+\xFF", ""},
        {"a contract key", ownChoice, [&] { keys.press(Qt::Key_5); }, "CMD_choosetype+1+5+\xFF", "clickcontract"},
        {"a contract entry clicked", ownChoice, [this] { release(board.chooser()->titleLabel(5)); },
         "CMD_choosetype+1+5+\xFF", "clickcontract"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.setup();
        host.sent.clear();
        heard.sounds.clear();
        host.reachable = false;
        row.act();
        EXPECT_EQ(sentLines(), std::vector<std::string>{row.line});
        EXPECT_EQ(heard.sounds, QStringList());
        host.reachable = true;
        row.act();
        EXPECT_EQ(sentLines(), (std::vector<std::string>{row.line, row.line}));
        EXPECT_EQ(heard.sounds, *row.sound ? QStringList{QString::fromLatin1(row.sound)} : QStringList());
    }
}

TEST_F(PlayerInputTest, PanelsOpenAndClose)
{
    Board::showInFront(board.errorPanel());
    QTest::mouseClick(find("Image7"), Qt::LeftButton);
    EXPECT_FALSE(shown("panel_error"));

    input.QuickInstructions1Click();
    EXPECT_TRUE(shown("panel_instructions"));
    EXPECT_EQ(board.children().constLast(), static_cast<QObject*>(board.instructionsPanel()));
    QTest::mouseClick(find("Image10"), Qt::LeftButton);
    EXPECT_FALSE(shown("panel_instructions"));
}

TEST_F(PlayerInputTest, StartAsksForTheLengthOnlyWhenConnected)
{
    QTest::mouseClick(find("button_start"), Qt::LeftButton);
    EXPECT_EQ(dialogs.gameStarts, 1);
    state.connected = false;
    input.button_startClick();
    EXPECT_EQ(dialogs.gameStarts, 1);
    EXPECT_EQ(dialogs.messages, QStringList{QStringLiteral("You are not connected")});
    EXPECT_TRUE(dialogs.questions.isEmpty());
    EXPECT_TRUE(sentLines().empty());
}

TEST_F(PlayerInputTest, StartDuringAGameAsksBeforeThrowingTheGameAway)
{
    round.startthegame("You+s+");
    for (const bool yes : {false, true}) {
        dialogs.answer = yes;
        input.button_startClick();
        EXPECT_EQ(dialogs.gameStarts, yes ? 1 : 0);
    }
    EXPECT_EQ(dialogs.questions,
              QStringList(2, QStringLiteral("A game is being played. End it and start a new game?")));
    EXPECT_TRUE(sentLines().empty());
}

TEST_F(PlayerInputTest, TheLogoOpensTheProjectsPageOnlyWhenThereIsOne)
{
    struct Row {
        const char* page;
        bool opens;
    };
    // The build is configured without a page, so the logo starts as a plain picture.
    EXPECT_TRUE(PlayerInput::configuredWebPage().isEmpty());
    for (const Row& row : {Row{"", false}, Row{"ftp://files.invalid/morlu", false}, Row{"https://morlu.invalid/", true},
                           Row{"not a web address", false}}) {
        QList<QUrl> opened;
        input.setUrlOpener([&](const QUrl& url) { opened << url; });
        input.setWebPage(QUrl(QString::fromLatin1(row.page)));
        QTest::mouseClick(find("Image1"), Qt::LeftButton);
        EXPECT_EQ(opened.size(), row.opens ? 1 : 0) << row.page;
        if (row.opens) {
            EXPECT_EQ(opened.value(0), QUrl(QString::fromLatin1(row.page)));
        }
        EXPECT_EQ(find("Image1")->cursor().shape(), row.opens ? Qt::PointingHandCursor : Qt::ArrowCursor) << row.page;
    }
}

} // namespace
