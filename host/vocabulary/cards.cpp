#include "cards.h"

namespace morlu {

namespace {

constexpr std::array<std::string_view, 7> kLabels{
    "",
    "MORLU - Avoid the King of Hearts.",
    "WATERLOO - Avoid All Queens.",
    "SIEGE - Avoid All Spades.",
    "TOUCHE - Do not take the First or Last Trick.",
    "GUILLOTINE - Your HEAD is on the block. Avoid ALL!",
    "DOMINO - Avoid being the last player with cards.",
};

constexpr std::array<std::string_view, 7> kNames{"", "MORLU", "WATERLOO", "SIEGE", "TOUCHE", "GUILLOTINE", "DOMINO"};

} // namespace

std::string_view contractLabel(int code)
{
    return validContract(code) ? kLabels[code] : std::string_view{};
}

std::string_view contractName(int code)
{
    return validContract(code) ? kNames[code] : std::string_view{};
}

GameLength gamelengthFor(std::string_view field)
{
    GameLength length;
    length.letter = std::string(field.substr(0, 1));
    if (length.letter == "s") {
        length.contracts = 8;
        for (int code = 1; code <= 4; ++code)
            length.used[code] = true;
    } else if (length.letter == "h") {
        length.contracts = 16;
        length.used[1] = length.used[2] = true;
    }
    return length;
}

} // namespace morlu
