#include "tabout.h"

#include "dialogstyle.h"

#include <QLabel>
#include <QPushButton>

Tabout::Tabout(const QString& version, const QPixmap& picture, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Tabout"));
    setWindowTitle(QStringLiteral("About Morlu"));
    setModal(false);
    setFixedSize(300, 244);
    dialogstyle::setBackground(this, dialogstyle::kWindowColour);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("image_logo"));
    logo->setGeometry(118, 12, 64, 64);
    logo->setAlignment(Qt::AlignCenter);
    logo->setPixmap(picture.scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    const struct {
        const char* name;
        QString text;
        int top;
        int height;
        int pixelSize;
        bool bold;
        QColor colour;
    } lines[] = {
        {"label_name", QStringLiteral("Morlu"), 80, 30, 24, true, dialogstyle::kGold},
        {"label_version", QStringLiteral("Version ") + version, 112, 20, 13, false, Qt::white},
        {"label_descrip",
         QStringLiteral("A card game for four players: six contracts under a rotating director, played alone "
                        "against the computer or with friends over the network."),
         138, 64, 12, false, Qt::white},
    };
    for (const auto& line : lines) {
        auto* label = new QLabel(line.text, this);
        label->setObjectName(QString::fromLatin1(line.name));
        label->setGeometry(12, line.top, 276, line.height);
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        label->setFont(dialogstyle::font(line.pixelSize, line.bold));
        dialogstyle::setTextColour(label, line.colour);
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("button_ok"));
    ok->setGeometry(110, 210, 80, 24);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
}

void Tabout::showCentredOn(const QWidget* window)
{
    dialogstyle::showCentredOn(this, window);
}
