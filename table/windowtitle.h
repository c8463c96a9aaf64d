#pragma once

#include "startplan.h"

#include <QString>

/**
 * The title of the table's window: where the player is. "Morlu - solo game", "Morlu - Ann's game at
 * 192.168.1.20" once the host player's name is known ("Morlu - game at 192.168.1.20" before), and
 * "Morlu - Ann's game" for the player who hosts it.
 */
class WindowTitle {
public:
    /**
     * @p mode how the table started; @p hostName the name of the player in seat 1 (empty while unknown);
     * @p address the host's address the table joined.
     */
    static QString text(StartPlan::Mode mode, const QString& hostName, const QString& address);
    /** "Morlu - replay of 2026-12-08_142501.morlugame": the file name of the record at @p path. */
    static QString replay(const QString& path);
};
