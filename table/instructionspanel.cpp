#include "instructionspanel.h"

#include "artpicture.h"
#include "artwork.h"
#include "boardstyle.h"

#include <QLabel>
#include <QPainter>

#include <array>

namespace {

struct Text {
    QRect geometry;
    bool rightAligned;
    const char* text;
};

const std::array<Text, 5> kTexts{{
    {{456, 16, 299, 83},
     false,
     "Players will take turns begin the director and choosing contracts. Contracts can only be used once per game. "
     "Contracts with checks next to them cannot be used. Anyone that takes a money card will give money to the "
     "director."},
    {{163, 193, 329, 65},
     true,
     "The type of contract being played is displayed under your cards. It also states what cards to avoid, unless "
     "playing guillotine. Remember that French ranking order is used for all contracts expect for Domino."},
    {{408, 301, 345, 49},
     false,
     "Most contracts are trick taking contracts. Highest card wins the trick and pays for any money cards collected. "
     "There are no trumps. "},
    {{8, 409, 393, 53},
     true,
     "While playing domino, there are four foundations to build upon. You will play cards that are one rank higher "
     "in the same suit of a card that is shown on the table. "},
    {{8, 460, 393, 65},
     true,
     " In the example to the right, a Jack of Diamonds, 9 of Clubs, Queen of Hearts, or 8 of Spades can be played. "
     "If you are unable to play, your turn will be skipped. The player with cards left will pay the money."},
}};

const QRect kKeysGeometry{408, 495, 284, 40};
const char* const kKeys = "Keys: 1-8, or Left/Right and Enter, play a card; 1-6 choose a contract; Ctrl+N start a "
                          "game; H a hint; Esc closes; Ctrl+I shows this page.";

const std::array<QRect, 4> kPictures{
    {{8, 8, 445, 175}, {496, 181, 263, 103}, {16, 264, 384, 134}, {408, 360, 315, 133}}};

} // namespace

InstructionsPanel::InstructionsPanel(QWidget* parent) : QWidget(parent), m_tile(QStringLiteral(":/art/tile.jpg"))
{
    setObjectName(QStringLiteral("panel_instructions"));
    setGeometry(0, 0, 768, 537);

    for (int n = 1; n <= static_cast<int>(kPictures.size()); ++n) {
        auto* picture = new ArtPicture(QStringLiteral("image_instructions%1").arg(n),
                                       ArtPicture::resource(QStringLiteral(":/art/instructions%1.jpg").arg(n)), this);
        picture->setGeometry(kPictures[n - 1]);
    }
    const QFont textFont = boardstyle::font(11);
    for (int n = 1; n <= static_cast<int>(kTexts.size()); ++n) {
        const Text& text = kTexts[n - 1];
        const Qt::Alignment align = (text.rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop;
        QLabel* label = boardstyle::makeLabel(this, QStringLiteral("label_instructions%1").arg(n), text.geometry,
                                              QString::fromLatin1(text.text), Qt::white, textFont, align);
        label->setWordWrap(true);
    }
    // The keys, under the DOMINO example, beside the OK picture.
    QLabel* keys =
        boardstyle::makeLabel(this, QStringLiteral("label_instructions6"), kKeysGeometry, QString::fromLatin1(kKeys),
                              boardstyle::kGold, boardstyle::font(10, true), Qt::AlignLeft | Qt::AlignTop);
    keys->setWordWrap(true);

    m_ok = new ArtPicture(QStringLiteral("Image10"), &Artwork::okButton, this);
    m_ok->setGeometry(QRect(QPoint(696, 488), Artwork::kOkButtonSize));
    m_ok->setCursor(Qt::PointingHandCursor);
    hide();
}

void InstructionsPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    boardstyle::paintWindow(painter, rect(), m_tile);
}
