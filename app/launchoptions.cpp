#include "launchoptions.h"

#include "names.h"

#include <cstring>
#include <functional>
#include <limits>
#include <vector>

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

bool hasArgument(int argc, char** argv, const char* wanted)
{
    for (int i = 1; i < argc; ++i) {
        if (argv[i] != nullptr && std::strcmp(argv[i], wanted) == 0)
            return true;
    }
    return false;
}

/**
 * One option: a flag (no value; "--flag=x" is an error) or one that takes a value, which it stores
 * and judges (false: a bad value).
 */
struct Option {
    const char* name;
    std::function<void(LaunchOptions&)> flag;
    std::function<bool(LaunchOptions&, const QString&)> value;
};

const std::vector<Option>& optionTable()
{
    static const std::vector<Option> options{
        {"--server", [](LaunchOptions& o) { o.server = true; }, nullptr},
        {"--help", [](LaunchOptions& o) { o.help = true; }, nullptr},
        {"--version", [](LaunchOptions& o) { o.version = true; }, nullptr},
        {"--no-announce", [](LaunchOptions& o) { o.announce = false; }, nullptr},
        {"--upnp", [](LaunchOptions& o) { o.upnp = true; }, nullptr},
        {"--port", nullptr,
         [](LaunchOptions& o, const QString& v) {
             const auto n = readNumber(v, 0, 65535);
             if (n)
                 o.port = int(*n);
             return n.has_value();
         }},
        {"--seed", nullptr,
         [](LaunchOptions& o, const QString& v) {
             const auto n = readNumber(v, 0, std::numeric_limits<std::uint32_t>::max());
             if (n)
                 o.seed = std::uint32_t(*n);
             return n.has_value();
         }},
        {"--pause-tick-ms", nullptr,
         [](LaunchOptions& o, const QString& v) {
             const auto n = readNumber(v, 0, std::numeric_limits<int>::max());
             if (n)
                 o.pauseTickMs = int(*n);
             return n.has_value();
         }},
        {"--computer", nullptr,
         [](LaunchOptions& o, const QString& v) {
             o.computer = computerLevelFor(v.toStdString());
             return o.computer.has_value();
         }},
        {"--replay", nullptr,
         [](LaunchOptions& o, const QString& v) {
             if (v.isEmpty())
                 return false;
             o.replay = v;
             return true;
         }},
        {"--name", nullptr,
         [](LaunchOptions& o, const QString& v) {
             // The announced name: one DNS label of at most 63 bytes, no control characters.
             const QString name = v.trimmed();
             if (name.isEmpty() || name.toUtf8().size() > 63)
                 return false;
             for (const QChar c : name) {
                 if (c.category() == QChar::Other_Control)
                     return false;
             }
             o.name = name;
             return true;
         }},
    };
    return options;
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
        const Option* option = nullptr;
        for (const Option& o : optionTable()) {
            if (name == QLatin1String(o.name))
                option = &o;
        }
        if (option == nullptr || (option->flag && value)) {
            options.error = QStringLiteral("unknown option %1").arg(arg);
            return options;
        }
        if (option->flag) {
            option->flag(options);
            continue;
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                options.error = QStringLiteral("%1 needs a value").arg(name);
                return options;
            }
            value = args[++i];
        }
        if (!option->value(options, *value)) {
            options.error = QStringLiteral("bad value for %1: '%2'").arg(name, *value);
            return options;
        }
    }
    return options;
}

bool LaunchOptions::wantsServer(int argc, char** argv)
{
    return hasArgument(argc, argv, "--server");
}

bool LaunchOptions::wantsHelp(int argc, char** argv)
{
    return hasArgument(argc, argv, "--help");
}

bool LaunchOptions::wantsVersion(int argc, char** argv)
{
    return hasArgument(argc, argv, "--version");
}

QString LaunchOptions::usage()
{
    return QStringLiteral(
        "usage: morlu [OPTION]... [NAME ADDRESS true|false]\n"
        "       morlu --replay FILE\n"
        "       morlu --server [--port N] [--name TEXT] [--no-announce] [--upnp] [--seed N] [--pause-tick-ms N]\n"
        "                      [--computer LEVEL]\n"
        "Without NAME ADDRESS FLAG, a solo game against three computer players; with true the table hosts\n"
        "a game for others, with false it joins the host at ADDRESS.\n"
        "  --server            run the game host alone, without a window\n"
        "  --port N            port to host or join on, 0..65535 (default 7772; 0 = any free port)\n"
        "  --name TEXT         the dedicated host's game name on the local network (default: \"Morlu on HOST\")\n"
        "  --no-announce       a host does not announce its game on the local network\n"
        "  --upnp              a host opens its port on the router (UPnP) while it hosts\n"
        "  --seed N            seed of repeatable deals, 0..4294967295 (default: none, deals from the secure source)\n"
        "  --pause-tick-ms N   tick of the host's pause timer in ms (default 1000; 0 = no pauses)\n"
        "  --computer LEVEL    how the computer plays its seats: classic (default), expert or master\n"
        "  --replay FILE       show the game record FILE on the board (no host, no connection); keys:\n"
        "                      Space play/pause, Right/Left line, Down/Up or Ctrl+Right/Left trick,\n"
        "                      Page Down/Up round, Home/End start/end, +/- speed\n"
        "  --help              print this help and end\n"
        "  --version           print the version and end\n");
}

QString LaunchOptions::versionText()
{
    return QStringLiteral("morlu ") + QString::fromLatin1(kVersionText.data(), qsizetype(kVersionText.size()));
}

} // namespace morlu
