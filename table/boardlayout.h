#pragma once

#include "cards.h"

#include <QRect>
#include <QSize>

#include <array>

/**
 * Where the board's elements stand, in pixels of the 768 x 537 board: the seat columns, the hand row,
 * the chat area and the sizes of the texts that shrink to fit. The builder places the elements with
 * these values and the board moves its markers along the same columns.
 */
namespace boardlayout {

using SeatColumns = std::array<int, morlu::kSeatCount>;

/// The board at its designed size; it is drawn larger, never smaller.
inline constexpr QSize kBoardSize{768, 537};

// Left edges of the seat columns, seats 1..4.
inline constexpr SeatColumns kNameLeft{249, 365, 475, 587};
inline constexpr SeatColumns kScoreLeft{230, 346, 456, 568};
inline constexpr SeatColumns kBonusLeft{292, 408, 518, 630};
inline constexpr SeatColumns kCardCountLeft{241, 347, 467, 579};
/// The watching marks stand just right of the director marker's place, so the two never cover each other.
inline constexpr SeatColumns kEyesLeft{245, 361, 471, 583};
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

/// The boxes painted on the felt that texts and markers stand in. The top strip holds the seat columns
/// down to the turn marker's row; the corner box the game length and the contract counter, right of the
/// fourth seat's LEAD tag; then the status strip, the contract box and the rank strip.
inline constexpr QRect kTopStrip{207, 13, 456, 59};
inline constexpr QRect kCornerBox{660, 69, 102, 37};
inline constexpr QRect kStatusStrip{222, 234, 520, 19};
inline constexpr QRect kContractBox{224, 254, 515, 50};
inline constexpr QRect kRankStrip{222, 305, 520, 20};
/// The tray under the hand row, and the panels' shadow at the left.
inline constexpr QRect kHandTray{258, 154, 458, 80};
inline constexpr QRect kPanelShadow{24, 24, 192, 304};

/// Inner room left of a text's edge inside its box.
inline constexpr int kTextInset = 2;
/// The director marker stands this wide at the left of a seat's bank figure; banks are drawn right of it.
inline constexpr int kDirectorMarkerWidth = 30;
/// The change label of a seat ends before the next seat's director marker (or the strip's end).
inline constexpr SeatColumns kBonusRight{328, 438, 550, kTopStrip.x() + kTopStrip.width() - kTextInset};
/// The card count label's width.
inline constexpr int kCardCountWidth = 82;

/// Pixel sizes of the winner text and the contract line, and the smallest each may shrink to.
inline constexpr int kWinnerFontSize = 24;
inline constexpr int kWinnerMinFontSize = 11;
inline constexpr int kHandTypeFontSize = 17;
inline constexpr int kHandTypeMinFontSize = 10;

} // namespace boardlayout
