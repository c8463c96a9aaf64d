// The table as a host it cannot trust sees it: arbitrary received bytes through the table's whole
// receiving path without a window. The bytes reach a TableLink in random pieces, through the
// connection's framer (over-long lines dropped, as the table does) and the link's line queue, and its
// dispatch table with every handler the table registers: the session, the chat, the round and game
// displays drawing an offscreen board, the hints, with the model fed first. After every line the model
// and the board must make sense: seats, slots, cards and counts in range, at most four cards on a
// trick, the log and the spectator list bounded.
//
// The first input byte seeds the piece sizes; the rest is what the host sends.

#include "board.h"
#include "boarddisplay.h"
#include "cardplace.h"
#include "cards.h"
#include "chatpane.h"
#include "commands.h"
#include "fitlabel.h"
#include "gamedisplay.h"
#include "hintrequester.h"
#include "hostrequests.h"
#include "lineconnection.h"
#include "oneshottimer.h"
#include "playablecards.h"
#include "rounddisplay.h"
#include "tableaccessibility.h"
#include "tableevents.h"
#include "tablelink.h"
#include "tablemodel.h"
#include "tablesession.h"
#include "tablestate.h"

#include <QApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <utility>

namespace {

void fail(const char* what, int line)
{
    std::fprintf(stderr, "fuzz_table.cpp:%d: %s\n", line, what);
    std::abort();
}

#define CHECK(condition) ((condition) ? void() : fail(#condition, __LINE__))

/// The host's end as the table's connection sees it: whatever the fuzzer hands it arrives.
class FuzzedConnection : public morlu::LineConnection {
public:
    void receive(std::string_view bytes) { deliver(bytes); }
    void open(const QString&, const QString&) override {}
    void sendLine(std::string_view) override {}
    void close() override
    {
        if (std::exchange(m_open, false))
            emit closed();
    }
    qsizetype bytesToWrite() const override { return 0; }
    QString peerName() const override { return QStringLiteral("fuzz"); }
    bool isOpen() const override { return m_open; }
    bool isConnecting() const override { return false; }
    bool isConnected() const override { return m_open; }

private:
    bool m_open = true;
};

/// What the table asks of the host goes nowhere.
class NoHost : public HostRequests {
public:
    void sendline(std::string_view) override {}
};

class NoTimer : public OneShotTimer {
public:
    void start(int) override {}
    void stop() override {}
    bool isActive() const override { return false; }
};

bool inRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

void checkModel(const TableModel& model)
{
    using namespace morlu;
    CHECK(inRange(model.myslot(), 0, kSlotCount));
    for (const int seat : {model.director(), model.chooser(), model.turn(), model.leader(), model.taker()})
        CHECK(inRange(seat, 0, kSeatCount));
    CHECK(inRange(model.contract(), 0, kContractCount));
    CHECK(model.contracttotal() == 0 || model.contracttotal() == 8 || model.contracttotal() == 16 ||
          model.contracttotal() == 24);
    CHECK(inRange(model.round(), 0, 24));
    CHECK(inRange(model.tricknumber(), 1, kHandSlots));
    CHECK(inRange(model.dominoStart(), 0, 8));
    for (int slot = 1; slot <= kHandSlots; ++slot)
        CHECK(inRange(model.hand()[std::size_t(slot)], 0, kCardCount));
    int onTrick = 0;
    for (int seat = 1; seat <= kSeatCount; ++seat) {
        CHECK(inRange(model.trick()[std::size_t(seat)], 0, kCardCount));
        onTrick += model.trick()[std::size_t(seat)] != 0 ? 1 : 0;
    }
    CHECK(onTrick <= kSeatCount);
    for (int suit = 1; suit <= 4; ++suit) {
        const int top = model.foundationTop(suit);
        CHECK(top == 0 || getsuit(top) == suit);
    }
    int tricks = 0;
    for (int seat = 1; seat <= kSeatCount; ++seat) {
        const TableModel::Seat& held = model.seat(seat);
        CHECK(inRange(held.cardsLeft, 0, kHandSlots));
        CHECK(inRange(held.tricks, 0, kHandSlots));
        CHECK(inRange(held.directed, 0, 24));
        CHECK(inRange(held.roundsWon, 0, 24));
        tricks += held.tricks;
    }
    CHECK(tricks <= kHandSlots);
    CHECK(model.passed().size() < kSeatCount);
    for (const int seat : model.passed())
        CHECK(inRange(seat, 1, kSeatCount));
    CHECK(model.log().size() <= TableModel::kLogLines);
}

void checkBoard(const Board& board, const TableState& state, const TableSession& session)
{
    CHECK(inRange(state.myseat, 0, morlu::kSlotCount));
    for (const CardPlace* place : board.findChildren<CardPlace*>())
        CHECK(inRange(place->picture(), 0, morlu::kCardCount));
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat) {
        const QString count = board.cardCountLabel(seat)->text();
        if (count.isEmpty())
            continue;
        bool number = false;
        const int cards = count.mid(7).toInt(&number);
        CHECK(count.startsWith(QLatin1String("CARDS: ")) && number && inRange(cards, 0, morlu::kHandSlots));
    }
    // One entry per spectator slot 5..9.
    CHECK(session.spys().size() <= morlu::kSlotCount - morlu::kSeatCount);
}

/// One table's receiving parts, wired as the window wires them.
struct Table {
    Table()
        : link(std::unique_ptr<morlu::LineConnection>(connection)),
          chat(board.chatArea(), state, host, [](const QString&) {}), session(board, state, chat, host, events),
          hints(board, display.model(), host, timer), playable(board, display.model()),
          access(board, state, display.model())
    {
        state.myname = QStringLiteral("Ann");
        morlu::Dispatcher<>& commands = link.dispatcher();
        session.registerOn(commands);
        chat.registerOn(commands);
        round.registerOn(commands);
        game.registerOn(commands);
        hints.registerOn(commands);
        const auto seating = [this, &commands](std::string_view word, void (TableSession::*handler)(std::string_view)) {
            commands.add(word, [this, word, handler](std::string_view rest) {
                if (display.take(word, rest))
                    (session.*handler)(rest);
            });
        };
        seating(morlu::CMD_sendlogininfo, &TableSession::sendloginfo);
        seating(morlu::CMD_newplayerinfo, &TableSession::newplayerinfo);
        seating(morlu::CMD_existingplayers, &TableSession::newplayerinfo);
        seating(morlu::CMD_playerdisconnected, &TableSession::playerdisconnected);
        QObject::connect(&link, &TableLink::lineHandled, [this] {
            playable.refresh();
            access.refresh();
            hints.refresh();
            checkModel(display.model());
            checkBoard(board, state, session);
        });
    }

    Board board;
    TableState state;
    TableEvents events;
    NoHost host;
    NoTimer timer;
    FuzzedConnection* connection = new FuzzedConnection;
    TableLink link;
    BoardDisplay display{board, state, events};
    ChatPane chat;
    TableSession session;
    RoundDisplay round{display, chat, events};
    GameDisplay game{display, chat, events};
    HintRequester hints;
    PlayableCards playable;
    TableAccessibility access;
};

} // namespace

// What Qt's font machinery keeps until the application object goes, which outlives the leak check.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libQt6Gui.so\nleak:libfreetype.so\nleak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The table logs every line it drops; here that is most lines.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::uint32_t random = data[0] * 2654435761u + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    Table table;
    std::size_t at = 0;
    while (at < bytes.size()) {
        random = random * 1103515245u + 12345u;
        const std::size_t piece = 1 + (random >> 16) % 512;
        table.connection->receive(bytes.substr(at, piece));
        at += piece;
        // Some pieces are handled before the next arrives, some wait in the queue with the next.
        if ((random >> 8) % 3 != 0)
            while (table.link.processsocktimer()) {
            }
    }
    while (table.link.processsocktimer()) {
    }
    CHECK(table.link.waitingLines() == 0);
    table.connection->close();
    table.link.processsocktimer();
    CHECK(table.link.connectionEnded());
    // What the parts handed to the event loop to delete goes now, not at the end of the run.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
