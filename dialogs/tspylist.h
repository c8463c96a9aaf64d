#pragma once

#include <QDialog>
#include <QStringList>

class QAction;
class QListWidget;
class QMenu;

/**
 * The spy list "Spys": one entry "slot: name" per spectator at the table, kept up to date by
 * the table while the list is shown or hidden. It stays on top of the other windows and is not modal.
 *
 * The list remembers the entry the mouse pointer was last over (-1 for none). Its popup entry "Remove
 * From Game" (popup_kickhim) asks for the removal of the spectator of that entry (kickRequested); the
 * table enables the entry only for the host player, and the host decides.
 */
class Tspylist : public QDialog {
    Q_OBJECT

public:
    explicit Tspylist(QWidget* parent = nullptr);

    /** Shows the list over @p window with the keyboard, so that Enter and Esc close it at once. */
    void showOver(const QWidget* window);

    /** The spectators, "slot: name" each, in order of arrival. */
    void setEntries(const QStringList& entries);
    QStringList entries() const;

    /** Enables or disables "Remove From Game" (only the host player may remove anybody). */
    void setKickEnabled(bool enabled);
    QAction* kickAction() const { return m_kick; }
    QMenu* popup() const { return m_popup; }

    /** The entry under the pointer at the last mouse move over the list, -1 for none. */
    int rememberedIndex() const { return m_remembered; }

    /** The mouse moved over the list to @p position (in the list's viewport): remembers the entry there. */
    void listbox_spysMouseMove(const QPoint& position);
    /** "Remove From Game": asks for the removal of the remembered entry's slot, if it names one. */
    void popup_kickhimClick();
    /** "Done": hides the list. */
    void button_doneClick() { hide(); }

signals:
    /** The player asked to remove the spectator at @p slot. */
    void kickRequested(int slot);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* m_list = nullptr;
    QMenu* m_popup = nullptr;
    QAction* m_kick = nullptr;
    int m_remembered = -1;
};
