#pragma once

#include "tableaccessibility.h"
#include "tablelink.h"
#include "tablerig.h"
#include "tchat.h"

#include <QList>
#include <QSignalSpy>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QVariant>

#include <gtest/gtest.h>

#include <memory>

namespace morlu::test {

/// What a table writes first when it joins another machine's game.
inline const QString kMulti = QStringLiteral("Loading Multi-player Game.. Please Wait.");

/// A table that joined a FakeHost, which then speaks for the host line by line.
class TchatSession : public ::testing::Test {
protected:
    TchatSession()
        : table(makeTable({QStringLiteral("Ann"), QStringLiteral("127.0.0.1"), QStringLiteral("false")}, host.port())),
          sent(*table), sounds(table.get(), &Tchat::soundRequested), closed(table.get(), &Tchat::tableClosed)
    {
        table->processparams();
        EXPECT_TRUE(QTest::qWaitFor([this] { return host.hasTable(); }, kWait));
    }

    /// Sends @p lines from the host and waits until the table has handled all of them.
    void hostSays(const QStringList& lines)
    {
        QSignalSpy handled(&table->link(), &TableLink::lineHandled);
        for (const QString& line : lines)
            host.send(line);
        // What a screen reader hears is named once the lines are handled and the event loop is idle.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return handled.count() >= lines.size() && !table->accessibility().namesPending(); }, kWait));
    }
    void login(int slot, const QString& name = QStringLiteral("Ann"))
    {
        hostSays({QStringLiteral("CMD_sendlogininfo+%1").arg(slot),
                  QStringLiteral("CMD_newplayerinfo+%1+%2").arg(slot).arg(name)});
    }
    QStringList linesAfterLogin() { return chatLines(*table).mid(3); }
    int soundCount(const QString& name) const
    {
        int count = 0;
        for (const QList<QVariant>& call : sounds)
            count += call.at(0).toString() == name ? 1 : 0;
        return count;
    }

    FakeHost host;
    std::unique_ptr<Tchat> table;
    SentLines sent;
    QSignalSpy sounds;
    QSignalSpy closed;
};

} // namespace morlu::test
