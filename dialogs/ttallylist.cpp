#include "ttallylist.h"

#include "dialogstyle.h"
#include "messagebox.h"
#include "tallystore.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

constexpr int kWidth = 430;
constexpr int kHeight = 306;

/// Rows of the record: caption at the left, the Total value, the Session value.
constexpr int kRecordTop = 50;
constexpr int kRecordStep = 24;
constexpr int kTotalLeft = 122;
constexpr int kSessionLeft = 172;
constexpr int kValueWidth = 48;

const char* const kWins = " Wins:";

QLabel* makeLabel(const QString& text, const QRect& geometry, QWidget* parent, int pixelSize = 12, bool bold = false,
                  const QColor& colour = Qt::black)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setFont(dialogstyle::font(pixelSize, bold));
    dialogstyle::setTextColour(label, colour);
    return label;
}

QWidget* whitePanel(const QString& name, const QRect& geometry, QWidget* parent)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    panel->setGeometry(geometry);
    dialogstyle::setBackground(panel, Qt::white);
    return panel;
}

} // namespace

Ttallylist::Ttallylist(morlu::TallyStore& store, const QPixmap& tile, QWidget* parent) : QDialog(parent), m_store(store)
{
    setObjectName(QStringLiteral("Ttallylist"));
    setWindowTitle(QStringLiteral("Morlu - Tally List"));
    setModal(false);
    setFixedSize(kWidth, kHeight);
    dialogstyle::setBackground(this, dialogstyle::kWindowColour, tile);
    buildLists();
    buildRecord();
    buildOwnTally();

    auto* reset = new QPushButton(QStringLiteral("Tally Reset"), this);
    reset->setObjectName(QStringLiteral("button_reset"));
    reset->setGeometry(196, 270, 108, 26);
    reset->setAutoDefault(false);
    connect(reset, &QPushButton::clicked, this, &Ttallylist::button_resetClick);
    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("button_done"));
    done->setGeometry(314, 270, 108, 26);
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &Ttallylist::button_doneClick);

    loadtally();
}

void Ttallylist::buildLists()
{
    makeLabel(QStringLiteral("Players Being Tallied"), QRect(8, 4, 180, 18), this, 12, true, dialogstyle::kGold)
        ->setObjectName(QStringLiteral("label_tallied"));
    m_tallied = new QListWidget(this);
    m_tallied->setObjectName(QStringLiteral("listbox_tally"));
    m_tallied->setGeometry(8, 24, 180, 150);

    makeLabel(QStringLiteral("Players In Current Game"), QRect(8, 180, 180, 18), this, 12, true, dialogstyle::kGold)
        ->setObjectName(QStringLiteral("label_ingame"));
    m_inGame = new QListWidget(this);
    m_inGame->setObjectName(QStringLiteral("checklist"));
    m_inGame->setGeometry(8, 200, 180, 96);

    for (QListWidget* list : {m_tallied, m_inGame}) {
        list->setFont(dialogstyle::font(12));
        connect(list, &QListWidget::itemChanged, this, &Ttallylist::itemChanged);
    }
    connect(m_tallied, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling)
            listbox_tallyClick(row);
    });
}

void Ttallylist::buildRecord()
{
    QWidget* panel = whitePanel(QStringLiteral("panel_record"), QRect(196, 6, 226, 156), this);
    m_hisNameTop = makeLabel(QString(), QRect(6, 4, 214, 20), panel, 14, true, dialogstyle::kTitleBlue);
    m_hisNameTop->setObjectName(QStringLiteral("label_hisnametop"));
    m_hisNameTop->setAlignment(Qt::AlignCenter);
    makeLabel(QStringLiteral("Total"), QRect(kTotalLeft, 28, kValueWidth, 18), panel, 12, true)
        ->setAlignment(Qt::AlignCenter);
    makeLabel(QStringLiteral("Session"), QRect(kSessionLeft, 28, kValueWidth + 4, 18), panel, 12, true)
        ->setAlignment(Qt::AlignCenter);

    const QString captions[] = {QStringLiteral("Number of Games"), QString(), QStringLiteral("Your Wins:"),
                                QStringLiteral("Neither Won:")};
    for (int n = 0; n < 4; ++n) {
        const int top = kRecordTop + n * kRecordStep;
        QLabel* caption = makeLabel(captions[n], QRect(6, top, kTotalLeft - 8, 18), panel);
        if (n == 1) {
            m_hisName = caption;
            m_hisName->setObjectName(QStringLiteral("label_hisname"));
        }
        for (int column : {n + 1, n + 5}) {
            const int left = column <= 4 ? kTotalLeft : kSessionLeft;
            QLabel* value = makeLabel(QStringLiteral("0"), QRect(left, top, kValueWidth, 18), panel, 12, true);
            value->setObjectName(QStringLiteral("label_%1").arg(column));
            value->setAlignment(Qt::AlignCenter);
            m_values.at(std::size_t(column - 1)) = value;
        }
    }
}

void Ttallylist::buildOwnTally()
{
    QWidget* panel = whitePanel(QStringLiteral("panel_mytally"), QRect(196, 170, 226, 90), this);
    makeLabel(QStringLiteral("Your Total Tally"), QRect(6, 4, 214, 20), panel, 14, true, dialogstyle::kTitleBlue)
        ->setAlignment(Qt::AlignCenter);
    const QString captions[] = {QStringLiteral("Total Games:"), QStringLiteral("Your Wins")};
    for (int n = 0; n < 4; ++n) {
        const int top = 32 + n * 24;
        QLabel* value = makeLabel(QStringLiteral("0"), QRect(kTotalLeft, top, kValueWidth * 2, 18), panel, 12, true);
        value->setObjectName(QStringLiteral("mylabel_%1").arg(n + 1));
        m_mine.at(std::size_t(n)) = value;
        if (n < 2)
            makeLabel(captions[n], QRect(6, top, kTotalLeft - 8, 18), panel);
        else
            value->hide(); // row 0 columns 3 and 4 are always 0; kept for the file, never shown
    }
}

void Ttallylist::loadtally()
{
    const int selected = m_tallied->currentRow();
    m_filling = true;
    m_tallied->clear();
    for (const QString& name : m_store.tallied())
        appendChecked(m_tallied, name, true);
    for (int n = 0; n < m_inGame->count(); ++n)
        setChecked(m_inGame->item(n), m_store.indexOf(m_inGame->item(n)->text()) >= 0);
    if (selected >= 0 && selected < m_tallied->count())
        m_tallied->setCurrentRow(selected);
    m_filling = false;
    showCounts();
}

void Ttallylist::setPlayersInCurrentGame(const QStringList& names)
{
    m_filling = true;
    m_inGame->clear();
    for (const QString& name : names)
        appendChecked(m_inGame, name, m_store.indexOf(name) >= 0);
    m_filling = false;
}

void Ttallylist::showCounts()
{
    for (int n = 0; n < 4; ++n)
        m_mine.at(std::size_t(n))->setText(m_store.grid().cell(n + 1, 0));
    showRecord(m_tallied->currentRow());
}

void Ttallylist::showRecord(int row)
{
    const QStringList record = m_store.record(row);
    const bool known = record.size() == int(m_values.size());
    const QString name = known ? m_store.tallied().at(row) : QString();
    for (std::size_t n = 0; n < m_values.size(); ++n)
        m_values.at(n)->setText(known ? record.at(qsizetype(n)) : QStringLiteral("0"));
    // With nobody selected the caption reads "Wins:", without the blank that follows a name.
    m_hisName->setText(known ? name + QLatin1String(kWins) : QStringLiteral("Wins:"));
    m_hisNameTop->setText(known ? name + QStringLiteral("'s Tally") : QString());
}

void Ttallylist::checklistClickCheck(int row)
{
    QListWidgetItem* item = m_inGame->item(row);
    if (item == nullptr)
        return;
    const QString name = item->text();
    if (m_store.indexOf(name) >= 0) {
        // Deleting a record is done in "Players Being Tallied", with its question; here the tick stays.
        setChecked(item, true);
        return;
    }
    if (item->checkState() != Qt::Checked || !m_store.addOpponent(name))
        return;
    appendChecked(m_tallied, name, true);
    emit tallyEdited();
}

void Ttallylist::listbox_tallyClickCheck(int row)
{
    QListWidgetItem* item = m_tallied->item(row);
    if (item == nullptr || item->checkState() == Qt::Checked)
        return;
    const QString name = item->text();
    const QString question =
        QStringLiteral("This will delete ") + name + QStringLiteral("'s Tally, Are you want to delete it?");
    if (MessageBox::question(this, question) != QMessageBox::Yes) {
        setChecked(item, true);
        return;
    }
    m_store.removeOpponent(row);
    m_filling = true;
    delete m_tallied->takeItem(row);
    for (QListWidgetItem* playing : m_inGame->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive))
        setChecked(playing, false);
    m_filling = false;
    showRecord(m_tallied->currentRow());
    emit tallyEdited();
}

void Ttallylist::listbox_tallyClick(int row)
{
    showRecord(row);
}

void Ttallylist::button_resetClick()
{
    if (MessageBox::question(this, QStringLiteral("Are you sure you want to reset the Tally?")) != QMessageBox::Yes)
        return;
    m_store.reset();
    loadtally();
    emit tallyEdited();
}

void Ttallylist::showCentredOn(const QWidget* window)
{
    dialogstyle::showCentredOn(this, window);
}

void Ttallylist::itemChanged(QListWidgetItem* item)
{
    if (m_filling)
        return;
    if (item->listWidget() == m_inGame)
        checklistClickCheck(m_inGame->row(item));
    else
        listbox_tallyClickCheck(m_tallied->row(item));
}

void Ttallylist::appendChecked(QListWidget* list, const QString& text, bool checked)
{
    const bool filling = m_filling;
    m_filling = true;
    auto* item = new QListWidgetItem(text, list);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    m_filling = filling;
}

void Ttallylist::setChecked(QListWidgetItem* item, bool checked)
{
    const bool filling = m_filling;
    m_filling = true;
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    m_filling = filling;
}
