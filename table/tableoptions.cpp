#include "tableoptions.h"

#include "chatbuttons.h"
#include "chatpane.h"
#include "chatview.h"
#include "colortext.h"
#include "hostrequests.h"
#include "profilefile.h"
#include "sessionmessages.h"
#include "soundplayer.h"
#include "tableevents.h"
#include "tablemenus.h"
#include "tablestate.h"
#include "windowplacement.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

int itemIndex(TableSettings::BotSpeedItem item)
{
    switch (item) {
    case TableSettings::BotSpeedItem::Slow:
        return 0;
    case TableSettings::BotSpeedItem::Fast:
        return 2;
    case TableSettings::BotSpeedItem::Normal:
        break;
    }
    return 1;
}

QList<QRect> workAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}

} // namespace

TableOptions::TableOptions(const Parts& parts, const QString& path, ColourChooser chooseColour, QObject* parent)
    : QObject(parent), m_parts(parts), m_path(path), m_chooseColour(std::move(chooseColour))
{
    // As the window is built, before any file is read.
    m_current.textsize = m_parts.chat.mainchat().textSize();
    m_current.playsounds = m_parts.sounds.playSounds();
    m_current.chattersounds = m_parts.sounds.chatterSounds();

    TableMenus* menus = &m_parts.menus;
    connect(menus, &TableMenus::playSoundsToggled, this, &TableOptions::PlaySounds1Click);
    connect(menus, &TableMenus::playChatterSoundsToggled, this, &TableOptions::PlayChatterSounds1Click);
    connect(menus, &TableMenus::turnSoundChosen, this, &TableOptions::New1Click);
    connect(menus, &TableMenus::botSpeedChosen, this, &TableOptions::Slow1Click);
    connect(menus, &TableMenus::botLevelChosen, this, &TableOptions::BotLevelClick);
    connect(menus, &TableMenus::textColorChosen, this, &TableOptions::TextColor1Click);
    connect(menus, &TableMenus::textSizeChosen, this, &TableOptions::N14Click);
    connect(menus, &TableMenus::resetScreenLocationChosen, this, &TableOptions::ResetScreenLocation1Click);
    connect(menus, &TableMenus::showPlayableToggled, this, &TableOptions::ShowPlayableCards1Click);
    connect(menus, &TableMenus::keepRecordsToggled, this, &TableOptions::KeepGameRecords1Click);
    connect(menus, &TableMenus::allowHintsToggled, this, &TableOptions::AllowHints1Click);
}

QRect TableOptions::windowBounds() const
{
    return QRect(m_parts.window.pos(), m_parts.window.size());
}

void TableOptions::setWindowBounds(const QRect& bounds)
{
    m_parts.window.move(bounds.topLeft());
    m_parts.window.resize(bounds.size());
}

bool TableOptions::hosting() const
{
    return m_parts.state.myseat == 1 && m_parts.state.connected;
}

void TableOptions::loadinifile()
{
    const TableSettings file = TableSettings::read(ProfileFile(m_path));

    m_current.textsize = file.textsize;
    m_parts.chat.mainchat().setTextSize(file.textsize);
    m_parts.chat.mainchat().relayout();
    m_parts.menus.checkTextSize(file.textsize);

    // Every login reads the file, a table's return after a dropped connection too; only the first one
    // places the window, so a window the player has moved since stays where it is.
    if (!m_read) {
        m_savedbounds = file.bounds;
        setWindowBounds(WindowPlacement::onScreen(file.bounds, workAreas()));
    }

    m_current.textcolor = file.textcolor;
    m_parts.chat.setTextColour(file.textcolor);

    for (int n = 1; n <= TableSettings::kPhraseCount; ++n) {
        const QString& phrase = file.phrases.at(std::size_t(n - 1));
        if (!phrase.isEmpty())
            m_parts.chat.buttons().setPhrase(n, phrase);
    }

    applyPlaySounds(file.playsounds);
    m_parts.menus.setPlaySoundsChecked(file.playsounds);

    m_current.botspeed = file.botspeed;
    m_current.botspeedItem = file.botspeedItem;
    m_parts.menus.setBotSpeedChecked(itemIndex(file.botspeedItem));
    if (hosting())
        sendBotSpeed();

    m_current.turnsound = file.turnsound;
    m_parts.events.setChosenturnsound(file.turnsound);
    m_parts.menus.setTurnSoundChecked(file.turnsound);

    applyChatterSounds(file.chattersounds);
    m_parts.menus.setPlayChatterSoundsChecked(file.chattersounds);

    m_current.botLevel = file.botLevel;
    m_parts.menus.setBotLevelChecked(int(file.botLevel));
    m_parts.menus.setComputerPlayersEnabled(hosting());
    if (hosting())
        sendBotLevels();

    m_current.showPlayableCards = file.showPlayableCards;
    m_parts.menus.showPlayableAction()->setChecked(file.showPlayableCards);
    m_current.keepRecords = file.keepRecords;
    m_parts.menus.keepRecordsAction()->setChecked(file.keepRecords);

    m_current.allowHints = file.allowHints;
    m_parts.menus.setAllowHintsShown(hosting(), file.allowHints);
    if (hosting())
        sendAllowHints();

    m_read = true;
}

bool TableOptions::write(const QRect& bounds)
{
    if (m_read) {
        m_pendingBounds = bounds;
        m_settingsPending = true;
    }
    return writePending();
}

bool TableOptions::writePending()
{
    if (!m_settingsPending && !m_pendingPhrases)
        return m_read;
    ProfileFile file(m_path);
    bool ok = true;
    if (m_settingsPending) {
        TableSettings s = m_current;
        s.bounds = m_pendingBounds;
        ok = s.write(file);
        m_settingsPending = !ok;
    }
    if (ok && m_pendingPhrases) {
        ok = TableSettings::writePhrases(file, *m_pendingPhrases);
        if (ok)
            m_pendingPhrases.reset();
    }
    if (ok) {
        m_failureShown = false;
        return m_read;
    }
    qWarning("Morlu: the settings could not be written to %s: %s", qPrintable(m_path),
             qPrintable(file.errorString()));
    if (!m_failureShown) {
        m_failureShown = true;
        m_parts.chat.systemLine(QStringLiteral("The settings could not be saved to %1 (%2). They will be saved "
                                               "again with the next change and when the table closes.")
                                    .arg(QDir::toNativeSeparators(m_path), file.errorString()));
    }
    return false;
}

bool TableOptions::saveinifile()
{
    return write(windowBounds());
}

void TableOptions::FormClose()
{
    const QRect bounds = windowBounds();
    if (m_read && bounds != m_savedbounds) {
        const QScreen* screen = m_parts.window.screen();
        const QRect workArea = screen ? screen->availableGeometry() : bounds;
        m_savedbounds = WindowPlacement::atClose(bounds, m_parts.window.frameGeometry(), workArea);
        write(m_savedbounds);
        return;
    }
    // A save that failed earlier gets its last try.
    writePending();
}

void TableOptions::savePhrases(const QStringList& phrases)
{
    QStringList fitted;
    for (int n = 1; n <= TableSettings::kPhraseCount; ++n) {
        fitted << TableSettings::fitPhrase(phrases.value(n - 1));
        m_parts.chat.buttons().setPhrase(n, fitted.last());
    }
    // Phrases only ever change through the editor, so writing them cannot wipe anything stored.
    m_pendingPhrases = fitted;
    writePending();
}

void TableOptions::applyPlaySounds(bool on)
{
    m_current.playsounds = on;
    m_parts.sounds.setPlaySounds(on);
}

void TableOptions::applyChatterSounds(bool on)
{
    m_current.chattersounds = on;
    m_parts.sounds.setChatterSounds(on);
}

void TableOptions::PlaySounds1Click(bool on)
{
    applyPlaySounds(on);
    saveinifile();
}

void TableOptions::ShowPlayableCards1Click(bool on)
{
    m_current.showPlayableCards = on;
    saveinifile();
}

void TableOptions::KeepGameRecords1Click(bool on)
{
    m_current.keepRecords = on;
    saveinifile();
}

void TableOptions::PlayChatterSounds1Click(bool on)
{
    applyChatterSounds(on);
    saveinifile();
}

void TableOptions::New1Click(int choice)
{
    m_current.turnsound = choice == 1 ? 1 : 0;
    m_parts.events.setChosenturnsound(m_current.turnsound);
    m_parts.menus.setTurnSoundChecked(m_current.turnsound);
    saveinifile();
}

void TableOptions::Slow1Click(int item)
{
    const TableSettings::BotSpeedItem items[] = {TableSettings::BotSpeedItem::Slow, TableSettings::BotSpeedItem::Normal,
                                                 TableSettings::BotSpeedItem::Fast};
    m_current.botspeedItem = items[item >= 0 && item < 3 ? item : 1];
    m_current.botspeed = TableSettings::delayOf(m_current.botspeedItem);
    m_parts.menus.setBotSpeedChecked(itemIndex(m_current.botspeedItem));
    // From any seat: the host takes it from slot 1 only.
    if (m_parts.state.connected)
        sendBotSpeed();
    saveinifile();
}

void TableOptions::BotLevelClick(int level)
{
    const TableSettings::BotLevel levels[] = {TableSettings::BotLevel::Classic, TableSettings::BotLevel::Expert,
                                              TableSettings::BotLevel::Master};
    m_current.botLevel = levels[level >= 0 && level < 3 ? level : 0];
    m_parts.menus.setBotLevelChecked(int(m_current.botLevel));
    if (hosting())
        sendBotLevels();
    saveinifile();
}

void TableOptions::AllowHints1Click(bool on)
{
    m_current.allowHints = on;
    if (hosting())
        sendAllowHints();
    saveinifile();
}

void TableOptions::TextColor1Click()
{
    if (!m_chooseColour)
        return;
    const std::optional<QColor> chosen = m_chooseColour(ColorText::toColor(m_current.textcolor));
    if (!chosen || !chosen->isValid())
        return;
    m_current.textcolor = ColorText::fromColor(*chosen);
    m_parts.chat.setTextColour(m_current.textcolor);
    saveinifile();
}

void TableOptions::N14Click(int size)
{
    m_current.textsize = size;
    m_parts.chat.mainchat().setTextSize(size);
    saveinifile();
}

void TableOptions::ResetScreenLocation1Click()
{
    setWindowBounds(WindowPlacement::kDefault);
}

void TableOptions::sendBotSpeed()
{
    m_parts.host.sendline(morlu::BotSpeed{m_parts.state.myseat, chosenbotspeed()}.write(m_line));
}

void TableOptions::sendBotLevels()
{
    const std::string level = TableSettings::botLevelWord(m_current.botLevel).toStdString();
    for (int seat = 1; seat <= 4; ++seat)
        m_parts.host.sendline(morlu::BotLevel{seat, level}.write(m_line));
}

void TableOptions::sendAllowHints()
{
    m_parts.host.sendline(morlu::AllowHints{m_current.allowHints}.write(m_line));
}
