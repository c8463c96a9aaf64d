#include "chatview.h"

#include "colortext.h"
#include "fieldreader.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

namespace {

/// Char format property holding the text style number of a fragment.
constexpr int kStyleProperty = QTextFormat::UserProperty + 1;

} // namespace

ChatView::ChatView(QWidget* parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("mainchat"));
    setReadOnly(true);
    setOpenLinks(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setFixedSize(725, 172);
    setFrameShape(QFrame::Box);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);

    QTextFrameFormat root = document()->rootFrame()->frameFormat();
    root.setLeftMargin(5);
    root.setRightMargin(5);
    root.setTopMargin(2);
    root.setBottomMargin(2);
    document()->rootFrame()->setFrameFormat(root);
    m_styleColours.fill(QColor(Qt::black));
}

QTextCharFormat ChatView::styleFormat(int style) const
{
    QTextCharFormat format;
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(m_textSize);
    font.setBold(true);
    format.setFont(font);
    format.setForeground(m_styleColours.at(std::size_t(style)));
    format.setProperty(kStyleProperty, style);
    return format;
}

void ChatView::recolourStyle(int style)
{
    QTextCharFormat colour;
    colour.setForeground(m_styleColours.at(std::size_t(style)));
    QTextCursor cursor(document());
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().hasProperty(kStyleProperty) ||
                fragment.charFormat().intProperty(kStyleProperty) != style)
                continue;
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(colour);
        }
    }
}

void ChatView::addlinetochat(const QString& line, std::uint32_t colour)
{
    const qsizetype plus = line.indexOf(QLatin1Char('+'));
    const QString number = plus < 0 ? QString() : line.left(plus);
    const int style = morlu::toInt(number.toStdString());
    if (style < 0 || style >= kStyleCount) {
        qWarning("Morlu: chat line with style %d dropped", style);
        return;
    }
    QString text = line.mid(plus + 1);
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const QString speaker = colon < 0 ? QString() : text.left(colon + 1);
    text.remove(0, colon + 1);

    const QColor newColour = ColorText::toColor(colour);
    if (newColour != m_styleColours.at(std::size_t(style))) {
        m_styleColours.at(std::size_t(style)) = newColour;
        recolourStyle(style);
    }
    const QTextCharFormat format = styleFormat(style);

    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (!m_empty)
        cursor.insertBlock();
    m_empty = false;
    cursor.insertText(speaker + QLatin1Char(' '), format);
    if (!text.isEmpty())
        cursor.insertText(text + QLatin1Char(' '), format);

    if (!m_scrollLock)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}
