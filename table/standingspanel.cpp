#include "standingspanel.h"

#include "board.h"
#include "boardstyle.h"
#include "fitlabel.h"
#include "tableaccessibility.h"
#include "tablemodel.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

namespace {

/// Under the winner text, over the status, contract and rank strips (board units).
constexpr QRect kPanel{224, 226, 515, 102};
constexpr int kHeaderTop = 5;
constexpr int kHeaderHeight = 15;
constexpr int kRowHeight = 16;
constexpr QRect kFootnote{10, 86, 495, 13};

struct ColumnPlace {
    int left;
    int width;
    Qt::Alignment align;
    const char* title;
    const char* name;
};

constexpr std::array<ColumnPlace, StandingsPanel::ColumnCount> kColumns{{
    {6, 38, Qt::AlignCenter, "Seat", "seat"},
    {48, 156, Qt::AlignLeft | Qt::AlignVCenter, "Player", "name"},
    {206, 78, Qt::AlignRight | Qt::AlignVCenter, "Bank", "bank"},
    {288, 74, Qt::AlignRight | Qt::AlignVCenter, "Change", "change"},
    {368, 80, Qt::AlignCenter, "Rounds won", "rounds"},
    {450, 58, Qt::AlignCenter, "Directed", "directed"},
}};

const QColor kRowText(236, 236, 224);
constexpr QChar kStar(0x2605);

bool validSeat(int seat)
{
    return seat >= 1 && seat <= 4;
}

} // namespace

StandingsPanel::StandingsPanel(Board& board, const TableModel& model) : QWidget(&board), m_model(model)
{
    setObjectName(QStringLiteral("panel_standings"));
    setAccessibleName(QStringLiteral("Final standings"));
    BoardScaler& scaler = board.scaler();
    scaler.place(this, kPanel);
    for (int r = 0; r <= 4; ++r) {
        auto* row = new QWidget(this);
        row->setObjectName(r == 0 ? QStringLiteral("standings_header") : QStringLiteral("standings_row%1").arg(r));
        const int top = r == 0 ? kHeaderTop : kHeaderTop + kHeaderHeight + (r - 1) * kRowHeight;
        scaler.place(row, QRect(0, top, kPanel.width(), r == 0 ? kHeaderHeight : kRowHeight));
        const QFont font = r == 0 ? boardstyle::font(11, true) : boardstyle::font(12, true);
        for (int c = 0; c < ColumnCount; ++c) {
            const ColumnPlace& place = kColumns.at(std::size_t(c));
            const QString name = QStringLiteral("standings_%1%2").arg(QLatin1String(place.name)).arg(r);
            auto* cell = new FitLabel(name, r == 0 ? QString::fromLatin1(place.title) : QString(), row, 7);
            cell->setAlignment(place.align);
            boardstyle::setTextColour(cell, r == 0 ? boardstyle::kGold : kRowText);
            scaler.setDesignedFont(cell, font);
            scaler.place(cell, QRect(place.left, 0, place.width, r == 0 ? kHeaderHeight : kRowHeight));
            m_cells.at(std::size_t(r)).at(std::size_t(c)) = cell;
        }
        m_rows.at(std::size_t(r)) = row;
    }
    m_footnote = new FitLabel(QStringLiteral("standings_footnote"), QString(), this, 7);
    m_footnote->setAlignment(Qt::AlignCenter);
    boardstyle::setTextColour(m_footnote, boardstyle::kGold);
    scaler.setDesignedFont(m_footnote, boardstyle::font(10));
    scaler.place(m_footnote, kFootnote);
    hide();
    connect(&model, &TableModel::changed, this, &StandingsPanel::refresh);
    // The standings belong to the winner text: closing it (Esc) closes them too.
    m_winner = board.winnerPanel();
    m_winner->installEventFilter(this);
}

bool StandingsPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_winner && event->type() == QEvent::HideToParent)
        hide();
    return QWidget::eventFilter(watched, event);
}

FitLabel* StandingsPanel::cell(int seat, Column column) const
{
    if (seat < 0 || seat > 4 || column < 0 || column >= ColumnCount)
        return nullptr;
    return m_cells.at(std::size_t(seat)).at(std::size_t(column));
}

QWidget* StandingsPanel::row(int seat) const
{
    return validSeat(seat) ? m_rows.at(std::size_t(seat)) : nullptr;
}

QString StandingsPanel::footnote() const
{
    return m_footnote->text();
}

QString StandingsPanel::signedText(int value)
{
    return value > 0 ? QStringLiteral("+%1").arg(value) : QString::number(value);
}

void StandingsPanel::refresh()
{
    if (!m_model.gameOver()) {
        hide();
        return;
    }
    // The host names as winners the seats with the highest bank.
    int best = m_model.seat(1).bank;
    for (int seat = 2; seat <= 4; ++seat)
        best = std::max(best, m_model.seat(seat).bank);
    m_own = m_model.isPlayerSeat() ? m_model.myslot() : 0;
    for (int seat = 1; seat <= 4; ++seat) {
        const TableModel::Seat& held = m_model.seat(seat);
        const bool winner = held.bank == best;
        const QString name = m_model.seatName(seat);
        const QStringList texts{winner ? QString(kStar) + QChar(' ') + QString::number(seat) : QString::number(seat),
                                name,
                                QStringLiteral("$%1").arg(held.bank),
                                signedText(held.gameChange),
                                QString::number(held.roundsWon),
                                QString::number(held.directed)};
        for (int c = 0; c < ColumnCount; ++c) {
            FitLabel* label = cell(seat, Column(c));
            label->setText(texts.at(c));
            boardstyle::setTextColour(label, winner ? boardstyle::kGold : kRowText);
        }
        FitLabel* nameCell = cell(seat, NameColumn);
        nameCell->setToolTip(nameCell->isElided() ? name : QString());

        QStringList spoken{QStringLiteral("Seat %1").arg(seat),
                           name,
                           QStringLiteral("bank %1").arg(TableAccessibility::money(held.bank)),
                           QStringLiteral("change over the game %1").arg(signedText(held.gameChange)),
                           QStringLiteral("rounds won %1").arg(held.roundsWon),
                           QStringLiteral("contracts directed %1").arg(held.directed)};
        if (winner)
            spoken << QStringLiteral("winner");
        if (seat == m_own)
            spoken << QStringLiteral("your seat");
        row(seat)->setAccessibleName(spoken.join(QStringLiteral(", ")));
    }
    const int joined = m_model.joinedRound();
    m_footnote->setText(
        joined == 0 ? QString()
                    : QStringLiteral("Joined in round %1: rounds won count only the rounds seen since.").arg(joined));
    m_footnote->setAccessibleName(m_footnote->text());
    Board::showInFront(this);
    update();
}

void StandingsPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = height() / qreal(kPanel.height());
    painter.setBrush(QColor(6, 38, 24));
    painter.setPen(QPen(QColor(237, 215, 61, 190), 1.0));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8 * unit, 8 * unit);
    // A thin gold rule under the header.
    const QRect header = m_rows.at(0)->geometry();
    painter.setPen(QPen(QColor(237, 215, 61, 120), 1.0));
    painter.drawLine(QPointF(6 * unit, header.bottom() + 1.5), QPointF(width() - 6 * unit, header.bottom() + 1.5));
    if (validSeat(m_own)) {
        const QRectF band = QRectF(m_rows.at(std::size_t(m_own))->geometry()).adjusted(4 * unit, 0, -4 * unit, 0);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 46));
        painter.drawRoundedRect(band, band.height() / 2, band.height() / 2);
    }
}
