#include "printers.h"
#include "sessionfixture.h"
#include "tserver.h"

#include <gtest/gtest.h>

using namespace morlu;
using namespace morlu::test;

namespace {

using Lines = std::vector<std::string>;

// Names and texts as the bytes a table puts on the wire: an older table writes Windows-1252, ours
// Windows-1252 when the line fits and UTF-8 otherwise.
const std::string kFrancois1252 = "Fran\xE7ois";
const std::string kFrancoisUtf8 = "Fran\xC3\xA7ois";
const std::string kIvan = "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD"; // Иван
const std::string kLukasz = "\xC5\x81ukasz";                  // Łukasz
const std::string kJuergen1252 = "J\xFCrgen";                 // Jürgen

/// Four tables, one per language: an older French table and three of ours.
class TServerText : public SessionFixture {
protected:
    TServerText() : francois(join(kFrancois1252)), ivan(join(kIvan)), lukasz(join(kLukasz)), juergen(join(kJuergen1252))
    {
    }

    /// @p from sends @p line; returns what every table received of it (the same line at each, or "").
    std::string relay(TestTable& from, const std::string& line)
    {
        std::vector<std::size_t> seen;
        for (const auto& table : tables)
            seen.push_back(table->count());
        from.send(line);
        std::string received;
        for (std::size_t n = 0; n < tables.size(); ++n) {
            if (!tables[n]->waitForWord(wordOf(line), seen[n]))
                return {};
            const std::string got = tables[n]->linesFrom(seen[n]).front();
            if (n > 0 && got != received)
                return "tables disagree: " + got + " / " + received;
            received = got;
        }
        return received;
    }

    TestTable& francois;
    TestTable& ivan;
    TestTable& lukasz;
    TestTable& juergen;
};

TEST_F(TServerText, NamesAreReadByTheRuleAndAnnouncedInTheSetTheirLineFits)
{
    EXPECT_EQ(server.slot(1).name, kFrancoisUtf8);
    EXPECT_EQ(server.slot(2).name, kIvan);
    EXPECT_EQ(server.slot(3).name, kLukasz);
    EXPECT_EQ(server.slot(4).name, "J\xC3\xBCrgen");
    // The older table learns every Western name in its own set.
    EXPECT_TRUE(francois.has("CMD_existingplayers+1+" + kFrancois1252) ||
                francois.has("CMD_newplayerinfo+1+" + kFrancois1252));
    EXPECT_TRUE(francois.has("CMD_newplayerinfo+4+" + kJuergen1252));
    EXPECT_TRUE(francois.has("CMD_newplayerinfo+2+" + kIvan));
}

TEST_F(TServerText, EachRelayedLineIsOneCharacterSetFromTheNameToTheColour)
{
    struct Row {
        const char* what;
        TestTable* from;
        std::string sent;
        std::string relayed;
    };
    const Row rows[] = {
        {"French from the older table", &francois,
         "CMD_chat+1+\xC7"
         "a va? d\xE9j\xE0 vu|clBlack",
         "CMD_chat+1+" + kFrancois1252 +
             " chats: \xC7"
             "a va? d\xE9j\xE0 vu|clBlack"},
        {"German from ours", &juergen, "CMD_action+4+says: Gr\xFC\xDF Gott!|clNavy",
         "CMD_action+4+" + kJuergen1252 + " says: Gr\xFC\xDF Gott!|clNavy"},
        // A Russian name and a French text: the whole line goes as UTF-8.
        {"French from a Russian name", &ivan, "CMD_chat+2+d\xC3\xA9j\xC3\xA0 vu|clRed",
         "CMD_chat+2+" + kIvan + " chats: d\xC3\xA9j\xC3\xA0 vu|clRed"},
        {"Polish", &lukasz, "CMD_chat+3+Cze\xC5\x9B\xC4\x87!|$00FF0000",
         "CMD_chat+3+" + kLukasz + " chats: Cze\xC5\x9B\xC4\x87!|$00FF0000"},
        // A French name with a Russian text: the name goes as UTF-8 too.
        {"Russian from a French name", &francois, "CMD_chat+1+\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82|clBlack",
         "CMD_chat+1+" + kFrancoisUtf8 + " chats: \xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82|clBlack"},
        // "ÿ" is 0xFF in Windows-1252, the end of a line: it never goes out that way.
        {"y diaeresis", &juergen, "CMD_chat+4+Ha\xC3\xBF|clBlack",
         "CMD_chat+4+J\xC3\xBCrgen chats: Ha\xC3\xBF|clBlack"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(relay(*row.from, row.sent), row.relayed) << row.what;
}

} // namespace
