#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/**
 * One chat line as the chat view draws it, cut from its text "style+text": the style number (0 for a
 * system line, the sender's slot for relayed chat), the speaker part (the text up to and including the
 * first ":", empty without one) and the items after it in order: pieces of text, web addresses, and
 * smileys written as ":)#" and a two-digit code 10 to 27.
 *
 * The text is only ever cut and classified here, never read as markup: whatever a player types ends up
 * in text and link items that the view shows character for character.
 */
class ChatLine {
public:
    struct Item {
        enum class Kind { Text, Link, Smiley };
        Kind kind = Kind::Text;
        QString text;   ///< Text and Link: the piece with its trailing blank
        int smiley = 0; ///< Smiley: the picture, 0 to 17

        bool operator==(const Item&) const = default;
    };

    static constexpr int kSmileyCount = 18;
    /// The first smiley code; codes run from 10 to 27.
    static constexpr int kFirstSmileyCode = 10;

    /**
     * Cuts @p line, "style+text". Throws morlu::FieldError when the style number is no integer (a line
     * without "+" has an empty one).
     */
    /// Reads @p line; without @p splitSpeaker the whole text stays text (the table's own notices).
    static ChatLine parse(const QString& line, bool splitSpeaker = true);

    /** True for a piece that holds "http://", "https://" or "www." (compared with case). */
    static bool iswebaddress(const QString& piece);
    /** @p text cut after each blank, so every piece but perhaps the last ends in its blank. */
    static QStringList pieces(const QString& text);
    /** What a smiley written with code @p code is typed as: ":)#" and the code. */
    static QString smileyText(int picture) { return QStringLiteral(":)#%1").arg(picture + kFirstSmileyCode); }

    int style = 0;
    QString speaker;
    QList<Item> items;

private:
    void addPieces(const QString& text);
};
