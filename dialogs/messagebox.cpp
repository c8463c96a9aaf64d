#include "messagebox.h"

#include <QAbstractButton>

#include <optional>

namespace {

std::optional<QMessageBox::StandardButton> g_nextAnswer;
MessageBox::Hook g_hook;
QStringList g_answered;
QList<QMessageBox::Icon> g_icons;

/// The answer given in advance, if any; records the box.
std::optional<QMessageBox::StandardButton> preAnswered(const QString& text, QMessageBox::Icon icon)
{
    if (g_nextAnswer) {
        const QMessageBox::StandardButton answer = *g_nextAnswer;
        g_nextAnswer.reset();
        g_answered.append(text);
        g_icons.append(icon);
        return answer;
    }
    if (g_hook) {
        g_answered.append(text);
        g_icons.append(icon);
        return g_hook(text);
    }
    return std::nullopt;
}

} // namespace

QMessageBox::StandardButton MessageBox::information(QWidget* parent, const QString& text)
{
    if (const auto answer = preAnswered(text, QMessageBox::Information))
        return *answer;
    return QMessageBox::information(parent, QStringLiteral("Morlu"), text);
}

QMessageBox::StandardButton MessageBox::warning(QWidget* parent, const QString& text)
{
    if (const auto answer = preAnswered(text, QMessageBox::Warning))
        return *answer;
    return QMessageBox::warning(parent, QStringLiteral("Morlu"), text);
}

QMessageBox::StandardButton MessageBox::retryOrQuit(QWidget* parent, const QString& text)
{
    if (const auto answer = preAnswered(text, QMessageBox::Warning))
        return *answer;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Morlu"), text, QMessageBox::Retry | QMessageBox::Close,
                    parent);
    box.button(QMessageBox::Close)->setText(QStringLiteral("&Quit"));
    box.setDefaultButton(QMessageBox::Retry);
    box.setEscapeButton(QMessageBox::Close);
    const int answer = box.exec();
    return answer == QMessageBox::Retry ? QMessageBox::Retry : QMessageBox::Close;
}

QMessageBox::StandardButton MessageBox::retryChangeOrQuit(QWidget* parent, const QString& text)
{
    const auto given = preAnswered(text, QMessageBox::Warning);
    if (given)
        return *given == QMessageBox::Retry || *given == QMessageBox::Open ? *given : QMessageBox::Close;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Morlu"), text,
                    QMessageBox::Retry | QMessageBox::Open | QMessageBox::Close, parent);
    box.button(QMessageBox::Open)->setText(QStringLiteral("&Change Address"));
    box.button(QMessageBox::Close)->setText(QStringLiteral("&Quit"));
    box.setDefaultButton(QMessageBox::Retry);
    box.setEscapeButton(QMessageBox::Close);
    const int answer = box.exec();
    return answer == QMessageBox::Retry || answer == QMessageBox::Open ? QMessageBox::StandardButton(answer)
                                                                        : QMessageBox::Close;
}

QMessageBox::StandardButton MessageBox::question(QWidget* parent, const QString& text)
{
    const auto answer = preAnswered(text, QMessageBox::Question);
    const QMessageBox::StandardButton given =
        answer ? *answer
               : QMessageBox::question(parent, QStringLiteral("Morlu"), text, QMessageBox::Yes | QMessageBox::No,
                                       QMessageBox::No);
    return given == QMessageBox::Yes ? QMessageBox::Yes : QMessageBox::No;
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer)
{
    g_nextAnswer = answer;
}

void MessageBox::setHook(Hook hook)
{
    g_hook = std::move(hook);
}

QStringList MessageBox::answered()
{
    return g_answered;
}

QList<QMessageBox::Icon> MessageBox::answeredIcons()
{
    return g_icons;
}

void MessageBox::clearAnswered()
{
    g_answered.clear();
    g_icons.clear();
}
