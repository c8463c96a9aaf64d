#include "chatpane.h"

#include "chatview.h"
#include "colortext.h"
#include "commands.h"
#include "fieldreader.h"

#include <QPoint>

#include <optional>

namespace {

/// Relayed lines without a readable colour are drawn in red (0x00BBGGRR).
constexpr std::uint32_t kRed = 0x0000FF;
/// The view's place in the chat area, right of the column the phrase buttons will take.
constexpr QPoint kChatAt{23, 0};

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

ChatPane::ChatPane(QWidget* area, QObject* parent) : QObject(parent), m_mainchat(new ChatView(area))
{
    m_mainchat->move(kChatAt);
}

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
