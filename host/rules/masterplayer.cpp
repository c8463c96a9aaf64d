#include "masterplayer.h"

#include "dealsampler.h"
#include "endgamesearch.h"

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
    std::array<long long, kHandSlots> total{};
    auto sampleDeals = [&](int deals) {
        for (int sample = 0; sample < deals; ++sample) {
            const Playout position = view.playout(sampler.sample(random));
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
                Money money{};
                int mine = 0;
                if (m_settings.othersAgainst ? search.searchAgainst(view.seat, p, nodes, mine)
                                             : search.search(p, nodes, money)) {
                    total[i] += p.money(view.seat) + (m_settings.othersAgainst ? mine : money[view.seat]);
                } else {
                    p.finish(policy);
                    total[i] += p.money(view.seat);
                }
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

    sampleDeals(m_settings.samples);
    auto [best, lead] = ranked();
    if (m_settings.extraSamples > 0 && lead < static_cast<long long>(m_settings.closeMoney) * m_settings.samples) {
        sampleDeals(m_settings.extraSamples);
        best = ranked().first;
    }
    return candidates[best];
}

} // namespace morlu
