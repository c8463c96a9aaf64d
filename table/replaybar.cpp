#include "replaybar.h"

#include "replaycontroller.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

ReplayBar::ReplayBar(ReplayController& controller, QWidget* parent) : QWidget(parent), m_controller(controller)
{
    setObjectName(QStringLiteral("replay_bar"));
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(6, 2, 6, 2);
    rows->setSpacing(2);
    m_row = new QHBoxLayout;
    rows->addLayout(m_row);

    ReplayController* c = &m_controller;
    connect(button(QStringLiteral("|<"), QStringLiteral("To the start (Home)"), "button_start"), &QPushButton::clicked,
            c, &ReplayController::toStart);
    connect(button(QStringLiteral("<< Round"), QStringLiteral("Previous round (Page Up)"), "button_previousround"),
            &QPushButton::clicked, c, &ReplayController::previousRound);
    connect(button(QStringLiteral("< Trick"), QStringLiteral("Previous trick (Up, Ctrl+Left)"), "button_previoustrick"),
            &QPushButton::clicked, c, &ReplayController::previousTrick);
    connect(button(QStringLiteral("< Line"), QStringLiteral("Previous line (Left)"), "button_previousline"),
            &QPushButton::clicked, c, [c] { c->step(-1); });
    m_play = button(QStringLiteral("Play"), QStringLiteral("Play or pause (Space)"), "button_play");
    connect(m_play, &QPushButton::clicked, c, &ReplayController::togglePlay);
    connect(button(QStringLiteral("Line >"), QStringLiteral("Next line (Right)"), "button_nextline"),
            &QPushButton::clicked, c, [c] { c->step(1); });
    connect(button(QStringLiteral("Trick >"), QStringLiteral("Next trick (Down, Ctrl+Right)"), "button_nexttrick"),
            &QPushButton::clicked, c, &ReplayController::nextTrick);
    connect(button(QStringLiteral("Round >>"), QStringLiteral("Next round (Page Down)"), "button_nextround"),
            &QPushButton::clicked, c, &ReplayController::nextRound);
    connect(button(QStringLiteral(">|"), QStringLiteral("To the end (End)"), "button_end"), &QPushButton::clicked, c,
            &ReplayController::toEnd);

    m_speed = new QComboBox(this);
    m_speed->setObjectName(QStringLiteral("combo_speed"));
    m_speed->setFocusPolicy(Qt::NoFocus);
    m_speed->setToolTip(QStringLiteral("Speed (+, -)"));
    for (const double speed : ReplayController::kSpeeds)
        m_speed->addItem(QStringLiteral("%1x").arg(speed));
    m_speed->setCurrentIndex(int(m_controller.speedIndex()));
    connect(m_speed, &QComboBox::currentIndexChanged, c, [c](int index) {
        if (index >= 0)
            c->setSpeedIndex(std::size_t(index));
    });
    m_row->addWidget(m_speed);

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("slider_position"));
    m_slider->setFocusPolicy(Qt::NoFocus);
    m_slider->setMinimumWidth(120);
    // A drag rebuilds the table once, where it is let go.
    connect(m_slider, &QSlider::valueChanged, c, [this](int value) {
        if (!m_slider->isSliderDown())
            m_controller.seek(value);
    });
    connect(m_slider, &QSlider::sliderReleased, c, [this] { m_controller.seek(m_slider->value()); });
    m_row->addWidget(m_slider, 1);

    m_position = new QLabel(this);
    m_position->setObjectName(QStringLiteral("label_position"));
    rows->addWidget(m_position);
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("label_problem"));
    m_problem->setStyleSheet(QStringLiteral("color: #a00000;"));
    m_problem->setWordWrap(true);
    m_problem->hide();
    rows->addWidget(m_problem);

    connect(c, &ReplayController::positionChanged, this, &ReplayBar::refresh);
    connect(c, &ReplayController::loaded, this, &ReplayBar::refresh);
    connect(c, &ReplayController::playingChanged, this,
            [this](bool playing) { m_play->setText(playing ? QStringLiteral("Pause") : QStringLiteral("Play")); });
    connect(c, &ReplayController::speedChanged, this, [this](std::size_t index) {
        const QSignalBlocker quiet(m_speed);
        m_speed->setCurrentIndex(int(index));
    });
    installEventFilter(this);
    refresh();
}

QPushButton* ReplayBar::button(const QString& text, const QString& tip, const char* name)
{
    auto* made = new QPushButton(text, this);
    made->setObjectName(QString::fromLatin1(name));
    made->setToolTip(tip);
    made->setFocusPolicy(Qt::NoFocus);
    m_row->addWidget(made);
    return made;
}

QString ReplayBar::positionText() const
{
    QString text = QStringLiteral("Line %1 of %2").arg(m_controller.position()).arg(m_controller.lineCount());
    if (const int round = m_controller.round(); round > 0) {
        text += QStringLiteral(" - round %1").arg(round);
        if (const int trick = m_controller.trick(); trick > 0)
            text += QStringLiteral(" - trick %1").arg(trick);
    }
    return text;
}

void ReplayBar::refresh()
{
    {
        const QSignalBlocker quiet(m_slider);
        m_slider->setRange(0, m_controller.lineCount());
        m_slider->setValue(m_controller.position());
    }
    m_position->setText(positionText());
    m_problem->setText(m_controller.problem());
    m_problem->setVisible(!m_controller.problem().isEmpty());
}

void ReplayBar::watchKeys(QWidget* widget)
{
    widget->installEventFilter(this);
}

bool ReplayBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (press(key->key(), key->modifiers()))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool ReplayBar::press(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (modifiers & (Qt::AltModifier | Qt::MetaModifier))
        return false;
    ReplayController& c = m_controller;
    switch (key) {
    case Qt::Key_Space:
        c.togglePlay();
        return true;
    case Qt::Key_Right:
        ctrl ? c.nextTrick() : c.step(1);
        return true;
    case Qt::Key_Left:
        ctrl ? c.previousTrick() : c.step(-1);
        return true;
    case Qt::Key_Down:
        c.nextTrick();
        return true;
    case Qt::Key_Up:
        c.previousTrick();
        return true;
    case Qt::Key_PageDown:
        c.nextRound();
        return true;
    case Qt::Key_PageUp:
        c.previousRound();
        return true;
    case Qt::Key_Home:
        c.toStart();
        return true;
    case Qt::Key_End:
        c.toEnd();
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        c.setSpeedIndex(c.speedIndex() + 1);
        return true;
    case Qt::Key_Minus:
        if (c.speedIndex() > 0)
            c.setSpeedIndex(c.speedIndex() - 1);
        return true;
    default:
        return false;
    }
}
