#pragma once

#include "chatrequests.h"
#include "chatsink.h"
#include "dispatcher.h"
#include "linkopener.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <string_view>

class ChatButtons;
class ChatEntry;
class ChatView;
class HostRequests;
class QWidget;
struct TableState;

/**
 * The chat pane at the bottom of the board: the view `mainchat`, the entry `mychat`, the phrase,
 * chatter-sound and smiley buttons, and the handlers of the relayed chat (CMD_chat, CMD_action) and
 * chatter sounds (CMD_playasound). It is the table's ChatSink: every system line of the other handlers
 * lands in its view. It wires its parts together: the entry's Enter and the buttons go to ChatRequests,
 * a smiley to the entry, a clicked link to the LinkOpener.
 *
 * Chatter sounds are only reported (chatterSoundReceived); playing them, or writing them to the chat
 * when they are switched off, belongs to the sound player.
 */
class ChatPane : public QObject, public ChatSink {
    Q_OBJECT

public:
    /**
     * Builds the pane inside @p area (the board's chat area), which owns its widgets. Requests go to
     * @p host as the table @p state says; "Cannot open Webpage" is shown through @p message, links open
     * through @p opener (the desktop's browser when empty), the cooldown runs on @p clock.
     */
    ChatPane(QWidget* area, const TableState& state, HostRequests& host, LinkOpener::Message message,
             LinkOpener::Opener opener = {}, PhraseCooldown::Clock clock = {}, QObject* parent = nullptr);
    ~ChatPane() override;

    /** Registers chatrecieved and playasound under their command words. */
    void registerOn(morlu::Dispatcher<>& dispatcher);

    void addlinetochat(const QString& line, std::uint32_t colour) override;
    void noticeLine(const QString& text) override;
    /** CMD_chat and CMD_action: the relayed line, "|", and the sender's colour as color text. */
    void chatrecieved(std::string_view rest);
    /** CMD_playasound: a chatter sound from a seat; reported through chatterSoundReceived. */
    void playasound(std::string_view rest);

    /** sendit: Enter in the entry. */
    void sendit();
    /** "Clear Main Chat" (either menu): empties the view and gives the entry the focus. */
    void ClearMainChat1Click();

    /** The player's text colour: sent with every line and shown in the entry. */
    void setTextColour(std::uint32_t colour);
    std::uint32_t textColour() const { return m_requests.textColour(); }

    ChatView& mainchat() const { return *m_mainchat; }
    ChatEntry& mychat() const { return *m_mychat; }
    ChatButtons& buttons() const { return *m_buttons; }
    ChatRequests& requests() { return m_requests; }

    /**
     * The end of the phrase pause: the phrase buttons, shown disabled while it lasts, come back once the
     * pause's clock says it is over. A single-shot timer calls it; tests on a hand-driven clock too.
     */
    void phrasePauseOver();

signals:
    /** A chatter sound ("wave1".."wave20") arrived from @p seat. */
    void chatterSoundReceived(int seat, const QString& name);

private:
    ChatView* m_mainchat = nullptr;
    ChatEntry* m_mychat = nullptr;
    ChatButtons* m_buttons = nullptr;
    ChatRequests m_requests;
    LinkOpener m_opener;
    QTimer m_phrasePause; ///< single shot: the end of the phrase pause
};
