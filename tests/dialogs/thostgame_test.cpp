#include "thostgame.h"

#include "printers.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Enter hosts what the fields say; a name or port that cannot be used is refused with a line saying
// why. The boxes start as announced and not mapped.
TEST(Thostgame, EnterHostsTheChoiceOrSaysWhyNot)
{
    struct Row {
        const char* name;
        const char* port; ///< typed over the port field
        bool untickAnnounce;
        bool tickRouter;
        std::optional<HostChoice> hosted;
        const char* why;
    };
    const Row rows[] = {
        {"Ann", nullptr, false, false, HostChoice{QStringLiteral("Ann"), 7772, true, false}, ""},
        {"Ann", "7000", true, true, HostChoice{QStringLiteral("Ann"), 7000, false, true}, ""},
        {"Ann", "0", false, false, std::nullopt, "from 1 to 65535"},
        {"Ann", "", false, false, std::nullopt, "from 1 to 65535"},
        {"  ", nullptr, false, false, std::nullopt, "Type your name."},
    };
    for (const Row& row : rows) {
        Thostgame dialog;
        QSignalSpy hosted(&dialog, &Thostgame::hostChosen);
        dialog.setPlayerName(QString::fromLatin1(row.name));
        dialog.showCentredOn(nullptr);
        if (row.port != nullptr) {
            auto* port = dialog.findChild<QLineEdit*>(QStringLiteral("edit_port"));
            port->clear();
            QTest::keyClicks(port, QString::fromLatin1(row.port));
        }
        if (row.untickAnnounce)
            QTest::mouseClick(dialog.findChild<QCheckBox*>(QStringLiteral("check_announce")), Qt::LeftButton);
        if (row.tickRouter)
            QTest::mouseClick(dialog.findChild<QCheckBox*>(QStringLiteral("check_upnp")), Qt::LeftButton);
        QTest::keyClick(dialog.findChild<QLineEdit*>(QStringLiteral("edit_name")), Qt::Key_Return);
        if (!row.hosted) {
            EXPECT_EQ(hosted.count(), 0) << row.name << row.port;
            EXPECT_TRUE(dialog.noteText().contains(QString::fromLatin1(row.why))) << qPrintable(dialog.noteText());
            EXPECT_TRUE(dialog.isVisible());
            continue;
        }
        ASSERT_EQ(hosted.count(), 1) << row.name << row.port;
        EXPECT_EQ(hosted.at(0).at(0).value<HostChoice>(), *row.hosted);
        EXPECT_FALSE(dialog.isVisible());
    }
}

// A port in use opens the dialog again saying so, with the port field taking the keyboard and its
// text selected, so typing replaces it.
TEST(Thostgame, APortInUseIsOfferedForChangeWithTheFieldSelected)
{
    Thostgame dialog;
    QSignalSpy hosted(&dialog, &Thostgame::hostChosen);
    dialog.setPlayerName(QStringLiteral("Ann"));
    dialog.offerAnotherPort(7772, nullptr);
    QApplication::setActiveWindow(&dialog);
    auto* port = dialog.findChild<QLineEdit*>(QStringLiteral("edit_port"));
    EXPECT_EQ(QApplication::focusWidget(), port);
    EXPECT_TRUE(dialog.noteText().contains(QStringLiteral("7772 is already in use"))) << qPrintable(dialog.noteText());
    QTest::keyClicks(port, QStringLiteral("7773"));
    QTest::keyClick(port, Qt::Key_Return);
    ASSERT_EQ(hosted.count(), 1);
    EXPECT_EQ(hosted.at(0).at(0).value<HostChoice>().port, 7773);
}

// The dialog is as tall as what it shows: the buttons stand right under the last row, and a note that
// wraps shows whole above them.
TEST(Thostgame, TheButtonsStandUnderTheLastRowWithOrWithoutANote)
{
    struct Row {
        const char* name;
        const char* typedName;
    };
    for (const Row& row : {Row{"NoNote", "Ann"}, Row{"WrappedNote", "  "}}) {
        Thostgame dialog;
        dialog.setPlayerName(QString::fromLatin1(row.typedName));
        dialog.showCentredOn(nullptr);
        QTest::keyClick(dialog.findChild<QLineEdit*>(QStringLiteral("edit_name")), Qt::Key_Return);
        const auto* note = dialog.findChild<QLabel*>(QStringLiteral("label_note"));
        const auto* router = dialog.findChild<QCheckBox*>(QStringLiteral("check_upnp"));
        const QWidget* last = note->isVisible() ? static_cast<const QWidget*>(note) : router;
        const int buttonsTop = dialog.findChild<QPushButton*>(QStringLiteral("button_host"))->geometry().top();
        EXPECT_LT(buttonsTop - last->geometry().bottom(), router->height()) << row.name;
        if (note->isVisible()) {
            EXPECT_GE(note->height(), note->heightForWidth(note->width())) << row.name;
        }
    }
}

} // namespace
