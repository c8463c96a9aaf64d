#include "hintreason.h"

#include "cardplace.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

const char* const kSuitNames[] = {"", "Diamonds", "Clubs", "Hearts", "Spades"};
/// By domino rank 1..8.
const char* const kRankPlurals[] = {"", "7s", "8s", "9s", "10s", "Jacks", "Queens", "Kings", "Aces"};
const char* const kCounts[] = {"no", "one", "two", "three", "four"};

/// 1..8 in trick order (7, 8, 9, J, Q, K, 10, A); 0 for no card.
int trickRank(int card)
{
    return card >= 1 && card <= morlu::kCardCount ? (card - 1) % 8 + 1 : 0;
}

constexpr int kNineRank = 3;  ///< trick rank of the 9
constexpr int kQueenRank = 5; ///< trick rank of the Queen

QString suitName(int suit)
{
    return QString::fromLatin1(kSuitNames[suit >= 1 && suit <= 4 ? suit : 0]);
}

QString contractText(int contract)
{
    const std::string_view name = morlu::contractName(contract);
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

int countOf(const HintReason::Hand& hand, const std::function<bool(int)>& holds)
{
    int count = 0;
    for (int slot = 1; slot <= morlu::kHandSlots; ++slot)
        count += hand[std::size_t(slot)] != 0 && holds(hand[std::size_t(slot)]) ? 1 : 0;
    return count;
}

bool inSuitAbove(int card, int suit, int rank)
{
    return morlu::getsuit(card) == suit && trickRank(card) > rank;
}

QString domino(const morlu::PlayPosition& position, int card)
{
    const int rank = morlu::dominorank(card);
    const int suit = morlu::getsuit(card);
    if (position.domino.start == 0) {
        const int same = countOf(position.hand, [rank](int held) { return morlu::dominorank(held) == rank; });
        if (same >= 2)
            return QStringLiteral("DOMINO: you hold %1 %2 to open the layout with")
                .arg(QString::fromLatin1(kCounts[same]), QString::fromLatin1(kRankPlurals[rank]));
    }
    // The card laid next on this suit; the suit ends below the start rank.
    const int start = position.domino.start == 0 ? rank : position.domino.start;
    const int next = rank % 8 + 1;
    if (next == start)
        return QString();
    for (int slot = 1; slot <= morlu::kHandSlots; ++slot) {
        const int held = position.hand[std::size_t(slot)];
        if (morlu::getsuit(held) == suit && morlu::dominorank(held) == next)
            return QStringLiteral("DOMINO: %1 follows it from your own hand").arg(HintReason::cardText(held));
    }
    return QString();
}

/// The suits no card of which may lead the first trick of @p contract.
std::vector<int> barredLeads(int contract)
{
    switch (contract) {
    case morlu::Morlu:
        return {morlu::Hearts};
    case morlu::Siege:
        return {morlu::Spades};
    case morlu::Guillotine:
        return {morlu::Hearts, morlu::Spades};
    default:
        return {};
    }
}

QString lead(const morlu::PlayPosition& position, int card, const QString& contract)
{
    const int suit = morlu::getsuit(card);
    if (position.trick == 1) {
        const std::vector<int> barred = barredLeads(position.contract);
        const bool holdsBarred =
            countOf(position.hand, [&barred](int held) {
                return std::find(barred.begin(), barred.end(), morlu::getsuit(held)) != barred.end();
            }) > 0;
        if (holdsBarred && std::find(barred.begin(), barred.end(), suit) == barred.end())
            return barred.size() == 1 ? QStringLiteral("%1: no %2 may lead the first trick")
                                            .arg(contract, suitName(barred.front()).chopped(1))
                                      : QStringLiteral("%1: no Heart or Spade may lead the first trick").arg(contract);
    }
    const bool lowest =
        countOf(position.hand, [card, suit](int held) { return morlu::getsuit(held) == suit && held < card; }) == 0;
    if (lowest && trickRank(card) <= kNineRank)
        return QStringLiteral("%1: your lowest %2 leads").arg(contract, suitName(suit).chopped(1));
    return QString();
}

QString follow(const morlu::PlayPosition& position, const HintReason::Trick& trick, int card, const QString& contract)
{
    int best = 0;
    int played = 0;
    bool money = position.contract == morlu::Touche || position.contract == morlu::Guillotine
                     ? position.trick == 1 || position.trick == 8
                     : false;
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat) {
        const int onTrick = trick[std::size_t(seat)];
        if (onTrick == 0)
            continue;
        ++played;
        money = money || morlu::isMoneyCard(onTrick, position.contract);
        if (morlu::beatsInTrick(onTrick, best, position.ledsuit))
            best = onTrick;
    }
    if (best != 0 && card < best)
        return QStringLiteral("%1: it stays under %2").arg(contract, HintReason::cardText(best));
    const bool last = played == morlu::kSeatCount - 1;
    if (last && !money && !morlu::isMoneyCard(card, position.contract))
        return QStringLiteral("%1: the trick holds no money, so your high %2 may take it")
            .arg(contract, suitName(position.ledsuit).chopped(1));
    return QString();
}

} // namespace

QString HintReason::cardText(int card)
{
    return QStringLiteral("the ") + CardPlace::cardName(card);
}

QString HintReason::forContract(int contract, const Hand& hand)
{
    const auto held = [&hand](const std::function<bool(int)>& holds) { return countOf(hand, holds); };
    const int spades = held([](int card) { return morlu::getsuit(card) == morlu::Spades; });
    const int hearts = held([](int card) { return morlu::getsuit(card) == morlu::Hearts; });
    const int highHearts = held([](int card) { return inSuitAbove(card, morlu::Hearts, kNineRank); });
    const int highSpades = held([](int card) { return inSuitAbove(card, morlu::Spades, kNineRank); });
    switch (contract) {
    case morlu::Morlu:
        if (hearts == 0)
            return QStringLiteral("MORLU: your hand holds no Hearts");
        if (held([](int card) { return inSuitAbove(card, morlu::Hearts, kQueenRank); }) == 0)
            return QStringLiteral("MORLU: your hand holds no Hearts above the Queen");
        return QString();
    case morlu::Waterloo: {
        if (held(morlu::isQueen) > 0)
            return QString();
        if (held([](int card) { return trickRank(card) > kQueenRank; }) == 0)
            return QStringLiteral("WATERLOO: your hand holds no Queens and nothing above them");
        return QStringLiteral("WATERLOO: your hand holds no Queens");
    }
    case morlu::Siege:
        if (spades == 0)
            return QStringLiteral("SIEGE: your hand holds no Spades");
        if (highSpades == 0)
            return QStringLiteral("SIEGE: your hand holds no Spades above 9");
        return QString();
    case morlu::Touche: {
        const int low = held([](int card) { return trickRank(card) <= kNineRank; });
        if (low >= 4)
            return QStringLiteral("TOUCHE: your hand holds %1 cards of 9 or lower").arg(low);
        return QString();
    }
    case morlu::Guillotine:
        if (spades == 0 && highHearts == 0)
            return QStringLiteral("GUILLOTINE: your hand holds no Spades and no Hearts above 9");
        if (spades == 0)
            return QStringLiteral("GUILLOTINE: your hand holds no Spades");
        if (highHearts == 0 && highSpades == 0)
            return QStringLiteral("GUILLOTINE: your hand holds no Hearts or Spades above 9");
        return QString();
    case morlu::Domino: {
        int most = 0;
        int rank = 0;
        for (int r = 1; r <= 8; ++r) {
            const int count = held([r](int card) { return morlu::dominorank(card) == r; });
            if (count > most) {
                most = count;
                rank = r;
            }
        }
        if (most >= 3)
            return QStringLiteral("DOMINO: your hand holds %1 %2 to open the layout with")
                .arg(QString::fromLatin1(kCounts[most]), QString::fromLatin1(kRankPlurals[rank]));
        return QString();
    }
    default:
        return QString();
    }
}

QString HintReason::forCard(const morlu::PlayPosition& position, const Trick& trick, int slot)
{
    if (slot < 1 || slot > morlu::kHandSlots || !morlu::validContract(position.contract))
        return QString();
    const int card = position.hand[std::size_t(slot)];
    if (card == 0)
        return QString();
    const QString contract = contractText(position.contract);
    const auto playable = morlu::playableSlots(position);
    if (std::count(playable.begin() + 1, playable.end(), true) == 1 && playable[std::size_t(slot)])
        return position.contract == morlu::Domino ? QStringLiteral("DOMINO: the only card you can lay")
                                                  : QStringLiteral("%1: the only card you may play").arg(contract);
    if (position.contract == morlu::Domino)
        return domino(position, card);
    if (position.ledsuit == morlu::NoSuit)
        return lead(position, card, contract);
    if (morlu::getsuit(card) == position.ledsuit)
        return follow(position, trick, card, contract);
    return QStringLiteral("%1: no %2 in your hand, away with it").arg(contract, suitName(position.ledsuit));
}
