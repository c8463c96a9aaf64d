#pragma once

#include <QString>

/**
 * The boxes the table opens over its window: a message to read, a failure to retry or quit, a question
 * and the game length chooser. The window implements it through the pre-answerable MessageBox seam, so
 * tests never meet a modal loop.
 */
class TableDialogs {
public:
    virtual ~TableDialogs() = default;

    /// Shows a message box with @p text and returns once it is dismissed.
    virtual void showMessage(const QString& text) = 0;
    /// The same with the warning icon: something failed and the player should know why.
    virtual void showWarning(const QString& text) = 0;
    /// Asks, with the warning icon, whether to try again (Retry, true) or to end the program (Quit).
    virtual bool askRetry(const QString& text) = 0;
    /// The answers to a join that failed.
    enum class JoinFailedAnswer { Retry, ChangeAddress, Quit };
    /// Asks, with the warning icon, whether to try again, to change the address or to end the program.
    /// Without an answer of its own it offers Retry or Quit (askRetry).
    virtual JoinFailedAnswer askRetryChangeOrQuit(const QString& text)
    {
        return askRetry(text) ? JoinFailedAnswer::Retry : JoinFailedAnswer::Quit;
    }
    /// Asks @p text with Yes and No; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    /// Opens the game length chooser (the host's start button and "Start Game").
    virtual void showGameStart() = 0;
};
