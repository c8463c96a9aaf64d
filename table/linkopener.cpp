#include "linkopener.h"

#include <QDesktopServices>

LinkOpener::LinkOpener(Message message, Opener opener) : m_message(std::move(message)), m_opener(std::move(opener))
{
    if (!m_opener)
        m_opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

std::optional<QUrl> LinkOpener::webPage(const QString& text)
{
    QString address = text.trimmed();
    if (address.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        address.prepend(QLatin1String("http://"));
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty())
        return std::nullopt;
    if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))
        return std::nullopt;
    return url;
}

void LinkOpener::open(const QString& text) const
{
    const std::optional<QUrl> url = webPage(text);
    if (!url) {
        if (m_message)
            m_message(QStringLiteral("Cannot open Webpage"));
        return;
    }
    // What the browser then does with the page (or a failure to start one) is the desktop's.
    m_opener(*url);
}
