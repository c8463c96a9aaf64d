#include "soaktable.h"

#include "commands.h"
#include "gamemessages.h"
#include "lineframer.h"

namespace morlu::test {

namespace {

/// Steps between two pings of the host player, and the names of the parts.
constexpr int kPingEvery = 5;

const char* nameOf(SoakTable::Part part)
{
    static const char* const names[] = {"Host",    "Player",  "Watcher", "Leaver",   "Chatter",
                                        "Garbage", "Flooder", "Silent",  "Spectator"};
    return names[int(part)];
}

} // namespace

SoakTable::SoakTable(Part part, quint16 port, std::uint32_t seed, Findings& findings)
    : m_part(part), m_port(port), m_findings(findings), m_random(seed)
{
    connect();
}

bool SoakTable::wellBehaved() const
{
    return m_part == Part::HostPlayer || m_part == Part::Player || m_part == Part::Watcher || m_part == Part::Spectator;
}

void SoakTable::connect()
{
    m_table = std::make_unique<TestTable>(m_port);
    m_table->keepLines = false;
    m_table->onLine = [this](std::string_view line) { hear(line); };
    m_loggedIn = false;
    m_player.reset();
}

std::string SoakTable::randomText(std::size_t length)
{
    std::string text;
    text.reserve(length);
    static const std::string_view alphabet = "abcdefghijklmnopqrstuvwxyz +|:\xC3\xA9";
    for (std::size_t i = 0; i < length; ++i)
        text += alphabet[m_random() % alphabet.size()];
    return text;
}

void SoakTable::hear(std::string_view line)
{
    if (line.size() > LineFramer::kMaxLine && wellBehaved())
        ++m_findings.overlongLines;
    const std::string_view word = wordOf(line);
    if (word == CMD_sendlogininfo && m_part != Part::Silent) {
        m_table->send("CMD_logininfo+" + slotText() + "+1.0.5+" + nameOf(m_part));
        m_loggedIn = true;
        if (m_table->slot() <= 4)
            m_player = std::make_unique<ScriptedPlayer>(m_table->slot());
        if (m_part == Part::HostPlayer)
            m_table->send("CMD_botspeed+1+0+");
        return;
    }
    if (m_part == Part::HostPlayer)
        hostPlayer(line);
    if (m_player) {
        const std::string reply = m_player->feed(line);
        if (!reply.empty())
            m_table->send(reply);
    }
}

void SoakTable::hostPlayer(std::string_view line)
{
    const std::string_view word = wordOf(line);
    const std::string_view rest = line.substr(std::min(line.size(), word.size() + 1));
    if (word == CMD_scores) {
        const Scores scores = Scores::read(rest);
        int total = 0;
        for (const ScoreGroup& group : scores.groups)
            total += group.bank;
        ++m_findings.scoreLines;
        m_findings.unbalancedScores += total == 40000 && scores.groups.size() == 4 ? 0 : 1;
    } else if (word == CMD_winner) {
        ++m_findings.gamesFinished;
        m_gameRunning = false;
    } else if (word == CMD_chat && line == m_pingLine) {
        m_findings.longestRoundTrip = std::max(m_findings.longestRoundTrip, m_pingSent.elapsed());
        ++m_findings.roundTrips;
        m_pingLine.clear();
    }
}

void SoakTable::step(bool calm)
{
    ++m_steps;
    if (m_table->closedByHost() && m_reconnectAt == 0) {
        // Spectators are removed by the host player now and then; the other good tables never go.
        if (wellBehaved() && m_part != Part::Spectator)
            ++m_findings.wellBehavedDropped;
        m_reconnectAt = m_steps + 5 + int(m_random() % 20);
    }
    if (m_reconnectAt != 0) {
        if (m_steps >= m_reconnectAt) {
            m_reconnectAt = 0;
            ++m_findings.reconnects;
            connect();
        }
        return;
    }
    if (m_loggedIn && m_table->connected())
        act(calm);
}

void SoakTable::act(bool calm)
{
    const int dice = int(m_random() % 1000);
    const std::string s = slotText();
    switch (m_part) {
    case Part::HostPlayer:
        if (!m_gameRunning && !calm) {
            m_table->send("CMD_startgame+Host+s+");
            m_gameRunning = true;
            ++m_findings.gamesStarted;
        }
        if (m_steps % kPingEvery == 0 && m_pingLine.empty()) {
            const std::string text = "ping " + std::to_string(++m_ping);
            m_pingLine = "CMD_chat+1+Host chats: " + text + "|clBlack";
            m_pingSent.start();
            m_table->send("CMD_chat+1+" + text + "|clBlack");
        }
        if (dice < 3)
            m_table->send("CMD_kickhim+1+" + std::to_string(5 + m_random() % 5) + "+");
        return;
    case Part::Watcher:
        if (dice < 10) {
            m_watching = !m_watching;
            m_table->send("CMD_justwatch+" + s + (m_watching ? "+1" : "+2"));
        }
        return;
    case Part::Leaver:
        if (dice < 4) {
            if (dice % 2 == 0)
                m_table->reset();
            else
                m_table->close();
            m_reconnectAt = m_steps + 10;
        }
        return;
    case Part::Chatter:
        if (dice < 100)
            m_table->send("CMD_chat+" + s + "+" + randomText(m_random() % 300) + "|clBlue");
        else if (dice < 130)
            m_table->send("CMD_action+" + s + "+says: " + randomText(m_random() % 50) + "|$00FF00FF");
        else if (dice < 150)
            m_table->send("CMD_playasound+" + s + "+wave" + std::to_string(1 + m_random() % 20) + "+");
        return;
    case Part::Garbage:
        if (calm || dice >= 200)
            return;
        if (dice < 50) {
            QByteArray bytes;
            for (int i = 0; i < 500; ++i)
                bytes += char(m_random() % 256);
            m_table->sendRaw(bytes);
        } else if (dice < 100) {
            m_table->sendRaw(QByteArray(int(m_random() % 2000), char(0xFF)));
        } else if (dice < 150) {
            m_table->send("CMD_playcard+" + std::to_string(m_random() % 12) + "+" + randomText(5) + "+");
        } else {
            m_table->send("CMD_logininfo+1+1.0.5+Host");
        }
        return;
    case Part::Flooder:
        if (calm || dice >= 15)
            return;
        if (dice < 10) {
            const std::string text(60000, 'f');
            for (int i = 0; i < 40; ++i)
                m_table->send("CMD_chat+" + s + "+" + text + "|clRed");
        } else {
            // Over the limit: the host closes this table; it comes back later.
            m_table->sendRaw(QByteArray(int(LineFramer::kMaxLine) + 100, 'F'));
        }
        return;
    case Part::Player:
    case Part::Silent:
    case Part::Spectator:
        return;
    }
}

} // namespace morlu::test
