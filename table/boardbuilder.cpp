#include "boardbuilder.h"

#include "artpicture.h"
#include "artwork.h"
#include "board.h"
#include "boardlayout.h"
#include "boardstyle.h"
#include "cardplace.h"
#include "contractchooser.h"
#include "fitlabel.h"
#include "instructionspanel.h"
#include "names.h"
#include "titledpanel.h"

#include <QLabel>
#include <QPainter>
#include <QTextEdit>

#include <algorithm>

using namespace boardlayout;

namespace {

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
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, colour);
    memo->setPalette(palette);
    return memo;
}

} // namespace

BoardParts BoardBuilder::build()
{
    m_parts.chatArea = new QWidget(&m_board);
    m_parts.chatArea->setObjectName(QStringLiteral("panel_chatarea"));
    m_parts.chatArea->setGeometry(kChatArea);

    // Creation order is stacking order: markers lie under the cards they frame, panels over the table.
    buildSeatColumns();
    buildMarkers();
    buildHandRow();
    buildTextLines();
    buildWinnerAndDomino();
    buildPanels();
    buildCorner();
    m_parts.instructions = new InstructionsPanel(&m_board);
    QObject::connect(m_parts.instructions->okButton(), &ArtPicture::clicked, &m_board, &Board::instructionsOkClicked);
    return m_parts;
}

namespace {

/// A FitLabel with the board's look.
FitLabel* makeFitLabel(QWidget* parent, const QString& name, const QRect& geometry, const QString& text,
                       const QColor& colour, const QFont& font, Qt::Alignment align, int smallest = 8)
{
    auto* label = new FitLabel(name, text, parent, smallest);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(align);
    boardstyle::setTextColour(label, colour);
    return label;
}

} // namespace

void BoardBuilder::buildSeatColumns()
{
    const QFont seatFont = boardstyle::font(11, true);
    const QFont countFont = boardstyle::font(10, true);
    for (int s = 0; s < morlu::kSeatCount; ++s) {
        const QString n = QString::number(s + 1);
        const QRect name(kNameLeft[s], 19, 92, 16);
        m_parts.names[s] =
            makeFitLabel(&m_board, QStringLiteral("label_playername") + n, name, QString::fromLatin1(Board::kWaiting),
                         boardstyle::kDarkBlue, seatFont, Qt::AlignCenter);
        // A name ends before the next seat's director marker (the fourth before the strip's end).
        m_parts.names[s]->setContentsMargins(0, 0, name.x() + name.width() - kBonusRight[s], 0);
        const QString computer = QString::fromLatin1(morlu::tableComputerName(s + 1));
        m_parts.names[s]->setProperty(Board::kComputerName, computer);
        m_parts.names[s]->setToolTip(computer);

        m_parts.scores[s] =
            makeFitLabel(&m_board, QStringLiteral("label_score") + n, QRect(kScoreLeft[s], 33, 57, 16),
                         QStringLiteral("$10000"), boardstyle::kDarkBlue, seatFont, Qt::AlignRight | Qt::AlignVCenter);
        m_parts.bonuses[s] = makeFitLabel(&m_board, QStringLiteral("label_bonus") + n,
                                          QRect(kBonusLeft[s], 33, kBonusRight[s] - kBonusLeft[s], 16), QString(),
                                          boardstyle::kDarkBlue, seatFont, Qt::AlignLeft | Qt::AlignVCenter);
        m_parts.cardCounts[s] = makeFitLabel(&m_board, QStringLiteral("label_totalcards") + n,
                                             QRect(kCardCountLeft[s], 53, kCardCountWidth, 16), QString(),
                                             boardstyle::kDarkBlue, countFont, Qt::AlignLeft | Qt::AlignVCenter);
        // The turn marker's arrow head covers the label's first pixels.
        m_parts.cardCounts[s]->setContentsMargins(kCardCountIndent, 0, 0, 0);
    }
}

void BoardBuilder::buildMarkers()
{
    m_parts.lead = new ArtPicture(QStringLiteral("image_lead"), &Artwork::leadMarker, &m_board);
    m_parts.lead->setGeometry(QRect(QPoint(kPlayedLeft[0] - kTrickMarkerOffset, 67), Artwork::kLeadMarkerSize));
    m_parts.taker = new ArtPicture(QStringLiteral("image_Taker"), &Artwork::takerMarker, &m_board);
    m_parts.taker->setGeometry(QRect(QPoint(kPlayedLeft[0] - kTrickMarkerOffset, 67), Artwork::kTakerMarkerSize));
    for (int s = 0; s < morlu::kSeatCount; ++s) {
        m_parts.played[s] = new CardPlace(QStringLiteral("image_card%1").arg(s + 1), &m_board);
        m_parts.played[s]->move(kPlayedLeft[s], 72);
    }
    for (int s = 0; s < morlu::kSeatCount; ++s) {
        m_parts.eyes[s] = new ArtPicture(QStringLiteral("image_eyes%1").arg(s + 1), &Artwork::eyes, &m_board);
        m_parts.eyes[s]->setGeometry(QRect(QPoint(kEyesLeft[s], 19), Artwork::kEyesSize));
        m_parts.eyes[s]->hide();
    }
    m_parts.director = new ArtPicture(QStringLiteral("image_director"), &Artwork::directorMarker, &m_board);
    m_parts.director->setGeometry(QRect(QPoint(kNameLeft[0] - kDirectorOffset, 18), Artwork::kDirectorMarkerSize));
    m_parts.turn = new ArtPicture(QStringLiteral("image_Turn"), &Artwork::turnMarker, &m_board);
    m_parts.turn->setGeometry(QRect(QPoint(kPlayedLeft[0] - kTurnOffset, 53), Artwork::kTurnMarkerSize));
    for (ArtPicture* marker : {m_parts.lead, m_parts.taker, m_parts.director, m_parts.turn})
        marker->hide();
}

void BoardBuilder::buildHandRow()
{
    for (int k = 0; k < morlu::kHandSlots; ++k) {
        auto* place = new CardPlace(QStringLiteral("card_%1").arg(k + 1), &m_board);
        place->move(kHandLeft + kHandStep * k, kHandTop);
        place->setCursor(Qt::PointingHandCursor);
        place->setFocusPolicy(Qt::StrongFocus);
        QObject::connect(place, &CardPlace::clicked, &m_board, &Board::handPlaceClicked);
        m_parts.hand[k] = place;
    }
}

void BoardBuilder::buildTextLines()
{
    m_parts.status =
        makeFitLabel(&m_board, QStringLiteral("label_status"), QRect(225, 235, 512, 17),
                     QStringLiteral("Welcome to The Morlu!"), Qt::black, boardstyle::font(12, true), Qt::AlignCenter);
    m_parts.rank = makeFitLabel(&m_board, QStringLiteral("label_rank"), QRect(225, 307, 512, 17), QString(), Qt::red,
                                boardstyle::font(11, true), Qt::AlignCenter);
    // Over the rank order line, which is empty while a contract is chosen: the chooser then covers the
    // game log, so a contract hint's reason is shown here as well.
    m_parts.hintNote = makeFitLabel(&m_board, QStringLiteral("label_hint"), m_parts.rank->geometry(), QString(),
                                    boardstyle::kHintRing, boardstyle::font(11, true), Qt::AlignCenter);
    m_parts.hintNote->hide();

    auto* box = new QWidget(&m_board);
    box->setObjectName(QStringLiteral("panel_contract"));
    box->setGeometry(224, 251, 515, 54);
    m_parts.handType =
        boardstyle::makeLabel(box, QStringLiteral("label_handtype"), QRect(0, 5, 515, 26), QString(), boardstyle::kGold,
                              boardstyle::font(kHandTypeFontSize, true), Qt::AlignCenter);
    m_parts.fee = makeFitLabel(box, QStringLiteral("label_fee"), QRect(0, 31, 515, 19), QString(), boardstyle::kGold,
                               boardstyle::font(12, true), Qt::AlignCenter);
}

void BoardBuilder::buildWinnerAndDomino()
{
    m_parts.dominoPanel = new Backdrop(QStringLiteral("panel_domino"), QRect(314, 73, 260, 83), &m_board);
    // The rank labels lie under the foundations: a foundation's start rank shows while it is empty, and
    // a laid card covers it (once a suit is open its start rank no longer matters).
    for (int n = 0; n < morlu::Spades; ++n) {
        m_parts.dominoRanks[n] = boardstyle::makeLabel(m_parts.dominoPanel, QStringLiteral("label_domino%1").arg(n + 1),
                                                       QRect(16 + 64 * n, 22, 36, 36), QStringLiteral("?"),
                                                       boardstyle::kGold, boardstyle::font(18, true), Qt::AlignCenter);
    }
    for (int n = 0; n < morlu::Spades; ++n) {
        m_parts.foundations[n] = new CardPlace(QStringLiteral("image_domino%1").arg(n + 1), m_parts.dominoPanel);
        m_parts.foundations[n]->move(7 + 64 * n, 4);
    }
    m_parts.dominoPanel->hide();

    m_parts.banner = new ArtPicture(QStringLiteral("image_choosecontract"), &Artwork::chooseContractBanner, &m_board);
    m_parts.banner->setGeometry(QRect(QPoint(216, 72), Artwork::kBannerSize));
    m_parts.banner->hide();

    m_parts.winnerPanel = new Backdrop(QStringLiteral("panel_winner"), QRect(224, 169, 515, 54), &m_board);
    const QFont winnerFont = boardstyle::font(kWinnerFontSize, true);
    m_parts.winnerShadow =
        boardstyle::makeLabel(m_parts.winnerPanel, QStringLiteral("label_winnershadow"), QRect(1, 7, 515, 40),
                              QStringLiteral("Winner!"), QColor(128, 128, 128), winnerFont, Qt::AlignCenter);
    m_parts.winner = boardstyle::makeLabel(m_parts.winnerPanel, QStringLiteral("label_winner"), QRect(0, 8, 515, 40),
                                           QStringLiteral("Winner!"), boardstyle::kGold, winnerFont, Qt::AlignCenter);
    m_parts.winnerPanel->hide();
}

void BoardBuilder::buildPanels()
{
    m_parts.logPanel = new TitledPanel(QStringLiteral("panel_log"), QStringLiteral("label_logtitle"),
                                       QStringLiteral("Game Log"), &m_board);
    m_parts.log = makeMemo(QStringLiteral("memo_status"), QRect(QPoint(0, 0), TitledPanel::kBodyGeometry.size()),
                           boardstyle::font(11), Qt::black, m_parts.logPanel->body());

    m_parts.chooser = new ContractChooser(&m_board);
    QObject::connect(m_parts.chooser, &ContractChooser::entryReleased, &m_board, &Board::contractReleased);
    m_parts.chooser->hide();

    m_parts.errorPanel = new TitledPanel(QStringLiteral("panel_error"), QStringLiteral("label_errortitle"),
                                         QStringLiteral("Try Again"), &m_board);
    m_parts.errors = makeMemo(QStringLiteral("memo_error"), QRect(4, 4, 169, 222), boardstyle::font(12, true),
                              boardstyle::kErrorBlue, m_parts.errorPanel->body());
    auto* ok = new ArtPicture(QStringLiteral("Image7"), &Artwork::okButton, m_parts.errorPanel->body());
    ok->setGeometry(QRect(QPoint((TitledPanel::kBodyGeometry.width() - Artwork::kOkButtonSize.width()) / 2, 232),
                          Artwork::kOkButtonSize));
    ok->setCursor(Qt::PointingHandCursor);
    QObject::connect(ok, &ArtPicture::clicked, &m_board, &Board::errorOkClicked);
    m_parts.errorPanel->hide();
}

void BoardBuilder::buildCorner()
{
    // Both lines are centred in the corner box, the counter clear of the fourth seat's LEAD tag.
    const QFont cornerFont = boardstyle::font(11, true);
    const int boxRight = kCornerBox.x() + kCornerBox.width() - kTextInset;
    m_parts.gameType = makeFitLabel(&m_board, QStringLiteral("label_gametype"), QRect(665, 72, boxRight - 665, 16),
                                    QString(), boardstyle::kDarkBlue, cornerFont, Qt::AlignCenter);
    m_parts.round = makeFitLabel(&m_board, QStringLiteral("label_round"), QRect(653, 88, boxRight - 653, 16), QString(),
                                 boardstyle::kDarkBlue, cornerFont, Qt::AlignCenter);
    m_parts.round->setContentsMargins(665 - 653, 0, 0, 0);

    m_parts.start = new ArtPicture(QStringLiteral("button_start"), &Artwork::startButton, &m_board);
    m_parts.start->setGeometry(QRect(QPoint(669, 104), Artwork::kStartButtonSize));
    m_parts.start->setCursor(Qt::PointingHandCursor);
    QObject::connect(m_parts.start, &ArtPicture::clicked, &m_board, &Board::startClicked);

    m_parts.logo = new ArtPicture(QStringLiteral("Image1"), &Artwork::logo, &m_board);
    m_parts.logo->setGeometry(QRect(QPoint(663, 22), Artwork::kLogoSize));
    m_parts.logo->setCursor(Qt::PointingHandCursor);
    QObject::connect(m_parts.logo, &ArtPicture::clicked, &m_board, &Board::logoClicked);
}
