#pragma once

#include "chatsink.h"
#include "dispatcher.h"

#include <QObject>
#include <QString>

#include <string_view>

class ChatView;
class QWidget;

/**
 * The chat pane at the bottom of the board: the view `mainchat` and the handlers of the relayed chat
 * (CMD_chat, CMD_action) and chatter sounds (CMD_playasound). It is the table's ChatSink: every system
 * line of the other handlers lands in its view.
 *
 * Chatter sounds are only reported (chatterSoundReceived); playing them, or writing them to the chat
 * when they are switched off, belongs to the sound player.
 */
class ChatPane : public QObject, public ChatSink {
    Q_OBJECT

public:
    /** Builds the view inside @p area (the board's chat area), which owns it. */
    explicit ChatPane(QWidget* area, QObject* parent = nullptr);

    /** Registers chatrecieved and playasound under their command words. */
    void registerOn(morlu::Dispatcher<>& dispatcher);

    void addlinetochat(const QString& line, std::uint32_t colour) override;
    /** CMD_chat and CMD_action: the relayed line, "|", and the sender's colour as color text. */
    void chatrecieved(std::string_view rest);
    /** CMD_playasound: a chatter sound from a seat; reported through chatterSoundReceived. */
    void playasound(std::string_view rest);

    ChatView& mainchat() const { return *m_mainchat; }

signals:
    /** A chatter sound ("wave1".."wave20") arrived from @p seat. */
    void chatterSoundReceived(int seat, const QString& name);

private:
    ChatView* m_mainchat = nullptr;
};
