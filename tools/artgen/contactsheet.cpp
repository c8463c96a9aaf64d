#include "contactsheet.h"

#include "artwork.h"
#include "feltpainter.h"
#include "illustrations.h"

#include <QFont>
#include <QPainter>

#include <array>

namespace {

const QColor kGold(237, 215, 61);
const QColor kDarkBlue(0, 64, 128);
const QColor kPurple(87, 41, 182);

QFont font(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

void caption(QPainter& p, QPointF at, const QString& text)
{
    p.setFont(font(13, true));
    p.setPen(kGold);
    p.drawText(at, text);
}

/// Draws @p pixmap pixel for pixel (its device pixels, not its logical size) to show fine detail.
void drawMagnified(QPainter& p, QPointF at, const QPixmap& pixmap)
{
    QImage image = pixmap.toImage();
    image.setDevicePixelRatio(1.0);
    p.drawImage(at, image);
}

/// A seat label of the board in dark blue.
void label(QPainter& p, QRectF r, const QString& text, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    p.setFont(font(11, true));
    p.setPen(kDarkBlue);
    p.drawText(r, align, text);
}

void mockPanel(QPainter& p, const QRectF& r, const QString& title, const QStringList& lines)
{
    p.setPen(QPen(kGold, 1.0));
    p.setBrush(kPurple);
    p.drawRect(r);
    p.setFont(font(13, true));
    p.setPen(kGold);
    p.drawText(QRectF(r.left(), r.top() + 2, r.width(), 20), Qt::AlignCenter, title);
    const QRectF white = r.adjusted(6, 26, -6, -6);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(white);
    p.setFont(font(10, false));
    p.setPen(Qt::black);
    p.drawText(white.adjusted(4, 3, -4, -3), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, lines.join('\n'));
}

/// The board as the table would show it, with sample labels in their places, for judging contrast.
QImage boardPreview(bool choosing)
{
    QImage board = FeltPainter::board().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&board);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const std::array<int, 4> nameLeft{249, 365, 475, 587}, bankLeft{230, 346, 456, 568};
    const std::array<int, 4> bonusLeft{292, 408, 518, 630}, placeLeft{253, 359, 479, 591};
    const std::array<const char*, 4> names{"You", "Klot", "Klock", "Kling"};
    const std::array<const char*, 4> bonus{"+$400", "-$200", "-$200", "-"};
    for (size_t s = 0; s < 4; ++s) {
        label(p, QRectF(nameLeft[s], 19, 92, 16), QString::fromLatin1(names[s]));
        label(p, QRectF(bankLeft[s], 33, 57, 16), QStringLiteral("$10000"), Qt::AlignRight | Qt::AlignVCenter);
        label(p, QRectF(bonusLeft[s], 33, 60, 16), QString::fromLatin1(bonus[s]));
        label(p, QRectF(nameLeft[s] - 8, 53, 80, 16), QStringLiteral("CARDS: 5"));
    }
    p.drawPixmap(QPointF(465 - 26, 19), Artwork::eyes());
    p.drawPixmap(QPointF(nameLeft[1] - 35, 18), Artwork::directorMarker());
    label(p, QRectF(665, 72, 90, 16), QStringLiteral("LONG GAME"));
    label(p, QRectF(653, 88, 100, 16), QStringLiteral("CONTRACT: 3/24"));
    p.drawPixmap(QPointF(663, 22), Artwork::logo());
    p.drawPixmap(QPointF(669, 104), Artwork::startButton());

    if (choosing) {
        p.drawPixmap(QPointF(216, 72), Artwork::chooseContractBanner());
        mockPanel(p, QRectF(24, 24, 185, 297), QStringLiteral("Choose Contract"),
                  {QStringLiteral("Morlu"), QStringLiteral("Player pays you $800 ...")});
        p.drawPixmap(QPointF(35, 55), Artwork::checkMark());
    } else {
        const std::array<int, 3> played{21, 18, 23};
        for (size_t s = 0; s < played.size(); ++s)
            p.drawPixmap(QPointF(placeLeft[s], 72), Artwork::card(played[s]));
        p.drawPixmap(QPointF(placeLeft[0] - 4, 67), Artwork::leadMarker());
        p.drawPixmap(QPointF(placeLeft[2] - 4, 67), Artwork::takerMarker());
        p.drawPixmap(QPointF(placeLeft[3] - 26, 53), Artwork::turnMarker());
        mockPanel(p, QRectF(24, 24, 185, 297), QStringLiteral("Game Log"),
                  {QStringLiteral("CONTRACT 3 is starting."), QStringLiteral("Klot is the director"),
                   QStringLiteral("MORLU")});
    }
    const std::array<int, 8> hand{1, 8, 0, 15, 19, 22, 26, 30};
    for (size_t k = 0; k < hand.size(); ++k)
        if (hand[k] != 0)
            p.drawPixmap(QPointF(264 + 56 * static_cast<int>(k), 160), Artwork::card(hand[k]));

    p.setFont(font(12, true));
    p.setPen(Qt::black);
    p.drawText(QRectF(225, 235, 512, 16), Qt::AlignCenter,
               choosing ? QStringLiteral("Choose a CONTRACT.") : QStringLiteral("Kling's turn."));
    p.setPen(kGold);
    p.setFont(font(17, true));
    p.drawText(QRectF(224, 254, 515, 28), Qt::AlignCenter, QStringLiteral("MORLU - Avoid the King of Hearts."));
    p.setFont(font(12, true));
    p.drawText(QRectF(224, 281, 515, 20), Qt::AlignCenter, QStringLiteral("All fees payable to Klot"));
    p.setFont(font(11, false));
    p.setPen(QColor(255, 0, 0));
    p.drawText(QRectF(225, 307, 512, 16), Qt::AlignCenter,
               QStringLiteral("FRENCH ORDER OF RANKS IS USED: A-10-K-Q-J-9-8-7"));
    p.end();
    return board;
}

} // namespace

QImage ContactSheet::render()
{
    QImage sheet(1600, 1660, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&sheet);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    p.fillRect(sheet.rect(), QBrush(FeltPainter::tile()));

    caption(p, QPointF(16, 24), QStringLiteral("Cards (1x) and back"));
    for (int code = 1; code <= 32; ++code) {
        const int row = (code - 1) / 8, col = (code - 1) % 8;
        p.drawPixmap(QPointF(16 + col * 60, 34 + row * 80), Artwork::card(code));
    }
    p.drawPixmap(QPointF(16 + 8 * 60, 34), Artwork::cardBack());

    caption(p, QPointF(580, 24), QStringLiteral("Cards at device pixel ratio 3"));
    const std::array<int, 7> detail{4, 5, 6, 7, 22, 32, 11};
    for (size_t i = 0; i < detail.size(); ++i)
        drawMagnified(p, QPointF(580 + (i % 6) * 168, 34 + (i / 6) * 228), Artwork::card(detail[i], 3.0));
    drawMagnified(p, QPointF(580 + 1 * 168, 34 + 228), Artwork::cardBack(3.0));

    caption(p, QPointF(16, 366), QStringLiteral("Markers, buttons, banner, logo (1x and 2x)"));
    QImage felt = FeltPainter::felt(QSize(540, 470), 3);
    p.drawImage(QPointF(16, 376), felt);
    p.drawPixmap(QPointF(30, 390), Artwork::directorMarker());
    p.drawPixmap(QPointF(80, 396), Artwork::turnMarker());
    p.drawPixmap(QPointF(130, 390), Artwork::card(30));
    p.drawPixmap(QPointF(130 - 4, 390 - 5), Artwork::leadMarker());
    p.drawPixmap(QPointF(220, 390), Artwork::card(22));
    p.drawPixmap(QPointF(220 - 4, 390 - 5), Artwork::takerMarker());
    p.drawPixmap(QPointF(300, 392), Artwork::eyes());
    p.drawPixmap(QPointF(340, 390), Artwork::okButton());
    p.drawPixmap(QPointF(410, 390), Artwork::startButton());
    p.drawPixmap(QPointF(300, 430), Artwork::startGameButton());
    p.drawPixmap(QPointF(380, 440), Artwork::logo());
    p.fillRect(QRectF(470, 440, 40, 30), Qt::white);
    p.drawPixmap(QPointF(480, 447), Artwork::checkMark());
    p.drawPixmap(QPointF(30, 500), Artwork::chooseContractBanner());
    drawMagnified(p, QPointF(30, 580), Artwork::directorMarker(2.0));
    drawMagnified(p, QPointF(100, 580), Artwork::turnMarker(2.0));
    drawMagnified(p, QPointF(180, 580), Artwork::leadMarker(2.0));
    drawMagnified(p, QPointF(330, 580), Artwork::takerMarker(2.0));
    drawMagnified(p, QPointF(460, 580), Artwork::eyes(2.0));
    drawMagnified(p, QPointF(460, 620), Artwork::okButton(2.0));
    drawMagnified(p, QPointF(30, 650), Artwork::logo(2.0));

    caption(p, QPointF(580, 520), QStringLiteral("Smilies (1x, 3x), glyphs, icon"));
    p.fillRect(QRectF(580, 530, 1000, 220), Qt::white);
    for (int i = 0; i < Artwork::kSmileyCount; ++i) {
        p.drawPixmap(QPointF(590 + i * 24, 540), Artwork::smiley(i));
        drawMagnified(p, QPointF(590 + (i % 9) * 60, 566 + (i / 9) * 54), Artwork::smiley(i, 3.0));
    }
    p.drawPixmap(QPointF(1150, 540), Artwork::phraseGlyph());
    p.drawPixmap(QPointF(1175, 540), Artwork::soundGlyph());
    drawMagnified(p, QPointF(1150, 566), Artwork::phraseGlyph(3.0));
    drawMagnified(p, QPointF(1210, 566), Artwork::soundGlyph(3.0));
    qreal x = 1150;
    for (int size : {16, 32, 48, 64, 128}) {
        p.drawImage(QPointF(x, 620), Artwork::appIconImage(size));
        x += size + 8;
    }

    caption(p, QPointF(16, 880), QStringLiteral("Instruction illustrations"));
    p.drawImage(QPointF(16, 890), Illustrations::instructions(1));
    p.drawImage(QPointF(480, 890), Illustrations::instructions(2));
    p.drawImage(QPointF(760, 890), Illustrations::instructions(3));
    p.drawImage(QPointF(1160, 890), Illustrations::instructions(4));

    caption(p, QPointF(16, 1096), QStringLiteral("Board previews with sample labels"));
    p.drawImage(QPointF(16, 1106), boardPreview(false));
    p.drawImage(QPointF(800, 1106), boardPreview(true));
    p.end();
    return sheet;
}
