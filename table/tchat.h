#pragma once

#include <QMainWindow>

/**
 * The table: the program's main window. It shows the game the host reports and sends the player's
 * requests to the host.
 */
class Tchat : public QMainWindow {
    Q_OBJECT

public:
    explicit Tchat(QWidget* parent = nullptr);
};
