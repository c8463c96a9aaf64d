#include "chatview.h"

#include "artwork.h"
#include "boardscaler.h"
#include "chatline.h"
#include "colortext.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

/// Char format property holding the text style number of a fragment.
constexpr int kStyleProperty = QTextFormat::UserProperty + 1;
/// Links are drawn green (clGreen) and underlined.
const QColor kLinkColour(0, 128, 0);
const QString kLinkScheme = QStringLiteral("chatlink");
const QString kSmileyScheme = QStringLiteral("smiley");
/// First strong isolate and pop directional isolate: what stands between them is laid out on its own,
/// so a right-to-left override in a name or a relayed text cannot reach the rest of the line.
constexpr QChar kIsolate(0x2068);
constexpr QChar kEndIsolate(0x2069);
/// What a relayed chat line puts after the sender's name.
const QString kChats = QStringLiteral(" chats:");

QUrl smileyUrl(int picture)
{
    return QUrl(kSmileyScheme + QLatin1Char(':') + QString::number(picture));
}

} // namespace

ChatView::ChatView(QWidget* parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("mainchat"));
    setReadOnly(true);
    // Nothing is ever fetched or followed by the view itself: a click only reports its link number.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setUndoRedoEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setFixedSize(748, 150);
    setFrameShape(QFrame::Box);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);

    // Every line reads left to right, whatever its first letters are.
    QTextOption layout = document()->defaultTextOption();
    layout.setTextDirection(Qt::LeftToRight);
    document()->setDefaultTextOption(layout);
    QTextFrameFormat root = document()->rootFrame()->frameFormat();
    root.setLeftMargin(5);
    root.setRightMargin(5);
    root.setTopMargin(2);
    root.setBottomMargin(2);
    document()->rootFrame()->setFrameFormat(root);
    m_styleColours.fill(QColor(Qt::black));
    for (int picture = 0; picture < ChatLine::kSmileyCount; ++picture)
        document()->addResource(QTextDocument::ImageResource, smileyUrl(picture),
                                Artwork::smiley(picture, devicePixelRatioF()).toImage());

    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &ChatView::recolourShown);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme() == kLinkScheme)
            mainchatJump(url.path().toInt());
    });
    buildMenu();
}

void ChatView::buildMenu()
{
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("popup_mainchat"));
    QAction* selectAll = m_popup->addAction(QStringLiteral("Select All"), this, &ChatView::SelectAll1Click);
    selectAll->setObjectName(QStringLiteral("SelectAll1"));
    QAction* copy = m_popup->addAction(QStringLiteral("Copy"), this, &ChatView::Copy1Click);
    copy->setObjectName(QStringLiteral("Copy1"));
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    QAction* clear = m_popup->addAction(QStringLiteral("Clear Main Chat"), this, &ChatView::ClearMainChat1Click);
    clear->setObjectName(QStringLiteral("ClearMainChat1"));
    m_popup->addSeparator();
    m_scrollChatOff1 = m_popup->addAction(QStringLiteral("Scroll Chat Off"), this, &ChatView::ScrollChatOff1Click);
    m_scrollChatOff1->setObjectName(QStringLiteral("ScrollChatOff1"));
    m_scrollChatOff1->setCheckable(true);
    // Shown in the menu; the key itself belongs to the Options item, which works wherever the focus is.
    m_scrollChatOff1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_scrollChatOff1->setShortcutContext(Qt::WidgetShortcut);
}

void ChatView::contextMenuEvent(QContextMenuEvent* event)
{
    m_popup->popup(event->globalPos());
    event->accept();
}

QFont ChatView::chatFont() const
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(shownTextSize());
    font.setBold(true);
    return font;
}

QTextCharFormat ChatView::styleFormat(int style) const
{
    QTextCharFormat format;
    format.setFont(chatFont());
    format.setForeground(m_styleColours.at(std::size_t(style)));
    format.setProperty(kStyleProperty, style);
    return format;
}

QTextCharFormat ChatView::linkFormat(int number) const
{
    QTextCharFormat format;
    QFont font = chatFont();
    font.setUnderline(true);
    format.setFont(font);
    format.setForeground(kLinkColour);
    format.setAnchor(true);
    // The anchor names the link's number, never its text: the text is looked up in linktable.
    format.setAnchorHref(kLinkScheme + QLatin1Char(':') + QString::number(number));
    return format;
}

void ChatView::recolourShown()
{
    if (m_empty)
        return;
    // Only the lines in sight: a line scrolled into view later is brought up to date then.
    const QTextBlock first = cursorForPosition(QPoint(0, 0)).block();
    const QTextBlock last = cursorForPosition(QPoint(0, viewport()->height())).block();
    if (!first.isValid())
        return;
    QTextCursor cursor(document());
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().hasProperty(kStyleProperty))
                continue;
            const int style = fragment.charFormat().intProperty(kStyleProperty);
            if (style < 0 || style >= kStyleCount ||
                fragment.charFormat().foreground().color() == m_styleColours.at(std::size_t(style)))
                continue;
            QTextCharFormat colour;
            colour.setForeground(m_styleColours.at(std::size_t(style)));
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(colour);
        }
        if (block == last)
            break;
    }
}

void ChatView::dropOldestLines()
{
    while (document()->blockCount() > kMaxLines) {
        QTextCursor cursor(document());
        cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        // Its links go with it; their numbers are never given again.
        if (!m_lineLinks.empty()) {
            const auto [from, count] = m_lineLinks.front();
            for (int number = from; number < from + count; ++number)
                m_linktable.remove(number);
            m_lineLinks.pop_front();
        }
    }
}

void ChatView::resizeEvent(QResizeEvent* event)
{
    QTextBrowser::resizeEvent(event);
    // The board draws the view wider as it grows; the text follows in the same proportion.
    const int designed = BoardScaler::designedGeometry(this).width();
    if (designed > 0)
        setScale(qreal(width()) / designed);
    recolourShown();
}

void ChatView::setScale(qreal scale)
{
    m_scale = scale > 0.0 && std::isfinite(scale) ? scale : 1.0;
    if (shownTextSize() != m_shownTextSize)
        relayout();
}

int ChatView::shownTextSize() const
{
    // Clamped before it is an int again: a size from a hand-edited file may be near the int's end.
    return int(
        std::clamp(std::llround(double(m_textSize) * m_scale), (long long)kMinShownSize, (long long)kMaxShownSize));
}

void ChatView::relayout()
{
    QTextCharFormat size;
    size.setFontPointSize(shownTextSize());
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.mergeCharFormat(size);
    m_shownTextSize = shownTextSize();
}

void ChatView::addlinetochat(const QString& line, std::uint32_t colour)
{
    addParsed(ChatLine::parse(line), colour);
}

void ChatView::addnotice(const QString& text, std::uint32_t colour)
{
    addParsed(ChatLine::parse(QStringLiteral("0+") + text, false), colour);
}

void ChatView::addParsed(const ChatLine& chat, std::uint32_t colour)
{
    if (chat.style < 0 || chat.style >= kStyleCount) {
        qWarning("Morlu: chat line with style %d dropped", chat.style);
        return;
    }
    // The style takes the line's colour; earlier lines show it as they come into sight.
    m_styleColours.at(std::size_t(chat.style)) = ColorText::toColor(colour);
    // A size chosen from the menu shows from the next line on, for the whole view.
    if (m_shownTextSize != shownTextSize())
        relayout();

    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (!m_empty)
        cursor.insertBlock();
    m_empty = false;
    const int firstLink = m_linkcount + 1;
    insertItems(cursor, chat);
    m_lineLinks.emplace_back(firstLink, m_linkcount + 1 - firstLink);
    dropOldestLines();

    if (!m_scrollLock)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    recolourShown();
}

void ChatView::insertItems(QTextCursor& cursor, const ChatLine& chat)
{
    const QTextCharFormat format = styleFormat(chat.style);
    QTextBlockFormat paragraph = cursor.blockFormat();
    paragraph.setLayoutDirection(Qt::LeftToRight);
    cursor.setBlockFormat(paragraph);
    const bool relayed = chat.style != 0;
    if (relayed && !chat.speaker.isEmpty()) {
        // The sender's name on its own, then what the line says after it.
        const qsizetype nameLength = chat.speaker.size() - (chat.speaker.endsWith(kChats) ? kChats.size() : 1);
        cursor.insertText(kIsolate + chat.speaker.left(nameLength) + kEndIsolate + chat.speaker.mid(nameLength) +
                              QLatin1Char(' '),
                          format);
    } else {
        cursor.insertText(chat.speaker + QLatin1Char(' '), format);
    }
    if (relayed)
        cursor.insertText(QString(kIsolate), format);
    for (const ChatLine::Item& item : chat.items) {
        switch (item.kind) {
        case ChatLine::Item::Kind::Text:
            cursor.insertText(item.text, format);
            break;
        case ChatLine::Item::Kind::Link:
            ++m_linkcount;
            m_linktable.insert(m_linkcount, item.text);
            cursor.insertText(item.text, linkFormat(m_linkcount));
            break;
        case ChatLine::Item::Kind::Smiley: {
            QTextImageFormat image;
            image.setName(smileyUrl(item.smiley).toString());
            image.setProperty(kStyleProperty, -1 - item.smiley);
            cursor.insertImage(image);
            break;
        }
        }
    }
    if (relayed)
        cursor.insertText(QString(kEndIsolate), format);
}

void ChatView::setScrollLock(bool on)
{
    m_scrollChatOff1->setChecked(on);
    if (on == m_scrollLock)
        return;
    m_scrollLock = on;
    emit scrollLockChanged(on);
}

void ChatView::mainchatJump(int number)
{
    QString text = m_linktable.value(number);
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    emit linkClicked(text);
}

void ChatView::SelectAll1Click()
{
    selectAll();
}

QString ChatView::selectedPlainText() const
{
    const QTextCursor selection = textCursor();
    if (!selection.hasSelection())
        return {};
    QString text;
    const int from = selection.selectionStart();
    const int to = selection.selectionEnd();
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        if (block.position() > from && !text.isEmpty())
            text += QLatin1Char('\n');
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(from, fragment.position());
            const int end = std::min(to, fragment.position() + fragment.length());
            if (start >= end)
                continue;
            const QTextImageFormat image = fragment.charFormat().toImageFormat();
            if (image.isValid() && image.name().startsWith(kSmileyScheme)) {
                // A copied smiley pastes back as the code that writes it.
                text += ChatLine::smileyText(QUrl(image.name()).path().toInt()).repeated(end - start);
                continue;
            }
            text += fragment.text().mid(start - fragment.position(), end - start);
        }
    }
    // The isolates are part of the drawing, not of what was said.
    text.remove(kIsolate);
    text.remove(kEndIsolate);
    return text;
}

QMimeData* ChatView::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    data->setText(selectedPlainText());
    return data;
}

void ChatView::Copy1Click()
{
    const QString text = selectedPlainText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void ChatView::ClearMainChat1Click()
{
    // Removing the text keeps the view's margins and its smiley pictures.
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.setCharFormat(QTextCharFormat());
    m_empty = true;
    m_linktable.clear();
    m_lineLinks.clear();
    emit cleared();
}
