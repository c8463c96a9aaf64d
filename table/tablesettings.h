#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

class ProfileFile;

/**
 * The table's settings as kept in the settings file, section "Morlu": typed values, each with the
 * default it takes when the file, the key or a readable value is missing, and the reading and writing
 * rules of every key in one place. The window applies them; the phrase editor writes the phrases.
 *
 * Reading rules: integers are decimal, or hexadecimal after "$", "0x" or "0X"; a colour is color text
 * (a name in any case, or a number); the switches are off only for exactly "false"; "Turnsound" is New
 * only for exactly "1"; "Botspeed" 1500 or 2000 is Slow, 500 Fast, anything else Normal (1000);
 * "Botlevel" is the expert computer player for exactly "expert", the master for exactly "master", else the
 * classic one; "ShowPlayableCards" and "KeepRecords" are switches; "AllowHints" is on only for exactly "true".
 */
struct TableSettings {
    static constexpr const char* kSection = "Morlu";
    static constexpr const char* kFileName = "kavrinlobby.ini";
    static constexpr int kPhraseCount = 9;
    /// The longest phrase, as the phrase editor takes it; a longer one in the file is cut to this.
    static constexpr int kPhraseLength = 50;

    /// The bot speed menu's items: Slow, Normal, Fast.
    enum class BotSpeedItem { Slow, Normal, Fast };
    static constexpr int kSlow = 1500;
    static constexpr int kNormal = 1000;
    static constexpr int kFast = 500;

    /// "Botlevel": how the computer players play, as the menu "Computer Players" lists them.
    enum class BotLevel { Classic, Expert, Master };

    int textsize = 8;
    QRect bounds{3, 3, 789, 595};                ///< left, top, width, height
    std::uint32_t textcolor = 0;                 ///< 0x00BBGGRR; black
    std::array<QString, kPhraseCount> phrases{}; ///< empty: the button keeps its phrase
    bool playsounds = true;
    int botspeed = kNormal;
    BotSpeedItem botspeedItem = BotSpeedItem::Normal;
    int turnsound = 0; ///< 0 Classic, 1 New
    bool chattersounds = true;
    BotLevel botLevel = BotLevel::Classic; ///< "Botlevel": "classic", "expert" or "master"
    /// "ShowDownload": the lobby offer at a solo start; off only for exactly "false", written by the offer.
    bool showdownload = true;
    bool showPlayableCards = true; ///< dim the cards the host would refuse on the player's turn
    bool keepRecords = true;       ///< write every game played or watched to a game record
    /// "AllowHints": the host player lets the other players of a game ask for hints; off by default.
    bool allowHints = false;
    /// "PlayerName": the name Host Game and Join Game offer; the login name until one is kept.
    QString playerName = loginName();
    /// "RecentHost1".."RecentHost8": the hosts joined last, newest first, as the player typed them.
    QStringList recentHosts;
    static constexpr int kRecentHostCount = 8;
    /// "SeatKeyHost" and "SeatKey": the host joined last as the table names it ("host:port") and the
    /// seat key it gave, so that a program started again after a crash asks for its own seat back.
    QString seatKeyHost;
    QString seatKey;

    /// Every key of @p file (read once), each falling back to its default; phrases cut to kPhraseLength.
    static TableSettings read(const ProfileFile& file);
    /**
     * Writes every key but the phrases, in the order "Textsize", "Top", "Left", "Width", "Height",
     * "Textcolor", "Botspeed", "Playsounds", "Turnsound", "ChatterSounds", "Botlevel", "ShowPlayableCards",
     * "KeepRecords", "AllowHints",
     * as one change: the file is read once and replaced once. False when the file could not be
     * written (file.errorString() says why; the file is then unchanged).
     */
    bool write(ProfileFile& file) const;
    /// Writes "Phrase1".."Phrase9" from @p phrases (missing ones empty, each cut to fit) as one change.
    static bool writePhrases(ProfileFile& file, const QStringList& phrases);
    /// @p text without control characters, cut to kPhraseLength characters.
    static QString fitPhrase(const QString& text);
    /// Writes "ShowDownload" ("true" or "false"), at once, whether or not the settings have been read.
    static bool writeShowDownload(ProfileFile& file, bool show);

    /// Writes "PlayerName" at once, whether or not the settings have been read.
    static bool writePlayerName(ProfileFile& file, const QString& name);
    /// Writes "RecentHost1".."RecentHost8" at once (the keys past the list's end emptied).
    static bool writeRecentHosts(ProfileFile& file, const QStringList& hosts);
    /// Writes "SeatKeyHost" and "SeatKey" as one change, whether or not the settings have been read.
    static bool writeSeatKey(ProfileFile& file, const QString& host, const QString& seatKey);
    /// @p hosts with @p host put first: no duplicate, at most kRecentHostCount, the oldest dropped.
    static QStringList withRecentHost(QStringList hosts, const QString& host);
    /// The name of the user running the program, or "Player" when the system gives none.
    static QString loginName();

    /// An integer as the settings file holds it (decimal, "$", "0x", "0X"); nothing for other text.
    static std::optional<int> readInteger(const QString& text);
    /// The item and delay "Botspeed" stands for.
    static std::pair<BotSpeedItem, int> readBotSpeed(const QString& text);
    /// The delay of a bot speed item.
    static int delayOf(BotSpeedItem item);
    /// The level "Botlevel" stands for: exactly "expert" or "master", else the classic players.
    static BotLevel readBotLevel(const QString& text);
    /// The word of @p level in the settings file, which is also its word on the wire (CMD_botlevel).
    static QString botLevelWord(BotLevel level);

    /// Where the settings file lives: beside the program, or in the user's configuration folder (see storagePath()).
    static QString defaultPath();

    bool operator==(const TableSettings&) const = default;
};
