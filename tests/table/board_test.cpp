#include "board.h"

#include "artpicture.h"
#include "artwork.h"
#include "cardplace.h"
#include "cards.h"
#include "clicklabel.h"
#include "contractchooser.h"
#include "fitlabel.h"
#include "instructionspanel.h"
#include "printers.h"
#include "tablefixture.h"

#include <QColor>
#include <QFontMetrics>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using morlu::test::TableFixture;

QColor textColour(const QWidget* widget)
{
    return widget->palette().color(QPalette::WindowText);
}

class BoardTest : public TableFixture {};

struct Placed {
    const char* name;
    QRect geometry;
};

TEST_F(BoardTest, EveryElementStandsAtItsPlace)
{
    const Placed placed[] = {
        {"label_playername1", {249, 19, 92, 16}},
        {"label_playername4", {587, 19, 92, 16}},
        {"label_score2", {346, 33, 57, 16}},
        {"label_score3", {456, 33, 57, 16}},
        {"image_eyes1", {245, 19, 25, 11}},
        {"image_eyes4", {583, 19, 25, 11}},
        {"image_card1", {253, 72, 54, 74}},
        {"image_card3", {479, 72, 54, 74}},
        {"card_1", {264, 160, 54, 74}},
        {"card_8", {264 + 56 * 7, 160, 54, 74}},
        {"label_status", {225, 235, 512, 17}},
        {"label_rank", {225, 307, 512, 17}},
        {"panel_contract", {224, 251, 515, 54}},
        {"panel_log", {24, 24, 185, 297}},
        {"panel_choosen", {24, 24, 185, 297}},
        {"panel_error", {24, 24, 185, 297}},
        {"panel_winner", {224, 169, 515, 54}},
        {"panel_domino", {314, 73, 260, 83}},
        {"image_domino3", {135, 4, 54, 74}},
        {"label_domino4", {208, 22, 36, 36}},
        {"image_choosecontract", {216, 72, 337, 71}},
        {"panel_instructions", {0, 0, 768, 537}},
        {"Image10", {696, 488, 60, 30}},
        {"image_instructions4", {408, 360, 315, 133}},
        {"label_instructions2", {163, 193, 329, 65}},
        {"label_instructions5", {8, 460, 393, 65}},
    };
    EXPECT_EQ(board.size(), QSize(768, 537));
    EXPECT_EQ(board.objectName(), QStringLiteral("panel_board"));
    for (const Placed& p : placed)
        EXPECT_EQ(find(p.name)->geometry(), p.geometry) << p.name;
    EXPECT_EQ(find("button_start")->pos(), QPoint(669, 104));
    EXPECT_EQ(find("Image1")->pos(), QPoint(663, 22));
    EXPECT_EQ(find("label_gametype")->pos(), QPoint(665, 72));
    EXPECT_EQ(find("label_round")->pos(), QPoint(653, 88));
    EXPECT_EQ(find("label_bonus3")->pos(), QPoint(518, 33));
    EXPECT_EQ(find("label_totalcards2")->pos(), QPoint(347, 53));
    // Nothing of the board reaches into the chat's part below the rank order line.
    for (QWidget* child : board.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child != board.instructionsPanel() && child != board.chatArea()) {
            EXPECT_LE(child->geometry().bottom(), 325) << child->objectName().toStdString();
        }
}

TEST_F(BoardTest, StartsWithTheInitialTextsColoursAndHints)
{
    Board fresh;
    for (int seat = 1; seat <= 4; ++seat) {
        EXPECT_EQ(fresh.nameLabel(seat)->text(), QStringLiteral("<Waiting>"));
        EXPECT_EQ(fresh.scoreLabel(seat)->text(), QStringLiteral("$10000"));
        EXPECT_TRUE(fresh.scoreLabel(seat)->alignment() & Qt::AlignRight);
        EXPECT_EQ(fresh.bonusLabel(seat)->text(), QStringLiteral("-"));
        EXPECT_EQ(fresh.cardCountLabel(seat)->text(), QString());
        EXPECT_TRUE(fresh.eyes(seat)->isHidden());
        EXPECT_EQ(textColour(fresh.nameLabel(seat)), QColor(0, 64, 128));
        EXPECT_EQ(fresh.playedCard(seat)->picture(), 0);
    }
    EXPECT_EQ(fresh.nameLabel(1)->toolTip(), QString());
    EXPECT_EQ(fresh.computerName(2), QStringLiteral("Klot"));
    EXPECT_EQ(fresh.computerName(3), QStringLiteral("Klock"));
    EXPECT_EQ(fresh.computerName(4), QStringLiteral("Kling"));
    EXPECT_EQ(fresh.statusLabel()->text(), QStringLiteral("Welcome to The Morlu!"));
    EXPECT_TRUE(fresh.statusLabel()->font().bold());
    EXPECT_EQ(fresh.gameTypeLabel()->text(), QStringLiteral("LONG GAME"));
    EXPECT_EQ(fresh.roundLabel()->text(), QStringLiteral("CONTRACT 0/0"));
    EXPECT_EQ(fresh.rankLabel()->text(), QStringLiteral("FRENCH ORDER OF RANKS IS USED: A-10-K-Q-J-9-8-7"));
    EXPECT_EQ(textColour(fresh.rankLabel()), QColor(Qt::red));
    EXPECT_EQ(textColour(fresh.handTypeLabel()), QColor(237, 215, 61));
    EXPECT_TRUE(fresh.feeLabel()->font().bold());
    EXPECT_EQ(fresh.winnerText(), QStringLiteral("Winner!"));
    EXPECT_EQ(fresh.findChild<QLabel*>(QStringLiteral("label_winnershadow"))->text(), QStringLiteral("Winner!"));
    EXPECT_EQ(textColour(fresh.findChild<QLabel*>(QStringLiteral("label_choosetitle"))), QColor(237, 215, 61));
    EXPECT_EQ(fresh.findChild<QLabel*>(QStringLiteral("label_errortitle"))->text(), QStringLiteral("Try Again"));
    EXPECT_TRUE(fresh.errorList()->font().bold());
    for (const char* name :
         {"image_director", "image_Turn", "image_lead", "image_Taker", "panel_choosen", "panel_error", "panel_winner",
          "panel_domino", "image_choosecontract", "panel_instructions"})
        EXPECT_TRUE(fresh.findChild<QWidget*>(QString::fromLatin1(name))->isHidden()) << name;
    EXPECT_FALSE(fresh.logPanel()->isHidden());
}

TEST_F(BoardTest, ContractEntriesStandWhereTheChooserLaysThemOut)
{
    const int titleTops[] = {4, 52, 98, 142, 188, 224};
    const int descriptionTops[] = {21, 69, 115, 159, 205, 241};
    const int markTops[] = {4, 52, 99, 144, 191, 227};
    const char* titles[] = {"Morlu", "Waterloo", "Siege", "Touche", "Guillotine", "Dominoes"};
    ContractChooser* chooser = board.chooser();
    for (int code = 1; code <= 6; ++code) {
        ClickLabel* title = chooser->titleLabel(code);
        ClickLabel* description = chooser->descriptionLabel(code);
        ArtPicture* mark = chooser->checkMark(code);
        EXPECT_EQ(title->text(), QString::fromLatin1(titles[code - 1]));
        EXPECT_EQ(title->geometry(), QRect(30, titleTops[code - 1], 128, 19));
        EXPECT_TRUE(title->font().bold());
        EXPECT_EQ(textColour(title), QColor(0, 79, 157));
        EXPECT_EQ(description->pos(), QPoint(30, descriptionTops[code - 1]));
        EXPECT_EQ(description->width(), 147);
        EXPECT_TRUE(description->wordWrap());
        EXPECT_EQ(mark->geometry(), QRect(5, markTops[code - 1], 17, 16));
        EXPECT_EQ(title->tag(), code);
        EXPECT_EQ(description->tag(), code);
        EXPECT_EQ(mark->property("tag").toInt(), code);
        EXPECT_TRUE(mark->isHidden());
        EXPECT_FALSE(mark->pixmap().isNull());
        // Every description fits the white area and ends before the next entry's title.
        const int bottom = description->geometry().bottom();
        EXPECT_LT(bottom, code < 6 ? titleTops[code] : description->parentWidget()->height()) << code;
    }
    EXPECT_EQ(chooser->descriptionLabel(6)->text(),
              QStringLiteral("Not a Trick taking around. Player who is left with cards pays you $800."));
    EXPECT_EQ(chooser->titleLabel(0), nullptr);
    EXPECT_EQ(chooser->checkMark(7), nullptr);
    EXPECT_FALSE(chooser->isMarked(7));
}

TEST_F(BoardTest, MarkersMoveByTheirOffsetsIntoTheSeatColumnKeepingTheirTop)
{
    board.placeDirector(3);
    board.placeTurn(2);
    board.placeLead(4);
    board.placeTaker(1);
    EXPECT_EQ(board.directorMarker()->geometry(), QRect(475 - 35, 18, 30, 31));
    EXPECT_EQ(board.turnMarker()->geometry(), QRect(359 - 26, 53, 36, 19));
    EXPECT_EQ(board.leadMarker()->geometry(), QRect(591 - 4, 67, 72, 83));
    EXPECT_EQ(board.takerMarker()->geometry(), QRect(253 - 4, 67, 63, 92));
    for (ArtPicture* marker : {board.directorMarker(), board.turnMarker(), board.leadMarker(), board.takerMarker()}) {
        EXPECT_FALSE(marker->isHidden());
        EXPECT_FALSE(marker->pixmap().isNull());
    }
    // A seat outside the table neither moves nor shows a marker.
    Board other;
    other.placeTurn(5);
    other.placeLead(0);
    EXPECT_TRUE(other.turnMarker()->isHidden());
    EXPECT_TRUE(other.leadMarker()->isHidden());
    EXPECT_EQ(other.nameLabel(5), nullptr);
    EXPECT_EQ(other.handPlace(9), nullptr);
    EXPECT_EQ(other.seatName(0), QString());
}

TEST_F(BoardTest, ArrivalAccessorsSetNamesScoresAndEyes)
{
    board.setSeatName(3, QStringLiteral("Ann"));
    board.setScoreShown(2, false);
    board.setEyesShown(4, true);
    EXPECT_EQ(textOf("label_playername3"), QStringLiteral("Ann"));
    EXPECT_EQ(board.seatName(3), QStringLiteral("Ann"));
    EXPECT_TRUE(board.scoreLabel(2)->isHidden());
    EXPECT_FALSE(board.eyes(4)->isHidden());
}

TEST_F(BoardTest, LeftClickOnAHandPlaceReportsThatPlace)
{
    qRegisterMetaType<CardPlace*>();
    board.show();
    QSignalSpy clicks(&board, &Board::handPlaceClicked);
    QTest::mouseClick(board.handPlace(5), Qt::LeftButton);
    QTest::mouseClick(board.handPlace(5), Qt::RightButton);
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks.at(0).at(0).value<CardPlace*>(), board.handPlace(5));
}

TEST_F(BoardTest, ReleasingAnyButtonOverAContractEntryReportsItsCode)
{
    Board::showInFront(board.chooser());
    board.show();
    QSignalSpy releases(&board, &Board::contractReleased);
    QTest::mouseClick(board.chooser()->descriptionLabel(4), Qt::RightButton);
    QTest::mouseClick(board.chooser()->titleLabel(2), Qt::LeftButton);
    QTest::mouseClick(board.chooser()->titleLabel(6), Qt::MiddleButton);
    ASSERT_EQ(releases.size(), 3);
    EXPECT_EQ(releases.at(0).at(0).toInt(), 4);
    EXPECT_EQ(releases.at(1).at(0).toInt(), 2);
    EXPECT_EQ(releases.at(2).at(0).toInt(), 6);
}

// The fixed texts the game writes into fixed-size labels are never clipped.
TEST_F(BoardTest, FixedTextsFitTheirLabels)
{
    auto fits = [](const QLabel* label, const QString& text) {
        const QFontMetrics metrics(label->font());
        if (!label->wordWrap())
            return metrics.horizontalAdvance(text) <= label->width() && metrics.height() <= label->height();
        const QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), 10000), Qt::TextWordWrap, text);
        return needed.height() <= label->height();
    };
    for (int code = 1; code <= 6; ++code) {
        const std::string_view label = morlu::contractLabel(code);
        const QString line = QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size()));
        board.setHandTypeText(line);
        EXPECT_TRUE(fits(board.handTypeLabel(), line)) << code;
        EXPECT_GE(board.handTypeLabel()->font().pixelSize(), 12) << code;
    }
    for (const char* rank :
         {"FRENCH ORDER OF RANKS IS USED: A-10-K-Q-J-9-8-7", "AMERICAN ORDER OF RANKS IS USED: 7-8-9-10-J-Q-K-A"})
        EXPECT_TRUE(fits(board.rankLabel(), QString::fromLatin1(rank)));
    EXPECT_TRUE(fits(board.feeLabel(), QStringLiteral("All fees payable to Maximiliane")));
    EXPECT_TRUE(fits(board.statusLabel(), QStringLiteral("Maximiliane is choosing a CONTRACT.")));
    EXPECT_TRUE(fits(board.nameLabel(4), QStringLiteral("<Waiting>")));
    EXPECT_TRUE(fits(board.scoreLabel(1), QStringLiteral("$-10400")));
    for (int n = 1; n <= 6; ++n) {
        const auto* text = find<QLabel>(QStringLiteral("label_instructions%1").arg(n).toLatin1().constData());
        EXPECT_TRUE(fits(text, text->text())) << n;
    }
    // A long winner text shrinks until it fits the panel.
    board.setWinnerText(QStringLiteral("Maximiliane and Bartholomew and Kling has Won the Game!"));
    const auto* winner = find<QLabel>("label_winner");
    EXPECT_LE(QFontMetrics(winner->font()).horizontalAdvance(winner->text()), winner->width());
    EXPECT_EQ(find<QLabel>("label_winnershadow")->font(), winner->font());
}

TEST_F(BoardTest, CardPlacesDrawOnlyRealCards)
{
    CardPlace* place = board.playedCard(2);
    place->drawCard(17);
    EXPECT_EQ(place->picture(), 17);
    EXPECT_TRUE(place->hasPicture());
    place->drawCard(40);
    EXPECT_FALSE(place->hasPicture());
    place->clearPicture();
    EXPECT_EQ(place->picture(), 0);
    EXPECT_EQ(place->property("slot").toInt(), 0);
    EXPECT_EQ(place->property("cardCode").toInt(), 0);
}

// A name too long for its strip is cut at its end, never at both sides; the whole name stays the seat's
// name and shows as the tooltip. A name that fits keeps the computer name hint.
TEST_F(BoardTest, LongNamesAreElidedAtTheEndWithTheWholeNameAsTooltip)
{
    const QString longName = QStringLiteral("Maximiliane von Hohenzollern-Sigmaringen");
    for (int seat = 1; seat <= 4; ++seat) {
        board.setSeatName(seat, longName);
        const FitLabel* label = board.nameLabel(seat);
        EXPECT_EQ(board.seatName(seat), longName);
        EXPECT_TRUE(label->isElided()) << seat;
        EXPECT_TRUE(label->shownText().startsWith(QStringLiteral("Maxim"))) << seat;
        EXPECT_TRUE(label->shownText().endsWith(QChar(0x2026))) << seat;
        EXPECT_TRUE(label->contentsRect().contains(label->textRect())) << seat;
        EXPECT_EQ(label->toolTip(), longName) << seat;
        board.setSeatName(seat, QStringLiteral("Bo"));
        EXPECT_FALSE(label->isElided());
        EXPECT_EQ(label->toolTip(), board.computerName(seat));
    }
}

// The DOMINO start rank shows in every empty foundation and lies under the foundation's card, so a laid
// card is seen whole.
TEST_F(BoardTest, TheDominoStartRankLiesUnderTheFoundations)
{
    openRound(2);
    round.choosehand("2+6+0+");
    game.dplacecard("3+2+12+4+5+7+");
    const QObjectList stack = board.dominoPanel()->children();
    for (int suit = 1; suit <= 4; ++suit) {
        const QLabel* rank = board.dominoRank(suit);
        const CardPlace* foundation = board.foundation(suit);
        EXPECT_EQ(rank->text(), QStringLiteral("J"));
        EXPECT_TRUE(foundation->geometry().contains(rank->geometry())) << suit;
        EXPECT_LT(stack.indexOf(rank), stack.indexOf(foundation)) << suit;
    }
    EXPECT_EQ(board.foundation(2)->picture(), 12);
}

} // namespace
