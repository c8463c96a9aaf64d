#pragma once

#include "chatview.h"
#include "fakehost.h"
#include "messagebox.h"
#include "tchat.h"
#include "waituntil.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace morlu::test {

using morlu::test::waitUntil;

/// The lines of the table's chat view, without the blanks each piece ends with and the isolates around
/// names and relayed texts.
inline QStringList chatLines(Tchat& table)
{
    QStringList lines = table.mainchat().toPlainText().split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = line.remove(QChar(0x2068)).remove(QChar(0x2069)).trimmed();
    lines.removeAll(QString());
    return lines;
}

/// A settings file of its own for a test table, in a folder that lives as long as the test program
/// (never the one beside the test program, which every test would share).
inline QString freshSettingsPath()
{
    static QTemporaryDir folder;
    static int tables = 0;
    return folder.filePath(QStringLiteral("kavrinlobby%1.ini").arg(++tables));
}

/// A table window with the given arguments on @p port, without a host of its own.
inline std::unique_ptr<Tchat> makeTable(const QStringList& arguments, int port)
{
    auto table = std::make_unique<Tchat>(arguments, QString::number(port));
    table->setSettingsPath(freshSettingsPath());
    return table;
}

/// Every line a table sends, cut at the 0xFF.
class SentLines {
public:
    explicit SentLines(Tchat& table)
    {
        QObject::connect(&table, &Tchat::lineSent, &table,
                         [this](const QByteArray& line) { m_lines.append(QString::fromUtf8(line.chopped(1))); });
    }
    const QStringList& lines() const { return m_lines; }
    bool any(const QString& prefix) const
    {
        for (const QString& line : m_lines) {
            if (line.startsWith(prefix))
                return true;
        }
        return false;
    }

private:
    QStringList m_lines;
};

/// Records the message boxes that would have been shown, answering each with OK.
class MessageBoxes {
public:
    MessageBoxes()
    {
        MessageBox::clearAnswered();
        MessageBox::setHook([](const QString&) { return QMessageBox::Ok; });
    }
    ~MessageBoxes()
    {
        MessageBox::setHook({});
        MessageBox::clearAnswered();
    }
    QStringList texts() const { return MessageBox::answered(); }
};

} // namespace morlu::test
