#pragma once

#include "launchoptions.h"
#include "morluprogram.h"
#include "tablerig.h"
#include "tchat.h"
#include "tserver.h"

#include <functional>
#include <memory>

namespace morlu::test {

/**
 * A whole program as main() builds it (the table window and its host), with the host's pauses and
 * dispatch running at event-loop speed and its log silenced. Reads like a pointer to the table window;
 * server() is the program's host. A hosting table is not announced on the local network unless
 * @p adjust turns it on (with the other options a test wants).
 */
class Program {
public:
    Program(const QStringList& arguments, int port, const std::function<void(LaunchOptions&)>& adjust = nullptr)
    {
        LaunchOptions options;
        options.arguments = arguments;
        options.port = port;
        options.pauseTickMs = 0;
        options.announce = false;
        if (adjust)
            adjust(options);
        m_program = std::make_unique<MorluProgram>(options);
        m_program->server().setLogger([](const QString&) {});
        m_program->server().setDispatchInterval(0);
        m_program->table().setSettingsPath(freshSettingsPath());
    }

    Tchat* get() const { return m_program ? &m_program->table() : nullptr; }
    Tchat* operator->() const { return get(); }
    Tchat& operator*() const { return *get(); }
    TServer& server() const { return m_program->server(); }
    /// Ends the program: its table window and its host.
    void reset() { m_program.reset(); }

private:
    std::unique_ptr<MorluProgram> m_program;
};

} // namespace morlu::test
