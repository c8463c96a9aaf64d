#include "playrule.h"

#include <gtest/gtest.h>

#include <vector>

using namespace morlu;

namespace {

// A table knows only the start rank and the card on top of each foundation; the layout it rebuilds
// from them lets the same cards as the layout the host keeps.
TEST(DominoFoundations, RebuiltFromTheTopCardsLetsTheCardsThatFit)
{
    struct Row {
        const char* name;
        int start;
        std::array<int, 4> tops;
        std::vector<int> fits;
        std::vector<int> doesNotFit;
    };
    // Codes: Clubs 9..16 are 7, 8, 9, J, Q, K, 10, A; Hearts 17..24 likewise.
    const Row rows[] = {
        {"nothing laid: only the start rank", 5, {0, 0, 0, 0}, {12, 20}, {13, 9, 0}},
        {"built up to the Ace: the 7 follows", 5, {16, 0, 0, 0}, {9, 20}, {10, 17}},
        {"built round past the 7", 5, {0, 10, 0, 0}, {11}, {15}},
        {"the 10 comes between 9 and J", 3, {0, 11, 0, 0}, {15}, {12, 16}},
        {"before the first card nothing is laid", 0, {16, 0, 0, 0}, {}, {9, 12, 16}},
    };
    for (const Row& row : rows) {
        const DominoFoundations layout = DominoFoundations::fromTops(row.start, row.tops);
        for (const int card : row.fits)
            EXPECT_TRUE(layout.mayLay(card)) << row.name << ": " << card;
        for (const int card : row.doesNotFit)
            EXPECT_FALSE(layout.mayLay(card)) << row.name << ": " << card;
    }
}

} // namespace
