#include "tchat.h"

#include "artpicture.h"
#include "artwork.h"
#include "board.h"
#include "boarddisplay.h"
#include "boardkeys.h"
#include "cards.h"
#include "chatbuttons.h"
#include "chatpane.h"
#include "chatview.h"
#include "commands.h"
#include "dialogfocus.h"
#include "friendsline.h"
#include "gameaddress.h"
#include "gamedisplay.h"
#include "gamerecorder.h"
#include "hintrequester.h"
#include "names.h"
#include "oneshottimer.h"
#include "playablecards.h"
#include "playerinput.h"
#include "playtogether.h"
#include "profilefile.h"
#include "qtsoundoutput.h"
#include "reconnectline.h"
#include "rounddisplay.h"
#include "seatcontrols.h"
#include "sessionmessages.h"
#include "soundplayer.h"
#include "standingspanel.h"
#include "startplan.h"
#include "tableaccessibility.h"
#include "tableconnection.h"
#include "tableevents.h"
#include "tablelink.h"
#include "tablemenus.h"
#include "tablemodel.h"
#include "tableoptions.h"
#include "tablereplay.h"
#include "tablesession.h"
#include "tablesettings.h"
#include "tabout.h"
#include "tallyrecorder.h"
#include "tdownload.h"
#include "tgamestart.h"
#include "thelp.h"
#include "tiledarea.h"
#include "tphrases.h"
#include "tspylist.h"
#include "windowtitle.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QMenuBar>
#include <QStatusBar>

namespace {

/// The window's client area never gets smaller than the board + 15 x 12.
constexpr QSize kMinimumClient{Board::kWidth + 15, Board::kHeight + 12};

} // namespace

Tchat::Tchat(QWidget* parent) : Tchat(QStringList(), QStringLiteral("7772"), parent) {}

Tchat::Tchat(const QStringList& arguments, const QString& port, QWidget* parent)
    : QMainWindow(parent), m_arguments(arguments), m_port(port)
{
    FormCreate();
}

// The handlers go first (members die before the window's children): none of them outlives the board.
Tchat::~Tchat()
{
    // A window destroyed without closing (the program torn down another way) still keeps its tally.
    if (!m_tallySaved)
        m_tally->save();
}

void Tchat::FormCreate()
{
    setObjectName(QStringLiteral("Tchat"));
    setWindowTitle(QString::fromLatin1(kGameName));
    setWindowIcon(Artwork::appIcon());
    // A second start is turned away before any window exists (SingleInstance); the table itself
    // needs no lock of its own.
    resize(kDefaultWidth, kDefaultHeight);
    buildParts();
    wireParts();
    m_display->clearall();
}

void Tchat::buildParts()
{
    auto* area = new TiledArea(kMinimumClient, this);
    setCentralWidget(area);
    m_board = new Board(area);
    area->setBoard(m_board);
    m_events = new TableEvents(this);
    m_display = std::make_unique<BoardDisplay>(*m_board, m_state, *m_events);
    m_menus = new TableMenus(menuBar(), this);
    m_connection = new TableConnection(m_state, *this, this);
    m_chat = new ChatPane(
        m_board->chatArea(), m_state, *m_connection, [this](const QString& text) { showMessage(text); }, {}, {}, this);
    m_soundOutput = new QtSoundOutput(this);
    m_sounds = new SoundPlayer(
        *m_soundOutput, *m_chat, [this](int seat) { return m_display->model().seatName(seat); }, this);
    m_options = new TableOptions(
        TableOptions::Parts{*this, *m_menus, *m_chat, *m_sounds, *m_events, *m_connection, m_state},
        TableSettings::defaultPath(),
        [this](const QColor& current) -> std::optional<QColor> {
            const QColor chosen = QColorDialog::getColor(current, this);
            return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
        },
        this);
    const QPixmap tile(QStringLiteral(":/art/tile.jpg"));
    m_phrases = new Tphrases(tile, this);
    m_phrases->setWindowFlag(Qt::Dialog);
    m_gamestart = new Tgamestart(Artwork::checkMark(devicePixelRatioF()), Artwork::startGameButton(devicePixelRatioF()),
                                 tile, this);
    m_gamestart->setWindowFlag(Qt::Dialog);
    m_tally = new TallyRecorder(m_display->model(), tile, this);
    m_records = new GameRecorder(this);
    m_spylist = new Tspylist(this);
    m_help = new Thelp(this);
    m_about = new Tabout(QString::fromLatin1(morlu::kVersionText.data(), qsizetype(morlu::kVersionText.size())),
                         Artwork::appIcon().pixmap(64, 64), this);
    m_download = new Tdownload(this);
    new DialogFocus(*this);
    m_friends = new FriendsLine(this);
    statusBar()->addWidget(m_friends, 1);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->hide();
    m_play = new PlayTogether(
        *this, m_state, m_display->model(), *this, *m_chat, *m_friends, [this] { return m_options->path(); }, this);

    m_round = std::make_unique<RoundDisplay>(*m_display, *m_chat, *m_events);
    m_game = std::make_unique<GameDisplay>(*m_display, *m_chat, *m_events);
    m_input = std::make_unique<PlayerInput>(*m_board, m_state, m_display->model(), *m_connection, *this, *m_events);
    m_session = std::make_unique<TableSession>(*m_board, m_state, *m_chat, *m_connection, *m_events);
    m_session->setLoadIniFile([this] { loadinifile(); });
    m_session->setBotSpeed([this] { return m_options->chosenbotspeed(); });
    m_session->setKeyKeeper([this](const std::string& key) {
        // The hosting table's seat is its own host's, which ends with the program: only a join keeps its key
        // (and a solo start writes nothing to the settings file for it).
        if (m_state.ishost)
            return;
        ProfileFile file(m_options->path());
        TableSettings::writeSeatKey(file, keptHostName(), QString::fromStdString(key));
    });
    m_seatControls = new SeatControls(*m_board, m_state, *m_connection, this);

    m_keys = new BoardKeys(*m_board, *m_input, this);
    m_playable = std::make_unique<PlayableCards>(*m_board, m_display->model());
    m_access = std::make_unique<TableAccessibility>(*m_board, m_state, m_display->model());
    new StandingsPanel(*m_board, m_display->model());
    m_hintTimer = new QtOneShotTimer(this);
    m_hints = new HintRequester(*m_board, m_display->model(), *m_connection, *m_hintTimer, this);
    m_keys->setHintRequest([this] { m_hints->Hint1Click(); });
    m_reconnectLine = std::make_unique<ReconnectLine>(*m_display, *m_playable, *m_hints, *m_access);
    m_replay = new TableReplay(
        TableReplay::Parts{*this, *m_board, *m_display, m_state, *m_chat, *m_sounds, *m_connection, *this}, {}, this);
    m_replay->setRecordsFolder([this] { return m_records->folder(); });
    m_play->setReplaying([this] { return m_replay->replaying(); });
}

void Tchat::wireParts()
{
    morlu::Dispatcher<>& commands = m_connection->link().dispatcher();
    m_session->registerOn(commands);
    m_chat->registerOn(commands);
    m_round->registerOn(commands);
    m_game->registerOn(commands);
    m_connection->registerOn(commands);
    m_hints->registerOn(commands);
    // Who sits where goes to the model too, before the session draws it.
    const auto seating = [this, &commands](std::string_view word, void (TableSession::*handler)(std::string_view)) {
        commands.add(word, [this, word, handler](std::string_view rest) {
            if (m_display->take(word, rest))
                (m_session.get()->*handler)(rest);
        });
    };
    seating(morlu::CMD_sendlogininfo, &TableSession::sendloginfo);
    seating(morlu::CMD_newplayerinfo, &TableSession::newplayerinfo);
    seating(morlu::CMD_existingplayers, &TableSession::newplayerinfo);
    seating(morlu::CMD_playerdisconnected, &TableSession::playerdisconnected);

    connect(m_connection, &TableConnection::ended, this, &QWidget::close);
    connect(m_connection, &TableConnection::leaving, m_tally, &TallyRecorder::save);
    connect(m_connection, &TableConnection::notice, this, [this](const QString& text) { m_chat->systemLine(text); });
    connect(m_connection, &TableConnection::reconnectingStarted, this, [this] { m_reconnectLine->lost(); });
    connect(m_events, &TableEvents::seatConfirmed, this, [this] {
        m_connection->seated();
        m_reconnectLine->seated();
    });
    connect(m_connection, &TableConnection::changeAddressChosen, m_play, &PlayTogether::changeAddress);
    connect(m_connection, &TableConnection::joined, m_play, &PlayTogether::rememberHost);
    m_connection->setPortInUseOffer([this](const QString& port) { m_play->offerAnotherPort(port); });
    const auto leave = [this] {
        m_leaving = true;
        close();
    };
    connect(m_play, &PlayTogether::leaving, this, leave);
    connect(m_replay, &TableReplay::leaving, this, leave);
    connect(m_connection, &TableConnection::lineSent, this, &Tchat::lineSent);
    connect(m_events, &TableEvents::soundRequested, this, &Tchat::soundRequested);
    connect(m_chat, &ChatPane::chatterSoundReceived, this, &Tchat::chatterSoundReceived);
    connect(m_events, &TableEvents::soundRequested, m_sounds, &SoundPlayer::playsounds);
    connect(m_chat, &ChatPane::chatterSoundReceived, m_sounds, &SoundPlayer::playasound);
    connect(m_gamestart, &Tgamestart::startRequested, m_input.get(), &PlayerInput::gamestartChosen);
    connect(m_phrases, &Tphrases::phrasesChosen, m_options, &TableOptions::savePhrases);

    connect(m_events, &TableEvents::gameFinished, m_tally, &TallyRecorder::addgame);
    // Every line from the host goes to the game record before its handler sees it.
    m_connection->link().setLineObserver([this](std::string_view line) { m_records->lineReceived(line); });
    m_records->setHeaders([this] {
        const TableModel& model = m_display->model();
        GameRecorder::Headers headers{{QStringLiteral("host"), m_hostaddress},
                                      {QStringLiteral("seat"), QString::number(m_state.myseat)},
                                      {QStringLiteral("name"), m_state.myname}};
        for (int seat = 1; seat <= morlu::kSeatCount; ++seat)
            headers.append({QStringLiteral("name%1").arg(seat), model.startingName(seat)});
        return headers;
    });
    connect(&m_connection->link(), &TableLink::closed, m_records, &GameRecorder::finish);
    connect(m_records, &GameRecorder::writeFailed, m_chat, [this](const QString& text) { m_chat->systemLine(text); });
    connect(m_menus, &TableMenus::keepRecordsToggled, m_records, &GameRecorder::setEnabled);
    connect(m_tally, &TallyRecorder::saveFailed, m_chat, [this](const QString& text) { m_chat->systemLine(text); });
    connect(m_events, &TableEvents::seatGiven, this, &Tchat::followSlotOne);
    connect(m_events, &TableEvents::spysChanged, m_spylist, &Tspylist::setEntries);
    connect(m_events, &TableEvents::justWatchChanged, m_seatControls, &SeatControls::setWatching);
    connect(m_spylist, &Tspylist::kickRequested, m_seatControls, &SeatControls::kicking);
    connect(m_seatControls, &SeatControls::removalAsked, this, [this](int slot) { m_session->removalAsked(slot); });
    // Back to the board once the length is chosen (or the dialog closed), so the keys play on.
    const auto backToBoard = [this] {
        activateWindow();
        m_board->setFocus(Qt::OtherFocusReason);
    };
    connect(m_gamestart, &Tgamestart::startRequested, this, backToBoard);
    connect(m_gamestart, &QDialog::rejected, this, backToBoard);
    // The title names the game's host as soon as the host says who sits in seat 1.
    connect(&m_display->model(), &TableModel::changed, this, &Tchat::refreshTitle);
    // The playable cards and what a screen reader hears follow every line from the host; the screen
    // reader's names follow a burst of lines once.
    m_access->setLinesWaiting([this] { return m_connection->link().waitingLines(); });
    connect(&m_connection->link(), &TableLink::lineHandled, this, [this] {
        m_playable->refresh();
        m_access->lineHandled();
        m_hints->refresh();
    });
    wireMenus();
}

// The Options items that change settings are TableOptions' own; these are the window's and the chat's.
void Tchat::wireMenus()
{
    TableMenus* menus = m_menus;
    connect(menus, &TableMenus::startGameChosen, m_input.get(), &PlayerInput::button_startClick);
    connect(menus, &TableMenus::quickInstructionsChosen, m_input.get(), &PlayerInput::QuickInstructions1Click);
    connect(menus, &TableMenus::exitChosen, this, &Tchat::Exit1Click);
    connect(menus, &TableMenus::hostGameChosen, m_play, &PlayTogether::HostGame1Click);
    connect(menus, &TableMenus::joinGameChosen, m_play, &PlayTogether::JoinGame1Click);
    connect(menus, &TableMenus::openGameRecordChosen, m_replay, &TableReplay::OpenGameRecord1Click);
    connect(m_download, &Tdownload::hostGameChosen, m_play, &PlayTogether::HostGame1Click);
    connect(m_download, &Tdownload::joinGameChosen, m_play, &PlayTogether::JoinGame1Click);
    // Choosing to play together from the menu answers the offer at a solo start as well as its own buttons.
    connect(menus, &TableMenus::hostGameChosen, m_download, &QWidget::hide);
    connect(menus, &TableMenus::joinGameChosen, m_download, &QWidget::hide);
    connect(menus, &TableMenus::clearMainChatChosen, m_chat, &ChatPane::ClearMainChat1Click);
    connect(menus, &TableMenus::scrollChatOffChosen, &m_chat->mainchat(), &ChatView::ScrollChatOff1Click);
    connect(&m_chat->mainchat(), &ChatView::scrollLockChanged, menus, &TableMenus::setScrollChatOffChecked);
    connect(menus, &TableMenus::phraseListChosen, this, &Tchat::PrhaseList1Click);
    connect(menus, &TableMenus::justWatchChosen, this, &Tchat::JustWatch1Click);
    connect(m_events, &TableEvents::justWatchChanged, menus, &TableMenus::setJustWatchChecked);
    connect(menus, &TableMenus::viewTallyChosen, this, &Tchat::ViewTally1Click);
    connect(menus, &TableMenus::spyListChosen, this, &Tchat::SpyList1Click);
    connect(menus, &TableMenus::contentChosen, this, &Tchat::Help2Click);
    connect(menus, &TableMenus::aboutChosen, this, &Tchat::About1Click);
    connect(menus, &TableMenus::hintChosen, m_hints, &HintRequester::Hint1Click);
    connect(m_hints, &HintRequester::mayAskChanged, menus, &TableMenus::setHintEnabled);
    // The ring shows only to the eye: a screen reader hears the hint.
    connect(m_hints, &HintRequester::said, this, [this](const QString& text) { m_access->announce(text); });
    connect(m_download, &Tdownload::dontShowAgainChanged, this, [this](bool dontShow) {
        ProfileFile file(m_options->path());
        TableSettings::writeShowDownload(file, !dontShow);
    });
    connect(menus, &TableMenus::showPlayableToggled, this, [this](bool shown) { m_playable->setShown(shown); });
}

// --- start-up -------------------------------------------------------------------------------------

void Tchat::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // The board holds the keyboard from the start, so the game can be played without a mouse.
    m_board->setFocus(Qt::OtherFocusReason);
    // After the window has appeared, so that a message box has a window to stand on.
    QMetaObject::invokeMethod(this, &Tchat::processparams, Qt::QueuedConnection);
}

void Tchat::processparams()
{
    if (m_paramsRead)
        return;
    m_paramsRead = true;
    followSlotOne();
    // An unreadable tally is told in the chat: a box here would hold the table back from its seat.
    if (const QString error = m_tally->takeLoadError(); !error.isEmpty())
        m_chat->systemLine(error);

    const StartPlan plan = StartPlan::fromArguments(m_arguments);
    m_startMode = plan.mode;
    if (plan.mode != StartPlan::Mode::Waiting)
        m_hostaddress = plan.hostaddress;
    refreshTitle();
    m_chat->systemLine(plan.loadingLine().mid(2));
    switch (plan.mode) {
    case StartPlan::Mode::Waiting:
        return;
    case StartPlan::Mode::Solo:
        if (TableSettings::read(ProfileFile(m_options->path())).showdownload)
            m_download->showCentredOn(this);
        m_hostaddress = plan.hostaddress;
        m_state.myname = plan.myname;
        // Nobody else has a seat in a solo game: the host takes connections from this machine only.
        hostpress(HostReach::ThisMachine);
        return;
    case StartPlan::Mode::Host:
    case StartPlan::Mode::Join:
        m_state.myname = plan.myname;
        m_hostaddress = plan.hostaddress;
        if (plan.mode == StartPlan::Mode::Host)
            hostpress();
        else
            joinpress();
        m_connection->openLobby();
        return;
    }
}

void Tchat::refreshTitle()
{
    if (m_replay->replaying()) {
        setWindowTitle(WindowTitle::replay(m_replay->path()));
        return;
    }
    const TableModel& model = m_display->model();
    const QString host = model.seat(1).name;
    setWindowTitle(WindowTitle::text(m_startMode, host, m_hostaddress));
}

void Tchat::setHostStarter(HostStarter starter)
{
    HostStarter solo = withSoloPortFallback(std::move(starter));
    // A multi-player host tells the player, once it listens, the addresses friends can type.
    m_connection->setHostStarter([this, solo = std::move(solo)](const QString& port, HostReach reach) {
        const HostStarted started = solo(port, reach);
        if (started.ok() && reach == HostReach::Everyone) {
            statusBar()->show();
            m_play->hostingStarted(started.port);
        }
        return started;
    });
}

void Tchat::setGameFinder(morlu::GameFinder* finder)
{
    m_gameFinder = finder;
    m_play->setGameFinder(finder);
}

void Tchat::setRestarter(std::function<void(const QStringList& arguments)> restarter)
{
    m_replay->setRestarter(restarter);
    m_play->setRestarter(std::move(restarter));
}

bool Tchat::openGameRecord(const QString& path)
{
    // A replay starts nothing, and a replayed winner is no new game for the tally.
    m_paramsRead = true;
    disconnect(m_events, &TableEvents::gameFinished, m_tally, &TallyRecorder::addgame);
    const bool opened = m_replay->open(path);
    followSlotOne();
    refreshTitle();
    return opened;
}

void Tchat::hostpress(HostReach reach)
{
    m_connection->host(m_port, reach);
}

QString Tchat::keptHostName() const
{
    return GameAddress::of(m_hostaddress, quint16(m_port.toUInt())).text();
}

void Tchat::joinpress()
{
    // A program started again after a crash or a kill asks the host for the seat it held there, if the
    // host still keeps it free; a host that does not know the key seats it as a newcomer.
    const TableSettings kept = TableSettings::read(ProfileFile(m_options->path()));
    if (!kept.seatKey.isEmpty() && kept.seatKeyHost == keptHostName() && morlu::isSeatKey(kept.seatKey.toStdString())) {
        m_state.seatkey = kept.seatKey.toStdString();
        m_state.rejoining = true;
    }
    m_connection->join(m_hostaddress, m_port);
}

void Tchat::hostNotice(const QString& text)
{
    m_chat->noticeLine(text);
}

void Tchat::addReachableAddress(const QString& address)
{
    if (!m_reachableAddresses.contains(address))
        m_reachableAddresses.append(address);
    statusBar()->show();
    m_play->addReachableAddress(address);
}

void Tchat::Exit1Click()
{
    if (!mayLeaveGame())
        return;
    m_leaving = true;
    close();
}

bool Tchat::mayLeaveGame()
{
    if (m_leaving || !m_display->model().gamerunning() || m_replay->replaying())
        return true;
    const QString text = m_state.ishost
                             ? QStringLiteral("A game is in progress. Leave it and exit? The game ends for everybody.")
                             : QStringLiteral("A game is in progress. Leave it and exit?");
    return askYesNo(text);
}

void Tchat::followSlotOne()
{
    const bool host = m_state.isHostPlayer();
    // During a game START stays hidden; "Start Game" asks before it throws the game away.
    m_board->startButton()->setVisible(host && !m_display->model().gamerunning());
    m_menus->setStartGameEnabled(host);
    m_spylist->setKickEnabled(host);
}

void Tchat::closeEvent(QCloseEvent* event)
{
    // Only the close box asks: a close the program decided (the host gone, a stop signal) goes ahead.
    if (event->spontaneous() && !mayLeaveGame()) {
        event->ignore();
        return;
    }
    m_leaving = true;
    m_options->FormClose();
    event->accept();
    // The seat key is kept for a program that dies; one that closes has left its seat for good.
    if (!m_state.ishost && m_state.connected) {
        ProfileFile file(m_options->path());
        TableSettings::writeSeatKey(file, QString(), QString());
    }
    m_tally->save();
    m_tallySaved = true;
    m_records->finish();
    if (!m_closeReported) {
        m_closeReported = true;
        emit tableClosed();
    }
}
