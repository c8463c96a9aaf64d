#include "scriptedplayer.h"

#include "fieldreader.h"
#include "gamemessages.h"
#include "testtable.h"

#include <algorithm>

namespace morlu::test {

namespace {

bool forbiddenFirstLead(int contract, int card)
{
    const int suit = getsuit(card);
    return (contract == Morlu && suit == Hearts) || (contract == Siege && suit == Spades) ||
           (contract == Guillotine && (suit == Hearts || suit == Spades));
}

} // namespace

int ScriptedPlayer::held() const
{
    return int(std::count_if(m_hand.begin() + 1, m_hand.end(), [](int card) { return card != 0; }));
}

std::string ScriptedPlayer::feed(std::string_view line)
{
    const std::string_view word = wordOf(line);
    if (word.empty())
        return {};
    const std::string_view rest = line.substr(word.size() + 1);
    if (word == CMD_startgame) {
        const GameLength length = gamelengthFor(StartGame::read(rest).length);
        m_used = length.used;
    } else if (word == CMD_startround) {
        const StartRound round = StartRound::read(rest);
        m_trick = 0;
        m_ledsuit = 0;
        m_contract = 0;
        m_layout = DominoLayout();
        m_layoutKnown = true;
        m_turnseat = 0;
        if (round.seat == m_seat)
            return choose();
    } else if (word == CMD_mycards) {
        const MyCards cards = MyCards::read(rest);
        if (cards.seat == m_seat) {
            m_hand.fill(0);
            for (const HandCard& card : cards.cards)
                m_hand[std::size_t(card.slot)] = card.card;
            // A table that takes a seat mid-game may hear its turn before its cards arrive.
            if (m_turnseat == m_seat && m_contract != 0)
                return play();
        }
    } else if (word == CMD_handsused) {
        const HandsUsed used = HandsUsed::read(rest);
        if (used.seat == m_seat) {
            for (const int code : used.contracts)
                m_used[std::size_t(code)] = true;
        }
    } else if (word == CMD_alreadychoose) {
        const AlreadyChoose refused = AlreadyChoose::read(rest);
        if (refused.seat == m_seat) {
            ++m_refusals;
            m_used[std::size_t(refused.contract)] = true;
            return choose();
        }
    } else if (word == CMD_choosehand) {
        const ChooseHand chosen = ChooseHand::read(rest);
        m_contract = chosen.contract;
        if (chosen.seat == m_seat)
            m_used[std::size_t(chosen.contract)] = true;
        m_layout.clearFoundations();
        m_ledsuit = 0;
    } else if (word == CMD_starthand) {
        ++m_trick;
        m_ledsuit = 0;
    } else if (word == CMD_agame) {
        // Joined mid-game: the current state, without the DOMINO layout or the trick number.
        const AGame game = AGame::read(rest);
        m_contract = game.contract;
        m_trick = 2;
        m_layout.setDominostart(game.dominoStart);
        m_layoutKnown = game.dominoStart == 0;
        m_ledsuit = game.leader != 0 ? getsuit(game.trick[std::size_t(game.leader - 1)]) : 0;
        m_tried.clear();
        m_turnseat = game.turn;
        if (game.turn == m_seat)
            return play();
    } else if (word == CMD_nextplayer) {
        m_tried.clear();
        m_turnseat = NextPlayer::read(rest).seat;
        if (m_turnseat == m_seat)
            return play();
    } else if (word == CMD_placecard) {
        const PlaceCard placed = PlaceCard::read(rest);
        if (placed.lead)
            m_ledsuit = getsuit(placed.card);
        if (placed.seat == m_seat) {
            m_hand[std::size_t(placed.handSlot)] = 0;
            ++m_played;
        }
    } else if (word == CMD_dplacecard) {
        const DPlaceCard placed = DPlaceCard::read(rest);
        m_layout.setDominostart(placed.dominoStart);
        m_layout.lay(placed.card);
        if (placed.seat == m_seat) {
            m_hand[std::size_t(placed.handSlot)] = 0;
            ++m_played;
        }
    } else if (word == CMD_aerror) {
        const AError error = AError::read(rest);
        if (error.seat == m_seat) {
            ++m_refusals;
            return play();
        }
    }
    return {};
}

std::string ScriptedPlayer::choose()
{
    if (!enabled)
        return {};
    for (int code = 1; code <= kContractCount; ++code) {
        if (!m_used[std::size_t(code)]) {
            std::string line;
            ChooseType{m_seat, code}.write(line);
            line.pop_back();
            return line;
        }
    }
    return {};
}

std::vector<int> ScriptedPlayer::candidates() const
{
    std::vector<int> held;
    for (int slot = 1; slot <= kHandSlots; ++slot) {
        if (m_hand[std::size_t(slot)] != 0 && std::find(m_tried.begin(), m_tried.end(), slot) == m_tried.end())
            held.push_back(slot);
    }
    const auto keep = [&](auto&& legal) {
        std::vector<int> result;
        std::copy_if(held.begin(), held.end(), std::back_inserter(result),
                     [&](int slot) { return legal(m_hand[std::size_t(slot)]); });
        return result;
    };
    if (m_contract == Domino) {
        if (m_layout.dominostart() == 0 || !m_layoutKnown)
            return held;
        return keep([&](int card) { return m_layout.mayLay(card); });
    }
    if (m_ledsuit != 0) {
        std::vector<int> follow = keep([&](int card) { return getsuit(card) == m_ledsuit; });
        return follow.empty() ? held : follow;
    }
    if (m_trick == 1) {
        std::vector<int> allowed = keep([&](int card) { return !forbiddenFirstLead(m_contract, card); });
        return allowed.empty() ? held : allowed;
    }
    return held;
}

std::string ScriptedPlayer::play()
{
    if (!enabled)
        return {};
    const std::vector<int> choices = candidates();
    if (choices.empty())
        return {};
    const int slot = choices.front();
    m_tried.push_back(slot);
    std::string line;
    PlayCard{m_seat, slot}.write(line);
    line.pop_back();
    return line;
}

} // namespace morlu::test
