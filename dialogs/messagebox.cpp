#include "messagebox.h"

#include <optional>

namespace {

std::optional<QMessageBox::StandardButton> g_nextAnswer;
MessageBox::Hook g_hook;
QStringList g_answered;

/// The answer of a pre-answered or hooked box, or nothing when the box must really be shown.
std::optional<QMessageBox::StandardButton> preAnswered(const QString& text)
{
    if (g_nextAnswer) {
        const QMessageBox::StandardButton answer = *g_nextAnswer;
        g_nextAnswer.reset();
        g_answered.append(text);
        return answer;
    }
    if (g_hook) {
        g_answered.append(text);
        return g_hook(text);
    }
    return std::nullopt;
}

} // namespace

QMessageBox::StandardButton MessageBox::information(QWidget* parent, const QString& text)
{
    if (const auto answer = preAnswered(text))
        return *answer;
    return QMessageBox::information(parent, QStringLiteral("Morlu"), text);
}

QMessageBox::StandardButton MessageBox::question(QWidget* parent, const QString& text)
{
    const auto answer = preAnswered(text);
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

void MessageBox::clearAnswered()
{
    g_answered.clear();
}
