// morlu-arena: measures one computer player against three of another level on duplicate deals (by
// default the expert against the simple ones).

#include "arenamatch.h"
#include "arenareport.h"

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

using namespace morlu;

namespace {

struct Options {
    long long games = 2000;
    long long mirror = -1; ///< games of four experts; -1 = a tenth of games
    std::string length = "s";
    std::uint64_t seed = 1;
    int jobs = 1;
    ExpertPlayer::Settings settings;
    MasterPlayer::Settings master;
    ComputerLevel player = ComputerLevel::Expert;
    ComputerLevel opponents = ComputerLevel::Classic;
    ArenaMatch::Driver driver = ArenaMatch::Driver::Engine; ///< who decides for the measured seat
};

std::string lowered(std::string name)
{
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

/// The level as the tables name it.
std::string levelName(ComputerLevel level)
{
    switch (level) {
    case ComputerLevel::Expert:
        return "Expert";
    case ComputerLevel::Master:
        return "Master";
    case ComputerLevel::Classic:
        break;
    }
    return "Classic";
}

/// The measured seat as the tables name it.
std::string playerName(const Options& options)
{
    switch (options.driver) {
    case ArenaMatch::Driver::Hints:
        return "Hints";
    case ArenaMatch::Driver::Clairvoyant:
        return "Clairvoyant";
    case ArenaMatch::Driver::Engine:
        break;
    }
    return levelName(options.player);
}

void usage(std::FILE* to)
{
    std::fputs("usage: morlu-arena [--games N] [--mirror N] [--length s|h|l] [--seed N] [--jobs N]\n"
               "                   [--samples N] [--contract-samples N] [--player LEVEL] [--opponents LEVEL]\n"
               "                   [--master-samples N] [--search-cards N] [--search-nodes N]\n"
               "                   [--search-against 0|1] [--spread N]\n"
               "  --games N             games of the player against three opponents (default 2000);\n"
               "                        each deal is played four times, the player in each seat in turn\n"
               "  --mirror N            games of four players, the sanity check (default: games / 10)\n"
               "  --player LEVEL        the measured seat: classic, expert (default) or master; or hints\n"
               "                        (a table that plays every hint of the host's master) or\n"
               "                        clairvoyant (the master shown every hand: a yardstick)\n"
               "  --opponents LEVEL     the other three seats: classic (default), expert or master\n"
               "  --length s|h|l        short, half or full games (default s)\n"
               "  --seed N              seed of the deals (default 1)\n"
               "  --jobs N              games played at once (default 1)\n"
               "  --samples N           sampled deals per card decision of the expert\n"
               "  --contract-samples N  sampled deals per contract when the expert chooses one\n"
               "  --master-samples N    sampled deals per card decision of the master\n"
               "  --search-cards N      cards left in all hands from which the master searches a deal\n"
               "  --search-nodes N      positions the master may search per deal and card\n"
               "  --search-against 0|1  1: the master's search lets the other three play against it\n"
               "  --spread N            how far a bank moves in a round, for the master's chance to win\n"
               "                        the game (0: it plays for money alone)\n",
               to);
}

bool readNumber(const char* text, long long min, long long max, long long& value)
{
    char* end = nullptr;
    const long long number = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || number < min || number > max)
        return false;
    value = number;
    return true;
}

bool parse(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h") {
            usage(stdout);
            std::exit(0);
        }
        if (i + 1 >= argc)
            return false;
        const char* value = argv[++i];
        long long number = 0;
        if (name == "--length" &&
            (std::strcmp(value, "s") == 0 || std::strcmp(value, "h") == 0 || std::strcmp(value, "l") == 0))
            options.length = value;
        else if (name == "--games" && readNumber(value, 1, 100000000, number))
            options.games = number;
        else if (name == "--mirror" && readNumber(value, 0, 100000000, number))
            options.mirror = number;
        else if (name == "--seed" && readNumber(value, 0, 0x7FFFFFFFFFFFFFFFll, number))
            options.seed = static_cast<std::uint64_t>(number);
        else if (name == "--jobs" && readNumber(value, 1, 64, number))
            options.jobs = static_cast<int>(number);
        else if (name == "--samples" && readNumber(value, 1, 10000, number))
            options.settings.samples = static_cast<int>(number);
        else if (name == "--contract-samples" && readNumber(value, 1, 10000, number))
            options.settings.contractSamples = static_cast<int>(number);
        else if (name == "--master-samples" && readNumber(value, 1, 10000, number))
            options.master.samples = static_cast<int>(number);
        else if (name == "--search-cards" && readNumber(value, 0, kCardCount, number))
            options.master.searchCards = static_cast<int>(number);
        else if (name == "--search-nodes" && readNumber(value, 1, 100000000, number))
            options.master.nodesPerDeal = static_cast<int>(number);
        else if (name == "--search-against" && readNumber(value, 0, 1, number))
            options.master.othersAgainst = number != 0;
        else if (name == "--spread" && readNumber(value, 0, 100000, number))
            options.master.spreadPerRound = static_cast<int>(number);
        else if (name == "--player" && computerLevelFor(value))
            options.player = *computerLevelFor(value);
        else if (name == "--player" && lowered(value) == "hints")
            options.driver = ArenaMatch::Driver::Hints;
        else if (name == "--player" && lowered(value) == "clairvoyant")
            options.driver = ArenaMatch::Driver::Clairvoyant;
        else if (name == "--opponents" && computerLevelFor(value))
            options.opponents = *computerLevelFor(value);
        else
            return false;
    }
    return true;
}

/// The opponents' level in every seat but @p seat, the player's there (none for seat 0).
std::array<ComputerLevel, 5> levelsWithPlayerAt(const Options& options, int seat)
{
    std::array<ComputerLevel, 5> levels{};
    levels.fill(options.opponents);
    if (seat >= 1 && seat <= kSeatCount)
        levels[seat] = options.player;
    return levels;
}

/// One duplicate deal: the opponents alone, then the player in each seat.
ArenaReport playDeal(const ArenaMatch& match, const Options& options, std::uint64_t deal)
{
    ArenaReport report;
    const ArenaMatch::Result classic = match.play(deal, levelsWithPlayerAt(options, 0));
    for (int seat = 1; seat <= kSeatCount; ++seat) {
        const ArenaMatch::Result expert = match.play(deal, levelsWithPlayerAt(options, seat), seat, options.driver);
        report.expert.add(expert, seat);
        report.classic.add(classic, seat);
        report.winDiff.add(expert.win[seat] - classic.win[seat]);
        report.moneyDiff.add(expert.bank[seat] - classic.bank[seat]);
    }
    return report;
}

ArenaReport playMirror(const ArenaMatch& match, const Options& options, std::uint64_t deal)
{
    ArenaReport report;
    std::array<ComputerLevel, 5> levels{};
    levels.fill(options.player);
    const ArenaMatch::Result result = match.play(deal, levels);
    for (int seat = 1; seat <= kSeatCount; ++seat)
        report.mirror.add(result, seat);
    return report;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse(argc, argv, options)) {
        usage(stderr);
        return 2;
    }
    const long long deals = (options.games + kSeatCount - 1) / kSeatCount;
    // Four seats that each ask for hints, or see every hand, are not a game worth measuring.
    const long long mirror = options.driver != ArenaMatch::Driver::Engine ? 0
                             : options.mirror >= 0                        ? options.mirror
                                                                          : options.games / 10;
    const long long items = deals + mirror;
    ArenaMatch match(options.seed, options.length, options.settings);
    match.setMasterSettings(options.master);
    // Mirror games use deal numbers of their own, past the duplicate deals.
    constexpr std::uint64_t kMirrorDeals = 1ull << 40;

    std::vector<ArenaReport> reports(static_cast<std::size_t>(items));
    std::atomic<long long> next{0};
    std::atomic<long long> done{0};
    const auto started = std::chrono::steady_clock::now();
    const auto work = [&] {
        for (long long item = next++; item < items; item = next++) {
            reports[static_cast<std::size_t>(item)] =
                item < deals ? playDeal(match, options, static_cast<std::uint64_t>(item))
                             : playMirror(match, options, kMirrorDeals + static_cast<std::uint64_t>(item - deals));
            const long long finished = ++done;
            if (finished % 50 == 0 || finished == items)
                std::fprintf(stderr, "\r%lld/%lld", finished, items);
        }
    };
    std::vector<std::thread> threads;
    for (int j = 1; j < options.jobs; ++j)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();

    // Merged in deal order, so the numbers do not depend on --jobs.
    ArenaReport total;
    total.playerName = playerName(options);
    total.opponentName = levelName(options.opponents);
    for (const ArenaReport& report : reports)
        total.merge(report);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::fprintf(stderr, "\rdone in %.0f s\n", seconds);

    const char* lengthName = options.length == "s" ? "short" : options.length == "h" ? "half" : "full";
    const std::string title =
        "morlu-arena: " + std::to_string(deals * kSeatCount) + " " + lengthName + " games on " + std::to_string(deals) +
        " duplicate deals (seed " + std::to_string(options.seed) + ", " + std::to_string(options.settings.samples) +
        " samples per card, " + std::to_string(options.settings.contractSamples) + " per contract)" +
        (mirror > 0 ? ", " + std::to_string(mirror) + " games of four " + lowered(total.playerName) + "s"
                    : std::string());
    std::fputs(total.format(title).c_str(), stdout);
    return 0;
}
