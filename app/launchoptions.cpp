#include "launchoptions.h"

#include <cstring>
#include <limits>

namespace morlu {

namespace {

/// A decimal number in min..max, digits only.
std::optional<qint64> readNumber(const QString& text, qint64 min, qint64 max)
{
    if (text.isEmpty() || text.size() > 12)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    const qint64 value = text.toLongLong();
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

} // namespace

LaunchOptions LaunchOptions::parse(const QStringList& args)
{
    LaunchOptions options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            options.arguments.append(arg);
            continue;
        }
        QString name = arg;
        std::optional<QString> value;
        if (const qsizetype eq = arg.indexOf(QLatin1Char('=')); eq >= 0) {
            name = arg.left(eq);
            value = arg.mid(eq + 1);
        }
        if (name == QLatin1String("--server") && !value) {
            options.server = true;
            continue;
        }
        const bool known = name == QLatin1String("--port") || name == QLatin1String("--seed") ||
                           name == QLatin1String("--pause-tick-ms") || name == QLatin1String("--computer");
        if (!known) {
            options.error = QStringLiteral("unknown option %1").arg(arg);
            return options;
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                options.error = QStringLiteral("%1 needs a value").arg(name);
                return options;
            }
            value = args[++i];
        }
        if (name == QLatin1String("--computer")) {
            options.computer = computerLevelFor(value->toStdString());
            if (!options.computer) {
                options.error = QStringLiteral("bad value for %1: '%2'").arg(name, *value);
                return options;
            }
            continue;
        }
        std::optional<qint64> number;
        if (name == QLatin1String("--port")) {
            number = readNumber(*value, 0, 65535);
            if (number)
                options.port = int(*number);
        } else if (name == QLatin1String("--seed")) {
            number = readNumber(*value, 0, std::numeric_limits<std::uint32_t>::max());
            if (number)
                options.seed = std::uint32_t(*number);
        } else {
            number = readNumber(*value, 0, std::numeric_limits<int>::max());
            if (number)
                options.pauseTickMs = int(*number);
        }
        if (!number) {
            options.error = QStringLiteral("bad value for %1: '%2'").arg(name, *value);
            return options;
        }
    }
    return options;
}

bool LaunchOptions::wantsServer(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (argv[i] != nullptr && std::strcmp(argv[i], "--server") == 0)
            return true;
    }
    return false;
}

QString LaunchOptions::usage()
{
    return QStringLiteral("usage: morlu --server [--port N] [--seed N] [--pause-tick-ms N] [--computer LEVEL]\n"
                          "  --port N            port to listen on, 0..65535 (default 7772; 0 = any free port)\n"
                          "  --seed N            repeatable deals from this seed, 0..4294967295 (default: secure random deals)\n"
                          "  --pause-tick-ms N   tick of the pause timer in ms (default 1000; 0 = no pauses)\n"
                          "  --computer LEVEL    how the computer plays its seats: classic (default), expert or master\n");
}

} // namespace morlu
