#include "boardlayout.h"

#include "artpicture.h"
#include "board.h"
#include "boardscaler.h"
#include "cardplace.h"
#include "fitlabel.h"
#include "printers.h"
#include "tablefixture.h"
#include "tablerig.h"
#include "tiledarea.h"

#include <QMenuBar>

#include <gtest/gtest.h>

#include <vector>

namespace {

using morlu::test::TableFixture;
using namespace boardlayout;

/// Something drawn on the board, by where its ink is in board coordinates.
struct Ink {
    QString name;
    QRect rect;
};

class BoardLayoutTest : public TableFixture {
protected:
    QRect onBoard(const QWidget* widget, const QRect& rect) const
    {
        return QRect(widget->mapTo(&board, rect.topLeft()), rect.size());
    }
    Ink text(const FitLabel* label) const { return {label->objectName(), onBoard(label, label->textRect())}; }
    Ink picture(const QWidget* widget) const { return {widget->objectName(), onBoard(widget, widget->rect())}; }

    /// Everything shown in the seat strip and the corner box.
    std::vector<Ink> inks() const
    {
        std::vector<Ink> all;
        for (int seat = 1; seat <= 4; ++seat) {
            for (const FitLabel* label :
                 {board.nameLabel(seat), board.scoreLabel(seat), board.bonusLabel(seat), board.cardCountLabel(seat)})
                if (!label->text().isEmpty())
                    all.push_back(text(label));
            if (board.eyes(seat)->isVisibleTo(&board))
                all.push_back(picture(board.eyes(seat)));
        }
        for (const QWidget* marker :
             {static_cast<QWidget*>(board.directorMarker()), static_cast<QWidget*>(board.turnMarker())})
            if (marker->isVisibleTo(&board))
                all.push_back(picture(marker));
        all.push_back(text(board.gameTypeLabel()));
        all.push_back(text(board.roundLabel()));
        return all;
    }
};

// At every size, with the widest texts the game writes and every marker on every seat, no text or
// marker covers another, the strip's texts and markers stay inside the strip, the corner's inside the
// corner box clear of the LEAD tag, and only names are ever shortened.
TEST_F(BoardLayoutTest, NothingOverlapsOrIsClippedAtAnySize)
{
    openRound(1, "s");
    for (int seat = 1; seat <= 4; ++seat) {
        board.setSeatName(seat, QStringLiteral("Maximiliane-Bartholomew %1").arg(seat));
        board.setEyesShown(seat, true);
        board.setCardCountText(seat, QStringLiteral("CARDS: 8"));
    }
    game.scores("1+-10400+-2400+2+10400+2400+3+19800+-3200+4+-800+800");
    board.setRoundText(QStringLiteral("CONTRACT: 24/24"));
    board.setGameTypeText(QStringLiteral("SHORT GAME"));

    for (const qreal scale : {1.0, 1.37, 2.0}) {
        board.setScale(scale);
        const QRect strip = BoardScaler::scaled(kTopStrip, scale);
        const QRect corner = BoardScaler::scaled(kCornerBox, scale);
        for (int director = 1; director <= 4; ++director) {
            for (int turn = 1; turn <= 4; ++turn) {
                board.placeDirector(director);
                board.placeTurn(turn);
                board.placeLead(turn);
                const std::vector<Ink> all = inks();
                for (std::size_t i = 0; i < all.size(); ++i) {
                    for (std::size_t j = i + 1; j < all.size(); ++j)
                        EXPECT_FALSE(all[i].rect.intersects(all[j].rect))
                            << qPrintable(all[i].name) << " covers " << qPrintable(all[j].name) << " at " << scale;
                    const bool inCorner = all[i].name == "label_gametype" || all[i].name == "label_round";
                    EXPECT_TRUE((inCorner ? corner : strip).contains(all[i].rect))
                        << qPrintable(all[i].name) << " leaves its box at " << scale;
                }
                // The LEAD tag stays out of the corner box.
                EXPECT_FALSE(picture(board.leadMarker()).rect.intersects(corner)) << turn << " at " << scale;
            }
        }
        for (int seat = 1; seat <= 4; ++seat) {
            EXPECT_TRUE(board.nameLabel(seat)->isElided()) << seat;
            for (const FitLabel* label : {board.scoreLabel(seat), board.bonusLabel(seat), board.cardCountLabel(seat)})
                EXPECT_FALSE(label->isElided()) << qPrintable(label->objectName()) << " at " << scale;
            // The change stands on the bank figure's line.
            EXPECT_EQ(board.bonusLabel(seat)->mapTo(&board, QPoint(0, board.bonusLabel(seat)->baseline())).y(),
                      board.scoreLabel(seat)->mapTo(&board, QPoint(0, board.scoreLabel(seat)->baseline())).y());
        }
        for (const FitLabel* label : {board.gameTypeLabel(), board.roundLabel(), board.statusLabel()})
            EXPECT_FALSE(label->isElided()) << qPrintable(label->objectName()) << " at " << scale;
        // Every element keeps its designed place, scaled, and stays on the board.
        for (const QWidget* child : board.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_EQ(child->geometry(), BoardScaler::scaled(BoardScaler::designedGeometry(child), scale))
                << qPrintable(child->objectName());
            EXPECT_TRUE(board.rect().contains(child->geometry())) << qPrintable(child->objectName()) << " at " << scale;
        }
    }
}

// The window's client area holds the board at the largest scale that fits, keeping its proportions; the
// designed size stays the default and the least.
TEST(BoardFit, TheBoardGrowsWithTheWindowKeepingItsProportions)
{
    struct Row {
        QSize window;
        bool larger;
    };
    const Row rows[] = {{{789, 595}, false}, {{1280, 900}, true}, {{2400, 1300}, true}, {{500, 300}, false}};
    for (const Row& row : rows) {
        auto table = morlu::test::makeTable({QStringLiteral("Ann")}, 7772);
        table->resize(row.window);
        table->show();
        QCoreApplication::processEvents();
        Board& board = table->board();
        const QWidget* area = table->centralWidget();
        const qreal scale = board.scale();
        EXPECT_EQ(scale > 1.0, row.larger) << row.window.width();
        EXPECT_EQ(scale, TiledArea::fittingScale(area->size()));
        EXPECT_EQ(board.size(), BoardScaler::scaled(QRect(QPoint(), kBoardSize), scale).size());
        EXPECT_TRUE(area->rect().contains(board.geometry())) << row.window.width();
        if (!row.larger) {
            EXPECT_EQ(board.pos(), QPoint(6, 6));
        }
        // The chat below the board grew with it.
        EXPECT_EQ(board.chatArea()->geometry(), BoardScaler::scaled(kChatArea, scale));
        EXPECT_NEAR(table->mainchat().width(), 748 * scale, 1.0);
        table->close();
    }
}

} // namespace
