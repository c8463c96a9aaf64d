#include "tabout.h"

#include "printers.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(Tabout, NamesTheGameAndItsVersionAndOkHidesIt)
{
    QPixmap picture(64, 64);
    picture.fill(Qt::darkGreen);
    Tabout about(QStringLiteral("1.0.5"), picture);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Morlu"));
    EXPECT_FALSE(about.isModal());
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("label_name"))->text(), QStringLiteral("Morlu"));
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("label_version"))->text(), QStringLiteral("Version 1.0.5"));
    EXPECT_FALSE(about.findChild<QLabel*>(QStringLiteral("image_logo"))->pixmap().isNull());
    for (const QLabel* label : about.findChildren<QLabel*>())
        EXPECT_FALSE(label->text().contains(QStringLiteral("://"))) << "no web address while the project has none";

    about.showCentredOn(nullptr);
    EXPECT_TRUE(about.isVisible());
    QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("button_ok")), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
}

} // namespace
