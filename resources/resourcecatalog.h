#pragma once

#include <QString>
#include <QStringList>

/**
 * Names and paths of the pictures and sounds compiled into the program. Sounds are asked for by
 * their lower-case name ("placecard", "wave3"); this class turns a name into its resource path.
 */
class ResourceCatalog {
public:
    /** The eleven game-event sounds, from "entered" to "winner". */
    static QStringList gameSoundNames();
    /** The twenty chatter sounds "wave1" to "wave20", in menu order. */
    static QStringList chatterSoundNames();
    /** Resource path of a sound, matched without regard to case (":/sounds/placecard.wav"). */
    static QString soundPath(const QString& name);
    /** The JPEG pictures: board background, window tile and the four instruction illustrations. */
    static QStringList artFiles();
    /** Resource path of a picture file name (":/art/board.jpg"). */
    static QString artPath(const QString& fileName);
};
