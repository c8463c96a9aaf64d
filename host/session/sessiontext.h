#pragma once

#include <QList>
#include <QString>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

/**
 * What the host does to texts that tables send before it passes them on or writes them down: login
 * names are cleaned, chat and action texts are cut so that their relay is still a line every table
 * accepts, and anything written to the log is cut short and made printable. All texts are UTF-8;
 * cutting never splits a character.
 */
namespace morlu::sessiontext {

/// Longest name a table is seated under, in characters.
inline constexpr int kMaxNameLength = 40;
/// Longest piece of received text written to the log, in bytes.
inline constexpr std::size_t kMaxLogField = 200;

/**
 * The name slot @p slot is seated under for the name it sent: read as UTF-8 (Windows-1252 when it is
 * not valid UTF-8), control characters, line breaks, direction controls and invisible characters
 * (zero-width spaces and joiners and every other format character) removed, blanks trimmed at both
 * ends, at most kMaxNameLength characters; "Player N" when nothing is left.
 */
std::string cleanName(std::string_view received, int slot);

/**
 * True when names @p a and @p b look alike: the same after case folding and after mapping every
 * character to the one it is easily mistaken for (the Unicode confusable skeleton), so "Ann" with a
 * Cyrillic "А" is the same name as "Ann", while "Ivan" and "Иван" stay distinct.
 */
bool sameName(const QString& a, const QString& b);

/**
 * @p name, or, when @p taken says a seated table already has it (see sameName()), the first of
 * "name (2)", "name (3)", ... that is free, the name shortened so the whole stays within
 * kMaxNameLength characters.
 */
std::string distinctName(const std::string& name, const std::function<bool(const QString& name)>& taken);

/**
 * A received chat or action text as it may be relayed: every line break (CR, LF, VT, FF, NEL, U+2028,
 * U+2029) becomes one blank, so no table shows a line the sender did not send as his own, and the
 * direction controls (U+202A to U+202E, U+2066 to U+2069) are removed, so nothing reverses the text
 * around it. @p text is UTF-8.
 */
std::string cleanText(std::string_view text);

/// True when @p colour is a colour text as tables write it: a colour name or "$" and eight hex digits.
bool isColourText(std::string_view colour);

/**
 * The rest of a chat or action request ("text|colour") as it may be relayed: the text cleaned
 * (cleanText()), and a colour (what follows the first "|", as the tables read it) that is not a
 * colour text replaced by "clRed", the colour a table draws an unreadable one in. Returns @p rest
 * itself when nothing changes; otherwise the result, built in @p scratch.
 */
std::string_view cleanChat(std::string_view rest, std::string& scratch);

/**
 * Bytes left for the text of a relayed line "word+slot+" @p name @p separator "text" so that the whole
 * stays within LineFramer::kMaxLine.
 */
std::size_t relayRoom(std::string_view word, int slot, std::string_view name = {}, std::string_view separator = {});

/// The longest start of @p text that has at most @p maxBytes bytes and ends on a character boundary.
std::string_view cutUtf8(std::string_view text, std::size_t maxBytes);

/**
 * The rest of a chat or action request ("text|colour") cut to at most @p budget bytes: the text is
 * shortened and a short colour after the last "|" is kept, so the receiver still reads its colour.
 * Returns @p rest itself when it fits; otherwise the cut text, built in @p scratch.
 */
std::string_view fitChatText(std::string_view rest, std::size_t budget, std::string& scratch);

/**
 * @p text as it may go to the log: control characters (and bytes that are not UTF-8) written as
 * "\xNN", cut after @p maxBytes bytes of input with "..." and the full length added.
 */
QString forLog(std::string_view text, std::size_t maxBytes = kMaxLogField);

} // namespace morlu::sessiontext
