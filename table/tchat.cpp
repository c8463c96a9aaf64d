#include "tchat.h"

#include "artpicture.h"
#include "artwork.h"
#include "board.h"
#include "chatview.h"
#include "colortext.h"
#include "esockexception.h"
#include "fieldreader.h"
#include "gamedisplay.h"
#include "gamemessages.h"
#include "messagebox.h"
#include "sessionmessages.h"
#include "startplan.h"
#include "tablelink.h"
#include "tablesession.h"
#include "tgamestart.h"
#include "tsock.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>

namespace {

constexpr std::uint32_t kRed = 0x0000FF;
const QColor kWindowColour(87, 41, 182);
/// Where the board sits in the window's client area, which never gets smaller than the board + 15 x 12.
constexpr QPoint kBoardAt{6, 6};
constexpr QSize kMinimumClient{Board::kWidth + 15, Board::kHeight + 12};
/// The chat view's place in the board's chat area, right of the column the phrase buttons will take.
constexpr QPoint kChatAt{23, 0};

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

/// The client area under the menu bar: the window tile behind the board.
class TiledArea : public QWidget {
public:
    explicit TiledArea(QWidget* parent) : QWidget(parent), m_tile(QStringLiteral(":/art/tile.jpg"))
    {
        setObjectName(QStringLiteral("panel_main"));
        setMinimumSize(kMinimumClient);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        if (m_tile.isNull())
            painter.fillRect(rect(), kWindowColour);
        else
            painter.drawTiledPixmap(rect(), m_tile);
    }

private:
    QPixmap m_tile;
};

} // namespace

Tchat::Tchat(QWidget* parent) : Tchat(QStringList(), QStringLiteral("7772"), parent) {}

Tchat::Tchat(const QStringList& arguments, const QString& port, QWidget* parent)
    : QMainWindow(parent), m_arguments(arguments), m_port(port)
{
    FormCreate();
}

Tchat::~Tchat()
{
    // The board's input must not reach a window that is half gone.
    m_display.reset();
}

void Tchat::FormCreate()
{
    setObjectName(QStringLiteral("Tchat"));
    setWindowTitle(QString::fromLatin1(kGameName));
    setWindowIcon(Artwork::appIcon());
    // The named mutex "morlu" of older versions was held for the life of the process and never looked at;
    // the single-instance check (SingleInstance) is all the program needs.
    resize(kDefaultWidth, kDefaultHeight);
    morlu::TSock::setUncaughtErrorHandler(
        [](const QString& text) { qWarning("Morlu: socket handler failed: %s", qPrintable(text)); });

    buildWindow();
    buildMenus();

    m_link = new TableLink(this);
    connect(m_link, &TableLink::closed, this, &QWidget::close);
    m_sock11 = new morlu::TSock(this);
    m_sock11->setObjectName(QStringLiteral("Sock11"));
    m_sock11->setHostName(QStringLiteral("127.0.0.1"));
    m_sock11->setPortName(QStringLiteral("9001"));

    m_gamestart = new Tgamestart(Artwork::checkMark(devicePixelRatioF()), Artwork::startGameButton(devicePixelRatioF()),
                                 QPixmap(QStringLiteral(":/art/tile.jpg")), this);
    m_gamestart->setWindowFlag(Qt::Dialog);
    connect(m_gamestart, &Tgamestart::startRequested, this, [this](const QString& letter) {
        const QByteArray name = m_state.myname.toUtf8();
        const QByteArray length = letter.toUtf8();
        std::string line;
        sendline(morlu::StartGame{std::string_view(name.constData(), std::size_t(name.size())),
                                  std::string_view(length.constData(), std::size_t(length.size()))}
                     .write(line));
    });

    m_display->clearall();
    registerCommands();
}

void Tchat::buildWindow()
{
    auto* area = new TiledArea(this);
    setCentralWidget(area);
    m_board = new Board(area);
    m_board->move(kBoardAt);
    m_mainchat = new ChatView(m_board->chatArea());
    m_mainchat->move(kChatAt);

    m_display = std::make_unique<GameDisplay>(*m_board, m_state, *this);
    m_session = std::make_unique<TableSession>(*m_board, m_state, *this);
    m_session->setLoadIniFile([this] { loadinifile(); });
    m_session->setBotSpeed([this] { return m_chosenbotspeed; });
}

void Tchat::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    m_startGame1 = file->addAction(QStringLiteral("&Start Game"), this, [this] { m_display->button_startClick(); });
    m_startGame1->setObjectName(QStringLiteral("StartGame1"));
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("E&xit"), this, &Tchat::Exit1Click);
    exit->setObjectName(QStringLiteral("Exit1"));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("View1"));
    QAction* instructions =
        view->addAction(QStringLiteral("&Quick Instructions"), this, [this] { m_display->QuickInstructions1Click(); });
    instructions->setObjectName(QStringLiteral("QuickInstructions1"));
    instructions->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    instructions->setShortcutContext(Qt::WindowShortcut);
}

void Tchat::registerCommands()
{
    using namespace morlu;
    morlu::Dispatcher<>& d = m_link->dispatcher();
    const auto display = [&d, this](std::string_view word, void (GameDisplay::*handler)(std::string_view)) {
        d.add(word, [this, handler](std::string_view rest) { ((*m_display).*handler)(rest); });
    };
    const auto session = [&d, this](std::string_view word, void (TableSession::*handler)(std::string_view)) {
        d.add(word, [this, handler](std::string_view rest) { ((*m_session).*handler)(rest); });
    };
    session(CMD_sendlogininfo, &TableSession::sendloginfo);
    d.add(CMD_chat, [this](std::string_view rest) { chatrecieved(rest); });
    d.add(CMD_action, [this](std::string_view rest) { chatrecieved(rest); });
    session(CMD_newplayerinfo, &TableSession::newplayerinfo);
    d.add(CMD_havewrongversion, [this](std::string_view rest) {
        systemLine(fromView(HaveWrongVersion::read(rest).name) +
                   QStringLiteral(" has a different version of the game then you."));
    });
    d.add(CMD_wrongversion, [this](std::string_view) {
        systemLine(QStringLiteral("You have a differnt version of the game then the host."));
    });
    session(CMD_existingplayers, &TableSession::newplayerinfo);
    session(CMD_playerdisconnected, &TableSession::playerdisconnected);
    display(CMD_startgame, &GameDisplay::startthegame);
    display(CMD_nextplayer, static_cast<void (GameDisplay::*)(std::string_view)>(&GameDisplay::getnextplayer));
    display(CMD_winner, &GameDisplay::winner);
    d.add(CMD_full, [this](std::string_view) { full(); });
    display(CMD_justwatching, &GameDisplay::justwatching);
    display(CMD_mycards, &GameDisplay::mycards);
    display(CMD_startround, &GameDisplay::startround);
    display(CMD_alreadychoose, &GameDisplay::alreadychoose);
    display(CMD_choosehand, &GameDisplay::choosehand);
    display(CMD_placecard, &GameDisplay::placecard);
    display(CMD_endhand, &GameDisplay::endhand);
    display(CMD_scores, &GameDisplay::scores);
    display(CMD_starthand, &GameDisplay::starthand);
    display(CMD_took, &GameDisplay::took);
    display(CMD_aerror, &GameDisplay::aerror);
    display(CMD_dplacecard, &GameDisplay::dplacecard);
    display(CMD_dendhand, &GameDisplay::dendhand);
    display(CMD_agame, &GameDisplay::agame);
    display(CMD_handsused, &GameDisplay::handsused);
    d.add(CMD_playasound, [this](std::string_view rest) { playasound(rest); });
}

// --- start-up -------------------------------------------------------------------------------------

void Tchat::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // After the window has appeared, so that a message box has a window to stand on.
    QMetaObject::invokeMethod(this, &Tchat::processparams, Qt::QueuedConnection);
}

void Tchat::processparams()
{
    if (m_paramsRead)
        return;
    m_paramsRead = true;
    m_board->startButton()->hide();
    m_startGame1->setEnabled(false);

    const StartPlan plan = StartPlan::fromArguments(m_arguments);
    systemLine(plan.loadingLine().mid(2));
    switch (plan.mode) {
    case StartPlan::Mode::Waiting:
        return;
    case StartPlan::Mode::Solo:
        // The lobby download offer of a solo start is not part of this program yet.
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
        openLobby();
        return;
    }
}

void Tchat::openLobby()
{
    try {
        m_sock11->Open();
    } catch (const morlu::ESockException& error) {
        qWarning("Morlu: no connection to the lobby program: %s", error.what());
    }
}

void Tchat::hostpress(HostReach reach)
{
    const HostStarted host =
        m_hostStarter ? m_hostStarter(m_port, reach) : HostStarted{0, QStringLiteral("This program has no host")};
    if (!host.ok()) {
        showMessage(host.error);
        return;
    }
    m_state.ishost = true;
    try {
        // Always the own machine, whatever hostaddress says; the bound port also covers "--port 0".
        m_link->open(QStringLiteral("127.0.0.1"), QString::number(host.port));
    } catch (const morlu::ESockException& error) {
        showMessage(QString::fromLatin1(error.what()));
    }
    m_board->startButton()->show();
    m_startGame1->setEnabled(true);
}

void Tchat::joinpress()
{
    try {
        m_link->open(m_hostaddress, m_port);
    } catch (const morlu::ESockException& error) {
        showMessage(QString::fromLatin1(error.what()));
    }
    m_board->startButton()->hide();
    m_startGame1->setEnabled(false);
}

void Tchat::full()
{
    showMessage(QStringLiteral("Game is full"));
    close();
}

void Tchat::closeEvent(QCloseEvent* event)
{
    // Saving the window's place comes with the settings file.
    event->accept();
    if (!m_closeReported) {
        m_closeReported = true;
        emit tableClosed();
    }
}

// --- services -------------------------------------------------------------------------------------

void Tchat::systemLine(const QString& text)
{
    addlinetochat(QStringLiteral("0+") + text, systemcolor());
}

void Tchat::addlinetochat(const QString& line, std::uint32_t colour)
{
    m_mainchat->addlinetochat(line, colour);
}

void Tchat::chatrecieved(std::string_view rest)
{
    const QString text = fromView(rest);
    // The colour is the text after the last "|": a colour text never holds one, while a chat text or
    // a name may, and splitting at the first would cut the line and lose its colour.
    const qsizetype bar = text.lastIndexOf(QLatin1Char('|'));
    if (bar < 0) {
        addlinetochat(text, kRed);
        return;
    }
    const std::optional<std::uint32_t> colour = ColorText::read(text.mid(bar + 1));
    addlinetochat(text.left(bar), colour.value_or(kRed));
}

void Tchat::playasound(std::string_view rest)
{
    morlu::FieldReader reader(rest);
    const int seat = reader.intField();
    const QString name = fromView(reader.field());
    // Playing it, or writing it to the chat when chatter sounds are off, comes with the sound player.
    emit chatterSoundReceived(seat, name);
}

void Tchat::playsounds(const QString& name)
{
    emit soundRequested(name);
}

void Tchat::addgame(const QString&)
{
    // The tally of won games comes in its own change.
}

void Tchat::loadinifile()
{
    // The settings file comes in its own change; until then the built-in settings stay.
}

void Tchat::sendline(std::string_view line)
{
    try {
        m_link->sendline(line);
    } catch (const morlu::ESockException& error) {
        showMessage(QString::fromLatin1(error.what()));
        return;
    }
    emit lineSent(QByteArray(line.data(), qsizetype(line.size())));
}

void Tchat::showGameStart()
{
    m_gamestart->showCentredOn(this);
}

void Tchat::showMessage(const QString& text)
{
    MessageBox::information(this, text);
}

QStringList Tchat::spys() const
{
    return m_session->spys();
}
