#include "tphrases.h"

#include "dialogstyle.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kRowTop = 8;
constexpr int kRowHeight = 24;

} // namespace

Tphrases::Tphrases(const QPixmap& tile, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Tphrases"));
    setWindowTitle(QStringLiteral("Morlu - Phrase Buttons "));
    setModal(false);
    setFixedSize(368, 264);
    dialogstyle::setBackground(this, Qt::white, tile);

    for (int n = 1; n <= kPhraseCount; ++n) {
        const int top = kRowTop + (n - 1) * kRowHeight;
        auto* label = new QLabel(QStringLiteral("Phrase Button %1:").arg(n), this);
        label->setObjectName(QStringLiteral("label_phrase%1").arg(n));
        label->setGeometry(8, top, 120, 21);
        label->setFont(dialogstyle::font(12, true));
        dialogstyle::setTextColour(label, dialogstyle::kGold);

        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("phrase%1").arg(n));
        edit->setGeometry(132, top, 228, 21);
        connect(edit, &QLineEdit::textEdited, this, [this, n](const QString& text) { limitTyping(n, text); });
        m_edits.at(std::size_t(n - 1)) = edit;
    }

    auto* note = new QLabel(QStringLiteral("Buttons can only be used once every 2 seconds"), this);
    note->setObjectName(QStringLiteral("label_note"));
    note->setGeometry(8, kRowTop + kPhraseCount * kRowHeight + 2, 280, 18);
    note->setFont(dialogstyle::font(11, false));
    dialogstyle::setTextColour(note, Qt::red);
    // Red on the tile would hardly show: the reminder stands on white, like the dialog itself.
    note->setAutoFillBackground(true);
    QPalette white = note->palette();
    white.setColor(QPalette::Window, Qt::white);
    note->setPalette(white);

    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("button_done"));
    done->setGeometry(292, 234, 68, 24);
    // Enter in any box applies the phrases, as the Done button does; Esc drops them like the close box.
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &Tphrases::button_doneClick);
}

void Tphrases::limitTyping(int n, const QString& text)
{
    QLineEdit* edit = m_edits.at(std::size_t(n - 1));
    QString& last = m_lastText.at(std::size_t(n - 1));
    if (text.size() > kMaxTyped && text.size() > last.size()) {
        const int caret = edit->cursorPosition() - int(text.size() - last.size());
        edit->setText(last);
        edit->setCursorPosition(std::max(0, caret));
        return;
    }
    last = text;
}

void Tphrases::PrhaseList1Click(const QStringList& phrases, const QWidget* window)
{
    for (int n = 1; n <= kPhraseCount; ++n) {
        const QString text = phrases.value(n - 1);
        m_edits.at(std::size_t(n - 1))->setText(text);
        m_lastText.at(std::size_t(n - 1)) = text;
    }
    if (window != nullptr)
        move(window->frameGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

QString Tphrases::phrase(int n) const
{
    return m_edits.at(std::size_t(n - 1))->text();
}

void Tphrases::button_doneClick()
{
    QStringList phrases;
    for (int n = 1; n <= kPhraseCount; ++n)
        phrases << phrase(n);
    emit phrasesChosen(phrases);
    close();
}
