#pragma once

#include "cards.h"

#include <array>
#include <string_view>

/**
 * Names the host and the tables share: the version text a table sends at login, and the names of the
 * computer players. The host announces seat 3's computer as "Klock" in its winner text; a table shows
 * the same name on its label, so the winner, the seats and the tally all agree.
 */
namespace morlu {

/// The program's version text, sent by every table at login and compared as text by the host.
inline constexpr std::string_view kVersionText = "1.0.5";

/// The host's name for the computer player of @p seat (2..4); empty for seat 1 and anything else.
constexpr std::string_view hostComputerName(int seat)
{
    constexpr std::array<std::string_view, kSeatCount + 1> names{"", "", "Klot", "Klock", "Kling"};
    return seat >= 1 && seat <= kSeatCount ? names[std::size_t(seat)] : std::string_view();
}

/// The name a table shows for the computer player of @p seat (2..4); empty for seat 1 and anything else.
constexpr std::string_view tableComputerName(int seat)
{
    return hostComputerName(seat);
}

} // namespace morlu
