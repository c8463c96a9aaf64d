#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morlu {

/// A received line cut into its command word and the rest handed to the handler.
struct CommandLine {
    std::string_view word;
    std::string_view rest;
};

/**
 * The command word is the text before the first "+", the rest everything after that "+". A line without
 * "+" has an empty word (and an empty rest): such a line does nothing.
 */
CommandLine splitCommand(std::string_view line);

/**
 * Hands each received line to the handler of its command word. Words are compared exactly and
 * case-sensitively; an empty or unknown word is dropped without a sound.
 *
 * @p Args are extra values the owner passes along with every line, e.g. `Dispatcher<int>` for the
 * host, whose handlers also receive the connection id the line came from:
 *
 *     Dispatcher<int> dispatcher;
 *     dispatcher.add(CMD_playcard, [&](std::string_view rest, int connection) { ... });
 *     dispatcher.dispatch(line.text, line.connection);
 *
 * Errors are not swallowed: a FieldError (a numeric field that is not an integer) or any other
 * exception thrown by a handler leaves dispatch() unchanged, and the caller logs its text ("'x' is not
 * a valid integer value") and goes on with the next line. Whatever the handler did before it threw
 * stays done.
 */
template <typename... Args> class Dispatcher {
public:
    using Handler = std::function<void(std::string_view rest, Args... args)>;

    /// Registers @p handler for @p word, replacing an earlier one. An empty word is never dispatched.
    void add(std::string_view word, Handler handler)
    {
        for (auto& entry : m_entries) {
            if (entry.first == word) {
                entry.second = std::move(handler);
                return;
            }
        }
        m_entries.emplace_back(std::string(word), std::move(handler));
    }

    /// Registers @p method of @p object for @p word: `add(CMD_chat, this, &Host::chat)`.
    template <typename Object>
    void add(std::string_view word, Object* object, void (Object::*method)(std::string_view, Args...))
    {
        add(word, [object, method](std::string_view rest, Args... args) { (object->*method)(rest, args...); });
    }

    bool knows(std::string_view word) const { return find(word) != nullptr; }

    /// Runs the handler of @p line's word with its rest; false when the word is empty or unknown.
    bool dispatch(std::string_view line, Args... args) const
    {
        const CommandLine command = splitCommand(line);
        return dispatchSplit(command.word, command.rest, args...);
    }

    /// The same for a line already cut into its word and the rest after "word+".
    bool dispatchSplit(std::string_view word, std::string_view rest, Args... args) const
    {
        if (word.empty())
            return false;
        const Handler* handler = find(word);
        if (handler == nullptr || !*handler)
            return false;
        (*handler)(rest, args...);
        return true;
    }

private:
    const Handler* find(std::string_view word) const
    {
        for (const auto& entry : m_entries) {
            if (entry.first == word)
                return &entry.second;
        }
        return nullptr;
    }

    std::vector<std::pair<std::string, Handler>> m_entries;
};

} // namespace morlu
