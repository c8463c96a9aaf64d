#include "chatbuttons.h"

#include "artwork.h"
#include "boardstyle.h"
#include "chatline.h"
#include "chattersounds.h"

#include <QAction>
#include <QEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionToolButton>
#include <QToolButton>

namespace {

/// The row of phrase buttons under the view, across the chat area; the entry row under it.
constexpr int kRowTop = 152;
constexpr int kRowHeight = 21;
constexpr int kRowWidth = 748;
constexpr int kGap = 2;
constexpr int kEntryTop = 175;
constexpr QSize kEntryButton{21, 22};
constexpr int kSmileyLeft = 727;
/// The glyph buttons' pictures are drawn this many times finer than the screen needs: an icon is never
/// drawn larger than its picture, and the buttons grow with the board.
constexpr qreal kGlyphDetail = 4.0;

QToolButton* glyphButton(QWidget* area, const QString& name, const QPixmap& glyph)
{
    auto* button = new QToolButton(area);
    button->setObjectName(name);
    button->setIcon(glyph);
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

/// A phrase button: the phrase is its tooltip, and it shows as much of it as fits, whole words first.
class PhraseButton : public QToolButton {
public:
    explicit PhraseButton(QWidget* area) : QToolButton(area)
    {
        setToolButtonStyle(Qt::ToolButtonTextOnly);
        setAutoRaise(false);
        setFocusPolicy(Qt::NoFocus);
        setFont(boardstyle::font(11));
    }
    void setPhrase(const QString& phrase)
    {
        setToolTip(phrase);
        setAccessibleName(phrase);
        fit();
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QToolButton::resizeEvent(event);
        fit();
    }
    void changeEvent(QEvent* event) override
    {
        QToolButton::changeEvent(event);
        if (event->type() == QEvent::FontChange)
            fit();
    }

private:
    void fit()
    {
        // What the button's frame and margins take around its text (a tool button keeps a blank's
        // width free at either end of its caption).
        QStyleOptionToolButton option;
        initStyleOption(&option);
        option.text.clear();
        const int frame = style()->sizeFromContents(QStyle::CT_ToolButton, &option, QSize(0, 0), this).width() +
                          2 * fontMetrics().horizontalAdvance(QLatin1Char(' '));
        setText(ChatButtons::buttonText(toolTip(), fontMetrics(), width() - frame));
    }
};

/// Opens @p menu with its top left corner at the bottom right corner of @p button.
void openBelow(QMenu* menu, const QAbstractButton* button)
{
    menu->popup(button->mapToGlobal(QPoint(button->width(), button->height())));
}

} // namespace

ChatButtons::ChatButtons(QWidget* area, QObject* parent) : QObject(parent)
{
    const qreal dpr = area->devicePixelRatioF() * kGlyphDetail;
    for (int n = 1; n <= kPhraseCount; ++n) {
        auto* button = new PhraseButton(area);
        button->setObjectName(QStringLiteral("b_phrase%1").arg(n));
        // Nine equal buttons across the row, the last one ending at the row's end.
        const int left = (n - 1) * (kRowWidth + kGap) / kPhraseCount;
        const int right = n * (kRowWidth + kGap) / kPhraseCount - kGap;
        button->setGeometry(QRect(left, kRowTop, right - left, kRowHeight));
        button->setPhrase(QString::fromLatin1(kBuiltInPhrases.at(std::size_t(n - 1))));
        connect(button, &QToolButton::clicked, this, [this, button] { emit phraseClicked(button->toolTip()); });
        m_phrases.at(std::size_t(n - 1)) = button;
    }
    QToolButton* sound = glyphButton(area, QStringLiteral("b_phrase10"), Artwork::soundGlyph(dpr));
    sound->setGeometry(QRect(QPoint(0, kEntryTop), kEntryButton));
    sound->setToolTip(QStringLiteral("Play Chatter Sounds"));
    connect(sound, &QToolButton::clicked, this, &ChatButtons::b_phrase10Click);
    m_sound = sound;

    QToolButton* smilies = glyphButton(area, QStringLiteral("button_smilies"), Artwork::smiley(0, dpr));
    smilies->setGeometry(QRect(QPoint(kSmileyLeft, kEntryTop), kEntryButton));
    smilies->setToolTip(QStringLiteral("Smilies"));
    connect(smilies, &QToolButton::clicked, this, &ChatButtons::button_smiliesClick);
    m_smilies = smilies;
    buildMenus();
}

QString ChatButtons::buttonText(const QString& phrase, const QFontMetrics& metrics, int width)
{
    const QStringList words = phrase.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty() || width <= 0)
        return QString();
    const QString whole = words.join(QLatin1Char(' '));
    if (metrics.horizontalAdvance(whole) <= width)
        return whole;
    // As many leading words as fit with an ellipsis after them, so that "Way To Go!" and "Way To Go
    // Teamie!" do not look alike; a first word too long for the button is elided itself.
    const QString ellipsis(QChar(0x2026));
    QString shown;
    QString lead = words.at(0);
    for (qsizetype n = 1; n < words.size() && metrics.horizontalAdvance(lead + ellipsis) <= width; ++n) {
        shown = lead + ellipsis;
        lead += QLatin1Char(' ') + words.at(n);
    }
    return shown.isEmpty() ? metrics.elidedText(words.at(0), Qt::ElideRight, width) : shown;
}

void ChatButtons::buildMenus()
{
    m_soundMenu = new QMenu(m_sound);
    m_soundMenu->setObjectName(QStringLiteral("popup_sounds"));
    m_soundMenu->setToolTipsVisible(true);
    for (int number = 0; number <= chattersounds::kCount; ++number) {
        const QString title = number == 0 ? QStringLiteral("<Cancel>")
                                          : QString::fromLatin1(chattersounds::kTitles.at(std::size_t(number - 1)));
        QAction* item = m_soundMenu->addAction(title, this, [this, number] { emit soundChosen(number); });
        item->setObjectName(QStringLiteral("wave%1").arg(number));
        item->setToolTip(title);
    }

    m_smileyMenu = new QMenu(m_smilies);
    m_smileyMenu->setObjectName(QStringLiteral("popup_smilies"));
    const qreal dpr = m_smilies->devicePixelRatioF();
    for (int picture = 0; picture < ChatLine::kSmileyCount; ++picture) {
        const int code = picture + ChatLine::kFirstSmileyCode;
        QAction* item = m_smileyMenu->addAction(QIcon(Artwork::smiley(picture, dpr)), ChatLine::smileyText(picture),
                                                this, [this, code] { emit smileyChosen(code); });
        item->setObjectName(QStringLiteral("smiley%1").arg(code));
    }
}

QString ChatButtons::phrase(int n) const
{
    return m_phrases.at(std::size_t(n - 1))->toolTip();
}

void ChatButtons::setPhrase(int n, const QString& text)
{
    static_cast<PhraseButton*>(m_phrases.at(std::size_t(n - 1)))->setPhrase(text);
}

void ChatButtons::b_phrase10Click()
{
    openBelow(m_soundMenu, m_sound);
}

void ChatButtons::button_smiliesClick()
{
    openBelow(m_smileyMenu, m_smilies);
}
