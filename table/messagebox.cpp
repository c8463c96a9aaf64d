#include "messagebox.h"

#include <optional>

namespace {

std::optional<QMessageBox::StandardButton> g_nextAnswer;
MessageBox::Hook g_hook;
QStringList g_answered;

} // namespace

QMessageBox::StandardButton MessageBox::information(QWidget* parent, const QString& text)
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
    return QMessageBox::information(parent, QStringLiteral("Morlu"), text);
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
