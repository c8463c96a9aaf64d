#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QListWidget;
class QTextBrowser;

/**
 * The help window "Morlu - Help": a list of topics at the left (the rules of the game, the contracts,
 * the DOMINO layout, the rank orders, game lengths, scoring, connecting, watching and removing, the
 * tally) and the chosen page at the right. The pages are HTML files compiled into the program under
 * ":/help/". The window is not modal: the table stays playable while it is open.
 */
class Thelp : public QDialog {
    Q_OBJECT

public:
    explicit Thelp(QWidget* parent = nullptr);

    /** The topics, in the order of the list. */
    static QStringList pageTitles();
    /** The HTML of page @p index, empty when there is no such page or its file is missing. */
    static QString pageHtml(int index);

    /** Shows page @p index (ignored outside the list). */
    void showPage(int index);
    int currentPage() const;
    /** The text of the page shown, without markup. */
    QString shownText() const;

    /** Shows the window (on the first page the first time) and brings it forward. */
    void showOver(const QWidget* window);

private:
    QListWidget* m_topics = nullptr;
    QTextBrowser* m_page = nullptr;
    bool m_placed = false;
};
