#include "contractchooser.h"

#include "artpicture.h"
#include "artwork.h"
#include "boardscaler.h"
#include "boardstyle.h"
#include "clicklabel.h"

#include <QPainter>

namespace {

struct Entry {
    const char* title;
    int titleTop;
    const char* description;
    int descriptionTop;
    int markTop;
};

// Places inside the white area; each description wraps within 147 pixels.
constexpr std::array<Entry, 6> kEntries{{
    {"Morlu", 4, "Player pays you $800 for taking the King of Hearts.", 21, 4},
    {"Waterloo", 52, "Players pay you $200 for each queen they take.", 69, 52},
    {"Siege", 98, "Players pay you $100 for each spade they take.", 115, 99},
    {"Touche", 142, "Players pay you $400 for taking the first and last trick.", 159, 144},
    {"Guillotine", 188, "All of the above apply.", 205, 191},
    {"Dominoes", 224, "Not a Trick taking around. Player who is left with cards pays you $800.", 241, 227},
}};

constexpr int kTextLeft = 30;
constexpr int kMarkLeft = 5;
constexpr int kDescriptionWidth = 147;

bool validCode(int code)
{
    return code >= 1 && code <= static_cast<int>(kEntries.size());
}

/// The hint ring over one entry: it only paints, and lets every click through to the entry.
class EntryRing : public QWidget {
public:
    EntryRing(int code, QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("ring_contract") + QString::number(code));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        // Drawn at the board's scale: the ring's width in board units.
        const qreal designed = BoardScaler::designedGeometry(this).width();
        boardstyle::paintHintRing(painter, QRectF(rect()), designed > 0 ? width() / designed : 1.0);
    }
};

} // namespace

ContractChooser::ContractChooser(QWidget* parent)
    : TitledPanel(QStringLiteral("panel_choosen"), QStringLiteral("label_choosetitle"),
                  QStringLiteral("Choose Contract"), parent)
{
    const QFont titleFont = boardstyle::font(13, true);
    const QFont descriptionFont = boardstyle::font(9);
    for (int code = 1; code <= static_cast<int>(kEntries.size()); ++code) {
        const Entry& entry = kEntries[code - 1];
        const QString suffix = QString::number(code);
        // Made first, so the entry's texts and check mark lie over it.
        auto* ring = new EntryRing(code, body());

        auto* title =
            new ClickLabel(QStringLiteral("label_contract") + suffix, QString::fromLatin1(entry.title), code, body());
        title->setGeometry(kTextLeft, entry.titleTop, 128, 19);
        title->setFont(titleFont);
        boardstyle::setTextColour(title, boardstyle::kChooserBlue);

        auto* description = new ClickLabel(QStringLiteral("label_contractinfo") + suffix,
                                           QString::fromLatin1(entry.description), code, body());
        description->setFont(descriptionFont);
        description->setWordWrap(true);
        description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        boardstyle::setTextColour(description, Qt::black);
        description->setGeometry(kTextLeft, entry.descriptionTop, kDescriptionWidth,
                                 description->heightForWidth(kDescriptionWidth));

        auto* mark = new ArtPicture(QStringLiteral("image_check") + suffix, &Artwork::checkMark, body());
        mark->setGeometry(QRect(QPoint(kMarkLeft, entry.markTop), Artwork::kCheckMarkSize));
        mark->setProperty("tag", code);
        mark->hide();

        for (ClickLabel* label : {title, description}) {
            label->setToolTip(QString::fromLatin1(entry.description));
            label->setCursor(Qt::PointingHandCursor);
            connect(label, &ClickLabel::released, this, [this](int tag, Qt::MouseButton) { emit entryReleased(tag); });
        }
        // The entry's whole place, down to the next entry; behind the texts, which stay readable on it.
        const int bottom = code < static_cast<int>(kEntries.size()) ? kEntries[code].titleTop - 2
                                                                    : description->geometry().bottom() + 4;
        ring->setGeometry(1, entry.titleTop - 3, kBodyGeometry.width() - 2, bottom - entry.titleTop + 3);
        m_rings[code - 1] = ring;
        m_titles[code - 1] = title;
        m_descriptions[code - 1] = description;
        m_marks[code - 1] = mark;
    }
}

ClickLabel* ContractChooser::titleLabel(int code) const
{
    return validCode(code) ? m_titles[code - 1] : nullptr;
}

ClickLabel* ContractChooser::descriptionLabel(int code) const
{
    return validCode(code) ? m_descriptions[code - 1] : nullptr;
}

ArtPicture* ContractChooser::checkMark(int code) const
{
    return validCode(code) ? m_marks[code - 1] : nullptr;
}

bool ContractChooser::isMarked(int code) const
{
    return validCode(code) && !m_marks[code - 1]->isHidden();
}

void ContractChooser::setMarked(int code, bool marked, const QString& reason)
{
    if (!validCode(code))
        return;
    m_marks[code - 1]->setVisible(marked);
    // A reason already given (a game that leaves the contract out) is kept by a later "used".
    if (!marked)
        m_reasons[code - 1].clear();
    else if (m_reasons[code - 1].isEmpty())
        m_reasons[code - 1] = reason;
    boardstyle::setTextColour(m_titles[code - 1], marked ? QColor(Qt::gray) : boardstyle::kChooserBlue);
    boardstyle::setTextColour(m_descriptions[code - 1], marked ? QColor(Qt::gray) : QColor(Qt::black));
    for (ClickLabel* label : {m_titles[code - 1], m_descriptions[code - 1]})
        label->setCursor(marked ? Qt::ForbiddenCursor : Qt::PointingHandCursor);
}

void ContractChooser::setHinted(int code)
{
    m_hinted = validCode(code) ? code : 0;
    for (int n = 1; n <= static_cast<int>(kEntries.size()); ++n)
        m_rings[n - 1]->setVisible(n == m_hinted);
}

QString ContractChooser::reason(int code) const
{
    return validCode(code) && isMarked(code) ? m_reasons[code - 1] : QString();
}

QString ContractChooser::outOfGameReason(int contracts)
{
    return contracts == 8 ? QStringLiteral("not in a short game") : QStringLiteral("not in a half game");
}
