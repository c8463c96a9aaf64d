#include "masterplayer.h"

#include "dealsampler.h"
#include "endgamesearch.h"

#include <algorithm>
#include <cmath>

namespace morlu {

namespace {

/// Cards left in all hands together.
int cardsLeft(const Playout& p)
{
    int left = 0;
    for (int seat = 1; seat <= kSeatCount; ++seat)
        left += cardCount(p.hand(seat));
    return left;
}

} // namespace

double MasterPlayer::winChance(int seat, const Money& banks, int roundsLeft, int spreadPerRound)
{
    // Each other seat is passed or not on its own; the banks move by about spreadPerRound a round
    // each, so the gap between two seats by that times the root of twice the rounds left.
    const double spread = roundsLeft > 0 ? spreadPerRound * std::sqrt(2.0 * roundsLeft) : 1.0;
    double chance = 1.0;
    for (int other = 1; other <= kSeatCount; ++other) {
        if (other != seat)
            chance *= 0.5 * std::erfc((banks[other] - banks[seat]) / (spread * std::sqrt(2.0)));
    }
    return chance;
}

bool MasterPlayer::searchExact(const Playout& position, int& nodes, Money& money)
{
    EndgameSearch search;
    if (!search.search(position, nodes, money))
        return false;
    for (int seat = 1; seat <= kSeatCount; ++seat)
        money[seat] += position.money(seat);
    return true;
}

int MasterPlayer::chooseContract(const SeatView& view) const
{
    ExpertPlayer chooser({m_settings.samples, m_settings.contractSamples});
    chooser.setSeed(PlayoutRandom::mix(m_seed, 0x3A57E2ull));
    return chooser.chooseContract(view);
}

int MasterPlayer::chooseCard(const SeatView& view) const
{
    return decide(view, nullptr);
}

int MasterPlayer::chooseCardKnowing(const SeatView& view, const DealSampler::Hands& hands) const
{
    return decide(view, &hands);
}

int MasterPlayer::decide(const SeatView& view, const DealSampler::Hands* known) const
{
    const CardMask legal = view.legal();
    if (legal == 0)
        return 0;
    // Cards that play alike whatever the hidden hands hold are one choice: the lowest of them.
    std::array<CardMask, kSeatCount + 1> anyHands{};
    anyHands[view.seat % kSeatCount + 1] = view.unseen();
    const CardMask choices = EndgameSearch::distinctChoices(view.playout(anyHands), legal);
    if ((choices & (choices - 1)) == 0)
        return lowestCard(choices);

    std::array<int, kHandSlots> candidates{};
    const int count = cardsOf(choices, candidates);

    std::uint64_t seed = PlayoutRandom::mix(m_seed, 0x3A57E3ull);
    seed = PlayoutRandom::mix(seed, static_cast<std::uint64_t>(view.seat));
    seed = PlayoutRandom::mix(seed, static_cast<std::uint64_t>(view.contractnumber));
    seed = PlayoutRandom::mix(seed, static_cast<std::uint64_t>(view.contract));
    seed = PlayoutRandom::mix(seed, view.gone);
    seed = PlayoutRandom::mix(seed, view.hand);
    PlayoutRandom random(seed);

    const DealSampler sampler(view);
    EndgameSearch search;
    std::array<long long, kHandSlots> total{}; // money over the deals
    std::array<double, kHandSlots> chance{};   // the chance to win the game over the deals
    const int roundsLeft = std::max(0, view.contracttotal - view.contractnumber);
    auto value = [&](const Money& outcome) {
        Money banks{};
        for (int seat = 1; seat <= kSeatCount; ++seat)
            banks[seat] = view.bank[seat] + outcome[seat];
        return winChance(view.seat, banks, roundsLeft, m_settings.spreadPerRound);
    };
    auto sampleDeals = [&](int deals) {
        for (int sample = 0; sample < deals; ++sample) {
            const Playout position = view.playout(known != nullptr ? *known : sampler.sample(random));
            search.newDeal();
            // Every card meets the same later draws of the policy, so only the card differs.
            const std::uint64_t branchSeed = random.next();
            for (int i = 0; i < count; ++i) {
                Playout p = position;
                p.play(candidates[i]);
                PlayoutRandom branch(branchSeed);
                auto policy = [&](const Playout& q) { return m_policy.choose(q, branch); };
                while (!p.finished() && cardsLeft(p) > m_settings.searchCards)
                    p.play(policy(p));
                int nodes = m_settings.nodesPerDeal;
                Money outcome{};
                int mine = 0;
                if (m_settings.othersAgainst && search.searchAgainst(view.seat, p, nodes, mine)) {
                    outcome[view.seat] = mine;
                } else if (m_settings.othersAgainst || !search.search(p, nodes, outcome)) {
                    outcome = {};
                    p.finish(policy);
                }
                for (int seat = 1; seat <= kSeatCount; ++seat)
                    outcome[seat] += p.money(seat);
                total[i] += outcome[view.seat];
                if (m_settings.spreadPerRound > 0 && !m_settings.othersAgainst)
                    chance[i] += value(outcome);
            }
        }
    };

    auto ranked = [&] {
        int best = 0;
        for (int i = 1; i < count; ++i) {
            if (total[i] > total[best])
                best = i;
        }
        long long second = 0;
        bool any = false;
        for (int i = 0; i < count; ++i) {
            if (i != best && (!any || total[i] > second)) {
                second = total[i];
                any = true;
            }
        }
        return std::pair{best, total[best] - second};
    };

    // Hands that are known need one deal: every further one would be the same.
    sampleDeals(known != nullptr ? 1 : m_settings.samples);
    auto [best, lead] = ranked();
    if (known == nullptr && m_settings.extraSamples > 0 &&
        lead < static_cast<long long>(m_settings.closeMoney) * m_settings.samples) {
        sampleDeals(m_settings.extraSamples);
        best = ranked().first;
    }
    if (m_settings.spreadPerRound > 0 && !m_settings.othersAgainst) {
        // The game is won on the banks, not on money alone: the card with the best chance, money
        // deciding between equal chances.
        for (int i = 0; i < count; ++i) {
            if (chance[i] > chance[best] + 1e-9 || (chance[i] > chance[best] - 1e-9 && total[i] > total[best]))
                best = i;
        }
    }
    return candidates[best];
}

} // namespace morlu
