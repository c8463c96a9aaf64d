#include "thelp.h"

#include "dialogstyle.h"

#include <QFile>
#include <QHBoxLayout>
#include <QListWidget>
#include <QTextBrowser>

#include <array>

namespace {

struct Page {
    const char* title;
    const char* file;
};

constexpr std::array<Page, 10> kPages{{
    {"How to Play", "play.html"},
    {"The Contracts", "contracts.html"},
    {"DOMINO", "domino.html"},
    {"Rank Orders", "ranks.html"},
    {"Game Lengths", "lengths.html"},
    {"Money and Scoring", "scoring.html"},
    {"Connecting", "connecting.html"},
    {"Watching and Removing", "watching.html"},
    {"The Tally", "tally.html"},
    {"Game Records and Replay", "records.html"},
}};

} // namespace

Thelp::Thelp(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Thelp"));
    setWindowTitle(QStringLiteral("Morlu - Help"));
    setModal(false);
    resize(720, 500);

    m_topics = new QListWidget(this);
    m_topics->setObjectName(QStringLiteral("listbox_topics"));
    m_topics->setFont(dialogstyle::font(13));
    m_topics->addItems(pageTitles());
    m_topics->setFixedWidth(190);

    m_page = new QTextBrowser(this);
    m_page->setObjectName(QStringLiteral("memo_help"));
    m_page->setOpenLinks(false);
    m_page->setFont(dialogstyle::font(14));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_topics);
    layout->addWidget(m_page, 1);

    connect(m_topics, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            m_page->setHtml(pageHtml(row));
    });
    showPage(0);
}

QStringList Thelp::pageTitles()
{
    QStringList titles;
    for (const Page& page : kPages)
        titles << QString::fromLatin1(page.title);
    return titles;
}

QString Thelp::pageHtml(int index)
{
    if (index < 0 || index >= int(kPages.size()))
        return {};
    QFile file(QStringLiteral(":/help/") + QString::fromLatin1(kPages.at(std::size_t(index)).file));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void Thelp::showPage(int index)
{
    if (index >= 0 && index < m_topics->count())
        m_topics->setCurrentRow(index);
}

int Thelp::currentPage() const
{
    return m_topics->currentRow();
}

QString Thelp::shownText() const
{
    return m_page->toPlainText();
}

void Thelp::showOver(const QWidget* window)
{
    if (!m_placed && window != nullptr) {
        m_placed = true;
        dialogstyle::centreOn(this, window);
    }
    show();
    raise();
    activateWindow();
}
