#include "chatrequests.h"

#include "colortext.h"
#include "hostrequests.h"
#include "lineframer.h"

#include <algorithm>
#include "sessionmessages.h"
#include "tablestate.h"

ChatRequests::ChatRequests(const TableState& state, HostRequests& host, PhraseCooldown::Clock now)
    : m_state(state), m_host(host), m_cooldown(std::move(now))
{
}

void ChatRequests::sendText(bool action, const QString& text)
{
    std::string utf8 = text.toStdString();
    const std::string colour = ColorText::write(m_colour).toStdString();
    const auto build = [&] {
        return action ? morlu::writeActionRequest(m_line, m_state.myseat, utf8, colour)
                      : morlu::writeChatRequest(m_line, m_state.myseat, utf8, colour);
    };
    // The host closes a table whose line is longer than it reads (the 0xFF not counted): the text is
    // cut to fit, on a character boundary.
    const std::size_t length = build().size() - 1;
    if (length > morlu::LineFramer::kMaxLine) {
        std::size_t keep = utf8.size() - std::min(utf8.size(), length - morlu::LineFramer::kMaxLine);
        while (keep > 0 && (static_cast<unsigned char>(utf8[keep]) & 0xC0) == 0x80)
            --keep;
        utf8.resize(keep);
    }
    m_host.sendline(build());
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
