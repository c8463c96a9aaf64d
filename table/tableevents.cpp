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
