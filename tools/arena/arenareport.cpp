#include "arenareport.h"

#include "cards.h"

#include <cmath>
#include <cstdio>

namespace morlu {

namespace {

std::string percent(const ArenaStat& stat)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1f%% ± %.1f", stat.mean() * 100.0, stat.halfWidth() * 100.0);
    return text;
}

std::string dollars(const ArenaStat& stat)
{
    char text[64];
    // A mean that rounds to nothing prints as +0, not -0.
    const double mean = std::fabs(stat.mean()) < 0.5 ? 0.0 : stat.mean();
    std::snprintf(text, sizeof text, "%+.0f ± %.0f", mean, stat.halfWidth());
    return text;
}

std::string row(std::initializer_list<std::string> cells)
{
    std::string line = "|";
    for (const std::string& cell : cells)
        line += " " + cell + " |";
    return line + "\n";
}

} // namespace

void ArenaReport::Side::add(const ArenaMatch::Result& result, int seat)
{
    win.add(result.win[seat]);
    money.add(result.bank[seat] - kStartingBank);
    for (const ArenaMatch::Round& round : result.rounds) {
        if (!validContract(round.contract))
            continue;
        roundMoney[round.contract].add(round.money[seat]);
        roundWon[round.contract].add(round.money[seat] >= 0 ? 1.0 : 0.0);
    }
}

void ArenaReport::Side::merge(const Side& other)
{
    win.merge(other.win);
    money.merge(other.money);
    for (int code = 1; code <= kContractCount; ++code) {
        roundMoney[code].merge(other.roundMoney[code]);
        roundWon[code].merge(other.roundWon[code]);
    }
}

void ArenaReport::merge(const ArenaReport& other)
{
    expert.merge(other.expert);
    classic.merge(other.classic);
    winDiff.merge(other.winDiff);
    moneyDiff.merge(other.moneyDiff);
    mirror.merge(other.mirror);
}

std::string ArenaReport::format(const std::string& title) const
{
    std::string out = title + "\n\n";
    out += row({"player", "games", "wins (95% CI)", "money per game (95% CI)"});
    out += "|---|---:|---:|---:|\n";
    const std::string& p = playerName;
    const std::string& o = opponentName;
    out += row({p + " vs 3 " + o, std::to_string(expert.win.count()), percent(expert.win), dollars(expert.money)});
    out += row({o + " in the same seats", std::to_string(classic.win.count()), percent(classic.win),
                dollars(classic.money)});
    out += row({p + " − " + o + ", same deal and seat", std::to_string(winDiff.count()), percent(winDiff),
                dollars(moneyDiff)});
    if (mirror.win.count() > 0)
        out += row({p + " vs 3 " + p + " (every seat counted)", std::to_string(mirror.win.count()), percent(mirror.win),
                    dollars(mirror.money)});

    out += "\n";
    out += row({"contract", "rounds", p + ": rounds won", p + ": money per round", o + ": rounds won",
                o + ": money per round"});
    out += "|---|---:|---:|---:|---:|---:|\n";
    for (int code = 1; code <= kContractCount; ++code) {
        if (expert.roundMoney[code].count() == 0 && classic.roundMoney[code].count() == 0)
            continue;
        out += row({std::string(contractName(code)), std::to_string(expert.roundMoney[code].count()),
                    percent(expert.roundWon[code]), dollars(expert.roundMoney[code]), percent(classic.roundWon[code]),
                    dollars(classic.roundMoney[code])});
    }
    return out;
}

} // namespace morlu
