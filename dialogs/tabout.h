#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>

/**
 * The about box "About Morlu": the game's picture, its name, the version (the one a table sends at
 * login, "1.0.5") and one line on what the game is. It is not modal; "OK" hides it.
 */
class Tabout : public QDialog {
    Q_OBJECT

public:
    /** @p version: the version text; @p picture: the game's icon. */
    Tabout(const QString& version, const QPixmap& picture, QWidget* parent = nullptr);

    /** Shows the box centred on @p window and brings it forward. */
    void showCentredOn(const QWidget* window);
};
