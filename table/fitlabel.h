#pragma once

#include <QLabel>

/**
 * A one-line label of the board that always shows its whole text inside its contents rectangle (the
 * label less its contents margins): a text too wide is drawn in a smaller size, down to a floor, and
 * beyond that elided at the end. text() stays the whole text, so what the game reads back ("the name
 * of seat s") and what a screen reader says is never cut; isElided() tells when the eye sees less.
 *
 * A label can be highlighted: a soft gold pill behind its text (the own seat's name).
 */
class FitLabel : public QLabel {
    Q_OBJECT

public:
    /// A label with the board's look (see boardstyle::makeLabel), shrinking to @p smallestPixelSize.
    FitLabel(const QString& name, const QString& text, QWidget* parent, int smallestPixelSize = 8);

    /// The font the text is drawn in now (the label's font, or a smaller size of it).
    QFont fittedFont() const;
    /// The text as drawn: the whole text, or its elided start.
    QString shownText() const;
    bool isElided() const;
    /// Where the text is drawn, in the label's coordinates (empty for an empty text).
    QRect textRect() const;
    /// The line the text stands on: where the label's own font would stand, also when the text is shrunk.
    int baseline() const;

    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_smallest;
    bool m_highlighted = false;
};
