#include "tjoingame.h"

#include "gamefinder.h"
#include "printers.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

class FakeFinder : public morlu::GameFinder {
public:
    bool up = true;
    QList<morlu::FoundGame> found;

    bool available() const override { return up; }
    QList<morlu::FoundGame> games() const override { return found; }
    void set(bool available, QList<morlu::FoundGame> games)
    {
        up = available;
        found = std::move(games);
        emit changed();
    }
};

const morlu::FoundGame kAnn{QStringLiteral("Ann's game"), QStringLiteral("192.168.1.20"), 7772, QStringLiteral("1.0.5"),
                            2, 2, false};
const morlu::FoundGame kBob{QStringLiteral("Bob's game"), QStringLiteral("192.168.1.31"), 7000, QStringLiteral("1.0.5"),
                            4, 0, true};

struct JoinGameTest : ::testing::Test {
    Tjoingame dialog;
    FakeFinder finder;
    QSignalSpy chosen{&dialog, &Tjoingame::joinChosen};

    template <typename T>
    T* part(const char* name)
    {
        auto* widget = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    /// The last choice as "name@host:port".
    QString lastChoice() const
    {
        if (chosen.isEmpty())
            return QString();
        const auto address = chosen.last().at(1).value<GameAddress>();
        return chosen.last().at(0).toString() + QLatin1Char('@') + address.text();
    }
    void open()
    {
        dialog.setPlayerName(QStringLiteral("Carl"));
        dialog.showCentredOn(nullptr);
        QApplication::setActiveWindow(&dialog);
    }
};

// Typed with the keys into the field that has the keyboard when the dialog opens; Enter joins what is
// typed, or refuses it with a line saying why and stays open.
TEST_F(JoinGameTest, EnterJoinsTheAddressTypedOrSaysWhyNot)
{
    struct Row {
        const char* name;
        const char* typed;
        const char* joined; ///< "name@host:port", or nullptr: refused
        const char* why;
    };
    const Row rows[] = {
        {"Carl", "127.0.0.1", "Carl@127.0.0.1:7772", ""},
        {"Carl", "localhost:7000", "Carl@localhost:7000", ""},
        {"Carl", "[::1]:7000", "Carl@[::1]:7000", ""},
        {"Carl", "bad host", nullptr, "is not a host name"},
        {"Carl", "host:99999", nullptr, "from 1 to 65535"},
        {"", "127.0.0.1", nullptr, "Type your name."},
        {"--server", "127.0.0.1", nullptr, "cannot begin with"},
    };
    for (const Row& row : rows) {
        open();
        dialog.setPlayerName(QString::fromLatin1(row.name));
        ASSERT_EQ(QApplication::focusWidget(), part<QLineEdit>("edit_address")) << row.typed;
        const qsizetype before = chosen.count();
        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(row.typed));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        if (row.joined == nullptr) {
            EXPECT_EQ(chosen.count(), before) << row.typed;
            EXPECT_TRUE(dialog.isVisible()) << row.typed;
            EXPECT_TRUE(dialog.errorText().contains(QString::fromLatin1(row.why))) << qPrintable(dialog.errorText());
            dialog.reject();
            continue;
        }
        ASSERT_EQ(chosen.count(), before + 1) << row.typed;
        EXPECT_EQ(lastChoice(), QString::fromLatin1(row.joined));
        EXPECT_FALSE(dialog.isVisible()) << row.typed;
    }
}

// The found games follow the finder; Enter or a double-click on one joins it, not the address typed.
// Without a finder, or with one that cannot work here, one line says so and the list stays empty.
TEST_F(JoinGameTest, AFoundGameJoinsWithEnterOrADoubleClick)
{
    auto* list = part<QListWidget>("list_found");
    auto* unavailable = part<QLabel>("label_discovery");
    open();
    EXPECT_FALSE(unavailable->isHidden()) << "no finder yet";
    dialog.setGameFinder(&finder);
    finder.set(true, {kAnn});
    EXPECT_TRUE(unavailable->isHidden());
    ASSERT_EQ(list->count(), 1);
    finder.set(true, {kAnn, kBob});
    ASSERT_EQ(list->count(), 2);
    EXPECT_TRUE(list->item(1)->text().contains(QStringLiteral("Bob's game"))) << qPrintable(list->item(1)->text());

    QTest::keyClicks(part<QLineEdit>("edit_address"), QStringLiteral("10.0.0.9"));
    list->setFocus();
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(lastChoice(), QStringLiteral("Carl@192.168.1.31:7000"));

    open();
    const QRect first = list->visualItemRect(list->item(0));
    // Through the window, as the system delivers it: two clicks that the application reads as a double-click.
    QTest::mouseDClick(dialog.windowHandle(), Qt::LeftButton, {}, list->viewport()->mapTo(&dialog, first.center()));
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_EQ(lastChoice(), QStringLiteral("Carl@192.168.1.20:7772"));

    open();
    finder.set(false, {kAnn});
    EXPECT_FALSE(unavailable->isHidden());
    EXPECT_EQ(list->count(), 0);
    dialog.setGameFinder(nullptr);
    EXPECT_FALSE(unavailable->isHidden());
}

// A recent host fills the address field when picked and joins on Enter.
TEST_F(JoinGameTest, ARecentHostFillsTheAddressOrJoins)
{
    dialog.setRecentHosts({QStringLiteral("10.0.0.2:7000"), QStringLiteral("[::1]:7772")});
    open();
    auto* recent = part<QListWidget>("list_recent");
    recent->setCurrentRow(1);
    EXPECT_EQ(part<QLineEdit>("edit_address")->text(), QStringLiteral("[::1]:7772"));
    recent->setFocus();
    recent->setCurrentRow(0);
    QTest::keyClick(recent, Qt::Key_Return);
    EXPECT_EQ(lastChoice(), QStringLiteral("Carl@10.0.0.2:7000"));
}

} // namespace
