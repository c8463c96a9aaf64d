#include "playerinput.h"

#include "artpicture.h"
#include "board.h"
#include "cardplace.h"
#include "cards.h"
#include "clicklabel.h"
#include "contractchooser.h"
#include "gamemessages.h"
#include "hostrequests.h"
#include "instructionspanel.h"
#include "tabledialogs.h"
#include "tableevents.h"
#include "tablemodel.h"
#include "tablestate.h"
#include "titledpanel.h"

#include <QDesktopServices>

#include <string>

PlayerInput::PlayerInput(Board& board, TableState& state, const TableModel& model, HostRequests& host,
                         TableDialogs& dialogs, TableEvents& events)
    : m_board(board), m_state(state), m_model(model), m_host(host), m_dialogs(dialogs), m_events(events),
      m_openUrl([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    connect(&model, &TableModel::changed, this, [this] { m_choiceSent = false; });
    connect(&board, &Board::handPlaceClicked, this, &PlayerInput::card_1Click);
    connect(&board, &Board::contractReleased, this, &PlayerInput::label_city1MouseUp);
    connect(&board, &Board::errorOkClicked, this, &PlayerInput::Image7Click);
    connect(&board, &Board::instructionsOkClicked, this, &PlayerInput::Image10Click);
    connect(&board, &Board::startClicked, this, &PlayerInput::button_startClick);
    connect(&board, &Board::logoClicked, this, &PlayerInput::Image1Click);
    setWebPage(configuredWebPage());
}

void PlayerInput::card_1Click(CardPlace* place)
{
    m_board.errorPanel()->hide();
    if (!place || !m_state.connected || m_model.onTurn() != m_state.myseat || place->slot() == 0)
        return;
    std::string line;
    m_host.sendRequest(morlu::PlayCard{m_state.myseat, place->slot()}.write(line));
}

void PlayerInput::label_city1MouseUp(int code)
{
    // Chooser 0 means nobody may choose, also before this table has its seat (myseat 0).
    if (m_choiceSent || m_model.chooser() == 0 || m_model.chooser() != m_state.myseat)
        return;
    // An entry that cannot be chosen says why instead of doing nothing.
    if (m_model.contractUsed(code)) {
        const QString reason = ContractChooser::reasonFor(m_model.contractOutOfGame(code), m_model.contracttotal());
        m_board.statusLabel()->setText(
            QStringLiteral("%1 cannot be chosen: %2.").arg(m_board.chooser()->titleLabel(code)->text(), reason));
        return;
    }
    if (!morlu::validContract(code))
        return;
    if (m_state.connected) {
        std::string line;
        // Dropped while the table reconnects (the connection says so): nothing clicks as if it were taken,
        // and the choice stays open.
        if (!m_host.sendRequest(morlu::ChooseType{m_state.myseat, code}.write(line)))
            return;
    }
    m_choiceSent = true;
    m_events.playsounds(QStringLiteral("clickcontract"));
    m_board.errorPanel()->hide();
}

void PlayerInput::Image7Click()
{
    m_board.errorPanel()->hide();
}

void PlayerInput::QuickInstructions1Click()
{
    Board::showInFront(m_board.instructionsPanel());
}

void PlayerInput::Image10Click()
{
    m_board.instructionsPanel()->hide();
}

void PlayerInput::button_startClick()
{
    if (!m_state.connected) {
        m_dialogs.showMessage(QStringLiteral("You are not connected"));
        return;
    }
    // The host starts over at once, whatever is going on, so a running game is never thrown away by a slip.
    if (m_model.gamerunning() &&
        !m_dialogs.askYesNo(QStringLiteral("A game is being played. End it and start a new game?")))
        return;
    m_dialogs.showGameStart();
}

void PlayerInput::gamestartChosen(const QString& letter)
{
    const QByteArray name = m_state.myname.toUtf8();
    const QByteArray length = letter.toUtf8();
    std::string line;
    m_host.sendRequest(morlu::StartGame{std::string_view(name.constData(), std::size_t(name.size())),
                                        std::string_view(length.constData(), std::size_t(length.size()))}
                           .write(line));
}

void PlayerInput::Image1Click()
{
    if (m_openUrl && m_webPage.isValid())
        m_openUrl(m_webPage);
}

QUrl PlayerInput::configuredWebPage()
{
    return QUrl(QStringLiteral(MORLU_HOMEPAGE));
}

void PlayerInput::setWebPage(const QUrl& page)
{
    const bool web =
        page.isValid() && (page.scheme() == QLatin1String("https") || page.scheme() == QLatin1String("http"));
    m_webPage = web ? page : QUrl();
    m_board.logo()->setCursor(web ? Qt::PointingHandCursor : Qt::ArrowCursor);
}
