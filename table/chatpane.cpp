#include "chatpane.h"

#include "chatbuttons.h"
#include "chatentry.h"
#include "chatview.h"
#include "colortext.h"
#include "commands.h"
#include "fieldreader.h"
#include "phrasecooldown.h"
#include "viewtext.h"

#include <QAbstractButton>
#include <QPoint>

#include <optional>

namespace {

/// Relayed lines without a readable colour are drawn in red (0x00BBGGRR).
constexpr std::uint32_t kRed = 0x0000FF;
/// The view across the top of the chat area; under it the row of phrase buttons, then the entry
/// between the chatter-sound and smiley buttons.
constexpr QPoint kChatAt{0, 0};
constexpr QRect kEntry{23, 175, 702, 22};

} // namespace

ChatPane::ChatPane(QWidget* area, const TableState& state, HostRequests& host, LinkOpener::Message message,
                   LinkOpener::Opener opener, PhraseCooldown::Clock clock, QObject* parent)
    : QObject(parent), m_mainchat(new ChatView(area)), m_mychat(new ChatEntry(area)),
      m_buttons(new ChatButtons(area, this)), m_requests(state, host, std::move(clock)),
      m_opener(std::move(message), std::move(opener))
{
    m_mainchat->move(kChatAt);
    m_mychat->setGeometry(kEntry);
    connect(m_mychat, &ChatEntry::sendRequested, this, &ChatPane::sendit);
    // During the pause after a phrase the buttons are shown disabled, so no click is lost unseen.
    m_phrasePause.setSingleShot(true);
    m_phrasePause.setInterval(int(PhraseCooldown::kMilliseconds));
    connect(&m_phrasePause, &QTimer::timeout, this, &ChatPane::phrasePauseOver);
    connect(m_buttons, &ChatButtons::phraseClicked, this, [this](const QString& phrase) {
        m_requests.b_phrase1Click(phrase);
        if (m_requests.phraseready())
            return;
        for (int n = 1; n <= ChatButtons::kPhraseCount; ++n)
            m_buttons->phraseButton(n)->setEnabled(false);
        m_phrasePause.start();
    });
    // A chatter sound sent leaves a line, so the player sees what the others heard.
    connect(m_buttons, &ChatButtons::soundChosen, this, [this](int number) {
        if (m_requests.wave20Click(number))
            systemLine(QStringLiteral("You played sound %1.").arg(number));
    });
    // After a smiley the entry keeps the keyboard, so Enter sends the line.
    connect(m_buttons, &ChatButtons::smileyChosen, m_mychat, [this](int smiley) {
        m_mychat->N271Click(smiley);
        m_mychat->setFocus(Qt::OtherFocusReason);
    });
    connect(m_mainchat, &ChatView::linkClicked, this, [this](const QString& text) { m_opener.open(text); });
    connect(m_mainchat, &ChatView::cleared, m_mychat, [this] { m_mychat->setFocus(); });
}

ChatPane::~ChatPane() = default;

void ChatPane::registerOn(morlu::Dispatcher<>& dispatcher)
{
    const auto chat = [this](std::string_view rest) { chatrecieved(rest); };
    dispatcher.add(morlu::CMD_chat, chat);
    dispatcher.add(morlu::CMD_action, chat);
    dispatcher.add(morlu::CMD_playasound, [this](std::string_view rest) { playasound(rest); });
}

void ChatPane::addlinetochat(const QString& line, std::uint32_t colour)
{
    m_mainchat->addlinetochat(line, colour);
}

void ChatPane::noticeLine(const QString& text)
{
    m_mainchat->addnotice(text, systemcolor());
}

void ChatPane::chatrecieved(std::string_view rest)
{
    const QString text = fromView(rest);
    // The colour is the text after the last "|": a colour text never holds one, while a chat text or
    // a name may, and splitting at the first would cut the line and lose its colour.
    const qsizetype bar = text.lastIndexOf(QLatin1Char('|'));
    if (bar < 0) {
        addlinetochat(text, kRed);
        return;
    }
    const std::optional<std::uint32_t> colour = ColorText::read(text.mid(bar + 1));
    addlinetochat(text.left(bar), colour.value_or(kRed));
}

void ChatPane::playasound(std::string_view rest)
{
    morlu::FieldReader reader(rest);
    const int seat = reader.intField();
    const QString name = fromView(reader.field());
    emit chatterSoundReceived(seat, name);
}

void ChatPane::phrasePauseOver()
{
    if (!m_requests.phraseready()) {
        if (!m_phrasePause.isActive())
            m_phrasePause.start();
        return;
    }
    m_phrasePause.stop();
    for (int n = 1; n <= ChatButtons::kPhraseCount; ++n)
        m_buttons->phraseButton(n)->setEnabled(true);
}

void ChatPane::sendit()
{
    if (m_requests.sendit(m_mychat->text()))
        m_mychat->clear();
}

void ChatPane::ClearMainChat1Click()
{
    m_mainchat->ClearMainChat1Click();
}

void ChatPane::setTextColour(std::uint32_t colour)
{
    m_requests.setTextColour(colour);
    QPalette colours = m_mychat->palette();
    colours.setColor(QPalette::Text, ColorText::toColor(colour));
    m_mychat->setPalette(colours);
}
