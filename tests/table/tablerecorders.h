#pragma once

#include "chatsink.h"
#include "hostrequests.h"
#include "tabledialogs.h"
#include "tableevents.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace morlu::test {

/// Records the chat lines a handler writes.
class ChatRecorder : public ChatSink {
public:
    /// The lines without the isolates around names; raw holds them as they came.
    std::vector<std::pair<QString, std::uint32_t>> lines;
    QStringList raw;

    void addlinetochat(const QString& line, std::uint32_t colour) override
    {
        raw << line;
        lines.emplace_back(QString(line).remove(QChar(0x2068)).remove(QChar(0x2069)), colour);
    }

    QStringList texts() const
    {
        QStringList texts;
        for (const auto& [line, colour] : lines)
            texts << line;
        return texts;
    }
};

/// Records the lines sent to the host.
class HostRecorder : public HostRequests {
public:
    std::vector<std::string> sent;
    bool reachable = true; ///< what canSend() says; the lines are recorded either way

    void sendline(std::string_view line) override { sent.emplace_back(line); }
    bool canSend() const override { return reachable; }
    /// A move is recorded too, and goes out only while reachable.
    bool sendRequest(std::string_view line) override
    {
        sent.emplace_back(line);
        return reachable;
    }
};

/// Records the boxes opened instead of showing them; askRetry() takes its answers from retryAnswers,
/// askYesNo() gives @c answer.
class DialogRecorder : public TableDialogs {
public:
    QStringList messages;
    QStringList warnings;
    QStringList questions;
    std::vector<bool> retryAnswers;
    bool answer = false;
    /// Runs when a question is asked, before it is answered.
    std::function<void()> whenAsked;
    int gameStarts = 0;

    void showMessage(const QString& text) override { messages << text; }
    void showWarning(const QString& text) override { warnings << text; }
    bool askYesNo(const QString& text) override
    {
        questions << text;
        return answer;
    }
    bool askRetry(const QString& text) override
    {
        questions << text;
        if (whenAsked)
            whenAsked();
        if (retryAnswers.empty())
            return false;
        const bool retry = retryAnswers.front();
        retryAnswers.erase(retryAnswers.begin());
        return retry;
    }
    void showGameStart() override { ++gameStarts; }
};

/// Hears everything a TableEvents reports.
class EventRecorder {
public:
    QStringList sounds;
    QStringList games;
    std::vector<bool> justWatch;

    explicit EventRecorder(TableEvents& events)
    {
        QObject::connect(&events, &TableEvents::soundRequested, &m_context,
                         [this](const QString& name) { sounds << name; });
        QObject::connect(&events, &TableEvents::gameFinished, &m_context,
                         [this](const QString& winner) { games << winner; });
        QObject::connect(&events, &TableEvents::justWatchChanged, &m_context,
                         [this](bool checked) { justWatch.push_back(checked); });
    }

private:
    QObject m_context; ///< ends the connections with the recorder
};

} // namespace morlu::test
