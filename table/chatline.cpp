#include "chatline.h"

#include "fieldreader.h"

namespace {

const QString kSmileyMark = QStringLiteral(":)#");

/// The picture of a smiley code: two digits 10 to 27; anything else shows the first picture.
int smileyOf(const QString& code)
{
    if (code.size() != 2 || !code.at(0).isDigit() || !code.at(1).isDigit())
        return 0;
    const int value = code.toInt();
    if (value < ChatLine::kFirstSmileyCode || value >= ChatLine::kFirstSmileyCode + ChatLine::kSmileyCount)
        return 0;
    return value - ChatLine::kFirstSmileyCode;
}

} // namespace

ChatLine ChatLine::parse(const QString& line, bool splitSpeaker)
{
    ChatLine chat;
    const qsizetype plus = line.indexOf(QLatin1Char('+'));
    chat.style = morlu::toInt(plus < 0 ? std::string() : line.left(plus).toStdString());
    QString text = line.mid(plus + 1);
    const qsizetype colon = splitSpeaker ? text.indexOf(QLatin1Char(':')) : -1;
    chat.speaker = colon < 0 ? QString() : text.left(colon + 1);
    text.remove(0, colon + 1);

    for (qsizetype mark = text.indexOf(kSmileyMark); mark >= 0; mark = text.indexOf(kSmileyMark)) {
        const QString before = text.left(mark);
        const QString code = text.mid(mark + kSmileyMark.size(), 2);
        text.remove(0, mark + kSmileyMark.size() + code.size());
        chat.addPieces(before + QLatin1Char(' '));
        chat.items.append(Item{Item::Kind::Smiley, QString(), smileyOf(code)});
    }
    if (!text.isEmpty())
        chat.addPieces(text + QLatin1Char(' '));
    return chat;
}

bool ChatLine::iswebaddress(const QString& piece)
{
    return piece.contains(QLatin1String("http://")) || piece.contains(QLatin1String("https://")) ||
           piece.contains(QLatin1String("www."));
}

QStringList ChatLine::pieces(const QString& text)
{
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char(' ')) {
            pieces.append(text.mid(start, i + 1 - start));
            start = i + 1;
        }
    }
    if (start < text.size())
        pieces.append(text.mid(start));
    return pieces;
}

void ChatLine::addPieces(const QString& text)
{
    for (const QString& piece : pieces(text))
        items.append(Item{iswebaddress(piece) ? Item::Kind::Link : Item::Kind::Text, piece, 0});
}
