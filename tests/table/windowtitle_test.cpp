#include "windowtitle.h"

#include "printers.h"

#include <gtest/gtest.h>

namespace {

// The title says where the player is; the host player's name comes once the host has named seat 1.
TEST(WindowTitle, SaysWhereThePlayerIs)
{
    using Mode = StartPlan::Mode;
    struct Row {
        Mode mode;
        const char* host;
        const char* address;
        const char* title;
    };
    for (const Row& row :
         {Row{Mode::Solo, "You", "127.0.0.1", "Morlu - solo game"},
          Row{Mode::Join, "Ann", "192.168.1.20", "Morlu - Ann's game at 192.168.1.20"},
          Row{Mode::Join, "", "192.168.1.20", "Morlu - game at 192.168.1.20"},
          Row{Mode::Host, "Ann", "127.0.0.1", "Morlu - Ann's game"}, Row{Mode::Waiting, "", "", "Morlu"}}) {
        EXPECT_EQ(WindowTitle::text(row.mode, QString::fromUtf8(row.host), QString::fromUtf8(row.address)),
                  QString::fromUtf8(row.title));
    }
}

} // namespace
