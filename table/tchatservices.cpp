#include "boarddisplay.h"
#include "chatbuttons.h"
#include "chatpane.h"
#include "chatview.h"
#include "gamerecorder.h"
#include "messagebox.h"
#include "seatcontrols.h"
#include "tableconnection.h"
#include "tabledialogs.h"
#include "tablelink.h"
#include "tablemenus.h"
#include "tablemodel.h"
#include "tableoptions.h"
#include "tablesession.h"
#include "tabout.h"
#include "tallyrecorder.h"
#include "tchat.h"
#include "tdownload.h"
#include "tgamestart.h"
#include "thelp.h"
#include "tphrases.h"
#include "tspylist.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

// The window's services to its parts and to tests: the chat, the settings, the table's windows and boxes
// (TableDialogs), and the parts tests reach.

void Tchat::chatrecieved(std::string_view rest)
{
    m_chat->chatrecieved(rest);
}

void Tchat::loadinifile()
{
    m_options->loadinifile();
}

void Tchat::setSettingsPath(const QString& path)
{
    m_options->setPath(path);
}

int Tchat::chosenbotspeed() const
{
    return m_options->chosenbotspeed();
}

void Tchat::setChosenbotspeed(int milliseconds)
{
    m_options->setFixedBotSpeed(milliseconds);
}

void Tchat::PrhaseList1Click()
{
    QStringList phrases;
    for (int n = 1; n <= ChatButtons::kPhraseCount; ++n)
        phrases << m_chat->buttons().phrase(n);
    m_phrases->PrhaseList1Click(phrases, this);
}

void Tchat::showGameStart()
{
    // Starting a game here answers the offer at a solo start: it would stand over the cards otherwise.
    m_download->hide();
    m_gamestart->showCentredOn(this);
}

void Tchat::useTallyFile(const QString& path)
{
    m_tally->useFile(path);
    // The game records live in a folder of their own beside the tally.
    m_records->setFolder(QFileInfo(path).dir().filePath(QStringLiteral("games")));
}

void Tchat::ViewTally1Click()
{
    m_tally->ViewTally1Click();
}

void Tchat::SpyList1Click()
{
    m_spylist->showOver(this);
}

void Tchat::JustWatch1Click()
{
    m_seatControls->JustWatch1Click();
}

void Tchat::Help2Click()
{
    m_help->showOver(this);
}

void Tchat::About1Click()
{
    m_about->showCentredOn(this);
}

void Tchat::showMessage(const QString& text)
{
    MessageBox::information(this, text);
}

bool Tchat::askYesNo(const QString& text)
{
    return MessageBox::question(this, text) == QMessageBox::Yes;
}

void Tchat::showWarning(const QString& text)
{
    MessageBox::warning(this, text);
}

bool Tchat::askRetry(const QString& text)
{
    return MessageBox::retryOrQuit(this, text) == QMessageBox::Retry;
}

TableDialogs::JoinFailedAnswer Tchat::askRetryChangeOrQuit(const QString& text)
{
    switch (MessageBox::retryChangeOrQuit(this, text)) {
    case QMessageBox::Retry:
        return JoinFailedAnswer::Retry;
    case QMessageBox::Open:
        return JoinFailedAnswer::ChangeAddress;
    default:
        return JoinFailedAnswer::Quit;
    }
}

const TableModel& Tchat::model() const
{
    return m_display->model();
}

TableLink& Tchat::link()
{
    return m_connection->link();
}

ChatView& Tchat::mainchat()
{
    return m_chat->mainchat();
}

QStringList Tchat::spys() const
{
    return m_session->spys();
}

QAction* Tchat::startGameAction() const
{
    return m_menus->startGameAction();
}
