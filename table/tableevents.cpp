#include "tableevents.h"

void TableEvents::playsounds(const QString& name)
{
    emit soundRequested(name);
}

void TableEvents::addgame(const QString& winner)
{
    emit gameFinished(winner);
}

void TableEvents::setJustWatchChecked(bool checked)
{
    emit justWatchChanged(checked);
}

void TableEvents::giveSeat(int slot)
{
    emit seatGiven(slot);
}

void TableEvents::confirmSeat(int slot)
{
    emit seatConfirmed(slot);
}

void TableEvents::setSpys(const QStringList& entries)
{
    emit spysChanged(entries);
}
