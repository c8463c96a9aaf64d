#pragma once

#include <QDialog>

class QCheckBox;

/**
 * The offer of the lobby program, shown at a solo start: multi-player games are usually started by a
 * separate lobby program, which this package does not contain. The dialog says so and where the lobby
 * program would come from; it offers no download while the project has no page to download from.
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

private:
    QCheckBox* m_dontShow = nullptr;
};
