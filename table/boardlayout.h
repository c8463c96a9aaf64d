#pragma once

#include "cards.h"

#include <QRect>

#include <array>

/**
 * Where the board's elements stand, in pixels of the 768 x 537 board: the seat columns, the hand row,
 * the chat area and the sizes of the texts that shrink to fit. The builder places the elements with
 * these values and the board moves its markers along the same columns.
 */
namespace boardlayout {

using SeatColumns = std::array<int, morlu::kSeatCount>;

// Left edges of the seat columns, seats 1..4.
inline constexpr SeatColumns kNameLeft{249, 365, 475, 587};
inline constexpr SeatColumns kScoreLeft{230, 346, 456, 568};
inline constexpr SeatColumns kBonusLeft{292, 408, 518, 630};
inline constexpr SeatColumns kCardCountLeft{241, 347, 467, 579};
inline constexpr SeatColumns kEyesLeft{239, 355, 465, 577};
inline constexpr SeatColumns kPlayedLeft{253, 359, 479, 591};

/// The director marker stands this far left of the seat's name, the lead and taker markers this far
/// left of the played card, the turn marker (an arrow pointing at the card count) further still.
inline constexpr int kDirectorOffset = 35;
inline constexpr int kTrickMarkerOffset = 4;
inline constexpr int kTurnOffset = 26;
/// The card count text starts just right of the turn marker's arrow head, which covers the label's
/// first pixels (both stand in the same row).
inline constexpr int kCardCountIndent = (kPlayedLeft[0] - kTurnOffset + 36) - kCardCountLeft[0] + 2;

inline constexpr int kHandTop = 160;
inline constexpr int kHandLeft = 264;
inline constexpr int kHandStep = 56;

/// Below the rank order line: left to the window's chat pane.
inline constexpr QRect kChatArea{10, 330, 748, 197};

/// Pixel sizes of the winner text and the contract line, and the smallest each may shrink to.
inline constexpr int kWinnerFontSize = 24;
inline constexpr int kWinnerMinFontSize = 11;
inline constexpr int kHandTypeFontSize = 17;
inline constexpr int kHandTypeMinFontSize = 10;

} // namespace boardlayout
