// morlu-game: show a game record as a table of rounds, or as CSV.

#include "cards.h"
#include "gamerecord.h"
#include "gamesummary.h"
#include "terminaltext.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

using morlu::GameSummary;
using morlu::RoundSummary;

using morlu::printable;

namespace {

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

int usage(const QString& problem)
{
    QTextStream err(stderr);
    if (!problem.isEmpty())
        err << "morlu-game: " << problem << "\n";
    err << "usage: morlu-game show FILE         print the game recorded in FILE round by round\n"
           "       morlu-game show --csv FILE   the same as CSV, one row per round\n";
    return kExitUsage;
}

int fail(const QString& file, const QString& problem)
{
    QTextStream(stderr) << "morlu-game: " << file << ": " << problem << "\n";
    return kExitError;
}

QString directorName(const GameSummary& game, int seat)
{
    if (seat >= 1 && seat <= morlu::kSeatCount && !game.names[std::size_t(seat - 1)].isEmpty())
        return printable(game.names[std::size_t(seat - 1)]);
    return QStringLiteral("seat %1").arg(seat);
}

QString contractName(int contract)
{
    const std::string_view name = morlu::contractName(contract);
    return name.empty() ? QStringLiteral("-") : QString::fromLatin1(name.data(), qsizetype(name.size()));
}

/// A CSV field, quoted when it holds a comma, a quote or a line break.
QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
        !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void printCsv(const GameSummary& game, QTextStream& out)
{
    out << "round,director,contract,change1,change2,change3,change4,bank1,bank2,bank3,bank4\n";
    for (const RoundSummary& round : game.rounds) {
        out << round.round << ',' << csvField(directorName(game, round.director)) << ','
            << contractName(round.contract);
        for (const int change : round.change)
            out << ',' << change;
        for (const int bank : round.banks)
            out << ',' << bank;
        out << "\n";
    }
}

void printTable(const GameSummary& game, QTextStream& out)
{
    int nameWidth = 8;
    for (const RoundSummary& round : game.rounds)
        nameWidth = qMax(nameWidth, int(directorName(game, round.director).size()));
    constexpr int kContractWidth = 10;
    constexpr int kMoneyWidth = 7;
    out << "Seats:";
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat)
        out << "  " << seat << " " << directorName(game, seat);
    out << "\n";
    out << "Round " << QStringLiteral("Director").leftJustified(nameWidth) << " "
        << QStringLiteral("Contract").leftJustified(kContractWidth) << " |";
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat)
        out << QStringLiteral("Change%1").arg(seat).rightJustified(kMoneyWidth + 1);
    out << " |";
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat)
        out << QStringLiteral("Bank%1").arg(seat).rightJustified(kMoneyWidth + 1);
    out << "\n";
    for (const RoundSummary& round : game.rounds) {
        out << QString::number(round.round).rightJustified(5) << " "
            << directorName(game, round.director).leftJustified(nameWidth) << " "
            << contractName(round.contract).leftJustified(kContractWidth) << " |";
        for (const int change : round.change)
            out << QString::number(change).rightJustified(kMoneyWidth + 1);
        out << " |";
        for (const int bank : round.banks)
            out << QString::number(bank).rightJustified(kMoneyWidth + 1);
        out << "\n";
    }
    if (game.winner.isEmpty())
        out << "No winner: the game did not end in this record.\n";
    else
        out << "Winner: " << printable(game.winner) << "\n";
}

int run(const QStringList& args)
{
    if (args.isEmpty())
        return usage(QString());
    if (args.at(0) != QLatin1String("show"))
        return usage(QStringLiteral("unknown command '%1'").arg(printable(args.at(0))));
    const bool csv = args.size() == 3 && args.at(1) == QLatin1String("--csv");
    if (args.size() != (csv ? 3 : 2))
        return usage(QStringLiteral("show needs FILE"));
    const QString file = args.last();
    const morlu::GameRecordRead read = morlu::readGameRecord(file);
    if (!read.ok())
        return fail(file, read.error);
    const GameSummary game = morlu::summarizeGame(read.record);
    if (!game.error.isEmpty())
        return fail(file, QStringLiteral("line %1: a game message that cannot be read (%2)")
                              .arg(game.errorLine)
                              .arg(printable(game.error)));
    QTextStream out(stdout);
    if (csv)
        printCsv(game, out);
    else
        printTable(game, out);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("morlu-game"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return run(args);
}
