#include "recordingoutbox.h"

namespace morlu::test {

namespace {

std::string withoutTerminator(std::string_view line)
{
    if (!line.empty() && static_cast<unsigned char>(line.back()) == 0xFF)
        line.remove_suffix(1);
    return std::string(line);
}

} // namespace

void RecordingOutbox::toSlot(int slot, std::string_view line)
{
    m_sent.push_back({slot, withoutTerminator(line)});
}

void RecordingOutbox::toAll(std::string_view line)
{
    m_sent.push_back({0, withoutTerminator(line)});
}

std::vector<std::string> RecordingOutbox::lines(std::string_view word) const
{
    std::vector<std::string> result;
    for (const Sent& sent : m_sent) {
        const std::string_view line = sent.line;
        if (line.substr(0, line.find('+')) == word)
            result.push_back(sent.line);
    }
    return result;
}

std::vector<std::string> RecordingOutbox::transcript() const
{
    std::vector<std::string> result;
    result.reserve(m_sent.size());
    for (const Sent& sent : m_sent)
        result.push_back((sent.slot ? std::to_string(sent.slot) : std::string("*")) + ":" + sent.line);
    return result;
}

} // namespace morlu::test
