#pragma once

#include <QString>

/**
 * Where the sound player's requests go: the machine's sound output (QtSoundOutput), or a recorder in
 * tests. play() returns at once and never fails loudly; a sound that cannot be played is silence.
 */
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    /// Starts the sound named @p name (lower case, "placecard", "wave3"), replacing one still playing.
    virtual void play(const QString& name) = 0;
};
