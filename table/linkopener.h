#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

/**
 * Opens a link clicked in the chat: only as a web page, through the desktop's browser. The link's text
 * is taken as it was written: "www." in front gets "http://"; then it must be a whole http or https URL
 * with a host. Anything else (a file: or javascript: address, a bare word that merely holds "www.", an
 * empty text) is refused with the message "Cannot open Webpage", so a line from another player can never
 * make this machine run or open anything but a web page.
 */
class LinkOpener {
public:
    /// Opens a URL; false when the desktop could not. QDesktopServices::openUrl unless a test sets another.
    using Opener = std::function<bool(const QUrl&)>;
    /// Shows the refusal to the player.
    using Message = std::function<void(const QString&)>;

    explicit LinkOpener(Message message, Opener opener = {});

    /** The web page @p text stands for, or nothing when it is no http or https address. */
    static std::optional<QUrl> webPage(const QString& text);
    /** mainchatJump's last step: opens @p text as a web page or says "Cannot open Webpage". */
    void open(const QString& text) const;

private:
    Message m_message;
    Opener m_opener;
};
