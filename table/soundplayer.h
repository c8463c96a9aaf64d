#pragma once

#include <QObject>
#include <QString>

#include <functional>

class ChatSink;
class SoundOutput;

/**
 * Plays the table's sounds. It listens: the game-event sounds the table's handlers report
 * (TableEvents::soundRequested) go through `playsounds`, the chatter sounds of other players
 * (ChatPane::chatterSoundReceived) through `playasound`. Two switches, the Options items "Play Sounds"
 * and "Play Chatter Sounds", silence them independently. A chatter sound that is switched off is written
 * to the chat instead, as a system line: the sender's name, ": <Chatter Sound> " and the sound's title.
 */
class SoundPlayer : public QObject {
    Q_OBJECT

public:
    /// The name shown on the table for a seat (empty when the seat has none).
    using SeatName = std::function<QString(int seat)>;

    SoundPlayer(SoundOutput& output, ChatSink& chat, SeatName seatName, QObject* parent = nullptr);

    /** A game-event sound, played when "Play Sounds" is ticked. */
    void playsounds(const QString& name);
    /** A chatter sound @p name from @p seat: played, or written to the chat when chatter sounds are off. */
    void playasound(int seat, const QString& name);

    void setPlaySounds(bool on) { m_playSounds = on; }
    bool playSounds() const { return m_playSounds; }
    void setChatterSounds(bool on) { m_chatterSounds = on; }
    bool chatterSounds() const { return m_chatterSounds; }
    /**
     * While muted nothing is played, whatever the switches say; a chatter sound that is switched off
     * is still written to the chat. For a replay rebuilding the table from the start.
     */
    void setMuted(bool muted) { m_muted = muted; }
    bool muted() const { return m_muted; }

private:
    SoundOutput& m_output;
    ChatSink& m_chat;
    SeatName m_seatName;
    /// As the window is built: game sounds on, chatter sounds off until the settings are read.
    bool m_playSounds = true;
    bool m_chatterSounds = false;
    bool m_muted = false;
};
