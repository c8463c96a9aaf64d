#pragma once

#include <QDialog>

class QCheckBox;

/**
 * The offer shown at a solo start: playing with others. It offers Host Game and Join Game, which the
 * table opens (hostGameChosen(), joinGameChosen()); "Play Solo" only closes it. No other program is
 * needed to play together.
 *
 * It never blocks the game (it is not modal), and "Don't show this again" is reported at once
 * (dontShowAgainChanged) for the table to keep in its settings file.
 */
class Tdownload : public QDialog {
    Q_OBJECT

public:
    explicit Tdownload(QWidget* parent = nullptr);

    bool dontShowAgain() const;
    void setDontShowAgain(bool checked);

    /** Shows the dialog centred on @p window, without taking the focus from it. */
    void showCentredOn(const QWidget* window);

signals:
    /** The player ticked or unticked "Don't show this again". */
    void dontShowAgainChanged(bool checked);
    /** "Host Game...": the offer has closed. */
    void hostGameChosen();
    /** "Join Game...": the offer has closed. */
    void joinGameChosen();

private:
    QCheckBox* m_dontShow = nullptr;
};
