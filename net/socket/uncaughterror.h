#pragma once

#include <QString>

#include <exception>
#include <functional>

namespace morlu::uncaughterror {

/**
 * Where the text of an exception goes when it escapes a handler that the event loop called (a socket
 * notification, an in-memory delivery): exceptions cannot cross the event loop, so the connection
 * catches them and passes the text here. By default it is logged as a warning; the table shows it in a
 * message box, the session tests collect it.
 */
void setHandler(std::function<void(const QString& text)> handler);

/// Passes @p text to the handler, or logs it as a warning when none is set.
void pass(const QString& text);

/// Runs @p fn; any exception it throws is passed on as text.
template <typename Fn> void guard(Fn&& fn)
{
    try {
        fn();
    } catch (const std::exception& error) {
        pass(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        pass(QStringLiteral("Unknown error"));
    }
}

} // namespace morlu::uncaughterror
