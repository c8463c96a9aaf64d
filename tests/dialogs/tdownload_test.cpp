#include "tdownload.h"

#include "printers.h"

#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(Tdownload, SaysWhereTheLobbyWouldComeFromBlocksNothingAndReportsDontShowAgain)
{
    Tdownload offer;
    offer.showCentredOn(nullptr);
    EXPECT_TRUE(offer.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    const QString text = offer.findChild<QLabel*>(QStringLiteral("label_descrip"))->text();
    EXPECT_TRUE(text.contains(QStringLiteral("project page"))) << qPrintable(text);
    EXPECT_FALSE(text.contains(QStringLiteral("://"))) << "no download address while there is none";

    QSignalSpy changed(&offer, &Tdownload::dontShowAgainChanged);
    offer.setDontShowAgain(true); // from the settings file: no choice of the player
    QTest::mouseClick(offer.findChild<QCheckBox*>(QStringLiteral("check_dontshow")), Qt::LeftButton);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_FALSE(changed.at(0).at(0).toBool());
}

} // namespace
