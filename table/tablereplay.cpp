#include "tablereplay.h"

#include "artpicture.h"
#include "board.h"
#include "boarddisplay.h"
#include "cardplace.h"
#include "chatpane.h"
#include "chatview.h"
#include "contractchooser.h"
#include "linebuilder.h"
#include "names.h"
#include "replaybar.h"
#include "sessionmessages.h"
#include "soundplayer.h"
#include "tableconnection.h"
#include "tabledialogs.h"
#include "tablelink.h"
#include "tablemodel.h"
#include "tablestate.h"
#include "titledpanel.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QSignalBlocker>
#include <QToolBar>

namespace {

/// The name the record's header gives @p seat when a person held it; empty for a computer player.
QString personIn(const morlu::GameRecord& record, int seat)
{
    const QString name = record.header(QStringLiteral("name%1").arg(seat));
    const std::string_view computer = morlu::hostComputerName(seat);
    if (name.isEmpty() || name == TableModel::waitingName() ||
        name == QString::fromLatin1(computer.data(), qsizetype(computer.size())))
        return QString();
    return name;
}

} // namespace

TableReplay::TableReplay(Parts parts, std::unique_ptr<OneShotTimer> timer, QObject* parent)
    : QObject(parent), m_parts(parts), m_controller(*this, std::move(timer))
{
    m_chooser = [this](const QString& folder) {
        return QFileDialog::getOpenFileName(&m_parts.window, QStringLiteral("Open Game Record"), folder,
                                            QStringLiteral("Game records (*.morlugame);;All files (*)"));
    };
}

TableReplay::~TableReplay() = default;

bool TableReplay::open(const QString& path)
{
    morlu::GameRecordRead read = morlu::readGameRecord(path);
    // Nothing of the file could be read as a record: the table stays as it was.
    if (!read.ok() && read.record.lines.empty() && read.record.headers.isEmpty()) {
        m_parts.dialogs.showWarning(
            QStringLiteral("%1 cannot be replayed: %2").arg(QFileInfo(path).fileName(), read.error));
        return false;
    }
    m_path = path;
    m_parts.connection.setReplaying(true);
    showBar();
    m_controller.load(std::move(read));
    return true;
}

void TableReplay::showBar()
{
    if (m_bar)
        return;
    m_toolBar = new QToolBar(QStringLiteral("Replay"), &m_parts.window);
    m_toolBar->setObjectName(QStringLiteral("toolbar_replay"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_bar = new ReplayBar(m_controller, m_toolBar);
    m_toolBar->addWidget(m_bar);
    m_parts.window.addToolBar(Qt::BottomToolBarArea, m_toolBar);
    m_bar->watchKeys(&m_parts.board);
}

void TableReplay::OpenGameRecord1Click()
{
    const QString folder = m_folder ? m_folder() : QString();
    // Before the first game the records folder is not there yet: made now, the chooser opens in it (and
    // not in the folder above with "games" typed as the file's name).
    if (!folder.isEmpty())
        QDir().mkpath(folder);
    const QString path = m_chooser ? m_chooser(folder) : QString();
    if (path.isEmpty())
        return;
    if (replaying()) {
        open(path);
        return;
    }
    if (m_parts.display.model().gamerunning() &&
        !m_parts.dialogs.askYesNo(
            QStringLiteral("A game is in progress. Leave it and replay %1?").arg(QFileInfo(path).fileName())))
        return;
    if (!m_restarter)
        return;
    m_restarter({QStringLiteral("--replay"), path});
    emit leaving();
}

void TableReplay::resetGame()
{
    const morlu::GameRecord& record = m_controller.record();
    TableState& state = m_parts.state;
    Board& board = m_parts.board;
    BoardDisplay& display = m_parts.display;

    // The table as it was when the record began: its seat and name, no game, nobody connected.
    bool ok = false;
    const int seat = record.header(QStringLiteral("seat")).toInt(&ok);
    state = TableState{};
    state.myseat = ok && seat >= 1 && seat <= 9 ? seat : 0;
    state.myname = record.header(QStringLiteral("name"));

    TableModel& model = display.model();
    model.reset();
    model.clearLog();
    model.setMyslot(state.myseat);
    std::string line;
    for (int n = 1; n <= morlu::kSeatCount; ++n) {
        const QString person = personIn(record, n);
        const QByteArray name = person.toUtf8();
        const std::string_view view(name.constData(), std::size_t(name.size()));
        // The model takes lines as the link hands them over: without the 0xFF that ends them on the wire.
        std::string_view whole = person.isEmpty() ? morlu::PlayerDisconnected{n, view}.write(line)
                                                  : morlu::NewPlayerInfo{n, view}.write(line);
        if (!whole.empty() && whole.back() == morlu::kLineEnd)
            whole.remove_suffix(1);
        model.apply(whole);
        board.setSeatName(n, person.isEmpty() ? QString::fromLatin1(Board::kWaiting) : person);
        board.setScoreShown(n, true);
        board.setEyesShown(n, false);
    }
    board.markOwnSeat(state.isPlayerSeat() ? state.myseat : 0);

    display.clearall();
    for (int place = 1; place <= morlu::kHandSlots; ++place)
        display.emptyHandPlace(place);
    for (int suit = morlu::Diamonds; suit <= morlu::Spades; ++suit) {
        board.foundation(suit)->clearPicture();
        board.dominoRank(suit)->clear();
    }
    board.directorMarker()->hide();
    board.turnMarker()->hide();
    board.chooser()->hide();
    board.winnerPanel()->hide();
    board.errorPanel()->hide();
    board.setErrorLines({});
    board.startButton()->hide();
    board.statusLabel()->clear();
    board.feeLabel()->clear();
    board.rankLabel()->clear();
    board.setGameTypeText(QString());
    board.setRoundText(QString());
    board.clearLog();
    // Quietly: a cleared chat otherwise hands the keys to the chat entry, away from the replay's keys.
    const QSignalBlocker quiet(&m_parts.chat.mainchat());
    m_parts.chat.mainchat().ClearMainChat1Click();
}

void TableReplay::feed(std::string_view line)
{
    m_parts.connection.link().handleLine(line);
}

void TableReplay::beginBatch()
{
    if (m_batch++ > 0)
        return;
    m_parts.sounds.setMuted(true);
    m_parts.window.setUpdatesEnabled(false);
}

void TableReplay::endBatch()
{
    if (m_batch == 0 || --m_batch > 0)
        return;
    m_parts.sounds.setMuted(false);
    // Drawn once, now.
    m_parts.window.setUpdatesEnabled(true);
}
