#include "masterplayer.h"

#include "dealsampler.h"

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

/// Whether @p a is better than @p b for the seat on turn in @p p.
bool prefers(const Playout& p, const MasterPlayer::Money& a, const MasterPlayer::Money& b)
{
    const int seat = p.turn();
    if (a[seat] != b[seat])
        return a[seat] > b[seat];
    // Indifferent for itself, a seat other than the director plays against the director.
    return seat != p.director() && a[p.director()] < b[p.director()];
}

} // namespace

bool MasterPlayer::searchExact(const Playout& position, int& nodes, Money& money)
{
    if (position.finished()) {
        for (int seat = 1; seat <= kSeatCount; ++seat)
            money[seat] = position.money(seat);
        return true;
    }
    if (--nodes < 0)
        return false;
    const CardMask legal = position.legal();
    bool first = true;
    for (CardMask rest = legal; rest != 0; rest &= rest - 1) {
        Playout next = position;
        next.play(lowestCard(rest));
        Money result{};
        if (!searchExact(next, nodes, result))
            return false;
        if (first || prefers(position, result, money))
            money = result;
        first = false;
    }
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
    if ((legal & (legal - 1)) == 0)
        return lowestCard(legal);

    std::array<int, kHandSlots> candidates{};
    const int count = cardsOf(legal, candidates);

    std::uint64_t seed = PlayoutRandom::mix(m_seed, 0x3A57E3ull);
    seed = PlayoutRandom::mix(seed, static_cast<std::uint64_t>(view.seat));
    seed = PlayoutRandom::mix(seed, static_cast<std::uint64_t>(view.contractnumber));
    seed = PlayoutRandom::mix(seed, static_cast<std::uint64_t>(view.contract));
    seed = PlayoutRandom::mix(seed, view.gone);
    seed = PlayoutRandom::mix(seed, view.hand);
    PlayoutRandom random(seed);

    const DealSampler sampler(view);
    std::array<long long, kHandSlots> total{};
    auto sampleDeals = [&](int deals) {
        for (int sample = 0; sample < deals; ++sample) {
            const Playout position = view.playout(sampler.sample(random));
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
                if (searchExact(p, nodes, money)) {
                    total[i] += money[view.seat];
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
