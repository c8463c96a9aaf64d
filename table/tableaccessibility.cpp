#include "tableaccessibility.h"

#include "artpicture.h"
#include "board.h"
#include "cardplace.h"
#include "cards.h"
#include "clicklabel.h"
#include "contractchooser.h"
#include "instructionspanel.h"
#include "tablemodel.h"
#include "tablestate.h"
#include "titledpanel.h"

#include <QAccessible>
#include <QLabel>
#include <QLocale>

namespace {

void name(QWidget* widget, const QString& text, const QString& description)
{
    widget->setAccessibleName(text);
    widget->setAccessibleDescription(description);
}

} // namespace

TableAccessibility::TableAccessibility(Board& board, const TableState& state, const TableModel& model)
    : m_board(board), m_state(state), m_model(model), m_announce(new QLabel(&board)),
      m_sink([](QAccessibleEvent* event) { QAccessible::updateAccessibility(event); })
{
    m_namesTimer.setSingleShot(true);
    m_namesTimer.setInterval(0);
    QObject::connect(&m_namesTimer, &QTimer::timeout, [this] { refreshNames(); });
    m_announce->setObjectName(QStringLiteral("label_announce"));
    m_announce->setGeometry(0, 0, 1, 1);
    m_announce->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_board.setAccessibleName(QStringLiteral("Morlu card table"));
    name(m_board.startButton(), QStringLiteral("Start"), QStringLiteral("Start a new game (Ctrl+N)"));
    name(m_board.logo(), QStringLiteral("Morlu web page"), QStringLiteral("Opens the game's web page"));
    name(m_board.errorPanel()->findChild<QWidget*>(QStringLiteral("Image7")), QStringLiteral("OK"),
         QStringLiteral("Close the error panel (Esc)"));
    name(m_board.instructionsPanel()->okButton(), QStringLiteral("OK"),
         QStringLiteral("Close the quick instructions (Esc)"));
    name(m_board.directorMarker(), QStringLiteral("Director"), QString());
    name(m_board.turnMarker(), QStringLiteral("On turn"), QString());
    name(m_board.leadMarker(), QStringLiteral("Led the trick"), QString());
    name(m_board.takerMarker(), QStringLiteral("Took the trick"), QString());
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat)
        name(m_board.eyes(seat), QStringLiteral("Just watching"), QString());
    for (int place = 1; place <= morlu::kHandSlots; ++place)
        m_board.handPlace(place)->setAccessibleDescription(
            QStringLiteral("Card %1 of your hand; press %1, or Enter when it has the focus, to play it").arg(place));
    refresh();
}

QString TableAccessibility::money(const QString& bank)
{
    QString digits = bank;
    digits.remove(QLatin1Char('$'));
    bool ok = false;
    const int value = digits.toInt(&ok);
    if (!ok)
        return bank;
    return money(value);
}

QString TableAccessibility::money(int dollars)
{
    QLocale english(QLocale::English, QLocale::UnitedStates);
    return (dollars < 0 ? QStringLiteral("-$") : QStringLiteral("$")) +
           english.toString(dollars < 0 ? -qint64(dollars) : qint64(dollars));
}

QString TableAccessibility::seatText(int seat) const
{
    const TableModel::Seat& held = m_model.seat(seat);
    QStringList parts{m_board.seatName(seat)};
    if (!m_board.scoreLabel(seat)->isHidden())
        parts << money(held.bank);
    if (held.change != 0)
        parts << QStringLiteral("last change %1%2")
                     .arg(held.change > 0 ? QStringLiteral("+") : QString())
                     .arg(held.change);
    if (m_model.director() == seat)
        parts << QStringLiteral("director");
    if (!m_offline && m_model.onTurn() == seat)
        parts << QStringLiteral("on turn");
    if (held.watching)
        parts << QStringLiteral("just watching");
    if (m_model.contract() == morlu::Domino)
        parts << QStringLiteral("cards left %1").arg(held.cardsLeft);
    return parts.join(QStringLiteral(", "));
}

void TableAccessibility::refresh()
{
    refreshNames();
    announceChanges();
}

void TableAccessibility::lineHandled()
{
    announceChanges();
    m_namesPending = true;
    // The last line of a burst arms the timer; the lines before it leave the names to that one.
    if ((!m_waiting || m_waiting() == 0) && !m_namesTimer.isActive())
        m_namesTimer.start();
}

void TableAccessibility::refreshNames()
{
    m_namesPending = false;
    m_namesTimer.stop();
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat) {
        const QString description = seat == m_state.myseat ? QStringLiteral("Seat %1, your seat").arg(seat)
                                                           : QStringLiteral("Seat %1").arg(seat);
        name(m_board.nameLabel(seat), seatText(seat), description);
    }
    static const char* const kDescriptions[] = {
        "Player pays you $800 for taking the King of Hearts.",
        "Players pay you $200 for each queen they take.",
        "Players pay you $100 for each spade they take.",
        "Players pay you $400 for taking the first and last trick.",
        "All of the above apply.",
        "Not a Trick taking around. Player who is left with cards pays you $800."};
    for (int code = 1; code <= morlu::kContractCount; ++code) {
        QString description = QString::fromLatin1(kDescriptions[code - 1]);
        description += m_model.contractUsed(code) ? QStringLiteral(" Already used.")
                                                  : QStringLiteral(" Press %1 to choose it.").arg(code);
        m_board.chooser()->titleLabel(code)->setAccessibleDescription(description);
    }
}

void TableAccessibility::announceChanges()
{
    const int turn = m_offline ? 0 : m_model.onTurn();
    if (turn != 0 && turn != m_turnSeen)
        announce(m_board.statusLabel()->text());
    m_turnSeen = turn;
    // A contract choice is nobody's turn, but a player waits for it all the same, the own one most of all.
    const int chooser = m_offline ? 0 : m_model.chooser();
    if (chooser != 0 && chooser != m_chooserSeen)
        announce(m_board.statusLabel()->text());
    m_chooserSeen = chooser;
    const int taker = m_model.taker();
    if (taker != 0 && taker != m_takerSeen)
        announce(taker == m_state.myseat ? QStringLiteral("You have taken the trick.")
                                         : m_board.seatName(taker) + QStringLiteral(" has taken the trick."));
    m_takerSeen = taker;
    const bool winner = m_model.gameOver();
    if (winner && !m_winnerSeen)
        announce(m_board.winnerText());
    m_winnerSeen = winner;
}

void TableAccessibility::setOffline(bool offline)
{
    const bool lost = offline && !m_offline;
    m_offline = offline;
    refresh();
    // The turn line says it to the eye; a player who does not see it hears it once.
    if (lost)
        announce(QStringLiteral("Reconnecting to the host..."));
}

void TableAccessibility::announce(const QString& text)
{
    m_announce->setAccessibleName(text);
    QAccessibleEvent alert(m_announce, QAccessible::Alert);
    m_sink(&alert);
}
