#include "chatview.h"

#include "fieldreader.h"
#include "logcapture.h"
#include "printers.h"

#include <QScrollBar>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGreen = 0x008000;

QStringList paragraphs(const ChatView& view)
{
    return view.document()->toPlainText().split(QLatin1Char('\n'));
}

/// The colours of the fragments of paragraph @p index, in order.
QList<QColor> coloursOf(const ChatView& view, int index)
{
    QList<QColor> colours;
    const QTextBlock block = view.document()->findBlockByNumber(index);
    for (auto it = block.begin(); !it.atEnd(); ++it)
        colours.append(it.fragment().charFormat().foreground().color());
    return colours;
}

TEST(ChatView, SplitsTheSpeakerAtTheFirstColonAndEndsPiecesWithABlank)
{
    ChatView view;
    view.addlinetochat(QStringLiteral("0+Loading Solo Game..Please wait."), kBlue);
    view.addlinetochat(QStringLiteral("2+Ann chats: hello: there"), kRed);
    view.addlinetochat(QStringLiteral("3+Bob waves"), kGreen);
    view.addlinetochat(QStringLiteral("4+"), kGreen);
    EXPECT_EQ(paragraphs(view), (QStringList{QStringLiteral(" Loading Solo Game..Please wait. "),
                                             QStringLiteral("Ann chats:  hello: there "), QStringLiteral(" Bob waves "),
                                             QStringLiteral(" ")}));
}

TEST(ChatView, DrawsEveryLineBoldInItsColour)
{
    ChatView view;
    view.addlinetochat(QStringLiteral("0+You are Connected."), kBlue);
    const QTextBlock block = view.document()->firstBlock();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        EXPECT_TRUE(it.fragment().charFormat().font().bold());
        EXPECT_EQ(it.fragment().charFormat().foreground().color(), QColor(0, 0, 255));
        EXPECT_EQ(it.fragment().charFormat().font().pointSize(), ChatView::kDefaultTextSize);
    }
}

TEST(ChatView, ASendersEarlierLinesTakeTheColourOfHisLatestLine)
{
    ChatView view;
    view.addlinetochat(QStringLiteral("2+Ann chats: one"), kRed);
    view.addlinetochat(QStringLiteral("3+Bob chats: two"), kRed);
    view.addlinetochat(QStringLiteral("2+Ann chats: three"), kGreen);
    for (const QColor& colour : coloursOf(view, 0))
        EXPECT_EQ(colour, QColor(0, 128, 0));
    for (const QColor& colour : coloursOf(view, 1))
        EXPECT_EQ(colour, QColor(255, 0, 0));
    EXPECT_EQ(view.styleColour(2), QColor(0, 128, 0));
}

TEST(ChatView, AStyleNumberThatIsNoIntegerThrowsAndAddsNothing)
{
    ChatView view;
    EXPECT_THROW(view.addlinetochat(QStringLiteral("x+hello"), kRed), morlu::FieldError);
    EXPECT_THROW(view.addlinetochat(QStringLiteral("no plus at all"), kRed), morlu::FieldError);
    morlu::test::LogCapture log;
    view.addlinetochat(QStringLiteral("15+out of range"), kRed);
    view.addlinetochat(QStringLiteral("-1+out of range"), kRed);
    EXPECT_TRUE(view.document()->isEmpty());
    EXPECT_EQ(log.warnings.size(), 2);
}

TEST(ChatView, ScrollsToTheNewestLineUnlessScrollLockIsOn)
{
    ChatView view;
    view.show();
    for (int i = 0; i < 60; ++i)
        view.addlinetochat(QStringLiteral("0+line %1").arg(i), kBlue);
    QScrollBar* bar = view.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());

    view.setScrollLock(true);
    bar->setValue(0);
    view.addlinetochat(QStringLiteral("0+one more"), kBlue);
    EXPECT_EQ(bar->value(), 0);
}

} // namespace
