#include "chatview.h"

#include "fieldreader.h"
#include "logcapture.h"
#include "printers.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGreen = 0x008000;

constexpr QChar kIsolate(0x2068);
constexpr QChar kEndIsolate(0x2069);

/// The paragraphs of the view, without the isolates around names and relayed texts.
QStringList paragraphs(const ChatView& view)
{
    return view.document()->toPlainText().remove(kIsolate).remove(kEndIsolate).split(QLatin1Char('\n'));
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
    view.show();
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

TEST(ChatView, ShowsMarkupAsTheCharactersItIsMadeOf)
{
    ChatView view;
    const QString markup = QStringLiteral("<img src=http://e.vil/x.png> <a href=\"file:///etc\">y</a> <b>&amp;</b>");
    view.addlinetochat(QStringLiteral("2+Eve chats: ") + markup, kRed);
    EXPECT_EQ(paragraphs(view), QStringList{QStringLiteral("Eve chats:  ") + markup + QLatin1Char(' ')});
    // The only picture in the view would be a smiley; the only anchors are the view's own link numbers.
    for (auto it = view.document()->firstBlock().begin(); !it.atEnd(); ++it) {
        EXPECT_FALSE(it.fragment().charFormat().isImageFormat());
        if (it.fragment().charFormat().isAnchor()) {
            EXPECT_TRUE(it.fragment().charFormat().anchorHref().startsWith(QStringLiteral("chatlink:")));
        }
    }
}

TEST(ChatView, DrawsSmileysInlineAndCopiesThemAsTheirCodes)
{
    ChatView view;
    view.addlinetochat(QStringLiteral("1+Ann chats: hi:)#12 there:)#27"), kRed);
    QStringList images;
    for (auto it = view.document()->firstBlock().begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().isImageFormat())
            images << it.fragment().charFormat().toImageFormat().name();
    }
    EXPECT_EQ(images, (QStringList{QStringLiteral("smiley:2"), QStringLiteral("smiley:17")}));
    EXPECT_FALSE(view.document()->resource(QTextDocument::ImageResource, QUrl(images.front())).isNull());

    view.SelectAll1Click();
    view.Copy1Click();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Ann chats:  hi :)#12 there :)#27"));
}

TEST(ChatView, EveryLinkKeepsItsOwnNumberAcrossClearingAndPastAHundredAndOne)
{
    ChatView view;
    QStringList clicked;
    QObject::connect(&view, &ChatView::linkClicked, &view, [&](const QString& text) { clicked << text; });
    struct Row {
        int linksBefore; ///< links added before this row's check
        bool clearFirst;
        int click;
        QString opens;
    };
    const Row rows[] = {
        {1, false, 0, QStringLiteral("www.site0.org")},
        {150, false, 101, QStringLiteral("www.site101.org")},
        {0, false, 1, QStringLiteral("www.site1.org")}, // not overwritten by the 102nd link
        {0, true, 120, QString()},                      // cleared: the link is gone with its line
        {1, false, 151, QStringLiteral("www.site151.org")},
    };
    int written = 0;
    for (const Row& row : rows) {
        if (row.clearFirst)
            view.ClearMainChat1Click();
        for (int n = 0; n < row.linksBefore; ++n, ++written)
            view.addlinetochat(QStringLiteral("2+Ann chats: see www.site%1.org").arg(written), kRed);
        clicked.clear();
        view.mainchatJump(row.click);
        EXPECT_EQ(clicked, QStringList{row.opens}) << row.click;
    }
    EXPECT_EQ(view.linkcount(), 151);
    // The number travels in the anchor the view draws; a click on it finds the same text.
    const QTextBlock last = view.document()->lastBlock();
    for (auto it = last.begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().isAnchor()) {
            EXPECT_EQ(it.fragment().charFormat().anchorHref(), QStringLiteral("chatlink:151"));
            EXPECT_EQ(it.fragment().charFormat().foreground().color(), QColor(0, 128, 0));
            EXPECT_TRUE(it.fragment().charFormat().fontUnderline());
        }
    }
}

TEST(ChatView, ANewTextSizeShowsOnTheWholeViewWithTheNextLine)
{
    ChatView view;
    view.addlinetochat(QStringLiteral("0+first"), kBlue);
    view.setTextSize(14);
    const auto sizes = [&view] {
        QList<int> sizes;
        for (QTextBlock b = view.document()->begin(); b.isValid(); b = b.next())
            sizes << b.begin().fragment().charFormat().font().pointSize();
        return sizes;
    };
    EXPECT_EQ(sizes(), QList<int>{10});
    view.addlinetochat(QStringLiteral("0+second"), kBlue);
    EXPECT_EQ(sizes(), (QList<int>{14, 14}));
}

// Whatever size a settings file holds, the view shows one it has, the nearest to it.
TEST(ChatView, ShowsTheNearestSizeItHasToAnyTextSize)
{
    const struct {
        int points;
        qreal scale;
        int shown;
    } rows[] = {
        {10, 1.0, 10},
        {10, 2.0, 20},
        {1, 1.0, ChatView::kMinShownSize},
        {-2147483647 - 1, 1.0, ChatView::kMinShownSize},
        {2147483647, 1.0, ChatView::kMaxShownSize},
        {2147483647, 3.0, ChatView::kMaxShownSize},
        {1000000000, 2.5, ChatView::kMaxShownSize},
    };
    for (const auto& row : rows) {
        ChatView view;
        view.setTextSize(row.points);
        view.setScale(row.scale);
        EXPECT_EQ(view.shownTextSize(), row.shown) << row.points << " at " << row.scale;
    }
}

// A colour change touches only the lines in sight, so its cost does not grow with the history; a line
// out of sight takes its sender's latest colour when it is scrolled into view.
TEST(ChatView, ASendersNewColourReachesEachLineAsItComesIntoSight)
{
    ChatView view;
    view.show();
    view.addlinetochat(QStringLiteral("2+Ann chats: first"), kRed);
    for (int n = 0; n < 40; ++n)
        view.addlinetochat(QStringLiteral("3+Bob chats: %1").arg(n), kBlue);
    view.addlinetochat(QStringLiteral("2+Ann chats: last"), kGreen);
    struct Row {
        const char* when;
        int scrollTo; ///< -1: where adding the lines left it
        QColor first;
        QColor last;
    };
    const Row rows[] = {
        {"first line out of sight", -1, QColor(255, 0, 0), QColor(0, 128, 0)},
        {"scrolled to the top", 0, QColor(0, 128, 0), QColor(0, 128, 0)},
    };
    for (const Row& row : rows) {
        if (row.scrollTo >= 0)
            view.verticalScrollBar()->setValue(row.scrollTo);
        for (const QColor& colour : coloursOf(view, 0))
            EXPECT_EQ(colour, row.first) << row.when;
        for (const QColor& colour : coloursOf(view, 41))
            EXPECT_EQ(colour, row.last) << row.when;
    }
}

// The view keeps the last kMaxLines lines; the oldest go with their links, and link numbers still rise.
TEST(ChatView, KeepsTheLastTwoThousandLinesAndTheirLinks)
{
    ChatView view;
    QStringList clicked;
    QObject::connect(&view, &ChatView::linkClicked, &view, [&](const QString& text) { clicked << text; });
    const int written = ChatView::kMaxLines + 5;
    for (int n = 0; n < written; ++n)
        view.addlinetochat(QStringLiteral("2+Ann chats: line %1 www.site%1.org").arg(n), kRed);
    EXPECT_EQ(view.document()->blockCount(), ChatView::kMaxLines);
    EXPECT_EQ(paragraphs(view).front(), QStringLiteral("Ann chats:  line 5 www.site5.org "));
    EXPECT_EQ(view.linkcount(), written - 1);
    struct Row {
        int click;
        QString opens;
    };
    const Row rows[] = {
        {4, QString()}, {5, QStringLiteral("www.site5.org")}, {written - 1, QStringLiteral("www.site2004.org")}};
    for (const Row& row : rows) {
        clicked.clear();
        view.mainchatJump(row.click);
        EXPECT_EQ(clicked, QStringList{row.opens}) << row.click;
    }
}

// Every line reads left to right; in a relayed line the name and the text are each isolated, so a
// right-to-left override in either reaches nothing beyond it. Copy leaves the isolates out.
TEST(ChatView, IsolatesTheSendersNameAndTheRelayedText)
{
    const QString rlo(QChar(0x202E));
    struct Row {
        const char* name;
        QString line;
        QString shown;
    };
    const Row rows[] = {
        {"chat", QStringLiteral("2+Eve") + rlo + QStringLiteral("tsoH chats: hi"),
         kIsolate + QStringLiteral("Eve") + rlo + QStringLiteral("tsoH") + kEndIsolate + QStringLiteral(" chats: ") +
             kIsolate + QStringLiteral(" hi ") + kEndIsolate},
        {"action", QStringLiteral("3+Eve") + rlo + QStringLiteral(" waves"),
         QStringLiteral(" ") + kIsolate + QStringLiteral("Eve") + rlo + QStringLiteral(" waves ") + kEndIsolate},
        {"system line", QStringLiteral("0+You are Connected."), QStringLiteral(" You are Connected. ")},
    };
    for (const Row& row : rows) {
        ChatView view;
        view.addlinetochat(row.line, kRed);
        const QTextBlock block = view.document()->firstBlock();
        EXPECT_EQ(block.text(), row.shown) << row.name;
        EXPECT_EQ(block.blockFormat().layoutDirection(), Qt::LeftToRight) << row.name;
        view.SelectAll1Click();
        view.Copy1Click();
        EXPECT_FALSE(QApplication::clipboard()->text().contains(kIsolate)) << row.name;
    }
}

} // namespace
