#include "tablesettings.h"

#include "colortext.h"
#include "profilefile.h"
#include "sessionmessages.h"
#include "storagelocation.h"

#include <QStandardPaths>

#include <algorithm>
#include <limits>
#include <pwd.h>
#include <unistd.h>

namespace {

const QString kSectionName = QString::fromLatin1(TableSettings::kSection);

QString key(const char* name)
{
    return QString::fromLatin1(name);
}

int readInt(const ProfileFile& file, const char* name, int fallback)
{
    return TableSettings::readInteger(file.readString(kSectionName, key(name))).value_or(fallback);
}

QString flag(bool on)
{
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

/// A word of the protocol as the settings file holds it.
QString wordOf(std::string_view word)
{
    return QString::fromLatin1(word.data(), qsizetype(word.size()));
}

} // namespace

std::optional<int> TableSettings::readInteger(const QString& text)
{
    const QString t = text.trimmed();
    int base = 10;
    QStringView digits(t);
    if (t.startsWith(QLatin1Char('$'))) {
        base = 16;
        digits = digits.mid(1);
    } else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits = digits.mid(2);
    }
    if (digits.isEmpty() || digits.startsWith(QLatin1Char('+')))
        return std::nullopt;
    bool ok = false;
    if (base == 10) {
        const int value = digits.toInt(&ok, 10);
        return ok ? std::optional<int>(value) : std::nullopt;
    }
    if (digits.startsWith(QLatin1Char('-')))
        return std::nullopt;
    // Hexadecimal holds a 32-bit pattern ("$FFFFFFFF" is -1), as the settings have always been written.
    const qulonglong value = digits.toULongLong(&ok, 16);
    if (!ok || value > std::numeric_limits<quint32>::max())
        return std::nullopt;
    return static_cast<int>(static_cast<quint32>(value));
}

std::pair<TableSettings::BotSpeedItem, int> TableSettings::readBotSpeed(const QString& text)
{
    const QString t = text.trimmed();
    if (t == QLatin1String("2000"))
        return {BotSpeedItem::Slow, 2000};
    if (t == QLatin1String("1500"))
        return {BotSpeedItem::Slow, kSlow};
    if (t == QLatin1String("500"))
        return {BotSpeedItem::Fast, kFast};
    return {BotSpeedItem::Normal, kNormal};
}

int TableSettings::delayOf(BotSpeedItem item)
{
    switch (item) {
    case BotSpeedItem::Slow:
        return kSlow;
    case BotSpeedItem::Fast:
        return kFast;
    case BotSpeedItem::Normal:
        break;
    }
    return kNormal;
}

TableSettings::BotLevel TableSettings::readBotLevel(const QString& text)
{
    if (text == wordOf(morlu::kBotLevelExpert))
        return BotLevel::Expert;
    if (text == wordOf(morlu::kBotLevelMaster))
        return BotLevel::Master;
    return BotLevel::Classic;
}

QString TableSettings::botLevelWord(BotLevel level)
{
    switch (level) {
    case BotLevel::Expert:
        return wordOf(morlu::kBotLevelExpert);
    case BotLevel::Master:
        return wordOf(morlu::kBotLevelMaster);
    case BotLevel::Classic:
        break;
    }
    return wordOf(morlu::kBotLevelClassic);
}

QString TableSettings::fitPhrase(const QString& given)
{
    // A hand-edited file may hold control characters: a button cannot show them and a chat line has no use
    // for them.
    QString text = given;
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    if (text.size() <= kPhraseLength)
        return text;
    // Never half a character: a pair of surrogates stays whole or goes.
    return text.left(text.at(kPhraseLength - 1).isHighSurrogate() ? kPhraseLength - 1 : kPhraseLength);
}

TableSettings TableSettings::read(const ProfileFile& stored)
{
    // One reading of the file for every key.
    ProfileFile file(stored.path());
    file.load();
    TableSettings s;
    s.textsize = readInt(file, "Textsize", s.textsize);
    // A hand-edited file may hold any int, but a rectangle whose far edge lies past the int's end cannot be
    // made: each bound is held to sixteen million pixels either way, far beyond any screen, which the
    // window's placement then brings back onto one.
    const auto bound = [&file](const char* name, int fallback) {
        constexpr int kFarthest = 1 << 24;
        return std::clamp(readInt(file, name, fallback), -kFarthest, kFarthest);
    };
    s.bounds = QRect(bound("Left", s.bounds.left()), bound("Top", s.bounds.top()), bound("Width", s.bounds.width()),
                     bound("Height", s.bounds.height()));
    s.textcolor = ColorText::read(file.readString(kSectionName, key("Textcolor"), QStringLiteral("clblack")))
                      .value_or(s.textcolor);
    for (int n = 1; n <= kPhraseCount; ++n)
        s.phrases[std::size_t(n - 1)] = fitPhrase(file.readString(kSectionName, QStringLiteral("Phrase%1").arg(n)));
    s.playsounds = file.readString(kSectionName, key("Playsounds")) != QLatin1String("false");
    std::tie(s.botspeedItem, s.botspeed) = readBotSpeed(file.readString(kSectionName, key("Botspeed")));
    s.turnsound = file.readString(kSectionName, key("Turnsound")) == QLatin1String("1") ? 1 : 0;
    s.chattersounds = file.readString(kSectionName, key("ChatterSounds")) != QLatin1String("false");
    s.botLevel = readBotLevel(file.readString(kSectionName, key("Botlevel")));
    s.showdownload = file.readString(kSectionName, key("ShowDownload")) != QLatin1String("false");
    s.showPlayableCards = file.readString(kSectionName, key("ShowPlayableCards")) != QLatin1String("false");
    s.keepRecords = file.readString(kSectionName, key("KeepRecords")) != QLatin1String("false");
    s.allowHints = file.readString(kSectionName, key("AllowHints")) == QLatin1String("true");
    if (const QString name = file.readString(kSectionName, key("PlayerName")).trimmed(); !name.isEmpty())
        s.playerName = name;
    for (int n = 1; n <= kRecentHostCount; ++n) {
        const QString host = file.readString(kSectionName, QStringLiteral("RecentHost%1").arg(n)).trimmed();
        if (!host.isEmpty() && !s.recentHosts.contains(host))
            s.recentHosts.append(host);
    }
    s.seatKeyHost = file.readString(kSectionName, key("SeatKeyHost")).trimmed();
    s.seatKey = file.readString(kSectionName, key("SeatKey")).trimmed();
    return s;
}

bool TableSettings::write(ProfileFile& file) const
{
    const std::array<std::pair<const char*, QString>, 14> values{{
        {"Textsize", QString::number(textsize)},
        {"Top", QString::number(bounds.top())},
        {"Left", QString::number(bounds.left())},
        {"Width", QString::number(bounds.width())},
        {"Height", QString::number(bounds.height())},
        {"Textcolor", ColorText::write(textcolor)},
        {"Botspeed", QString::number(botspeed)},
        {"Playsounds", flag(playsounds)},
        {"Turnsound", QString::number(turnsound == 1 ? 1 : 0)},
        {"ChatterSounds", flag(chattersounds)},
        {"Botlevel", botLevelWord(botLevel)},
        {"ShowPlayableCards", flag(showPlayableCards)},
        {"KeepRecords", flag(keepRecords)},
        {"AllowHints", flag(allowHints)},
    }};
    // One change set: read once, every key set, written once.
    file.load();
    for (const auto& [name, value] : values)
        file.setString(kSectionName, key(name), value);
    return file.save();
}

bool TableSettings::writePhrases(ProfileFile& file, const QStringList& phrases)
{
    file.load();
    for (int n = 1; n <= kPhraseCount; ++n)
        file.setString(kSectionName, QStringLiteral("Phrase%1").arg(n), fitPhrase(phrases.value(n - 1)));
    return file.save();
}

bool TableSettings::writeShowDownload(ProfileFile& file, bool show)
{
    return file.writeString(kSectionName, key("ShowDownload"), show ? QStringLiteral("true") : QStringLiteral("false"));
}

bool TableSettings::writePlayerName(ProfileFile& file, const QString& name)
{
    return file.writeString(kSectionName, key("PlayerName"), name);
}

bool TableSettings::writeRecentHosts(ProfileFile& file, const QStringList& hosts)
{
    bool ok = true;
    for (int n = 1; n <= kRecentHostCount; ++n)
        ok = file.writeString(kSectionName, QStringLiteral("RecentHost%1").arg(n), hosts.value(n - 1)) && ok;
    return ok;
}

bool TableSettings::writeSeatKey(ProfileFile& file, const QString& host, const QString& seatKey)
{
    file.load();
    file.setString(kSectionName, key("SeatKeyHost"), host);
    file.setString(kSectionName, key("SeatKey"), seatKey);
    return file.save();
}

QStringList TableSettings::withRecentHost(QStringList hosts, const QString& host)
{
    hosts.removeAll(host);
    hosts.prepend(host);
    while (hosts.size() > kRecentHostCount)
        hosts.removeLast();
    return hosts;
}

QString TableSettings::loginName()
{
    for (const char* variable : {"USER", "LOGNAME"}) {
        if (const QString name = qEnvironmentVariable(variable).trimmed(); !name.isEmpty())
            return name;
    }
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_name != nullptr)
        return QString::fromLocal8Bit(entry->pw_name);
    return QStringLiteral("Player");
}

QString TableSettings::defaultPath()
{
    return morlu::storagePath(QString::fromLatin1(kFileName), QStandardPaths::AppConfigLocation);
}
