// morlu-tally: compress and expand files with the tally's file coder, and show a tally file as a table.

#include "elzrw1exception.h"
#include "tallyfile.h"
#include "tallygrid.h"
#include "terminaltext.h"
#include "tlzrw1.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

using morlu::ELzrw1Exception;
using morlu::TallyFile;
using morlu::TallyGrid;
using morlu::TallyGridError;
using morlu::Tlzrw1;

using morlu::printable;

namespace {

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;
/// Longest error text printed, in bytes: a crafted file must not make the tool print megabytes.
constexpr qsizetype kMaxMessage = 200;

/// @p message cut to kMaxMessage bytes of UTF-8 (never inside a character).
QString shortMessage(const QString& message)
{
    const QByteArray bytes = message.toUtf8();
    if (bytes.size() <= kMaxMessage)
        return message;
    qsizetype end = kMaxMessage;
    while (end > 0 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
        --end;
    return QString::fromUtf8(bytes.left(end)) + QStringLiteral("...");
}

int usage(const QString& problem)
{
    QTextStream err(stderr);
    if (!problem.isEmpty())
        err << "morlu-tally: " << problem << "\n";
    err << "usage: morlu-tally compress IN OUT   compress IN into OUT (LZRW1/KH)\n"
           "       morlu-tally expand IN OUT     expand the compressed file IN into OUT\n"
           "       morlu-tally show FILE         print the tally kept in FILE (e.g. Morlutally.tld)\n";
    return kExitUsage;
}

QString padLeft(const QString& text, int width)
{
    return text.rightJustified(width, QLatin1Char(' '));
}

/// The tally as a table: the player's totals, then one line per opponent with totals and session.
void printTally(const TallyGrid& grid, QTextStream& out)
{
    const QString games = printable(grid.cell(1, 0));
    const QString wins = printable(grid.cell(2, 0));
    out << "Your total tally: " << games << (games == QLatin1String("1") ? " game, " : " games, ") << wins
        << (wins == QLatin1String("1") ? " win\n" : " wins\n");
    if (grid.rowCount() < 2) {
        out << "No players are being tallied.\n";
        return;
    }
    int nameWidth = 8;
    for (int row = 1; row < grid.rowCount(); ++row)
        nameWidth = qMax(nameWidth, int(printable(grid.cell(0, row)).size()));
    const QStringList heads = {"games", "his wins", "your wins", "neither"};
    const int cellWidth = 10;

    out << QString(nameWidth, QLatin1Char(' ')) << " |" << padLeft("Total", cellWidth)
        << QString(cellWidth * 3, QLatin1Char(' ')) << " |" << padLeft("Session", cellWidth) << "\n";
    out << QStringLiteral("Opponent").leftJustified(nameWidth) << " |";
    for (int half = 0; half < 2; ++half) {
        for (const QString& head : heads)
            out << padLeft(head, cellWidth);
        out << (half == 0 ? " |" : "\n");
    }
    for (int row = 1; row < grid.rowCount(); ++row) {
        out << printable(grid.cell(0, row)).leftJustified(nameWidth) << " |";
        for (int column = 1; column <= 8; ++column) {
            out << padLeft(printable(grid.cell(column, row)), cellWidth);
            if (column == 4)
                out << " |";
        }
        out << "\n";
    }
}

int run(const QStringList& args)
{
    if (args.isEmpty())
        return usage(QString());
    const QString& command = args.at(0);
    QTextStream out(stdout);
    if (command == QLatin1String("compress") || command == QLatin1String("expand")) {
        if (args.size() != 3)
            return usage(command + QStringLiteral(" needs IN and OUT"));
        Tlzrw1 coder;
        coder.setCompressMode(morlu::TCompressMode::Fast);
        coder.setInputFile(args.at(1));
        coder.setOutputFile(args.at(2));
        const qint64 written = command == QLatin1String("compress") ? coder.Compress() : coder.Decompress();
        out << args.at(2) << ": " << written << " bytes written\n";
        return 0;
    }
    if (command == QLatin1String("show")) {
        if (args.size() != 2)
            return usage(QStringLiteral("show needs FILE"));
        printTally(TallyFile::load(args.at(1)), out);
        return 0;
    }
    return usage(QStringLiteral("unknown command '%1'").arg(command));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("morlu-tally"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    try {
        return run(args);
    } catch (const ELzrw1Exception& error) {
        QTextStream(stderr) << shortMessage(error.message()) << "\n";
    } catch (const TallyGridError& error) {
        QTextStream(stderr) << shortMessage(printable(error.message())) << "\n";
    }
    return kExitError;
}
