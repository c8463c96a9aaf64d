#include "tdownload.h"

#include "printers.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The offer of a solo start: Host Game and Join Game, which close it and are reported; it never
// blocks the game, names no program to fetch, and reports "Don't show this again" at once.
TEST(Tdownload, OffersHostAndJoinBlocksNothingAndReportsDontShowAgain)
{
    struct Row {
        const char* button;
        void (Tdownload::*signal)();
    };
    const Row rows[] = {{"button_host", &Tdownload::hostGameChosen}, {"button_join", &Tdownload::joinGameChosen},
                        {"button_ok", nullptr}};
    for (const Row& row : rows) {
        Tdownload offer;
        offer.showCentredOn(nullptr);
        EXPECT_TRUE(offer.isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        const QString text = offer.findChild<QLabel*>(QStringLiteral("label_descrip"))->text();
        EXPECT_FALSE(text.contains(QStringLiteral("download"), Qt::CaseInsensitive)) << qPrintable(text);
        QSignalSpy host(&offer, &Tdownload::hostGameChosen);
        QSignalSpy join(&offer, &Tdownload::joinGameChosen);
        QTest::mouseClick(offer.findChild<QPushButton*>(QString::fromLatin1(row.button)), Qt::LeftButton);
        EXPECT_FALSE(offer.isVisible()) << row.button;
        EXPECT_EQ(host.count(), row.signal == &Tdownload::hostGameChosen ? 1 : 0) << row.button;
        EXPECT_EQ(join.count(), row.signal == &Tdownload::joinGameChosen ? 1 : 0) << row.button;
    }

    Tdownload offer;
    QSignalSpy changed(&offer, &Tdownload::dontShowAgainChanged);
    offer.setDontShowAgain(true); // from the settings file: no choice of the player
    QTest::mouseClick(offer.findChild<QCheckBox*>(QStringLiteral("check_dontshow")), Qt::LeftButton);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_FALSE(changed.at(0).at(0).toBool());
}

} // namespace
