#pragma once

// The fixture of the tests of coming back after a dropped connection and of the words only an asking
// table hears: asking for a seat key, coming back with it, and dropping a table.

#include "commands.h"
#include "sessionfixture.h"
#include "sessionmessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morlu::test {

using Lines = std::vector<std::string>;

class RejoinTest : public SessionFixture {
public:
    using SessionFixture::join;
    using SessionFixture::waitFree;

    /// Asks for the seat key of @p table's slot and returns it ("" when none came).
    static std::string askKey(TestTable& table)
    {
        const std::size_t from = table.count();
        table.send("CMD_seatkey+" + std::to_string(table.slot()) + "+");
        if (!table.waitForWord(CMD_seatkey, from))
            return {};
        const std::string line = table.linesOf(CMD_seatkey, from).front();
        const SeatKey answer = SeatKey::read(splitCommand(line).rest);
        EXPECT_EQ(answer.slot, table.slot());
        return std::string(answer.key);
    }

    /**
     * A new connection that answers its slot offer with CMD_rejoin and @p key; returns once the host has
     * offered a slot again (the table's slot() is then the slot it may log in to).
     */
    TestTable& rejoin(const std::string& key)
    {
        TestTable& table = host.connect();
        const int offered = table.waitSlot();
        EXPECT_NE(offered, 0);
        const std::size_t from = table.count();
        table.send("CMD_rejoin+" + std::to_string(offered) + "+" + key + "+");
        EXPECT_TRUE(table.waitForWord(CMD_sendlogininfo, from));
        return table;
    }

    /// Drops @p table and waits until the host has freed its slot.
    void drop(TestTable& table)
    {
        const int slot = table.slot();
        table.reset();
        ASSERT_TRUE(waitFree(slot));
    }
};

} // namespace morlu::test
