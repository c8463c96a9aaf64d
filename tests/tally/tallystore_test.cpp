#include "tallystore.h"

#include "printers.h"
#include "tallyfile.h"
#include "tempdir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace morlu;
using namespace morlu::test;

namespace {

const QString kMine = QString::fromLatin1(TallyStore::kAddToMine);

QStringList numbers(std::initializer_list<int> values)
{
    QStringList texts;
    for (int value : values)
        texts.append(QString::number(value));
    return texts;
}

TallyStore storeWith(const QStringList& opponents)
{
    TallyStore store;
    for (const QString& name : opponents)
        EXPECT_TRUE(store.addOpponent(name));
    return store;
}

struct CountRow {
    const char* name;
    QString winner;
    QStringList atTable;
    int myGames;
    int myWins;
    QStringList ann; ///< columns 1..8 of Ann after the game
    QStringList bob; ///< columns 1..8 of Bob after the game
};

class TallyCounting : public ::testing::TestWithParam<CountRow> {};

TEST_P(TallyCounting, CountsTheGameForThePlayerAndEveryTalliedOpponentAtTheTable)
{
    const CountRow& row = GetParam();
    TallyStore store = storeWith({QStringLiteral("Ann"), QStringLiteral("Bob")});
    store.addgame(row.winner, row.atTable);
    EXPECT_EQ(store.myGames(), QString::number(row.myGames));
    EXPECT_EQ(store.myWins(), QString::number(row.myWins));
    EXPECT_EQ(store.record(0), row.ann);
    EXPECT_EQ(store.record(1), row.bob);
}

const QString kAnn = QStringLiteral("Ann");
const QString kBob = QStringLiteral("Bob");
const QString kCid = QStringLiteral("Cid");

INSTANTIATE_TEST_SUITE_P(Tally, TallyCounting,
                         ::testing::Values(CountRow{"OwnWinAgainstTwo",
                                                    kMine,
                                                    {kAnn, kBob},
                                                    1,
                                                    1,
                                                    numbers({1, 0, 1, 0, 1, 0, 1, 0}),
                                                    numbers({1, 0, 1, 0, 1, 0, 1, 0})},
                                           CountRow{"OpponentWins",
                                                    kAnn,
                                                    {kAnn, kBob},
                                                    1,
                                                    0,
                                                    numbers({1, 1, 0, 0, 1, 1, 0, 0}),
                                                    numbers({1, 0, 0, 1, 1, 0, 0, 1})},
                                           CountRow{"SomebodyElseWins",
                                                    kCid,
                                                    {kAnn, kCid},
                                                    1,
                                                    0,
                                                    numbers({1, 0, 0, 1, 1, 0, 0, 1}),
                                                    numbers({0, 0, 0, 0, 0, 0, 0, 0})},
                                           CountRow{"OpponentAwayIsNotCounted",
                                                    kMine,
                                                    {kCid},
                                                    1,
                                                    1,
                                                    numbers({0, 0, 0, 0, 0, 0, 0, 0}),
                                                    numbers({0, 0, 0, 0, 0, 0, 0, 0})},
                                           CountRow{"NamesCompareExactly",
                                                    QStringLiteral("ann"),
                                                    {QStringLiteral("ann"), kBob},
                                                    1,
                                                    0,
                                                    numbers({0, 0, 0, 0, 0, 0, 0, 0}),
                                                    numbers({1, 0, 0, 1, 1, 0, 0, 1})}),
                         [](const ::testing::TestParamInfo<CountRow>& info) { return std::string(info.param.name); });

TEST(TallyStore, ListEditsFollowTheDialog)
{
    TallyStore store = storeWith({kAnn, kBob, kCid});
    EXPECT_FALSE(store.addOpponent(kBob)) << "ticking a name already tallied adds nothing";
    EXPECT_FALSE(store.addOpponent(QString()));
    store.addgame(kCid, {kCid});
    EXPECT_TRUE(store.removeOpponent(1));
    EXPECT_EQ(store.tallied(), (QStringList{kAnn, kCid}));
    EXPECT_EQ(store.record(1), numbers({1, 1, 0, 0, 1, 1, 0, 0})) << "the third moved up with its counts";
    EXPECT_FALSE(store.removeOpponent(2));
    EXPECT_FALSE(store.removeOpponent(-1));
    EXPECT_TRUE(store.removeOpponent(0));
    EXPECT_TRUE(store.removeOpponent(0));
    EXPECT_EQ(store.grid().rowCount(), 1) << "deleting the only opponent leaves row 0 alone";
    EXPECT_EQ(store.myGames(), QStringLiteral("1"));

    store = storeWith({kAnn});
    store.addgame(kMine, {kAnn});
    store.reset();
    EXPECT_TRUE(store.tallied().isEmpty());
    EXPECT_EQ(store.grid().row(0), QStringList(9, QStringLiteral("0")));
}

TEST(TallyStore, EmptyOrUnreadableCellsCountFromZero)
{
    TallyStore store = storeWith({kAnn});
    EXPECT_EQ(store.addit(1, 1), 1);
    EXPECT_EQ(store.addit(1, 1), 2);
    EXPECT_EQ(store.addit(0, 1), 1) << "a name is no number";
}

TEST(TallyStore, SurvivesARestartWithTotalsKeptAndThisRunsCountsZeroed)
{
    TempDir dir;
    const QString path = dir.file(TallyFile::fileName());
    TallyStore first;
    first.load(path);
    EXPECT_TRUE(first.loadError().isEmpty()) << "no file yet is an empty tally";
    EXPECT_EQ(first.myGames(), QStringLiteral("0"));
    first.addOpponent(QStringLiteral("Klot"));
    first.addgame(kMine, {QStringLiteral("Klot")});
    first.addgame(QStringLiteral("Klot"), {QStringLiteral("Klot")});
    ASSERT_TRUE(first.save(path)) << qPrintable(first.saveError());

    TallyStore second;
    second.load(path);
    EXPECT_TRUE(second.loadError().isEmpty());
    EXPECT_EQ(second.tallied(), QStringList{QStringLiteral("Klot")});
    EXPECT_EQ(second.myGames(), QStringLiteral("2"));
    EXPECT_EQ(second.myWins(), QStringLiteral("1"));
    EXPECT_EQ(second.record(0), numbers({2, 1, 1, 0, 0, 0, 0, 0}));
}

TEST(TallyStore, AnUnreadableFileIsReportedOnceAndKeptAsideAtTheNextSave)
{
    TempDir dir;
    const QString path = dir.file(TallyFile::fileName());
    const QByteArray garbage("this is no tally file at all");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    TallyStore store;
    store.load(path);
    EXPECT_FALSE(store.loadError().isEmpty());
    EXPECT_TRUE(store.tallied().isEmpty());
    EXPECT_EQ(store.myGames(), QStringLiteral("0"));

    store.addgame(kMine, {});
    ASSERT_TRUE(store.save(path)) << qPrintable(store.saveError());
    QFile aside(path + QStringLiteral(".bad"));
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), garbage);

    // The new file reads back, and a second save does not touch the kept one.
    TallyStore again;
    again.load(path);
    EXPECT_TRUE(again.loadError().isEmpty());
    EXPECT_EQ(again.myGames(), QStringLiteral("1"));
    ASSERT_TRUE(again.save(path));
    EXPECT_TRUE(QFile::exists(path + QStringLiteral(".bad")));
}

/// Limits the size of files this process may write, so every write past it fails (EFBIG).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST(TallyStore, AFailingWriteLeavesTheOldTallyIntact)
{
    TempDir dir;
    const QString path = dir.file(TallyFile::fileName());
    TallyStore store = storeWith({kAnn});
    ASSERT_TRUE(store.save(path));
    QFile before(path);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray old = before.readAll();
    before.close();

    for (int n = 0; n < 2000; ++n)
        store.addOpponent(QStringLiteral("Opponent number %1 with a long name").arg(n));
    {
        FileSizeLimit limit(256);
        EXPECT_FALSE(store.save(path));
    }
    EXPECT_FALSE(store.saveError().isEmpty());
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), old);
    TallyStore reread;
    reread.load(path);
    EXPECT_EQ(reread.tallied(), QStringList{kAnn});
}

} // namespace
