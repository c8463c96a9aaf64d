#pragma once

#include <QWidget>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QSlider;
class ReplayController;

/**
 * The replay bar under the board: buttons to the start, the previous round, trick and line, play and
 * pause, the next line, trick and round and the end; the speed; a slider over the record's lines; the
 * position ("Line 120 of 1480 - round 3 - trick 5") and, for a record that could not be read to its
 * end, which line stopped it.
 *
 * Its keys, on the widgets it watches (the board) and on itself, before their own keys:
 *
 * - Space: play or pause;
 * - Right / Left: the next / previous line;
 * - Ctrl+Right / Ctrl+Left, or Down / Up: the next / previous trick;
 * - Page Down / Page Up: the next / previous round;
 * - Home / End: the start / the end;
 * - + / -: faster / slower.
 *
 * Its own widgets never take the focus, so the keys stay with the board.
 */
class ReplayBar : public QWidget {
    Q_OBJECT

public:
    explicit ReplayBar(ReplayController& controller, QWidget* parent = nullptr);

    /** Handles one replay key; false when it is none. */
    bool press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    /** Takes the replay keys pressed on @p widget before it sees them. */
    void watchKeys(QWidget* widget);
    /** "Line k of n - round r - trick t". */
    QString positionText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* button(const QString& text, const QString& tip, const char* name);
    void refresh();

    ReplayController& m_controller;
    QHBoxLayout* m_row = nullptr;
    QPushButton* m_play = nullptr;
    QComboBox* m_speed = nullptr;
    QSlider* m_slider = nullptr;
    QLabel* m_position = nullptr;
    QLabel* m_problem = nullptr;
};
