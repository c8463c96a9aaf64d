#include "gamerecord.h"
#include "gamerecorder.h"
#include "launchoptions.h"
#include "morluprogram.h"
#include "servermode.h"
#include "singleinstance.h"
#include "stopsignals.h"
#include "tallystore.h"
#include "tchat.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>

#include <cstdio>
#include <optional>

int main(int argc, char* argv[])
{
    // The usage and the version need no display and no host: answered before anything starts.
    if (morlu::LaunchOptions::wantsHelp(argc, argv)) {
        std::fputs(qPrintable(morlu::LaunchOptions::usage()), stdout);
        return 0;
    }
    if (morlu::LaunchOptions::wantsVersion(argc, argv)) {
        std::printf("%s\n", qPrintable(morlu::LaunchOptions::versionText()));
        return 0;
    }
    // "--server" runs the host alone, without a window or display, so it is decided before any
    // QApplication exists. The table reads the other "--" options (LaunchOptions) before its own
    // command line; "--port N" also applies when it hosts or joins.
    if (morlu::LaunchOptions::wantsServer(argc, argv))
        return morlu::runServer(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(Tchat::kGameName));

    // QApplication has taken out its own options; the rest is ours.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const morlu::LaunchOptions options = morlu::LaunchOptions::parse(args);
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "morlu: %s\n%s", qPrintable(options.error), qPrintable(morlu::LaunchOptions::usage()));
        return 2;
    }

    // A stop signal (Ctrl+C, shutdown, the session ending) closes the table like its close box, so the
    // program ends in order and saves what it keeps (the tally); before the table exists it simply quits.
    morlu::StopSignals stop;
    QPointer<QWidget> table;
    QObject::connect(&stop, &morlu::StopSignals::stopRequested, &app, [&table] {
        if (table)
            table->close();
        else
            QCoreApplication::quit();
    });

    // Host Game and Join Game start the chosen game as a new program with its command line, once this
    // one has let go of its host's port and of the single-instance name.
    std::optional<QStringList> restart;
    int code = 0;
    {
        // A second start brings the running table forward and ends before any window exists.
        SingleInstance instance;
        // A replay holds no host and no port: it may run beside a game.
        if (!options.replay && !instance.claim())
            return 0;
        if (options.replay) {
            if (const morlu::GameRecordRead read = morlu::readGameRecord(*options.replay);
                !read.ok() && read.record.lines.empty() && read.record.headers.isEmpty()) {
                std::fprintf(stderr, "morlu: %s cannot be replayed: %s\n", qPrintable(*options.replay),
                             qPrintable(read.error));
                return 1;
            }
        }

        morlu::MorluProgram program(options);
        Tchat& window = program.table();
        instance.setWindow(&window);
        window.setRestarter([&restart](const QStringList& arguments) { restart = arguments; });
        // Beside the program when its folder is its own and writable, else in the user's data folder.
        // A replay keeps no tally: only its records folder, where Open Game Record looks.
        if (options.replay) {
            window.gameRecorder().setFolder(
                QFileInfo(morlu::TallyStore::defaultPath()).dir().filePath(QStringLiteral("games")));
            window.openGameRecord(*options.replay);
        } else {
            window.useTallyFile(morlu::TallyStore::defaultPath());
        }
        // The program ends with the table window, even while another of its windows is open.
        QObject::connect(&window, &Tchat::tableClosed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
        table = &window;
        window.show();
        code = app.exec();
    }
    if (restart && !QProcess::startDetached(QCoreApplication::applicationFilePath(), *restart))
        std::fprintf(stderr, "morlu: could not start the chosen game\n");
    return code;
}
