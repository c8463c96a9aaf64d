#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>

#include <array>

class QLabel;

/**
 * The game length chooser "Game Start": the host's player marks a short, half or full game
 * and presses the start picture. The dialog only reports the choice (startRequested) and hides; the
 * window sends the request to the host.
 *
 * One dialog lives as long as the program and is only hidden and shown, so the marked option carries
 * over from one opening to the next; a new dialog has the full game marked. It is not modal. Closing it
 * with the close box sends nothing.
 *
 * By keyboard: the arrow keys, or S, H and F, mark the short, half or full game; Enter starts; Esc
 * closes. A dotted frame shows which option the keys move.
 */
class Tgamestart : public QDialog {
    Q_OBJECT

public:
    /** The pictures come from the table's artwork: the check mark, the start picture and the tile. */
    Tgamestart(const QPixmap& checkMark, const QPixmap& startPicture, const QPixmap& tile, QWidget* parent = nullptr);

    /** Option 1 to 3 whose check mark is shown. */
    int markedOption() const;
    /** The game length letter of the marked option: "s", "h" or "l". */
    QString letter() const;

    /** Shows the dialog centred on @p window (or where it is, without one) and brings it forward. */
    void showCentredOn(const QWidget* window);

    /** A click on the title or description of option @p option (1 to 3): marks it. */
    void label_descrip3Click(int option);
    /** The start picture: reports the letter of the marked option and hides the dialog. */
    void button_startClick();

signals:
    /** The player pressed start; @p letter is "s", "h" or "l". */
    void startRequested(const QString& letter);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildOption(QWidget* area, int option);
    /// Puts the focus frame around the marked option.
    void frameMarked();

    QPixmap m_checkMark;
    std::array<QLabel*, 3> m_checks{};
    QLabel* m_start = nullptr;
    QWidget* m_focusFrame = nullptr;
};
