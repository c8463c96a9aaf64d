#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

/**
 * Every message box of the table and its dialogs goes through here, so tests can answer boxes before
 * they appear and no modal loop ever blocks a test. Without a hook the box is a real, modal QMessageBox
 * titled "Morlu".
 */
class MessageBox {
public:
    using Hook = std::function<QMessageBox::StandardButton(const QString& text)>;

    /** Shows @p text with an OK button and returns once it is dismissed. */
    static QMessageBox::StandardButton information(QWidget* parent, const QString& text);
    /** Shows @p text with the warning icon and an OK button. */
    static QMessageBox::StandardButton warning(QWidget* parent, const QString& text);
    /**
     * Shows @p text with the warning icon, a "Retry" button (the default) and a "Quit" button, and
     * returns QMessageBox::Retry or QMessageBox::Close (Quit, Esc and the close box).
     */
    static QMessageBox::StandardButton retryOrQuit(QWidget* parent, const QString& text);
    /**
     * After a join that failed: @p text with the warning icon, "Retry" (the default), "Change Address"
     * and "Quit". Returns QMessageBox::Retry, QMessageBox::Open (Change Address) or QMessageBox::Close
     * (Quit, Esc and the close box).
     */
    static QMessageBox::StandardButton retryChangeOrQuit(QWidget* parent, const QString& text);
    /**
     * Asks @p text with the buttons Yes and No (No is the default, so Enter never throws anything away
     * by accident). Returns QMessageBox::Yes only for a Yes; any other answer (a closed box, a hook's
     * OK) counts as No.
     */
    static QMessageBox::StandardButton question(QWidget* parent, const QString& text);

    /** The next box is not shown: it is answered with @p answer at once (one box only). */
    static void setNextAnswer(QMessageBox::StandardButton answer);
    /**
     * While set, every box is handed to @p hook instead of being shown, and its answer is the hook's.
     * Pass an empty hook to show real boxes again.
     */
    static void setHook(Hook hook);
    /** Texts of the boxes answered by setNextAnswer or the hook, oldest first (tests read it). */
    static QStringList answered();
    /** The icons of those boxes, in the same order. */
    static QList<QMessageBox::Icon> answeredIcons();
    static void clearAnswered();
};
