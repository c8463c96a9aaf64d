#pragma once

#include <QColor>
#include <QHash>
#include <QTextBrowser>

#include <array>
#include <cstdint>
#include <deque>
#include <utility>

class ChatLine;
class QAction;
class QMenu;

/**
 * The chat pane's read-only view `mainchat`: one paragraph per chat line, white, word-wrapped, with a
 * vertical scroll bar always shown.
 *
 * Lines are drawn in fifteen text styles (0 for system lines, 1 to 9 for the sender slots), all in
 * the chat text size. Each line gives its style the line's colour, bold, and every earlier line in
 * that style shows the new colour too, so a sender's lines always show his latest colour. Only the
 * lines in sight are recoloured; a line takes its style's colour when it comes into sight, so a
 * colour change costs no more than the lines on screen, however long the history. The view keeps the
 * last kMaxLines lines; older ones are dropped with their links. Smileys
 * stand inline as pictures; web addresses are green underlined links that report a click
 * (linkClicked) with the text they were written with. Everything is inserted as plain text: a line
 * holding markup shows the markup's characters. Every line reads left to right; in a relayed line the
 * sender's name and the text are each isolated (U+2068 ... U+2069), so direction controls in either
 * cannot reverse the rest of the line (Copy leaves the isolates out).
 *
 * Links are numbered by `linkcount`, which only ever rises, and `linktable` holds the text of every
 * link the view still shows under its number. A number is never used twice, so a click always finds
 * the link it was drawn for, however many links came before and after "Clear Main Chat" (which empties
 * the table along with the view).
 *
 * Its menu `popup_mainchat` holds "Select All", "Copy" (Ctrl+C, plain text), "Clear Main Chat" and
 * "Scroll Chat Off" (Ctrl+S).
 */
class ChatView : public QTextBrowser {
    Q_OBJECT

public:
    static constexpr int kStyleCount = 15;
    static constexpr int kDefaultTextSize = 10;
    /// Lines the view keeps; the oldest goes when another comes.
    static constexpr int kMaxLines = 2000;

    explicit ChatView(QWidget* parent = nullptr);

    /**
     * Adds @p line, "style+text" (the style number in decimal, "+", the text), as a new paragraph in
     * the colour @p colour (0x00BBGGRR): the speaker part, a blank, then the text piece by piece with
     * its smileys and links; then the view scrolls to the bottom unless scroll lock is on. Throws
     * FieldError when the style number is no integer; a style number outside 0..14 adds nothing.
     */
    void addlinetochat(const QString& line, std::uint32_t colour);
    /// One of the table's own notices in the system style, whole: no speaker part is split off at a colon.
    void addnotice(const QString& text, std::uint32_t colour);

    /** Point size of all fifteen styles; the view shows it from the next line added (or relayout()). */
    void setTextSize(int points) { m_textSize = points; }
    int textSize() const { return m_textSize; }
    /** Draws every line again in the current text size. */
    void relayout();
    /**
     * The view is drawn @p scale times its designed size (it follows the board's width by itself): the
     * text grows with it at once, from kMinShownSize to kMaxShownSize points.
     */
    void setScale(qreal scale);
    /** The point size the lines are drawn in: the text size grown with the board's scale. */
    int shownTextSize() const;
    static constexpr int kMinShownSize = 6;
    static constexpr int kMaxShownSize = 26;

    /** While on, adding a line does not scroll the view; both "Scroll Chat Off" items show it. */
    void setScrollLock(bool on);
    bool scrollLock() const { return m_scrollLock; }

    /** The colour style @p style currently has (black before its first line). */
    QColor styleColour(int style) const { return m_styleColours.at(std::size_t(style)); }

    /** The number the last link was given (-1 before the first). */
    int linkcount() const { return m_linkcount; }
    /** The text of link @p number as it was written (trailing blank included); empty when it has none. */
    QString linkText(int number) const { return m_linktable.value(number); }
    /** A click on link @p number: reports its text without trailing blanks (empty for an unknown number). */
    void mainchatJump(int number);

    /** "Select All". */
    void SelectAll1Click();
    /** "Copy": the selection as plain text, smileys written as their codes. */
    void Copy1Click();
    /** "Clear Main Chat": removes every line and every link. */
    void ClearMainChat1Click();
    /** Either "Scroll Chat Off" item: toggles scroll lock. */
    void ScrollChatOff1Click() { setScrollLock(!m_scrollLock); }

    QMenu* popupMenu() const { return m_popup; }

signals:
    /** A link was clicked; @p text is what the link holds, trailing blanks stripped. */
    void linkClicked(const QString& text);
    void scrollLockChanged(bool on);
    /** "Clear Main Chat" was chosen here (the entry takes the focus). */
    void cleared();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    /// The chat text's face: bold, at the chosen text size.
    QFont chatFont() const;
    QTextCharFormat styleFormat(int style) const;
    QTextCharFormat linkFormat(int number) const;
    /// Gives every line in sight its style's current colour.
    void recolourShown();
    /// Drops the oldest lines beyond kMaxLines, with their links.
    void dropOldestLines();
    /// Adds a read line in @p colour (its style takes the colour).
    void addParsed(const ChatLine& chat, std::uint32_t colour);
    void insertItems(QTextCursor& cursor, const ChatLine& chat);
    void buildMenu();
    QString selectedPlainText() const;

    std::array<QColor, kStyleCount> m_styleColours;
    int m_textSize = kDefaultTextSize;
    int m_shownTextSize = kDefaultTextSize;
    qreal m_scale = 1.0;
    bool m_scrollLock = false;
    bool m_empty = true;
    int m_linkcount = -1;
    QHash<int, QString> m_linktable;
    /// Per line, oldest first: the number of its first link and how many it has.
    std::deque<std::pair<int, int>> m_lineLinks;
    QMenu* m_popup = nullptr;
    QAction* m_scrollChatOff1 = nullptr;
};
