#include "gameaddress.h"

#include "printers.h"

#include <gtest/gtest.h>

namespace {

// Every form a player may type, and what is refused with which words.
TEST(GameAddress, ReadsTheFormsAPlayerTypesAndRefusesTheRest)
{
    struct Row {
        const char* typed;
        const char* host; ///< nullptr: refused
        quint16 port;
        const char* errorPart; ///< a part of the refusal
        const char* text;      ///< the address typed again
    };
    const Row rows[] = {
        {"192.168.1.20", "192.168.1.20", 7772, "", "192.168.1.20:7772"},
        {"  192.168.1.20:7000 ", "192.168.1.20", 7000, "", "192.168.1.20:7000"},
        {"ann-pc.local", "ann-pc.local", 7772, "", "ann-pc.local:7772"},
        {"[::1]:7000", "::1", 7000, "", "[::1]:7000"},
        {"[fe80::1]", "fe80::1", 7772, "", "[fe80::1]:7772"},
        {"::1", "::1", 7772, "", "[::1]:7772"},
        {"host:65535", "host", 65535, "", "host:65535"},
        {"", nullptr, 0, "Type the host's address", ""},
        {"host:0", nullptr, 0, "from 1 to 65535", ""},
        {"host:65536", nullptr, 0, "from 1 to 65535", ""},
        {"host:", nullptr, 0, "from 1 to 65535", ""},
        {"host:7x", nullptr, 0, "from 1 to 65535", ""},
        {"host:+77", nullptr, 0, "from 1 to 65535", ""},
        {"[::1", nullptr, 0, "in brackets", ""},
        {"[::1]7000", nullptr, 0, "in brackets", ""},
        {"[ann]:7000", nullptr, 0, "in brackets", ""},
        {"1:2:3", nullptr, 0, "in brackets", ""},
        {"two words", nullptr, 0, "\"two words\" is not a host name", ""},
        {"-oProxy", nullptr, 0, "is not a host name", ""},
        {"http://host", nullptr, 0, "is not a host name", ""},
        {"h\xc3\xb6st", nullptr, 0, "is not a host name", ""},
    };
    for (const Row& row : rows) {
        const GameAddress address = GameAddress::parse(QString::fromUtf8(row.typed));
        if (row.host == nullptr) {
            EXPECT_FALSE(address.ok()) << row.typed;
            EXPECT_TRUE(address.error().contains(QString::fromLatin1(row.errorPart))) << row.typed << ": "
                                                                                      << qPrintable(address.error());
            continue;
        }
        EXPECT_TRUE(address.ok()) << row.typed << ": " << qPrintable(address.error());
        EXPECT_EQ(address.host(), QString::fromLatin1(row.host)) << row.typed;
        EXPECT_EQ(address.port(), row.port) << row.typed;
        EXPECT_EQ(address.text(), QString::fromLatin1(row.text)) << row.typed;
        EXPECT_EQ(GameAddress::parse(address.text()).text(), address.text()) << "typed again: " << row.typed;
    }
}

} // namespace
