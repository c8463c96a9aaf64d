#include "chatbuttons.h"

#include "artwork.h"
#include "chatline.h"
#include "chattersounds.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace {

/// The column left of the view: nine phrase buttons, then the sound button beside the entry.
constexpr QSize kButton{21, 19};
constexpr int kEntryTop = 174;
constexpr QSize kEntryButton{21, 22};
constexpr int kSmileyLeft = 727;

QToolButton* glyphButton(QWidget* area, const QString& name, const QPixmap& glyph)
{
    auto* button = new QToolButton(area);
    button->setObjectName(name);
    button->setIcon(glyph);
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

/// Opens @p menu with its top left corner at the bottom right corner of @p button.
void openBelow(QMenu* menu, const QAbstractButton* button)
{
    menu->popup(button->mapToGlobal(QPoint(button->width(), button->height())));
}

} // namespace

ChatButtons::ChatButtons(QWidget* area, QObject* parent) : QObject(parent)
{
    const qreal dpr = area->devicePixelRatioF();
    for (int n = 1; n <= kPhraseCount; ++n) {
        QToolButton* button = glyphButton(area, QStringLiteral("b_phrase%1").arg(n), Artwork::phraseGlyph(dpr));
        button->setGeometry(QRect(QPoint(0, (n - 1) * kButton.height()), kButton));
        button->setToolTip(QString::fromLatin1(kBuiltInPhrases.at(std::size_t(n - 1))));
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
    m_phrases.at(std::size_t(n - 1))->setToolTip(text);
}

void ChatButtons::b_phrase10Click()
{
    openBelow(m_soundMenu, m_sound);
}

void ChatButtons::button_smiliesClick()
{
    openBelow(m_smileyMenu, m_smilies);
}
