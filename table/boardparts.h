#pragma once

#include "cards.h"

#include <array>

class ArtPicture;
class CardPlace;
class ContractChooser;
class FitLabel;
class InstructionsPanel;
class QLabel;
class QTextEdit;
class QWidget;
class TitledPanel;

/**
 * Every element of the board, as the builder made them; the board owns them as its children. Seat
 * arrays hold seats 1..4 at index 0..3, the hand places 1..8, the DOMINO foundations and rank labels
 * suits 1..4.
 */
struct BoardParts {
    template <typename T> using PerSeat = std::array<T*, morlu::kSeatCount>;
    template <typename T> using PerSuit = std::array<T*, morlu::Spades>;

    PerSeat<FitLabel> names{};
    PerSeat<FitLabel> scores{};
    PerSeat<FitLabel> bonuses{};
    PerSeat<FitLabel> cardCounts{};
    PerSeat<ArtPicture> eyes{};
    PerSeat<CardPlace> played{};
    std::array<CardPlace*, morlu::kHandSlots> hand{};
    PerSuit<CardPlace> foundations{};
    PerSuit<QLabel> dominoRanks{};
    ArtPicture* director = nullptr;
    ArtPicture* turn = nullptr;
    ArtPicture* lead = nullptr;
    ArtPicture* taker = nullptr;
    FitLabel* status = nullptr;
    FitLabel* gameType = nullptr;
    FitLabel* round = nullptr;
    FitLabel* rank = nullptr;
    FitLabel* hintNote = nullptr;
    QLabel* handType = nullptr;
    FitLabel* fee = nullptr;
    TitledPanel* logPanel = nullptr;
    QTextEdit* log = nullptr;
    ContractChooser* chooser = nullptr;
    TitledPanel* errorPanel = nullptr;
    QTextEdit* errors = nullptr;
    QWidget* winnerPanel = nullptr;
    QLabel* winner = nullptr;
    QLabel* winnerShadow = nullptr;
    QWidget* dominoPanel = nullptr;
    ArtPicture* banner = nullptr;
    ArtPicture* start = nullptr;
    ArtPicture* logo = nullptr;
    InstructionsPanel* instructions = nullptr;
    QWidget* chatArea = nullptr;
};
