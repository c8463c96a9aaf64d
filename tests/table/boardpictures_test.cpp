#include "board.h"
#include "printers.h"
#include "tablefixture.h"
#include "tempdir.h"

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

using morlu::test::TableFixture;

// Grabs the board in the states a game passes through, for looking them over by eye. The pictures
// go to $MORLU_BOARD_PICTURES when that is set, else to a temporary directory.
class BoardPicturesTest : public TableFixture {
protected:
    void SetUp() override
    {
        board.setSeatName(2, QStringLiteral("Bea"));
        board.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&board));
    }

    void save(const char* name)
    {
        const QImage image = board.grab().toImage();
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.size() / image.devicePixelRatio(), QSize(768, 537));
        const QString dir = qEnvironmentVariableIsSet("MORLU_BOARD_PICTURES")
                                ? qEnvironmentVariable("MORLU_BOARD_PICTURES")
                                : m_temp.path();
        QDir().mkpath(dir);
        EXPECT_TRUE(image.save(QDir(dir).filePath(QStringLiteral("board-%1.png").arg(QLatin1String(name)))));
    }

    void playTrick()
    {
        openRound(2);
        round.choosehand("2+1+0+");
        game.starthand("");
        round.getnextplayer("3+");
        game.placecard("3+20+0+t+");
        round.getnextplayer("4+");
        game.placecard("4+23+0+f+");
        round.getnextplayer("1+");
        game.placecard("1+22+6+f+");
        round.getnextplayer("2+");
        game.placecard("2+24+0+f+");
        game.endhand("2+");
        game.took("2+1+t+t+");
        game.scores("1+9400+-400+2+10800+800+3+10000+0+4+9800+-200");
        game.starthand("");
        round.getnextplayer("2+");
        game.placecard("2+31+0+t+");
        round.getnextplayer("3+");
        game.placecard("3+26+0+f+");
        game.endhand("2+");
        round.getnextplayer("4+");
    }

    morlu::test::TempDir m_temp;
};

TEST_F(BoardPicturesTest, Start)
{
    save("start");
}

TEST_F(BoardPicturesTest, ChoosingAContract)
{
    round.startthegame("You+s+");
    round.startround("1+3+");
    round.mycards("1+1+2+2+5+3+9+4+12+5+18+6+22+7+27+8+31");
    round.handsused("1+6");
    save("chooser");
}

TEST_F(BoardPicturesTest, TrickWithLeadAndTaker)
{
    playTrick();
    board.setEyesShown(3, true);
    save("trick");
}

TEST_F(BoardPicturesTest, DominoLayout)
{
    openRound(3);
    round.choosehand("3+6+0+");
    game.dplacecard("3+1+5+0+5+7+");
    game.dplacecard("4+1+4+0+5+6+");
    game.dplacecard("1+2+13+2+5+7+");
    game.dplacecard("2+3+21+0+5+7+");
    round.getnextplayer("1+");
    save("domino");
}

TEST_F(BoardPicturesTest, ErrorPanel)
{
    playTrick();
    game.aerror("1+3+");
    save("error");
}

TEST_F(BoardPicturesTest, Winner)
{
    playTrick();
    game.winner("Bea and Kling+");
    save("winner");
}

TEST_F(BoardPicturesTest, Instructions)
{
    input.QuickInstructions1Click();
    save("instructions");
}

} // namespace
