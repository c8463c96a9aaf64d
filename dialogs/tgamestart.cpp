#include "tgamestart.h"

#include "dialogstyle.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include <algorithm>

namespace {

const char* const kTagProperty = "tag";

struct Option {
    const char* title;
    int top;
    const char* description;
    int descriptionLeft;
    const char* checkName;
};

// The descriptions word for word as the chooser shows them, the doubled "are" and the trailing blank included.
constexpr std::array<Option, 3> kOptions{{
    {"Short Game", 4, "Only two rotations are played for a total of 8 contracts. ", 30, "image_check1"},
    {"Half Game", 60, "Four rotations are are played for a total of 16 contracts.", 28, "image_Check2"},
    {"Full Game", 116, "Six rotations are played for a total of 24 contracts.", 28, "image_check3"},
}};

} // namespace

Tgamestart::Tgamestart(const QPixmap& checkMark, const QPixmap& startPicture, const QPixmap& tile, QWidget* parent)
    : QDialog(parent), m_checkMark(checkMark)
{
    setObjectName(QStringLiteral("Tgamestart"));
    setWindowTitle(QStringLiteral("Game Start"));
    setModal(false);
    setFixedSize(198, 264);
    dialogstyle::setBackground(this, dialogstyle::kWindowColour, tile);

    auto* title = new QLabel(QStringLiteral("Game Option"), this);
    title->setObjectName(QStringLiteral("label_title"));
    title->setGeometry(0, 3, 198, 24);
    title->setAlignment(Qt::AlignCenter);
    title->setFont(dialogstyle::font(17, true));
    dialogstyle::setTextColour(title, dialogstyle::kGold);

    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("panel_options"));
    area->setGeometry(8, 29, 183, 180);
    QPalette white = area->palette();
    white.setColor(QPalette::Window, Qt::white);
    area->setPalette(white);
    area->setAutoFillBackground(true);
    for (int option = 1; option <= 3; ++option)
        buildOption(area, option);
    m_checks[2]->show();
    auto* frame = new QFrame(area);
    frame->setObjectName(QStringLiteral("frame_focus"));
    frame->setStyleSheet(QStringLiteral("QFrame#frame_focus { border: 2px dotted rgb(0, 79, 157); }"));
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_focusFrame = frame;
    frameMarked();
    setFocusPolicy(Qt::StrongFocus);

    m_start = new QLabel(this);
    m_start->setObjectName(QStringLiteral("button_startgame"));
    m_start->setGeometry(122, 218, 68, 42);
    m_start->setPixmap(startPicture);
    m_start->setCursor(Qt::PointingHandCursor);
    m_start->installEventFilter(this);
}

void Tgamestart::buildOption(QWidget* area, int option)
{
    const Option& o = kOptions.at(std::size_t(option - 1));
    auto* title = new QLabel(QString::fromLatin1(o.title), area);
    title->setObjectName(QStringLiteral("label_option%1").arg(option));
    title->setGeometry(30, o.top, 128, 19);
    title->setFont(dialogstyle::font(13, true));
    dialogstyle::setTextColour(title, dialogstyle::kTitleBlue);

    // Two lines of small text under the title, as much room as the next option leaves.
    auto* description = new QLabel(QString::fromLatin1(o.description), area);
    description->setObjectName(QStringLiteral("label_descrip%1").arg(option));
    description->setGeometry(o.descriptionLeft, o.top + 17, 147, 36);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    description->setWordWrap(true);
    description->setFont(dialogstyle::font(10, false));
    dialogstyle::setTextColour(description, Qt::black);

    for (QLabel* label : {title, description}) {
        label->setProperty(kTagProperty, option);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
    }

    auto* check = new QLabel(area);
    check->setObjectName(QString::fromLatin1(o.checkName));
    check->setGeometry(5, o.top, 17, 16);
    check->setPixmap(m_checkMark);
    check->hide();
    m_checks.at(std::size_t(option - 1)) = check;
}

int Tgamestart::markedOption() const
{
    for (int option = 1; option <= 3; ++option) {
        if (!m_checks.at(std::size_t(option - 1))->isHidden())
            return option;
    }
    return 3;
}

QString Tgamestart::letter() const
{
    switch (markedOption()) {
    case 1:
        return QStringLiteral("s");
    case 2:
        return QStringLiteral("h");
    default:
        return QStringLiteral("l");
    }
}

void Tgamestart::label_descrip3Click(int option)
{
    if (option < 1 || option > 3 || !m_checks.at(std::size_t(option - 1))->isHidden())
        return;
    for (QLabel* check : m_checks)
        check->hide();
    m_checks.at(std::size_t(option - 1))->show();
    frameMarked();
}

void Tgamestart::frameMarked()
{
    const int top = kOptions.at(std::size_t(markedOption() - 1)).top;
    m_focusFrame->setGeometry(2, top - 2, 179, 58);
    m_focusFrame->raise();
}

void Tgamestart::keyPressEvent(QKeyEvent* event)
{
    const int marked = markedOption();
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        label_descrip3Click(std::max(1, marked - 1));
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        label_descrip3Click(std::min(3, marked + 1));
        break;
    case Qt::Key_S:
        label_descrip3Click(1);
        break;
    case Qt::Key_H:
        label_descrip3Click(2);
        break;
    case Qt::Key_F:
        label_descrip3Click(3);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        button_startClick();
        break;
    default:
        // Esc closes the dialog, sending nothing.
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
}

void Tgamestart::button_startClick()
{
    const QString chosen = letter();
    hide();
    emit startRequested(chosen);
}

void Tgamestart::showCentredOn(const QWidget* window)
{
    dialogstyle::showCentredOn(this, window);
}

bool Tgamestart::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonRelease)
        return QDialog::eventFilter(watched, event);
    auto* label = qobject_cast<QLabel*>(watched);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (label == nullptr || mouse->button() != Qt::LeftButton || !label->rect().contains(mouse->position().toPoint()))
        return QDialog::eventFilter(watched, event);
    if (label == m_start)
        button_startClick();
    else
        label_descrip3Click(label->property(kTagProperty).toInt());
    return true;
}
