#pragma once

#include <QDialog>
#include <QPixmap>
#include <QStringList>

#include <array>

class QLineEdit;

/**
 * The phrase editor "Morlu - Phrase Buttons ": nine rows "Phrase Button 1:" to "Phrase Button 9:", each
 * with an edit box `phrase1`..`phrase9` that takes at most 50 typed characters (a longer phrase read
 * from the settings file is shown and kept whole), the reminder "Buttons can only be used once every 2
 * seconds" and the button "Done".
 *
 * It holds nothing between openings: PrhaseList1Click fills the boxes from the buttons each time. "Done"
 * reports all nine phrases (phrasesChosen), which the window puts on the buttons and writes to the
 * settings file, and closes the dialog; the close box drops the edits. It is not modal.
 */
class Tphrases : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPhraseCount = 9;
    static constexpr int kMaxTyped = 50;

    /** @p tile: the table window's background tile, shown behind the controls. */
    explicit Tphrases(const QPixmap& tile, QWidget* parent = nullptr);

    /** Fills the boxes with @p phrases (the buttons' tooltips) and shows the dialog centred on @p window. */
    void PrhaseList1Click(const QStringList& phrases, const QWidget* window);
    /** "Done": reports the nine phrases and closes. */
    void button_doneClick();

    /** The text of box @p n (1..9). */
    QString phrase(int n) const;

signals:
    /** "Done" with the nine phrases, changed or not, in button order. */
    void phrasesChosen(const QStringList& phrases);

private:
    /** Refuses typing that would make a box longer than kMaxTyped characters. */
    void limitTyping(int n, const QString& text);

    std::array<QLineEdit*, kPhraseCount> m_edits{};
    std::array<QString, kPhraseCount> m_lastText;
};
