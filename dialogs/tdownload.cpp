#include "tdownload.h"

#include "dialogstyle.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

const char* const kText =
    "This solo game is ready: you play with three computer players.\n\n"
    "To play with friends, host a game on this machine and tell them its address, or join a game a "
    "friend hosts. Both are in the File menu too (Ctrl+H and Ctrl+J).";

QPushButton* button(const QString& text, const char* name, int left, int top, QWidget* parent)
{
    auto* push = new QPushButton(text, parent);
    push->setObjectName(QString::fromLatin1(name));
    push->setGeometry(left, top, 100, 26);
    push->setAutoDefault(false);
    return push;
}

} // namespace

Tdownload::Tdownload(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Tdownload"));
    setWindowTitle(QStringLiteral("Morlu - Play Together"));
    setModal(false);
    dialogstyle::setBackground(this, dialogstyle::kWindowColour);

    auto* text = new QLabel(QString::fromLatin1(kText), this);
    text->setObjectName(QStringLiteral("label_descrip"));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setFont(dialogstyle::font(12));
    // The text keeps its whole last line whatever font the system substitutes: the dialog grows
    // below it rather than clip it.
    const int textHeight = std::max(96, text->heightForWidth(316));
    text->setGeometry(12, 10, 316, textHeight);
    dialogstyle::setTextColour(text, Qt::white);

    const int buttonTop = 10 + textHeight + 14;
    QPushButton* host = button(QStringLiteral("&Host Game..."), "button_host", 12, buttonTop, this);
    QPushButton* join = button(QStringLiteral("&Join Game..."), "button_join", 120, buttonTop, this);
    QPushButton* solo = button(QStringLiteral("Play &Solo"), "button_ok", 228, buttonTop, this);
    solo->setDefault(true);
    connect(host, &QPushButton::clicked, this, [this] {
        hide();
        emit hostGameChosen();
    });
    connect(join, &QPushButton::clicked, this, [this] {
        hide();
        emit joinGameChosen();
    });
    connect(solo, &QPushButton::clicked, this, &QDialog::hide);

    const int rowTop = buttonTop + 26 + 16;
    m_dontShow = new QCheckBox(QStringLiteral("Don't show this again"), this);
    m_dontShow->setObjectName(QStringLiteral("check_dontshow"));
    m_dontShow->setGeometry(12, rowTop, 220, 24);
    m_dontShow->setFont(dialogstyle::font(12));
    dialogstyle::setTextColour(m_dontShow, Qt::white);
    connect(m_dontShow, &QCheckBox::toggled, this, &Tdownload::dontShowAgainChanged);
    setFixedSize(340, rowTop + 34);
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
