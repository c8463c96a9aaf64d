#include "tabout.h"

#include "printers.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace {

TEST(Tabout, NamesTheGameAndItsVersionWithoutAWebAddress)
{
    Tabout about(QStringLiteral("1.0.5"), QPixmap(64, 64));
    EXPECT_FALSE(about.isModal());
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("label_version"))->text(), QStringLiteral("Version 1.0.5"));
    for (const QLabel* label : about.findChildren<QLabel*>())
        EXPECT_FALSE(label->text().contains(QStringLiteral("://")));
}

} // namespace
