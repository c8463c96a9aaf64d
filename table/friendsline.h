#pragma once

#include <QStringList>
#include <QWidget>

class QLineEdit;

/**
 * "Tell your friends": the addresses a friend can type to join the game this table hosts, in a
 * read-only field the player can select, with a Copy button that puts them all on the clipboard. It
 * stays hidden until it has an address.
 */
class FriendsLine : public QWidget {
    Q_OBJECT

public:
    explicit FriendsLine(QWidget* parent = nullptr);

    /** Adds @p address unless it is there already, and shows the line. */
    void addAddress(const QString& address);
    QStringList addresses() const { return m_addresses; }
    /** The text the field shows and Copy copies: the addresses joined by ", ". */
    QString text() const;

private:
    QStringList m_addresses;
    QLineEdit* m_field = nullptr;
};
