#pragma once

class ProfileFile;

/**
 * Where the option "Show Playable Cards" is kept: the key "ShowPlayableCards" of the settings file's
 * section, on unless it reads exactly "false" (the rule of the file's other switches).
 */
class PlayableSetting {
public:
    static constexpr const char* kKey = "ShowPlayableCards";

    static bool read(const ProfileFile& file);
    /** False when the file could not be written. */
    static bool write(ProfileFile& file, bool shown);
};
