#include "oneshottimer.h"

QtOneShotTimer::QtOneShotTimer(QObject* parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { fire(); });
}
