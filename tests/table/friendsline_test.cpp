#include "friendsline.h"

#include "printers.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The line shows once it has an address, each address once; Copy puts them all on the clipboard and
// says that it did.
TEST(FriendsLine, ShowsEachAddressOnceAndCopySaysItCopiedThemAll)
{
    FriendsLine line;
    EXPECT_TRUE(line.isHidden());
    for (const char* address : {"192.0.2.2:7772", "[2001:db8::20]:7772", "192.0.2.2:7772", ""})
        line.addAddress(QString::fromLatin1(address));
    const QString both = QStringLiteral("192.0.2.2:7772, [2001:db8::20]:7772");
    EXPECT_FALSE(line.isHidden());
    EXPECT_EQ(line.findChild<QLineEdit*>(QStringLiteral("edit_friends"))->text(), both);

    auto* copy = line.findChild<QPushButton*>(QStringLiteral("button_copy"));
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(copy, Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), both);
    EXPECT_EQ(copy->text(), QStringLiteral("Copied"));
}

} // namespace
