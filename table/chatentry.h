#pragma once

#include <QLineEdit>

class QMenu;

/**
 * The chat entry `mychat`. It starts out holding "<Enter Chat Here>", which the first key going down
 * (or the first smiley) removes for good. Enter asks for the line to be sent (sendRequested) and is
 * swallowed. Its menu `popup_mychat` has "Paste" (Ctrl+V), which replaces the whole text with the
 * clipboard's text.
 *
 * A line may be as long as the host takes one: longer text would get the table disconnected, so
 * the entry holds at most kMaxLength characters.
 */
class ChatEntry : public QLineEdit {
    Q_OBJECT

public:
    static constexpr const char* kPlaceholder = "<Enter Chat Here>";
    /// Characters that fit in one line to the host in any character set, with room for the header.
    static constexpr int kMaxLength = 16000;

    explicit ChatEntry(QWidget* parent = nullptr);

    /** A smiley from the smiley menu: ":)#" and @p code appended at the end, the caret after it. */
    void N271Click(int code);
    /** "Paste": the clipboard's text replaces the entry's when the clipboard holds text. */
    void Paste1Click();

    QMenu* popupMenu() const { return m_popup; }

signals:
    /** Enter was pressed. */
    void sendRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    /** mychatKeyDown: the placeholder goes before the first key lands. */
    void dropPlaceholder();

    QMenu* m_popup = nullptr;
};
