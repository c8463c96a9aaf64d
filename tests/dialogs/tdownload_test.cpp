#include "tdownload.h"

#include "printers.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(Tdownload, SaysWhereTheLobbyWouldComeFromBlocksNothingAndReportsDontShowAgain)
{
    QWidget table;
    table.show();
    Tdownload offer(&table);
    offer.showCentredOn(&table);
    EXPECT_TRUE(offer.isVisible());
    EXPECT_FALSE(offer.isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    const QString text = offer.findChild<QLabel*>(QStringLiteral("label_descrip"))->text();
    EXPECT_TRUE(text.contains(QStringLiteral("lobby program is not part of this package")));
    EXPECT_TRUE(text.contains(QStringLiteral("project page")));
    EXPECT_FALSE(text.contains(QStringLiteral("://"))) << "no download address while there is none";

    QSignalSpy changed(&offer, &Tdownload::dontShowAgainChanged);
    auto* box = offer.findChild<QCheckBox*>(QStringLiteral("check_dontshow"));
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::mouseClick(box, Qt::LeftButton);
    ASSERT_EQ(changed.count(), 2);
    EXPECT_TRUE(changed.at(0).at(0).toBool());
    EXPECT_FALSE(changed.at(1).at(0).toBool());

    offer.setDontShowAgain(true);
    EXPECT_TRUE(offer.dontShowAgain());
    EXPECT_EQ(changed.count(), 2) << "setting the box from the settings file is no choice of the player";
    QTest::mouseClick(offer.findChild<QPushButton*>(QStringLiteral("button_ok")), Qt::LeftButton);
    EXPECT_FALSE(offer.isVisible());
}

} // namespace
