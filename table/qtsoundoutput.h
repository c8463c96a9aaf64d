#pragma once

#include "soundoutput.h"

#include <QAudioDevice>
#include <QHash>
#include <QObject>

class QSoundEffect;

/**
 * The machine's sound output through Qt Multimedia: one QSoundEffect per sound, each loaded from the
 * program's resources once, when the output is made, so playing costs only a start. A new sound stops
 * the one still playing, so a quick run of events is heard as its last sound.
 *
 * Without a sound device (a server, CI, a desktop with no sound) nothing is loaded and play() does
 * nothing: one line in the log says so, and the table never waits for sound.
 */
class QtSoundOutput : public QObject, public SoundOutput {
    Q_OBJECT

public:
    /// Loads every game-event and chatter sound for the default output, if the machine has one.
    explicit QtSoundOutput(QObject* parent = nullptr);
    /// The same for @p device; a null device means no sound.
    explicit QtSoundOutput(const QAudioDevice& device, QObject* parent = nullptr);

    void play(const QString& name) override;

    /** True when a sound device was found and the sounds are loaded. */
    bool hasDevice() const { return !m_effects.isEmpty(); }
    /** Requests handed to a QSoundEffect so far. */
    int started() const { return m_started; }
    /** The effect of @p name, or null (no device, or no such sound). */
    QSoundEffect* effect(const QString& name) const { return m_effects.value(name.toLower()); }

private:
    QHash<QString, QSoundEffect*> m_effects;
    QSoundEffect* m_playing = nullptr;
    int m_started = 0;
};
