#include "expertplayer.h"

#include "dealsampler.h"

#include <array>
#include <utility>

namespace morlu {

namespace {

constexpr int kWorthDeals = 500;

/// The director's money from playing a fresh deal of @p contract out with the policy alone.
int playFresh(const PlayoutPolicy& policy, int contract, int director, const DealSampler::Hands& hands,
              PlayoutRandom& random)
{
    Playout p = Playout::start(contract, director, hands);
    p.finish([&](const Playout& q) { return policy.choose(q, random); });
    return p.money(director);
}

std::array<double, kContractCount + 1> estimateWorths()
{
    const PlayoutPolicy policy;
    PlayoutRandom random(0x5EEDC0DEull);
    std::array<double, kContractCount + 1> worth{};
    for (int contract = 1; contract <= kContractCount; ++contract) {
        long long total = 0;
        for (int deal = 0; deal < kWorthDeals; ++deal) {
            std::array<int, kCardCount> pack{};
            for (int i = 0; i < kCardCount; ++i)
                pack[i] = i + 1;
            for (int i = kCardCount - 1; i > 0; --i)
                std::swap(pack[i], pack[random.below(static_cast<std::uint32_t>(i + 1))]);
            DealSampler::Hands hands{};
            for (int i = 0; i < kCardCount; ++i)
                hands[i % kSeatCount + 1] |= cardBit(pack[i]);
            total += playFresh(policy, contract, 1, hands, random);
        }
        worth[contract] = static_cast<double>(total) / kWorthDeals;
    }
    return worth;
}

} // namespace

double ExpertPlayer::usualWorth(int contract)
{
    static const std::array<double, kContractCount + 1> worths = estimateWorths();
    return validContract(contract) ? worths[contract] : 0.0;
}

PlayoutRandom ExpertPlayer::streamFor(const SeatView& view, int purpose) const
{
    std::uint64_t seed = PlayoutRandom::mix(m_seed, static_cast<std::uint64_t>(purpose));
    seed = PlayoutRandom::mix(seed, static_cast<std::uint64_t>(view.seat));
    seed = PlayoutRandom::mix(seed, static_cast<std::uint64_t>(view.contractnumber));
    seed = PlayoutRandom::mix(seed, static_cast<std::uint64_t>(view.contract));
    seed = PlayoutRandom::mix(seed, view.gone);
    seed = PlayoutRandom::mix(seed, view.hand);
    return PlayoutRandom(seed);
}

int ExpertPlayer::chooseContract(const SeatView& view) const
{
    const auto& used = view.used[view.seat];
    int only = 0;
    int open = 0;
    for (int code = 1; code <= kContractCount; ++code) {
        if (!used[code]) {
            only = code;
            ++open;
        }
    }
    if (open <= 1)
        return only;

    PlayoutRandom random = streamFor(view, 1);
    SeatView fresh = view;
    fresh.director = view.seat;
    const DealSampler sampler(fresh);
    std::array<long long, kContractCount + 1> total{};
    for (int sample = 0; sample < m_settings.contractSamples; ++sample) {
        DealSampler::Hands hands = sampler.sample(random);
        hands[view.seat] = view.hand;
        for (int code = 1; code <= kContractCount; ++code) {
            if (!used[code])
                total[code] += playFresh(m_policy, code, view.seat, hands, random);
        }
    }
    int best = 0;
    double bestScore = 0;
    for (int code = 1; code <= kContractCount; ++code) {
        if (used[code])
            continue;
        const double score = static_cast<double>(total[code]) / m_settings.contractSamples - usualWorth(code);
        if (best == 0 || score > bestScore) {
            best = code;
            bestScore = score;
        }
    }
    return best;
}

int ExpertPlayer::chooseCard(const SeatView& view) const
{
    const CardMask legal = view.legal();
    if (legal == 0)
        return 0;
    if ((legal & (legal - 1)) == 0)
        return lowestCard(legal);

    std::array<int, kHandSlots> candidates{};
    const int count = cardsOf(legal, candidates);

    PlayoutRandom random = streamFor(view, 2);
    const DealSampler sampler(view);
    std::array<long long, kHandSlots> total{};
    for (int sample = 0; sample < m_settings.samples; ++sample) {
        const Playout position = view.playout(sampler.sample(random));
        // Every candidate meets the same later draws of the policy, so only the card differs.
        const std::uint64_t branchSeed = random.next();
        for (int i = 0; i < count; ++i) {
            Playout p = position;
            p.play(candidates[i]);
            PlayoutRandom branch(branchSeed);
            p.finish([&](const Playout& q) { return m_policy.choose(q, branch); });
            total[i] += p.money(view.seat);
        }
    }
    int best = 0;
    for (int i = 1; i < count; ++i) {
        if (total[i] > total[best])
            best = i;
    }
    return candidates[best];
}

} // namespace morlu
