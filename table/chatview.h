#pragma once

#include <QColor>
#include <QTextBrowser>

#include <array>
#include <cstdint>

/**
 * The chat pane's read-only view `mainchat`: one paragraph per chat line, white, word-wrapped, with a
 * vertical scroll bar always shown.
 *
 * Lines are drawn in fifteen text styles (0 for system lines, 1 to 9 for the sender slots), all in
 * the chat text size. Each line gives its style the line's colour, bold, and every earlier line in
 * that style takes on the new colour too, so a sender's lines always show his latest colour.
 */
class ChatView : public QTextBrowser {
    Q_OBJECT

public:
    static constexpr int kStyleCount = 15;
    static constexpr int kDefaultTextSize = 10;

    explicit ChatView(QWidget* parent = nullptr);

    /**
     * Adds @p line, "style+text" (the style number in decimal, "+", the text), as a new paragraph in
     * the colour @p colour (0x00BBGGRR): the text up to and including its first ":" is the speaker part,
     * followed by a blank and the rest of the text; then the view scrolls to the bottom unless scroll
     * lock is on. Throws FieldError when the style number is no integer; a style number outside 0..14
     * adds nothing.
     */
    void addlinetochat(const QString& line, std::uint32_t colour);

    /** Point size of all fifteen styles; applied to the lines added from now on. */
    void setTextSize(int points) { m_textSize = points; }
    int textSize() const { return m_textSize; }

    /** While on, adding a line does not scroll the view. */
    void setScrollLock(bool on) { m_scrollLock = on; }
    bool scrollLock() const { return m_scrollLock; }

    /** The colour style @p style currently has (black before its first line). */
    QColor styleColour(int style) const { return m_styleColours.at(std::size_t(style)); }

private:
    QTextCharFormat styleFormat(int style) const;
    void recolourStyle(int style);

    std::array<QColor, kStyleCount> m_styleColours;
    int m_textSize = kDefaultTextSize;
    bool m_scrollLock = false;
    bool m_empty = true;
};
