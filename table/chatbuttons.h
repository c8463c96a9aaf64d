#pragma once

#include <QObject>
#include <QString>

#include <array>

class QAbstractButton;
class QFontMetrics;
class QMenu;
class QWidget;

/**
 * The chat pane's buttons: the nine phrase buttons `b_phrase1`..`b_phrase9` in a row under the view,
 * whose tooltips are the phrases they send and whose captions show as much of them as fits (see
 * buttonText(), fitted again whenever the board grows); the chatter-sound button `b_phrase10` beside the
 * entry with its menu `popup_sounds` ("<Cancel>" and the twenty titles); and the smiley button
 * `button_smilies` right of the entry with its menu `popup_smilies` (the eighteen pictures, ":)#10"
 * to ":)#27"). The buttons only report what was chosen.
 */
class ChatButtons : public QObject {
    Q_OBJECT

public:
    static constexpr int kPhraseCount = 9;
    /// The phrases the buttons carry until the settings or the phrase editor give others.
    static constexpr std::array<const char*, kPhraseCount> kBuiltInPhrases{
        "Way To Go!", "Good One!", "Nice Try!",         "Excellent!",         "Brilliant!",
        "Wow, WTG!",  "Thanks!",   "Way To Go Teamie!", "Good Game Everyone!"};

    /** Builds the buttons in @p area (the board's chat area), which owns them. */
    explicit ChatButtons(QWidget* area, QObject* parent = nullptr);

    /**
     * The caption of a phrase button @p width pixels wide inside its frame: the whole phrase when it
     * fits, else as many of its first words as fit followed by an ellipsis, else its first word elided
     * at the end to fit; empty for a phrase of blanks. Blanks between words are shown as one.
     */
    static QString buttonText(const QString& phrase, const QFontMetrics& metrics, int width);

    /** The phrase of button @p n (1..9): its tooltip. */
    QString phrase(int n) const;
    void setPhrase(int n, const QString& text);

    QAbstractButton* phraseButton(int n) const { return m_phrases.at(std::size_t(n - 1)); }
    QAbstractButton* soundButton() const { return m_sound; }
    QAbstractButton* smileyButton() const { return m_smilies; }
    QMenu* soundMenu() const { return m_soundMenu; }
    QMenu* smileyMenu() const { return m_smileyMenu; }

    /** b_phrase10Click: opens the chatter sound menu below the button's bottom right corner. */
    void b_phrase10Click();
    /** button_smiliesClick: opens the smiley menu the same way. */
    void button_smiliesClick();

signals:
    /** A phrase button was clicked; @p phrase is its tooltip. */
    void phraseClicked(const QString& phrase);
    /** An item of the chatter sound menu: 0 for "<Cancel>", else 1..20. */
    void soundChosen(int number);
    /** An item of the smiley menu: its code, 10..27. */
    void smileyChosen(int code);

private:
    void buildMenus();

    std::array<QAbstractButton*, kPhraseCount> m_phrases{};
    QAbstractButton* m_sound = nullptr;
    QAbstractButton* m_smilies = nullptr;
    QMenu* m_soundMenu = nullptr;
    QMenu* m_smileyMenu = nullptr;
};
