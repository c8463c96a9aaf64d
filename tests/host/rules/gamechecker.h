#pragma once

#include "gameengine.h"
#include "gamemessages.h"
#include "outbox.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morlu::test {

/**
 * Follows a game from the host's messages alone, read back with the message readers, and checks the
 * rules on every line: legal cards from hands tracked since the deal, the money, the round ends, the
 * directors and the winner. The hands are taken from the engine when a contract is chosen; from then
 * on only the messages move cards.
 */
class GameChecker : public Outbox {
public:
    void setEngine(const GameEngine& engine) { m_engine = &engine; }

    void newGame(const std::string& length);
    const std::string& error() const { return m_error; }
    int rounds() const { return m_rounds; }
    int winners() const { return m_winners; }
    int totalRounds() const { return m_length.contracts; }

    /// True once every seat has directed each of its free contracts exactly once.
    bool everyFreeContractDirectedOnce();

    void toSlot(int slot, std::string_view line) override;
    void toAll(std::string_view line) override;

private:
    /// The fields after "CMD_word+" without the 0xFF; a null view when the line has another word.
    static std::string_view restOf(std::string_view line, std::string_view word);

    bool fail(const std::string& text);
    int held(int seat) const;
    bool holdsSuit(int seat, int suit) const;
    static bool barredFirstLead(int contract, int card);
    /// DOMINO: a suit with n cards laid takes next the rank n steps above the start, wrapping after the Ace.
    bool dominoLegal(int card) const;
    bool canLay(int seat) const;
    int moneyCardsLeft() const;

    void startround(const StartRound& message);
    void choosehand(const ChooseHand& message);
    void starthand();
    void nextplayer(int seat);
    void placecard(const PlaceCard& message);
    void endhand(int taker);
    void took(const Took& message);
    void dplacecard(const DPlaceCard& message);
    void dendhand(int loser);
    void scores(const Scores& message);
    void winner(std::string_view text);

    const GameEngine* m_engine = nullptr;
    GameLength m_length;
    int m_rounds = 0;
    int m_winners = 0;
    std::array<std::array<int, 7>, 5> m_directed{};
    std::array<int, 5> m_banks{};
    std::string m_error;

    int m_chooser = 0;
    int m_director = 0;
    int m_contract = 0;
    std::array<std::array<std::int32_t, 9>, 5> m_hands{};
    bool m_roundOpen = false;
    bool m_expectRoundEnd = false;
    bool m_trickDone = true;
    int m_trick = 0;
    int m_plays = 0;
    int m_led = 0;
    int m_turn = 0;
    int m_taker = 0;
    std::array<int, 5> m_trickCards{};
    std::array<int, 5> m_charged{};
    std::vector<int> m_expectedTook;
    std::size_t m_tookIndex = 0;
    int m_kingLeft = 1;
    int m_queensLeft = 4;
    int m_spadesLeft = 8;
    int m_start = 0;
    std::array<int, 5> m_laid{};
};

} // namespace morlu::test
