#pragma once

#include <QString>

#include <array>

/**
 * The twenty chatter sounds: "wave1" to "wave20", shown under these titles in the chatter sound menu
 * and in the chat line that stands in for a sound when chatter sounds are off.
 */
namespace chattersounds {

inline constexpr int kCount = 20;
inline constexpr std::array<const char*, kCount> kTitles{
    "Doh",       "Cough",    "Hello",          "Thank You",    "Where have you been?",
    "Snoring",   "Sneezing", "Sorry",          "Welcome",      "Yeehaa",
    "Yippee",    "Oh No",    "Applause",       "Honk",         "Oooh",
    "Razzberry", "Cheer",    "Woman Laughing", "Man Laughing", "Crying"};

/// The title of the sound named @p name ("wave1".."wave20", any case); empty for any other name.
inline QString titleOf(const QString& name)
{
    if (!name.startsWith(QLatin1String("wave"), Qt::CaseInsensitive))
        return {};
    bool ok = false;
    const int number = name.mid(4).toInt(&ok);
    if (!ok || number < 1 || number > kCount || name.mid(4) != QString::number(number))
        return {};
    return QString::fromLatin1(kTitles.at(std::size_t(number - 1)));
}

} // namespace chattersounds
