#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

/**
 * The vocabulary the host and every table share: card codes, suits, the two rank orders, contracts and
 * game lengths. The codes travel unchanged in the messages between host and tables, so every part of
 * the program reads them through these definitions.
 */
namespace morlu {

inline constexpr int kCardCount = 32; ///< card codes run 1..32; 0 means "no card"
inline constexpr int kSeatCount = 4;  ///< player seats 1..4
inline constexpr int kHandSlots = 8;  ///< hand slots 1..8
inline constexpr int kContractCount = 6;
inline constexpr int kSlotCount = 9;    ///< connection slots 1..9 (5..9 are spectators)
inline constexpr int kSeatRecords = 11; ///< the host's records 1..11 (10 = refused tenth table, 11 unused)

enum Suit : int { NoSuit = 0, Diamonds = 1, Clubs = 2, Hearts = 3, Spades = 4 };

enum Contract : int { Morlu = 1, Waterloo = 2, Siege = 3, Touche = 4, Guillotine = 5, Domino = 6 };

inline constexpr int kKingOfHearts = 22;
inline constexpr std::array<int, 4> kQueens{5, 13, 21, 29};

/// Money moved by the contracts, in dollars.
inline constexpr int kKingOfHeartsCost = 800;
inline constexpr int kQueenCost = 200;
inline constexpr int kSpadeCost = 100;
inline constexpr int kTrickCost = 400;  ///< TOUCHE: trick 1 and trick 8
inline constexpr int kDominoCost = 800; ///< DOMINO: the last seat holding cards
inline constexpr int kStartingBank = 10000;

/// Suit 1..4 of a card code; 0 for anything outside 1..32.
constexpr int getsuit(int card)
{
    return card >= 1 && card <= kCardCount ? (card - 1) / 8 + 1 : NoSuit;
}

/// Domino rank 1..8 of a card code reduced mod 8 (0..7); 0 for any other value.
constexpr int gettype(int cardMod8)
{
    constexpr std::array<int, 8> ranks{8, 1, 2, 3, 5, 6, 7, 4};
    return cardMod8 >= 0 && cardMod8 <= 7 ? ranks[cardMod8] : 0;
}

/// Domino rank 1..8 (7, 8, 9, 10, J, Q, K, A) of a card code; 0 for no card.
constexpr int dominorank(int card)
{
    return card >= 1 && card <= kCardCount ? gettype(card % 8) : 0;
}

/**
 * Trick order: true when @p card beats @p best in a trick led in @p ledsuit. Only cards of the led
 * suit can win, and among them the higher code is the higher card (7, 8, 9, J, Q, K, 10, A).
 */
constexpr bool beatsInTrick(int card, int best, int ledsuit)
{
    if (getsuit(card) != ledsuit)
        return false;
    return getsuit(best) != ledsuit || card > best;
}

constexpr bool isQueen(int card)
{
    return card == 5 || card == 13 || card == 21 || card == 29;
}

constexpr bool isSpade(int card)
{
    return getsuit(card) == Spades;
}

/// True when taking @p card costs money in @p contract (DOMINO and TOUCHE have no money cards).
constexpr bool isMoneyCard(int card, int contract)
{
    switch (contract) {
    case Morlu:
        return card == kKingOfHearts;
    case Waterloo:
        return isQueen(card);
    case Siege:
        return isSpade(card);
    case Guillotine:
        return card == kKingOfHearts || isQueen(card) || isSpade(card);
    default:
        return false;
    }
}

constexpr bool validContract(int code)
{
    return code >= 1 && code <= kContractCount;
}

/// The table's contract line ("MORLU - Avoid the King of Hearts."), empty for an unknown code.
std::string_view contractLabel(int code);
/// The short name written to the game log ("MORLU"), empty for an unknown code.
std::string_view contractName(int code);

/**
 * A game length as chosen by the length field of a start request. Only the first character counts:
 * "s" is the short game, "h" the half game, anything else (the tables send "l") the full game.
 */
struct GameLength {
    std::string letter = "l";   ///< the first character as received (empty when the field was empty)
    int contracts = 24;         ///< rounds in the game: 8, 16 or 24
    std::array<bool, 7> used{}; ///< index 1..6: contracts marked used for every seat at the start
};

GameLength gamelengthFor(std::string_view field);

} // namespace morlu
