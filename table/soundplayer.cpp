#include "soundplayer.h"

#include "chatsink.h"
#include "chattersounds.h"
#include "soundoutput.h"

SoundPlayer::SoundPlayer(SoundOutput& output, ChatSink& chat, SeatName seatName, QObject* parent)
    : QObject(parent), m_output(output), m_chat(chat), m_seatName(std::move(seatName))
{
}

void SoundPlayer::playsounds(const QString& name)
{
    if (m_playSounds && !m_muted)
        m_output.play(name.toLower());
}

void SoundPlayer::playasound(int seat, const QString& name)
{
    const QString title = chattersounds::titleOf(name);
    if (title.isEmpty())
        return;
    if (m_chatterSounds) {
        if (!m_muted)
            m_output.play(name.toLower());
        return;
    }
    const QString sender = m_seatName ? m_seatName(seat) : QString();
    if (sender.isEmpty())
        return;
    m_chat.systemLine(ChatSink::isolated(sender) + QStringLiteral(": <Chatter Sound> ") + title);
}
