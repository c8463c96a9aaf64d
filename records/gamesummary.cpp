#include "gamesummary.h"

#include "cards.h"
#include "dispatcher.h"
#include "fieldreader.h"
#include "gamemessages.h"
#include "names.h"

#include <optional>

namespace morlu {

namespace {

QString fromStd(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

GameSummary summarizeGame(const GameRecord& record)
{
    GameSummary summary;
    for (int seat = 1; seat <= kSeatCount; ++seat) {
        QString name = record.header(QStringLiteral("name%1").arg(seat));
        // Records of a first game used to be begun before the host had named the computer players.
        if (name == QLatin1String(kUnnamedSeat) && !hostComputerName(seat).empty())
            name = fromStd(hostComputerName(seat));
        summary.names[std::size_t(seat - 1)] = name;
    }

    std::array<int, 4> banks;
    banks.fill(kStartingBank);
    std::array<int, 4> before = banks;
    std::optional<RoundSummary> current;
    bool joinedLate = false; // the round began before this table came: its first scores are the banks before
    const auto finishRound = [&] {
        if (!current)
            return;
        current->banks = banks;
        for (std::size_t i = 0; i < banks.size(); ++i)
            current->change[i] = banks[i] - before[i];
        summary.rounds.push_back(*current);
        current.reset();
    };

    for (const RecordedLine& line : record.lines) {
        const CommandLine command = splitCommand(line.text);
        try {
            if (command.word == StartRound::command) {
                finishRound();
                const StartRound start = StartRound::read(command.rest);
                before = banks;
                joinedLate = false;
                current = RoundSummary{.round = start.round, .director = start.seat};
            } else if (command.word == AGame::command) {
                const AGame game = AGame::read(command.rest);
                if (!current && game.round >= 1) {
                    current = RoundSummary{.round = game.round, .director = game.director, .contract = game.contract};
                    joinedLate = true;
                }
            } else if (command.word == ChooseHand::command) {
                const ChooseHand chosen = ChooseHand::read(command.rest);
                if (current)
                    current->contract = chosen.contract;
            } else if (command.word == Scores::command) {
                for (const ScoreGroup& group : Scores::read(command.rest).groups)
                    if (group.seat >= 1 && group.seat <= kSeatCount)
                        banks[std::size_t(group.seat - 1)] = group.bank - (joinedLate ? group.money : 0);
                if (joinedLate) {
                    before = banks;
                    for (const ScoreGroup& group : Scores::read(command.rest).groups)
                        if (group.seat >= 1 && group.seat <= kSeatCount)
                            banks[std::size_t(group.seat - 1)] = group.bank;
                    joinedLate = false;
                }
            } else if (command.word == Winner::command) {
                finishRound();
                summary.winner = fromStd(Winner::read(command.rest).text);
            }
        } catch (const std::exception& error) {
            summary.error = QString::fromUtf8(error.what());
            summary.errorLine = line.fileLine;
            break;
        }
    }
    finishRound();
    return summary;
}

} // namespace morlu
