#pragma once

#include <QString>

#include <cstdint>

/**
 * Where the table's handlers write to the player: the chat view. Every arrival, version warning,
 * winner and watching notice goes through addlinetochat, so no handler holds the chat widgets. The
 * chat pane implements it; tests implement it with a recorder.
 */
class ChatSink {
public:
    /// The colour of system lines: blue, 0xFF0000 (0x00BBGGRR).
    static constexpr std::uint32_t kSystemColour = 0xFF0000;

    virtual ~ChatSink() = default;

    /// Adds a chat line: style number, "+", text ("0+You are Connected." for a system line), drawn in
    /// @p colour, a 0x00BBGGRR value.
    virtual void addlinetochat(const QString& line, std::uint32_t colour) = 0;
    /// The colour every system line is drawn in.
    virtual std::uint32_t systemcolor() const { return kSystemColour; }

    /// A system line: "0+" and @p text in the system colour.
    void systemLine(const QString& text) { addlinetochat(QStringLiteral("0+") + text, systemcolor()); }
    /**
     * One of the table's own notices, in the system style but whole: no speaker part is split off at
     * its first colon, so an address such as "203.0.113.7:7772" shows as it is.
     */
    virtual void noticeLine(const QString& text) { systemLine(text); }

    /**
     * @p name (a player's name, a relayed text) isolated from the text around it in a line (U+2068 ...
     * U+2069), so that direction controls in it cannot reverse the rest of the line.
     */
    static QString isolated(const QString& name) { return QChar(0x2068) + name + QChar(0x2069); }
};
