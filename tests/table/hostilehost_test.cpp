// A host the player does not know may send anything. A line that cannot be right is ignored whole: the
// model keeps what it knew and the board shows what it showed.

#include "commands.h"
#include "fieldreader.h"
#include "printers.h"
#include "tablefixture.h"

#include <gtest/gtest.h>

#include <string>

using namespace morlu::test;

namespace {

/// Everything the model knows, as one text to compare.
QString modelText(const TableModel& m)
{
    QStringList parts;
    parts << QStringLiteral("slot %1 running %2 total %3 round %4 joined %5")
                 .arg(m.myslot())
                 .arg(m.gamerunning())
                 .arg(m.contracttotal())
                 .arg(m.round())
                 .arg(m.joinedRound());
    parts << QStringLiteral("director %1 chooser %2 turn %3 contract %4 over %5 leader %6 taker %7 trick# %8")
                 .arg(m.director())
                 .arg(m.chooser())
                 .arg(m.turn())
                 .arg(m.contract())
                 .arg(m.handOver())
                 .arg(m.leader())
                 .arg(m.taker())
                 .arg(m.tricknumber());
    QString cards;
    for (const int card : m.hand())
        cards += QString::number(card) + QLatin1Char(' ');
    for (const int card : m.trick())
        cards += QString::number(card) + QLatin1Char(' ');
    for (int suit = 1; suit <= 4; ++suit)
        cards += QString::number(m.foundationTop(suit)) + QLatin1Char(' ');
    parts << cards + QStringLiteral("start %1").arg(m.dominoStart());
    for (int n = 1; n <= morlu::kSeatCount; ++n) {
        const TableModel::Seat& s = m.seat(n);
        parts << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9")
                     .arg(m.seatName(n))
                     .arg(s.bank)
                     .arg(s.change)
                     .arg(s.gameChange)
                     .arg(s.roundChange)
                     .arg(s.tricks)
                     .arg(s.cardsLeft)
                     .arg(s.directed)
                     .arg(s.watching);
    }
    for (int code = 1; code <= morlu::kContractCount; ++code)
        parts << QString::number(m.contractUsed(code));
    parts << m.winner() << QString::number(m.logTotal());
    return parts.join(QLatin1Char('|'));
}

/// A seated table with its board, fed whole lines through one dispatch table.
class HostileTable : public TableFixture {
public:
    using TableFixture::display;
    using TableFixture::openRound;
    using TableFixture::snapshot;

    HostileTable()
    {
        // The words of the session reach the model the way the window hands them on.
        for (const std::string_view word : {morlu::CMD_sendlogininfo, morlu::CMD_newplayerinfo,
                                            morlu::CMD_existingplayers, morlu::CMD_playerdisconnected})
            commands.add(word, [this, word](std::string_view rest) { (void)display.take(word, rest); });
    }
    void TestBody() override {}
    void say(const std::string& line)
    {
        try {
            commands.dispatch(line);
        } catch (const morlu::FieldError&) {
        }
    }
};

enum class Stage { NoGame, Trick, Domino, RoundOfTricksOver };

TEST(HostileHost, ALineThatCannotBeRightLeavesTheModelAndTheBoardAsTheyWere)
{
    struct Row {
        Stage stage;
        const char* line;
        const char* before = ""; ///< a line the host sent first, if any
    };
    const Row rows[] = {
        // Cards outside 1..32, seats outside 1..4, hand slots outside 1..8.
        {Stage::Trick, "CMD_placecard+2+33+1+f+"},
        {Stage::Trick, "CMD_placecard+2+-3+1+f+"},
        {Stage::Trick, "CMD_placecard+7+5+1+t+"},
        {Stage::Trick, "CMD_placecard+1+31+9+f+"},
        {Stage::Trick, "CMD_mycards+1+1+40"},
        {Stage::Trick, "CMD_mycards+1+0+5"},
        {Stage::Trick, "CMD_mycards+1+1+2+2+2"},
        {Stage::Trick, "CMD_mycards+1+1+2+1+3"},
        {Stage::Trick, "CMD_mycards+3+1+5"},
        {Stage::Trick, "CMD_nextplayer+7+"},
        {Stage::Trick, "CMD_nextplayer+-1+"},
        {Stage::Trick, "CMD_endhand+0+"},
        {Stage::Trick, "CMD_took+0+1+f+f+"},
        {Stage::Trick, "CMD_took+2+9+t+f+"},
        {Stage::Trick, "CMD_dendhand+5+"},
        {Stage::Trick, "CMD_justwatching+0+1"},
        {Stage::Trick, "CMD_alreadychoose+1+0+"},
        {Stage::Trick, "CMD_handsused+1+3+7"},
        // Rounds, directors and contracts out of range.
        {Stage::Trick, "CMD_startround+0+2+"},
        {Stage::Trick, "CMD_startround+2+25+"},
        {Stage::Trick, "CMD_startround+2+-1+"},
        {Stage::Trick, "CMD_choosehand+7+3+0+"},
        {Stage::Trick, "CMD_choosehand+2+9+0+"},
        // Money a bank cannot hold, a seat named twice or none.
        {Stage::Trick, "CMD_scores+1+-2147483648+0"},
        {Stage::Trick, "CMD_scores+1+10000+1", "CMD_scores+1+10000+2147483647"},
        {Stage::Trick, "CMD_scores+1+10100+100+1+10200+200"},
        // DOMINO: a card off its suit, a start rank outside 1..8, counts outside 0..7 after a card.
        {Stage::Domino, "CMD_dplacecard+2+1+9+1+5+6+"},
        {Stage::Domino, "CMD_dplacecard+2+2+9+1+9+6+"},
        {Stage::Domino, "CMD_dplacecard+2+2+9+1+0+6+"},
        {Stage::Domino, "CMD_dplacecard+2+2+9+1+5+-3+"},
        {Stage::Domino, "CMD_dplacecard+2+2+9+1+5+8+"},
        {Stage::Domino, "CMD_dplacecard+2+2+9+0+5+6+"},
        // A ninth trick, or a trick opening after the eighth.
        {Stage::RoundOfTricksOver, "CMD_endhand+2+"},
        {Stage::RoundOfTricksOver, "CMD_starthand+"},
        // A catch-up that cannot stand: a round past the longest game (which once counted up to it),
        // seats, cards, ranks and slots out of range.
        {Stage::Trick, "CMD_agame+1+2147483647+s+1+1+1+0+1+0+0+0+0+"},
        {Stage::Trick, "CMD_agame+1+3+s+9+1+1+0+1+0+0+0+0+"},
        {Stage::Trick, "CMD_agame+1+3+s+1+-2+1+0+1+0+0+0+0+"},
        {Stage::Trick, "CMD_agame+1+3+s+1+1+7+0+1+0+0+0+0+"},
        {Stage::Trick, "CMD_agame+1+3+s+1+1+6+12+1+0+0+0+0+"},
        {Stage::Trick, "CMD_agame+1+3+s+1+1+1+0+1+40+0+0+0+"},
        // Nothing runs: no game to win, no hand to hand over.
        {Stage::NoGame, "CMD_winner+Mallory+"},
        // A slot outside 1..9 for the table itself.
        {Stage::NoGame, "CMD_sendlogininfo+0"},
        {Stage::NoGame, "CMD_sendlogininfo+12"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        HostileTable table;
        if (row.stage != Stage::NoGame)
            table.openRound(2);
        if (row.stage == Stage::Trick || row.stage == Stage::RoundOfTricksOver)
            table.say("CMD_choosehand+2+5+0+");
        if (row.stage == Stage::Domino) {
            table.say("CMD_choosehand+2+6+0+");
            table.say("CMD_dplacecard+3+2+12+4+5+7+");
        }
        if (row.stage == Stage::RoundOfTricksOver)
            for (int trick = 1; trick <= 8; ++trick) {
                table.say("CMD_starthand+");
                table.say("CMD_endhand+" + std::to_string(trick % 4 + 1) + "+");
            }
        const TableModel& model = table.display.model();
        if (row.stage != Stage::NoGame) {
            ASSERT_EQ(model.contract(), row.stage == Stage::Domino ? morlu::Domino : 5);
        }
        if (row.stage == Stage::RoundOfTricksOver) {
            ASSERT_EQ(model.tricknumber(), 8);
        }
        if (*row.before != '\0')
            table.say(row.before);
        const QString before = modelText(model);
        const QStringList board = table.snapshot();
        table.say(row.line);
        EXPECT_EQ(modelText(model), before);
        EXPECT_EQ(table.snapshot(), board);
    }
}

} // namespace
