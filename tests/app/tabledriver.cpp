#include "tabledriver.h"

#include "board.h"
#include "cardplace.h"
#include "clicklabel.h"
#include "contractchooser.h"
#include "tablelink.h"
#include "tablemodel.h"
#include "tablerig.h"
#include "titledpanel.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace morlu::test {

namespace {

constexpr int kVerdictWait = 10000;

} // namespace

bool TableDriver::mayChoose(Tchat& table) const
{
    const int seat = table.state().myseat;
    return m_host.engine().state().chooserseat == seat && table.model().chooser() == seat &&
           table.board().chooser()->isVisibleTo(&table.board());
}

bool TableDriver::mayPlay(Tchat& table) const
{
    const GameState& game = m_host.engine().state();
    const int seat = table.state().myseat;
    // The table, not only the host, must have the seat on turn: from a trick's fourth card until it has
    // seen the next trick open, it lets nobody play.
    if (!GameState::isSeat(seat) || !game.gamerunning || !game.playopen || game.chooserseat != 0 ||
        game.turnseat != seat || game.seats[seat].played || table.model().onTurn() != seat)
        return false;
    // The table has been dealt the hand the host holds for it (and is not a round behind).
    bool playable = false;
    for (int k = 1; k <= 8; ++k) {
        const CardPlace* place = table.board().handPlace(k);
        const int card = game.seats[seat].cards[std::size_t(k)];
        const bool shown = place->isVisibleTo(&table.board()) && place->slot() != 0;
        if (shown != (card != 0) || (shown && place->cardCode() != card))
            return false;
        playable |= shown;
    }
    return playable;
}

bool TableDriver::choose(Tchat& table)
{
    const int seat = table.state().myseat;
    for (int code = 1; code <= 6; ++code) {
        if (table.board().chooser()->isMarked(code))
            continue;
        QTest::mouseClick(table.board().chooser()->titleLabel(code), Qt::LeftButton);
        // Chosen, or refused (the error panel says so): the table may choose again.
        EXPECT_TRUE(waitUntil(
            [&] {
                return m_host.engine().state().chooserseat != seat ||
                       table.board().errorPanel()->isVisibleTo(&table.board());
            },
            kVerdictWait));
        ++m_contractsChosen;
        return true;
    }
    return false;
}

bool TableDriver::play(Tchat& table)
{
    const int seat = table.state().myseat;
    // The cards the table shows as playable first: a deal whose leftmost card may not be played (a
    // leader without Diamonds in GUILLOTINE, say) then plays without a refusal, as a player would.
    std::vector<int> order;
    for (const bool dimmed : {false, true})
        for (int k = 1; k <= 8; ++k)
            if (table.board().handPlace(k)->isDimmed() == dimmed)
                order.push_back(k);
    for (const int k : order) {
        CardPlace* place = table.board().handPlace(k);
        if (!place->isVisibleTo(&table.board()) || place->slot() == 0 || m_host.engine().seat(seat).cards[k] == 0)
            continue;
        QTest::mouseClick(place, Qt::LeftButton);
        const bool answered = waitUntil(
            [&] {
                return m_host.engine().seat(seat).cards[k] == 0 ||
                       table.board().errorPanel()->isVisibleTo(&table.board());
            },
            kVerdictWait);
        EXPECT_TRUE(answered) << "seat " << seat << " place " << k;
        if (m_host.engine().seat(seat).cards[k] == 0) {
            ++m_cardsPlayed;
            EXPECT_TRUE(waitUntil([&] { return !place->isVisibleTo(&table.board()); }, kVerdictWait));
            return true;
        }
        ++m_refusals;
    }
    return false;
}

bool TableDriver::waitForALine(const std::function<bool()>& done, int ms)
{
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (Tchat* table : m_tables)
        spies.push_back(std::make_unique<QSignalSpy>(&table->link(), &TableLink::lineHandled));
    return waitUntil(
        [&] {
            if (done())
                return true;
            for (const auto& spy : spies) {
                if (!spy->isEmpty())
                    return true;
            }
            return false;
        },
        ms);
}

bool TableDriver::playUntil(const std::function<bool()>& done, int idleMs)
{
    const auto someoneMayAct = [this] {
        for (Tchat* table : m_tables) {
            if (mayChoose(*table) || mayPlay(*table))
                return true;
        }
        return false;
    };
    while (!done()) {
        if (!waitUntil([&] { return done() || someoneMayAct(); }, idleMs))
            return false;
        bool acted = false;
        for (Tchat* table : m_tables) {
            if (mayChoose(*table))
                acted |= choose(*table);
            else if (mayPlay(*table))
                acted |= play(*table);
        }
        if (!acted && !waitForALine(done, idleMs))
            return false;
    }
    return true;
}

} // namespace morlu::test
