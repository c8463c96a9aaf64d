#include "tjoingame.h"

#include "dialogstyle.h"
#include "gamefinder.h"
#include "playername.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kAddressRole = Qt::UserRole;

QLabel* heading(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(dialogstyle::font(13, true));
    dialogstyle::setTextColour(label, dialogstyle::kGold);
    return label;
}

QString describe(const morlu::FoundGame& game)
{
    const QString players = game.players == 1 ? QStringLiteral("1 player") : QStringLiteral("%1 players").arg(game.players);
    return QStringLiteral("%1   (%2, %3 free, %4)   %5")
        .arg(game.name, players)
        .arg(game.free)
        .arg(game.playing ? QStringLiteral("playing") : QStringLiteral("waiting"),
             GameAddress::of(game.host, game.port).text());
}

} // namespace

Tjoingame::Tjoingame(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Tjoingame"));
    setWindowTitle(QStringLiteral("Morlu - Join Game"));
    dialogstyle::setBackground(this, dialogstyle::kWindowColour);
    setFont(dialogstyle::font(12));

    auto* grid = new QGridLayout;
    auto* nameLabel = heading(QStringLiteral("Your name"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("edit_name"));
    m_name->setMaxLength(30);
    nameLabel->setBuddy(m_name);
    auto* addressLabel = heading(QStringLiteral("Host address"), this);
    m_address = new QLineEdit(this);
    m_address->setObjectName(QStringLiteral("edit_address"));
    m_address->setPlaceholderText(QStringLiteral("192.168.1.20, 192.168.1.20:7772 or [::1]:7772"));
    addressLabel->setBuddy(m_address);
    grid->addWidget(addressLabel, 0, 0);
    grid->addWidget(m_address, 0, 1);
    grid->addWidget(nameLabel, 1, 0);
    grid->addWidget(m_name, 1, 1);

    m_error = new QLabel(this);
    m_error->setObjectName(QStringLiteral("label_error"));
    m_error->setWordWrap(true);
    dialogstyle::setTextColour(m_error, dialogstyle::kGold);
    m_error->hide();

    m_found = new QListWidget(this);
    m_found->setObjectName(QStringLiteral("list_found"));
    m_found->setMinimumHeight(90);
    m_discovery = new QLabel(QStringLiteral("Local discovery is unavailable: type the host's address above."), this);
    m_discovery->setObjectName(QStringLiteral("label_discovery"));
    dialogstyle::setTextColour(m_discovery, Qt::white);
    m_recent = new QListWidget(this);
    m_recent->setObjectName(QStringLiteral("list_recent"));
    m_recent->setMinimumHeight(90);

    auto* join = new QPushButton(QStringLiteral("&Join"), this);
    join->setObjectName(QStringLiteral("button_join"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("button_cancel"));
    // Enter is taken where it is pressed (the address field or a list), never by a default button, so
    // Enter on a found game joins that game and not the address typed.
    for (QPushButton* button : {join, cancel})
        button->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(join);
    buttons->addWidget(cancel);

    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addWidget(m_error);
    column->addWidget(heading(QStringLiteral("Games on your network"), this));
    column->addWidget(m_found);
    column->addWidget(m_discovery);
    column->addWidget(heading(QStringLiteral("Recent hosts"), this));
    column->addWidget(m_recent);
    column->addLayout(buttons);
    resize(460, 420);

    connect(m_address, &QLineEdit::returnPressed, this, &Tjoingame::joinTyped);
    connect(m_name, &QLineEdit::returnPressed, this, &Tjoingame::joinTyped);
    connect(join, &QPushButton::clicked, this, &Tjoingame::joinTyped);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Enter (activated) and a double-click both join; whichever comes second finds the dialog closed.
    const auto joinFound = [this](QListWidgetItem* item) {
        joinAddress(GameAddress::parse(item->data(kAddressRole).toString()));
    };
    connect(m_found, &QListWidget::itemActivated, this, joinFound);
    connect(m_found, &QListWidget::itemDoubleClicked, this, joinFound);
    connect(m_recent, &QListWidget::currentTextChanged, m_address, &QLineEdit::setText);
    connect(m_recent, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { joinAddress(GameAddress::parse(item->text())); });
    refreshFound();
}

void Tjoingame::setGameFinder(morlu::GameFinder* finder)
{
    if (m_finder)
        disconnect(m_finder, nullptr, this, nullptr);
    m_finder = finder;
    if (m_finder)
        connect(m_finder, &morlu::GameFinder::changed, this, &Tjoingame::refreshFound);
    refreshFound();
}

void Tjoingame::refreshFound()
{
    const bool available = m_finder && m_finder->available();
    m_discovery->setVisible(!available);
    const QString current =
        m_found->currentItem() != nullptr ? m_found->currentItem()->data(kAddressRole).toString() : QString();
    m_found->clear();
    if (!available)
        return;
    for (const morlu::FoundGame& game : m_finder->games()) {
        auto* item = new QListWidgetItem(describe(game), m_found);
        item->setData(kAddressRole, GameAddress::of(game.host, game.port).text());
        if (item->data(kAddressRole).toString() == current)
            m_found->setCurrentItem(item);
    }
}

void Tjoingame::setPlayerName(const QString& name)
{
    m_name->setText(name);
}

void Tjoingame::setRecentHosts(const QStringList& hosts)
{
    const QSignalBlocker quiet(m_recent);
    m_recent->clear();
    m_recent->addItems(hosts);
}

void Tjoingame::setAddress(const QString& text)
{
    m_address->setText(text);
}

void Tjoingame::showCentredOn(const QWidget* window)
{
    showError(QString());
    dialogstyle::showCentredOn(this, window);
    m_address->setFocus(Qt::OtherFocusReason);
    m_address->selectAll();
}

QString Tjoingame::errorText() const
{
    return m_error->text();
}

void Tjoingame::joinTyped()
{
    joinAddress(GameAddress::parse(m_address->text()));
}

void Tjoingame::joinAddress(const GameAddress& address)
{
    if (!isVisible())
        return;
    if (const QString why = playername::error(m_name->text()); !why.isEmpty()) {
        showError(why);
        m_name->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!address.ok()) {
        showError(address.error());
        m_address->setFocus(Qt::OtherFocusReason);
        return;
    }
    showError(QString());
    accept();
    emit joinChosen(m_name->text().trimmed(), address);
}

void Tjoingame::showError(const QString& text)
{
    m_error->setText(text);
    m_error->setVisible(!text.isEmpty());
}
