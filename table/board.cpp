#include "board.h"

#include "artpicture.h"
#include "artwork.h"
#include "boardbuilder.h"
#include "boardlayout.h"
#include "boardpainter.h"
#include "boardstyle.h"
#include "cardplace.h"
#include "fitlabel.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>

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

Board::Board(QWidget* parent) : QWidget(parent), m_scaler(*this, kBoardSize)
{
    setObjectName(QStringLiteral("panel_board"));
    setFixedSize(kWidth, kHeight);
    m_parts = BoardBuilder(*this).build();
    m_scaler.setScale(1.0);

    // The texts the board starts with; each setter also sizes its label to the text.
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat) {
        setBonusText(seat, QStringLiteral("-"));
        setCardCountText(seat, QString());
    }
    setRankText(QStringLiteral("FRENCH ORDER OF RANKS IS USED: A-10-K-Q-J-9-8-7"), Qt::red);
    setGameTypeText(QStringLiteral("LONG GAME"));
    setRoundText(QStringLiteral("CONTRACT 0/0"));
}

void Board::setScale(qreal scale)
{
    m_scaler.setScale(std::max(1.0, scale));
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat)
        refreshNameTip(seat);
    update();
}

FitLabel* Board::nameLabel(int seat) const
{
    return validSeat(seat) ? m_parts.names[seat - 1] : nullptr;
}

FitLabel* Board::scoreLabel(int seat) const
{
    return validSeat(seat) ? m_parts.scores[seat - 1] : nullptr;
}

FitLabel* Board::bonusLabel(int seat) const
{
    return validSeat(seat) ? m_parts.bonuses[seat - 1] : nullptr;
}

FitLabel* Board::cardCountLabel(int seat) const
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
    refreshNameTip(seat);
}

void Board::refreshNameTip(int seat)
{
    FitLabel* label = m_parts.names[seat - 1];
    label->setToolTip(label->isElided() ? label->text() : computerName(seat));
}

QString Board::computerName(int seat) const
{
    return validSeat(seat) ? m_parts.names[seat - 1]->property(kComputerName).toString() : QString();
}

void Board::markOwnSeat(int seat)
{
    for (int n = 1; n <= morlu::kSeatCount; ++n)
        m_parts.names[n - 1]->setHighlighted(n == seat);
}

int Board::ownSeat() const
{
    for (int n = 1; n <= morlu::kSeatCount; ++n)
        if (m_parts.names[n - 1]->isHighlighted())
            return n;
    return 0;
}

void Board::setScoreShown(int seat, bool shown)
{
    if (validSeat(seat))
        m_parts.scores[seat - 1]->setVisible(shown);
}

void Board::setEyesShown(int seat, bool shown)
{
    if (!validSeat(seat))
        return;
    m_parts.eyes[seat - 1]->setVisible(shown);
    // While the watching mark shows, the name is drawn right of it.
    FitLabel* name = m_parts.names[seat - 1];
    QMargins margins = BoardScaler::designedMargins(name);
    const int eyesRight = kEyesLeft[seat - 1] + Artwork::kEyesSize.width() + 1;
    margins.setLeft(shown ? eyesRight - kNameLeft[seat - 1] : 0);
    m_scaler.setDesignedMargins(name, margins);
    refreshNameTip(seat);
}

void Board::setBonusText(int seat, const QString& text)
{
    if (validSeat(seat))
        m_parts.bonuses[seat - 1]->setText(text);
}

void Board::setCardCountText(int seat, const QString& text)
{
    if (validSeat(seat))
        m_parts.cardCounts[seat - 1]->setText(text);
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

int Board::leadSeat() const
{
    return m_parts.lead->isHidden() ? 0 : m_leadSeat;
}

void Board::placeMarker(QWidget* marker, int left, int seat)
{
    if (!validSeat(seat))
        return;
    QRect designed = BoardScaler::designedGeometry(marker);
    designed.moveLeft(left);
    m_scaler.place(marker, designed);
    marker->show();
}

void Board::placeDirector(int seat)
{
    if (!validSeat(seat))
        return;
    placeMarker(m_parts.director, kNameLeft[seat - 1] - kDirectorOffset, seat);
    // The director's bank figure is drawn right of the marker, so the marker never touches it.
    for (int n = 1; n <= morlu::kSeatCount; ++n) {
        const int markerRight = kNameLeft[n - 1] - kDirectorOffset + kDirectorMarkerWidth;
        const int clear = n == seat ? markerRight + kTextInset - kScoreLeft[n - 1] : 0;
        m_scaler.setDesignedMargins(m_parts.scores[n - 1], QMargins(clear, 0, 0, 0));
    }
}

void Board::placeTurn(int seat)
{
    if (validSeat(seat))
        placeMarker(m_parts.turn, kPlayedLeft[seat - 1] - kTurnOffset, seat);
}

void Board::placeLead(int seat)
{
    if (!validSeat(seat))
        return;
    m_leadSeat = seat;
    placeMarker(m_parts.lead, kPlayedLeft[seat - 1] - kTrickMarkerOffset, seat);
}

void Board::placeTaker(int seat)
{
    if (validSeat(seat))
        placeMarker(m_parts.taker, kPlayedLeft[seat - 1] - kTrickMarkerOffset, seat);
}

void Board::setGameTypeText(const QString& text)
{
    m_parts.gameType->setText(text);
}

void Board::setRoundText(const QString& text)
{
    m_parts.round->setText(text);
}

void Board::setRankText(const QString& text, const QColor& colour)
{
    m_parts.rank->setText(text);
    boardstyle::setTextColour(m_parts.rank, colour);
}

void Board::setHintNote(const QString& text)
{
    m_parts.hintNote->setText(text);
    m_parts.hintNote->setVisible(!text.isEmpty());
}

void Board::addLogLine(const QString& line)
{
    appendLine(m_parts.log, line);
    m_parts.log->verticalScrollBar()->setValue(m_parts.log->verticalScrollBar()->maximum());
}

void Board::setLogLines(const QStringList& lines)
{
    m_parts.log->clear();
    m_parts.log->setProperty(kLineCount, 0);
    for (const QString& line : lines)
        appendLine(m_parts.log, line);
    m_parts.log->verticalScrollBar()->setValue(m_parts.log->verticalScrollBar()->maximum());
}

void Board::clearLog()
{
    m_parts.log->clear();
    m_parts.log->setProperty(kLineCount, 0);
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
    // size at which the whole text fits the panel, down to a size that stays readable. Sizes are in
    // board units, so the text keeps its proportions on a larger board.
    const int width = BoardScaler::designedGeometry(m_parts.winner).width() - 12;
    const QFont font =
        fittedFont(BoardScaler::designedFont(m_parts.winner), text, width, kWinnerFontSize, kWinnerMinFontSize);
    for (QLabel* copy : {m_parts.winnerShadow, m_parts.winner}) {
        m_scaler.setDesignedFont(copy, font);
        copy->setText(text);
    }
}

void Board::setHandTypeText(const QString& text)
{
    // The long contract lines (GUILLOTINE) would be cut at the full size: shrink them to fit the box.
    const int width = BoardScaler::designedGeometry(m_parts.handType).width() - 8;
    m_scaler.setDesignedFont(m_parts.handType, fittedFont(BoardScaler::designedFont(m_parts.handType), text, width,
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
    BoardPainter::paint(painter, rect(), m_scaler.scale());
}
