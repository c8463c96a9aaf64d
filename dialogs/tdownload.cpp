#include "tdownload.h"

#include "dialogstyle.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

const char* const kText =
    "Multi-player games of Morlu are usually started from a separate lobby program, which finds the other "
    "players and starts Morlu for everybody at the table.\n\n"
    "The lobby program is not part of this package. It would be offered for download on the Morlu project "
    "page, which has no public address yet, so there is nothing to download for now.\n\n"
    "You do not need it to play: this solo game is ready, and you can host or join a game yourself "
    "(Help, Content, \"Connecting\").";

} // namespace

Tdownload::Tdownload(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Tdownload"));
    setWindowTitle(QStringLiteral("Morlu - Lobby Program"));
    setModal(false);
    dialogstyle::setBackground(this, dialogstyle::kWindowColour);

    auto* text = new QLabel(QString::fromLatin1(kText), this);
    text->setObjectName(QStringLiteral("label_descrip"));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setFont(dialogstyle::font(12));
    // The text keeps its whole last line whatever font the system substitutes: the dialog grows
    // below it rather than clip it.
    const int textHeight = std::max(180, text->heightForWidth(316));
    text->setGeometry(12, 10, 316, textHeight);
    const int rowTop = 10 + textHeight + 24;
    setFixedSize(340, rowTop + 36);
    dialogstyle::setTextColour(text, Qt::white);

    m_dontShow = new QCheckBox(QStringLiteral("Don't show this again"), this);
    m_dontShow->setObjectName(QStringLiteral("check_dontshow"));
    m_dontShow->setGeometry(12, rowTop, 200, 24);
    m_dontShow->setFont(dialogstyle::font(12));
    dialogstyle::setTextColour(m_dontShow, Qt::white);
    connect(m_dontShow, &QCheckBox::toggled, this, &Tdownload::dontShowAgainChanged);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("button_ok"));
    ok->setGeometry(248, rowTop, 80, 24);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
}

bool Tdownload::dontShowAgain() const
{
    return m_dontShow->isChecked();
}

void Tdownload::setDontShowAgain(bool checked)
{
    const QSignalBlocker quiet(m_dontShow);
    m_dontShow->setChecked(checked);
}

void Tdownload::showCentredOn(const QWidget* window)
{
    dialogstyle::centreOn(this, window);
    // Shown beside the starting game, never in its way: the table keeps the keyboard.
    setAttribute(Qt::WA_ShowWithoutActivating);
    show();
}
