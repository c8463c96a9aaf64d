#include "tallyrecorder.h"

#include "cards.h"
#include "tablemodel.h"
#include "ttallylist.h"

#include <QDir>

#include <utility>

TallyRecorder::TallyRecorder(const TableModel& model, const QPixmap& tile, QWidget* window)
    : QObject(window), m_model(model), m_window(window), m_dialog(new Ttallylist(m_store, tile, window))
{
    connect(m_dialog, &Ttallylist::tallyEdited, this, &TallyRecorder::save);
}

void TallyRecorder::useFile(const QString& path)
{
    m_path = path;
    m_store.load(path);
    const QString error = m_store.loadError();
    if (error.isEmpty()) {
        m_loadError.clear();
    } else {
        // The player hears what it means for him; the coder's own words go to the log.
        qWarning("Morlu: the tally file %s cannot be read: %s", qUtf8Printable(QDir::toNativeSeparators(path)),
                 qUtf8Printable(error));
        m_loadError = QStringLiteral("Your win tally could not be read, so it starts empty. The old file is kept "
                                     "as %1.")
                          .arg(QDir::toNativeSeparators(path + QStringLiteral(".bad")));
    }
    m_dialog->loadtally();
}

QString TallyRecorder::takeLoadError()
{
    return std::exchange(m_loadError, QString());
}

QStringList TallyRecorder::playersInCurrentGame() const
{
    QStringList names;
    for (int seat = 1; seat <= morlu::kSeatCount; ++seat) {
        const QString name = m_model.seatName(seat);
        if (seat != m_model.myslot() && !name.isEmpty() && name != TableModel::waitingName())
            names << name;
    }
    return names;
}

void TallyRecorder::addgame(const QString& winner)
{
    const QStringList atTable = playersInCurrentGame();
    m_dialog->setPlayersInCurrentGame(atTable);
    m_store.addgame(winner, atTable);
    m_dialog->showCounts();
    save();
}

void TallyRecorder::ViewTally1Click()
{
    m_dialog->setPlayersInCurrentGame(playersInCurrentGame());
    m_dialog->showCentredOn(m_window);
}

bool TallyRecorder::save()
{
    if (m_path.isEmpty())
        return true;
    if (m_store.save(m_path)) {
        m_failureShown = false;
        return true;
    }
    qWarning("Morlu: the tally was not saved: %s", qPrintable(m_store.saveError()));
    // Said once; every later save (the next game, an edit, the close) tries again.
    if (!m_failureShown) {
        m_failureShown = true;
        emit saveFailed(QStringLiteral("The tally could not be saved to %1 (%2). It will be saved again after the "
                                       "next game and when the table closes.")
                            .arg(QDir::toNativeSeparators(m_path), m_store.saveError()));
    }
    return false;
}
