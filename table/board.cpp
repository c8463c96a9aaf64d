#include "board.h"

#include "artpicture.h"
#include "boardbuilder.h"
#include "boardlayout.h"
#include "boardstyle.h"
#include "cardplace.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

using namespace boardlayout;

namespace {

// The largest pixel size from @p largest down to @p smallest at which @p text fits @p width.
QFont fittedFont(QFont font, const QString& text, int width, int largest, int smallest)
{
    for (int size = largest; size > smallest; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(text) <= width)
            return font;
    }
    font.setPixelSize(smallest);
    return font;
}

// Lines held by a memo; kept apart from the document, which cannot tell one empty line from none.
constexpr const char* kLineCount = "lineCount";

/// Appends @p line to @p memo as a line of its own, an empty first line included.
void appendLine(QTextEdit* memo, const QString& line)
{
    const int lines = memo->property(kLineCount).toInt();
    if (lines == 0) {
        memo->setPlainText(line);
    } else {
        QTextCursor cursor(memo->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertBlock();
        cursor.insertText(line);
    }
    memo->setProperty(kLineCount, lines + 1);
}

bool validSeat(int seat)
{
    return seat >= 1 && seat <= morlu::kSeatCount;
}

bool validSuit(int suit)
{
    return suit >= morlu::Diamonds && suit <= morlu::Spades;
}

} // namespace

Board::Board(QWidget* parent) : QWidget(parent), m_background(QStringLiteral(":/art/board.jpg"))
{
    setObjectName(QStringLiteral("panel_board"));
    setFixedSize(kWidth, kHeight);
    m_parts = BoardBuilder(*this).build();

    // The texts the board starts with; each setter also sizes its label to the text.
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat) {
        setBonusText(seat, QStringLiteral("-"));
        setCardCountText(seat, QString());
    }
    setRankText(QStringLiteral("FRENCH ORDER OF RANKS IS USED: A-10-K-Q-J-9-8-7"), Qt::red);
    setGameTypeText(QStringLiteral("LONG GAME"));
    setRoundText(QStringLiteral("CONTRACT 0/0"));
}

QLabel* Board::nameLabel(int seat) const
{
    return validSeat(seat) ? m_parts.names[seat - 1] : nullptr;
}

QLabel* Board::scoreLabel(int seat) const
{
    return validSeat(seat) ? m_parts.scores[seat - 1] : nullptr;
}

QLabel* Board::bonusLabel(int seat) const
{
    return validSeat(seat) ? m_parts.bonuses[seat - 1] : nullptr;
}

QLabel* Board::cardCountLabel(int seat) const
{
    return validSeat(seat) ? m_parts.cardCounts[seat - 1] : nullptr;
}

ArtPicture* Board::eyes(int seat) const
{
    return validSeat(seat) ? m_parts.eyes[seat - 1] : nullptr;
}

CardPlace* Board::playedCard(int seat) const
{
    return validSeat(seat) ? m_parts.played[seat - 1] : nullptr;
}

QString Board::seatName(int seat) const
{
    return validSeat(seat) ? m_parts.names[seat - 1]->text() : QString();
}

void Board::setSeatName(int seat, const QString& name)
{
    if (!validSeat(seat))
        return;
    m_parts.names[seat - 1]->setText(name);
    m_parts.names[seat - 1]->show();
}

QString Board::computerName(int seat) const
{
    return validSeat(seat) ? m_parts.names[seat - 1]->toolTip() : QString();
}

void Board::setScoreShown(int seat, bool shown)
{
    if (validSeat(seat))
        m_parts.scores[seat - 1]->setVisible(shown);
}

void Board::setEyesShown(int seat, bool shown)
{
    if (validSeat(seat))
        m_parts.eyes[seat - 1]->setVisible(shown);
}

void Board::setBonusText(int seat, const QString& text)
{
    if (!validSeat(seat))
        return;
    m_parts.bonuses[seat - 1]->setText(text);
    m_parts.bonuses[seat - 1]->adjustSize();
}

void Board::setCardCountText(int seat, const QString& text)
{
    if (!validSeat(seat))
        return;
    m_parts.cardCounts[seat - 1]->setText(text);
    m_parts.cardCounts[seat - 1]->adjustSize();
}

CardPlace* Board::handPlace(int place) const
{
    return place >= 1 && place <= morlu::kHandSlots ? m_parts.hand[std::size_t(place - 1)] : nullptr;
}

CardPlace* Board::foundation(int suit) const
{
    return validSuit(suit) ? m_parts.foundations[std::size_t(suit - 1)] : nullptr;
}

QLabel* Board::dominoRank(int suit) const
{
    return validSuit(suit) ? m_parts.dominoRanks[std::size_t(suit - 1)] : nullptr;
}

void Board::placeDirector(int seat)
{
    if (!validSeat(seat))
        return;
    m_parts.director->move(kNameLeft[seat - 1] - kDirectorOffset, m_parts.director->y());
    m_parts.director->show();
}

void Board::placeTurn(int seat)
{
    if (!validSeat(seat))
        return;
    m_parts.turn->move(kPlayedLeft[seat - 1] - kTurnOffset, m_parts.turn->y());
    m_parts.turn->show();
}

void Board::placeLead(int seat)
{
    if (!validSeat(seat))
        return;
    m_parts.lead->move(kPlayedLeft[seat - 1] - kTrickMarkerOffset, m_parts.lead->y());
    m_parts.lead->show();
}

void Board::placeTaker(int seat)
{
    if (!validSeat(seat))
        return;
    m_parts.taker->move(kPlayedLeft[seat - 1] - kTrickMarkerOffset, m_parts.taker->y());
    m_parts.taker->show();
}

void Board::setGameTypeText(const QString& text)
{
    m_parts.gameType->setText(text);
    m_parts.gameType->adjustSize();
}

void Board::setRoundText(const QString& text)
{
    m_parts.round->setText(text);
    m_parts.round->adjustSize();
}

void Board::setRankText(const QString& text, const QColor& colour)
{
    m_parts.rank->setText(text);
    boardstyle::setTextColour(m_parts.rank, colour);
}

void Board::addLogLine(const QString& line)
{
    appendLine(m_parts.log, line);
    m_parts.log->verticalScrollBar()->setValue(m_parts.log->verticalScrollBar()->maximum());
}

void Board::addErrorLine(const QString& line)
{
    appendLine(m_parts.errors, line);
}

void Board::setErrorLines(const QStringList& lines)
{
    m_parts.errors->clear();
    m_parts.errors->setProperty(kLineCount, 0);
    for (const QString& line : lines)
        appendLine(m_parts.errors, line);
}

void Board::showInFront(QWidget* panel)
{
    panel->show();
    panel->raise();
}

void Board::setWinnerText(const QString& text)
{
    // A long winner text ("Bea and Kling has Won the Game!") would be cut at the full size: the largest
    // size at which the whole text fits the panel, down to a size that stays readable.
    const QFont font =
        fittedFont(m_parts.winner->font(), text, m_parts.winner->width() - 12, kWinnerFontSize, kWinnerMinFontSize);
    for (QLabel* copy : {m_parts.winnerShadow, m_parts.winner}) {
        copy->setFont(font);
        copy->setText(text);
    }
}

void Board::setHandTypeText(const QString& text)
{
    // The long contract lines (GUILLOTINE) would be cut at the full size: shrink them to fit the box.
    m_parts.handType->setFont(fittedFont(m_parts.handType->font(), text, m_parts.handType->width() - 8,
                                         kHandTypeFontSize, kHandTypeMinFontSize));
    m_parts.handType->setText(text);
}

QString Board::winnerText() const
{
    return m_parts.winner->text();
}

void Board::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_background.isNull())
        painter.fillRect(rect(), QColor(24, 104, 62));
    else
        painter.drawPixmap(rect(), m_background);
}
