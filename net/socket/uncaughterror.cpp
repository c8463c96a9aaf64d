#include "uncaughterror.h"

#include <QtDebug>

namespace morlu::uncaughterror {

namespace {

std::function<void(const QString&)>& handler()
{
    static std::function<void(const QString&)> current;
    return current;
}

} // namespace

void setHandler(std::function<void(const QString& text)> newHandler)
{
    handler() = std::move(newHandler);
}

void pass(const QString& text)
{
    if (handler())
        handler()(text);
    else
        qWarning("Unhandled error in a socket event: %s", qPrintable(text));
}

} // namespace morlu::uncaughterror
