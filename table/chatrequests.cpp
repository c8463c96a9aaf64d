#include "chatrequests.h"

#include "colortext.h"
#include "hostrequests.h"
#include "sessionmessages.h"
#include "tablestate.h"

ChatRequests::ChatRequests(const TableState& state, HostRequests& host, PhraseCooldown::Clock now)
    : m_state(state), m_host(host), m_cooldown(std::move(now))
{
}

void ChatRequests::sendText(bool action, const QString& text)
{
    const std::string utf8 = text.toStdString();
    const std::string colour = ColorText::write(m_colour).toStdString();
    m_host.sendline(action ? morlu::writeActionRequest(m_line, m_state.myseat, utf8, colour)
                           : morlu::writeChatRequest(m_line, m_state.myseat, utf8, colour));
}

bool ChatRequests::sendit(const QString& text)
{
    if (!m_state.connected)
        return false;
    if (text.isEmpty())
        return true;
    if (!text.startsWith(QLatin1Char('/'))) {
        sendText(false, text);
        return true;
    }
    // "/me" and whatever follows: the character after it is taken away with it, blank or not.
    if (text.startsWith(QLatin1String("/me")))
        sendText(true, text.mid(4));
    return true;
}

void ChatRequests::b_phrase1Click(const QString& hint)
{
    if (!m_cooldown.ready())
        return;
    if (hint.startsWith(QLatin1String("/me ")))
        sendText(true, hint.mid(4));
    else
        sendText(true, QStringLiteral("says: ") + hint);
    m_cooldown.start();
}

bool ChatRequests::wave20Click(int number)
{
    if (number < 1 || number > 20 || !m_state.connected || !m_state.isPlayerSeat())
        return false;
    m_host.sendline(morlu::PlayASound::write(m_line, m_state.myseat, number));
    return true;
}
