#include "board.h"

#include "artpicture.h"
#include "artwork.h"
#include "boardstyle.h"
#include "cardplace.h"
#include "contractchooser.h"
#include "instructionspanel.h"
#include "names.h"
#include "titledpanel.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

namespace {

// Left edges of the seat columns, seats 1..4.
constexpr std::array<int, 4> kNameLeft{249, 365, 475, 587};
constexpr std::array<int, 4> kScoreLeft{230, 346, 456, 568};
constexpr std::array<int, 4> kBonusLeft{292, 408, 518, 630};
constexpr std::array<int, 4> kCardCountLeft{241, 347, 467, 579};
constexpr std::array<int, 4> kEyesLeft{239, 355, 465, 577};
constexpr std::array<int, 4> kPlayedLeft{253, 359, 479, 591};

constexpr int kTurnOffset = 26;
constexpr int kCardCountIndent = (kPlayedLeft[0] - kTurnOffset + 36) - kCardCountLeft[0] + 2;

constexpr int kHandTop = 160;
constexpr int kHandLeft = 264;
constexpr int kHandStep = 56;

constexpr QRect kChatArea{10, 330, 748, 197};

constexpr int kWinnerFontSize = 24;
constexpr int kWinnerMinFontSize = 11;
constexpr int kHandTypeFontSize = 17;
constexpr int kHandTypeMinFontSize = 10;

// The largest pixel size from @p largest down to @p smallest at which @p text fits @p width.
QFont fittedFont(QFont font, const QString& text, int width, int largest, int smallest)
{
    for (int size = largest; size > smallest; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(text) <= width)
            return font;
    }
    font.setPixelSize(smallest);
    return font;
}

// Lines held by a memo; kept apart from the document, which cannot tell one empty line from none.
constexpr const char* kLineCount = "lineCount";

/// Appends @p line to @p memo as a line of its own, an empty first line included.
void appendLine(QTextEdit* memo, const QString& line)
{
    const int lines = memo->property(kLineCount).toInt();
    if (lines == 0) {
        memo->setPlainText(line);
    } else {
        QTextCursor cursor(memo->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertBlock();
        cursor.insertText(line);
    }
    memo->setProperty(kLineCount, lines + 1);
}

bool validSeat(int seat)
{
    return seat >= 1 && seat <= 4;
}

/// A dark, gold-rimmed backdrop for the panels that float over the felt (winner text, DOMINO layout).
class Backdrop : public QWidget {
public:
    Backdrop(const QString& name, const QRect& geometry, QWidget* parent) : QWidget(parent)
    {
        setObjectName(name);
        setGeometry(geometry);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(6, 38, 24, 238));
        painter.setPen(QPen(QColor(237, 215, 61, 190), 1.0));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    }
};

QTextEdit* makeMemo(const QString& name, const QRect& geometry, const QFont& font, const QColor& colour,
                    QWidget* parent)
{
    auto* memo = new QTextEdit(parent);
    memo->setObjectName(name);
    memo->setGeometry(geometry);
    memo->setReadOnly(true);
    memo->setAcceptRichText(false);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setFont(font);
    memo->setFocusPolicy(Qt::NoFocus);
    memo->setLineWrapMode(QTextEdit::WidgetWidth);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setProperty(kLineCount, 0);
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, colour);
    memo->setPalette(palette);
    return memo;
}

} // namespace

Board::Board(QWidget* parent) : QWidget(parent), m_background(QStringLiteral(":/art/board.jpg"))
{
    setObjectName(QStringLiteral("panel_board"));
    setFixedSize(kWidth, kHeight);

    m_chatArea = new QWidget(this);
    m_chatArea->setObjectName(QStringLiteral("panel_chatarea"));
    m_chatArea->setGeometry(kChatArea);

    // Creation order is stacking order: markers lie under the cards they frame, panels over the table.
    buildSeatColumns();
    buildMarkers();
    buildHandRow();
    buildTextLines();
    buildWinnerAndDomino();
    buildPanels();
    buildCorner();
    m_instructions = new InstructionsPanel(this);
    connect(m_instructions->okButton(), &ArtPicture::clicked, this, &Board::instructionsOkClicked);
}

void Board::buildSeatColumns()
{
    const QFont seatFont = boardstyle::font(11, true);
    const QFont countFont = boardstyle::font(10, true);
    for (int s = 0; s < 4; ++s) {
        const QString n = QString::number(s + 1);
        m_names[s] =
            boardstyle::makeLabel(this, QStringLiteral("label_playername") + n, QRect(kNameLeft[s], 19, 92, 16),
                                  QString::fromLatin1(kWaiting), boardstyle::kDarkBlue, seatFont, Qt::AlignCenter);
        m_names[s]->setToolTip(QString::fromLatin1(morlu::tableComputerName(s + 1)));
        m_scores[s] = boardstyle::makeLabel(this, QStringLiteral("label_score") + n, QRect(kScoreLeft[s], 33, 57, 16),
                                            QStringLiteral("$10000"), boardstyle::kDarkBlue, seatFont,
                                            Qt::AlignRight | Qt::AlignVCenter);
        m_bonuses[s] =
            boardstyle::makeLabel(this, QStringLiteral("label_bonus") + n, QRect(kBonusLeft[s], 33, 0, 16), QString(),
                                  boardstyle::kDarkBlue, seatFont, Qt::AlignLeft | Qt::AlignVCenter);
        setBonusText(s + 1, QStringLiteral("-"));
        m_cardCounts[s] =
            boardstyle::makeLabel(this, QStringLiteral("label_totalcards") + n, QRect(kCardCountLeft[s], 53, 0, 16),
                                  QString(), boardstyle::kDarkBlue, countFont, Qt::AlignLeft | Qt::AlignVCenter);
        // The turn marker covers the label's first pixels (both stand in the same row): the text
        // starts just right of the marker's arrow head.
        m_cardCounts[s]->setIndent(kCardCountIndent);
        setCardCountText(s + 1, QString());
    }
}

void Board::buildMarkers()
{
    m_lead = new ArtPicture(QStringLiteral("image_lead"), &Artwork::leadMarker, this);
    m_lead->setGeometry(QRect(QPoint(kPlayedLeft[0] - 4, 67), Artwork::kLeadMarkerSize));
    m_taker = new ArtPicture(QStringLiteral("image_Taker"), &Artwork::takerMarker, this);
    m_taker->setGeometry(QRect(QPoint(kPlayedLeft[0] - 4, 67), Artwork::kTakerMarkerSize));
    for (int s = 0; s < 4; ++s) {
        m_played[s] = new CardPlace(QStringLiteral("image_card%1").arg(s + 1), this);
        m_played[s]->move(kPlayedLeft[s], 72);
    }
    for (int s = 0; s < 4; ++s) {
        m_eyes[s] = new ArtPicture(QStringLiteral("image_eyes%1").arg(s + 1), &Artwork::eyes, this);
        m_eyes[s]->setGeometry(QRect(QPoint(kEyesLeft[s], 19), Artwork::kEyesSize));
        m_eyes[s]->hide();
    }
    m_director = new ArtPicture(QStringLiteral("image_director"), &Artwork::directorMarker, this);
    m_director->setGeometry(QRect(QPoint(kNameLeft[0] - 35, 18), Artwork::kDirectorMarkerSize));
    m_turn = new ArtPicture(QStringLiteral("image_Turn"), &Artwork::turnMarker, this);
    m_turn->setGeometry(QRect(QPoint(kPlayedLeft[0] - kTurnOffset, 53), Artwork::kTurnMarkerSize));
    for (ArtPicture* marker : {m_lead, m_taker, m_director, m_turn})
        marker->hide();
}

void Board::buildHandRow()
{
    for (int k = 0; k < 8; ++k) {
        auto* place = new CardPlace(QStringLiteral("card_%1").arg(k + 1), this);
        place->move(kHandLeft + kHandStep * k, kHandTop);
        place->setCursor(Qt::PointingHandCursor);
        connect(place, &CardPlace::clicked, this, &Board::handPlaceClicked);
        m_hand[k] = place;
    }
}

void Board::buildTextLines()
{
    m_status = boardstyle::makeLabel(this, QStringLiteral("label_status"), QRect(225, 235, 512, 17),
                                     QStringLiteral("Welcome to The Morlu!"), Qt::black, boardstyle::font(12, true),
                                     Qt::AlignCenter);
    m_rank = boardstyle::makeLabel(this, QStringLiteral("label_rank"), QRect(225, 307, 512, 17), QString(), Qt::red,
                                   boardstyle::font(11, true), Qt::AlignCenter);
    setRankText(QStringLiteral("FRENCH ORDER OF RANKS IS USED: A-10-K-Q-J-9-8-7"), Qt::red);

    auto* box = new QWidget(this);
    box->setObjectName(QStringLiteral("panel_contract"));
    box->setGeometry(224, 251, 515, 54);
    m_handType = boardstyle::makeLabel(box, QStringLiteral("label_handtype"), QRect(0, 5, 515, 26), QString(),
                                       boardstyle::kGold, boardstyle::font(kHandTypeFontSize, true), Qt::AlignCenter);
    m_fee = boardstyle::makeLabel(box, QStringLiteral("label_fee"), QRect(0, 31, 515, 19), QString(), boardstyle::kGold,
                                  boardstyle::font(12, true), Qt::AlignCenter);
}

void Board::buildWinnerAndDomino()
{
    m_dominoPanel = new Backdrop(QStringLiteral("panel_domino"), QRect(314, 73, 260, 83), this);
    for (int n = 0; n < 4; ++n) {
        m_foundations[n] = new CardPlace(QStringLiteral("image_domino%1").arg(n + 1), m_dominoPanel);
        m_foundations[n]->move(7 + 64 * n, 4);
    }
    for (int n = 0; n < 4; ++n) {
        QLabel* rank = boardstyle::makeLabel(m_dominoPanel, QStringLiteral("label_domino%1").arg(n + 1),
                                             QRect(16 + 64 * n, 22, 36, 36), QStringLiteral("?"), boardstyle::kGold,
                                             boardstyle::font(18, true), Qt::AlignCenter);
        rank->setStyleSheet(
            QStringLiteral("QLabel { background: rgba(0, 0, 0, 165); margin: 3px; border-radius: 15px; }"));
        m_dominoRanks[n] = rank;
    }
    m_dominoPanel->hide();

    m_banner = new ArtPicture(QStringLiteral("image_choosecontract"), &Artwork::chooseContractBanner, this);
    m_banner->setGeometry(QRect(QPoint(216, 72), Artwork::kBannerSize));
    m_banner->hide();

    m_winnerPanel = new Backdrop(QStringLiteral("panel_winner"), QRect(224, 169, 515, 54), this);
    const QFont winnerFont = boardstyle::font(kWinnerFontSize, true);
    m_winnerShadow =
        boardstyle::makeLabel(m_winnerPanel, QStringLiteral("label_winnershadow"), QRect(1, 7, 515, 40),
                              QStringLiteral("Winner!"), QColor(128, 128, 128), winnerFont, Qt::AlignCenter);
    m_winner = boardstyle::makeLabel(m_winnerPanel, QStringLiteral("label_winner"), QRect(0, 8, 515, 40),
                                     QStringLiteral("Winner!"), boardstyle::kGold, winnerFont, Qt::AlignCenter);
    m_winnerPanel->hide();
}

void Board::buildPanels()
{
    m_logPanel = new TitledPanel(QStringLiteral("panel_log"), QStringLiteral("label_logtitle"),
                                 QStringLiteral("Game Log"), this);
    m_log = makeMemo(QStringLiteral("memo_status"), QRect(QPoint(0, 0), TitledPanel::kBodyGeometry.size()),
                     boardstyle::font(11), Qt::black, m_logPanel->body());

    m_chooser = new ContractChooser(this);
    connect(m_chooser, &ContractChooser::entryReleased, this, &Board::contractReleased);
    m_chooser->hide();

    m_errorPanel = new TitledPanel(QStringLiteral("panel_error"), QStringLiteral("label_errortitle"),
                                   QStringLiteral("Try Again"), this);
    m_errors = makeMemo(QStringLiteral("memo_error"), QRect(4, 4, 169, 222), boardstyle::font(12, true),
                        boardstyle::kErrorBlue, m_errorPanel->body());
    auto* ok = new ArtPicture(QStringLiteral("Image7"), &Artwork::okButton, m_errorPanel->body());
    ok->setGeometry(QRect(QPoint((TitledPanel::kBodyGeometry.width() - Artwork::kOkButtonSize.width()) / 2, 232),
                          Artwork::kOkButtonSize));
    ok->setCursor(Qt::PointingHandCursor);
    connect(ok, &ArtPicture::clicked, this, &Board::errorOkClicked);
    m_errorPanel->hide();
}

void Board::buildCorner()
{
    const QFont cornerFont = boardstyle::font(11, true);
    m_gameType = boardstyle::makeLabel(this, QStringLiteral("label_gametype"), QRect(665, 72, 0, 16), QString(),
                                       boardstyle::kDarkBlue, cornerFont, Qt::AlignLeft | Qt::AlignVCenter);
    setGameTypeText(QStringLiteral("LONG GAME"));
    m_round = boardstyle::makeLabel(this, QStringLiteral("label_round"), QRect(653, 88, 0, 16), QString(),
                                    boardstyle::kDarkBlue, cornerFont, Qt::AlignLeft | Qt::AlignVCenter);
    setRoundText(QStringLiteral("CONTRACT 0/0"));

    m_start = new ArtPicture(QStringLiteral("button_start"), &Artwork::startButton, this);
    m_start->setGeometry(QRect(QPoint(669, 104), Artwork::kStartButtonSize));
    m_start->setCursor(Qt::PointingHandCursor);
    connect(m_start, &ArtPicture::clicked, this, &Board::startClicked);

    m_logo = new ArtPicture(QStringLiteral("Image1"), &Artwork::logo, this);
    m_logo->setGeometry(QRect(QPoint(663, 22), Artwork::kLogoSize));
    m_logo->setCursor(Qt::PointingHandCursor);
    connect(m_logo, &ArtPicture::clicked, this, &Board::logoClicked);
}

QLabel* Board::nameLabel(int seat) const
{
    return validSeat(seat) ? m_names[seat - 1] : nullptr;
}

QLabel* Board::scoreLabel(int seat) const
{
    return validSeat(seat) ? m_scores[seat - 1] : nullptr;
}

QLabel* Board::bonusLabel(int seat) const
{
    return validSeat(seat) ? m_bonuses[seat - 1] : nullptr;
}

QLabel* Board::cardCountLabel(int seat) const
{
    return validSeat(seat) ? m_cardCounts[seat - 1] : nullptr;
}

ArtPicture* Board::eyes(int seat) const
{
    return validSeat(seat) ? m_eyes[seat - 1] : nullptr;
}

CardPlace* Board::playedCard(int seat) const
{
    return validSeat(seat) ? m_played[seat - 1] : nullptr;
}

QString Board::seatName(int seat) const
{
    return validSeat(seat) ? m_names[seat - 1]->text() : QString();
}

void Board::setSeatName(int seat, const QString& name)
{
    if (!validSeat(seat))
        return;
    m_names[seat - 1]->setText(name);
    m_names[seat - 1]->show();
}

QString Board::computerName(int seat) const
{
    return validSeat(seat) ? m_names[seat - 1]->toolTip() : QString();
}

void Board::setScoreShown(int seat, bool shown)
{
    if (validSeat(seat))
        m_scores[seat - 1]->setVisible(shown);
}

void Board::setEyesShown(int seat, bool shown)
{
    if (validSeat(seat))
        m_eyes[seat - 1]->setVisible(shown);
}

void Board::setBonusText(int seat, const QString& text)
{
    if (!validSeat(seat))
        return;
    m_bonuses[seat - 1]->setText(text);
    m_bonuses[seat - 1]->adjustSize();
}

void Board::setCardCountText(int seat, const QString& text)
{
    if (!validSeat(seat))
        return;
    m_cardCounts[seat - 1]->setText(text);
    m_cardCounts[seat - 1]->adjustSize();
}

CardPlace* Board::handPlace(int place) const
{
    return place >= 1 && place <= 8 ? m_hand[place - 1] : nullptr;
}

CardPlace* Board::foundation(int suit) const
{
    return validSeat(suit) ? m_foundations[suit - 1] : nullptr;
}

QLabel* Board::dominoRank(int suit) const
{
    return validSeat(suit) ? m_dominoRanks[suit - 1] : nullptr;
}

void Board::placeDirector(int seat)
{
    if (!validSeat(seat))
        return;
    m_director->move(kNameLeft[seat - 1] - 35, m_director->y());
    m_director->show();
}

void Board::placeTurn(int seat)
{
    if (!validSeat(seat))
        return;
    m_turn->move(kPlayedLeft[seat - 1] - kTurnOffset, m_turn->y());
    m_turn->show();
}

void Board::placeLead(int seat)
{
    if (!validSeat(seat))
        return;
    m_lead->move(kPlayedLeft[seat - 1] - 4, m_lead->y());
    m_lead->show();
}

void Board::placeTaker(int seat)
{
    if (!validSeat(seat))
        return;
    m_taker->move(kPlayedLeft[seat - 1] - 4, m_taker->y());
    m_taker->show();
}

void Board::setGameTypeText(const QString& text)
{
    m_gameType->setText(text);
    m_gameType->adjustSize();
}

void Board::setRoundText(const QString& text)
{
    m_round->setText(text);
    m_round->adjustSize();
}

void Board::setRankText(const QString& text, const QColor& colour)
{
    m_rank->setText(text);
    boardstyle::setTextColour(m_rank, colour);
}

void Board::addLogLine(const QString& line)
{
    appendLine(m_log, line);
    m_log->verticalScrollBar()->setValue(m_log->verticalScrollBar()->maximum());
}

void Board::addErrorLine(const QString& line)
{
    appendLine(m_errors, line);
}

void Board::setErrorLines(const QStringList& lines)
{
    m_errors->clear();
    m_errors->setProperty(kLineCount, 0);
    for (const QString& line : lines)
        appendLine(m_errors, line);
}

void Board::showInFront(QWidget* panel)
{
    panel->show();
    panel->raise();
}

void Board::setWinnerText(const QString& text)
{
    // The largest size up to the designed one at which the whole text fits the panel.
    const QFont font = fittedFont(m_winner->font(), text, m_winner->width() - 12, kWinnerFontSize, kWinnerMinFontSize);
    for (QLabel* copy : {m_winnerShadow, m_winner}) {
        copy->setFont(font);
        copy->setText(text);
    }
}

void Board::setHandTypeText(const QString& text)
{
    // The long contract lines (GUILLOTINE) would be cut at the designed size: shrink them to fit the box.
    m_handType->setFont(
        fittedFont(m_handType->font(), text, m_handType->width() - 8, kHandTypeFontSize, kHandTypeMinFontSize));
    m_handType->setText(text);
}

QString Board::winnerText() const
{
    return m_winner->text();
}

void Board::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_background.isNull())
        painter.fillRect(rect(), QColor(24, 104, 62));
    else
        painter.drawPixmap(rect(), m_background);
}
