#pragma once

#include "titledpanel.h"

#include <array>

class ArtPicture;
class ClickLabel;

/**
 * The contract chooser panel_choosen: six entries, one per contract, each a bold title, a short
 * description and a check mark, all tagged with the contract code. A shown check mark means this
 * player may not choose that contract; such an entry is also greyed and keeps the reason it cannot be
 * chosen ("already used", "not in a short game"). Each entry's tooltip is its rule. Releasing any mouse
 * button over a title or a description emits entryReleased(); whether that chooses anything is decided
 * by the player input. A hint rings one entry (setHinted()).
 */
class ContractChooser : public TitledPanel {
    Q_OBJECT

public:
    explicit ContractChooser(QWidget* parent);

    /// Title, description and check mark of contract @p code, 1..6; nullptr for other codes.
    ClickLabel* titleLabel(int code) const;
    ClickLabel* descriptionLabel(int code) const;
    ArtPicture* checkMark(int code) const;

    /// True when the check mark of @p code is shown; false for codes outside 1..6.
    bool isMarked(int code) const;
    /// Shows or hides the check mark of @p code and greys the entry while it is shown, with @p reason
    /// why it cannot be chosen; codes outside 1..6 are ignored.
    void setMarked(int code, bool marked, const QString& reason = QStringLiteral("already used"));
    /// Why contract @p code cannot be chosen; empty while it can.
    QString reason(int code) const;
    /// Rings the entry of contract @p code as the one a hint names; 0 (or any other code) takes the ring away.
    void setHinted(int code);
    /// The contract whose entry is ringed; 0 for none.
    int hinted() const { return m_hinted; }
    /// The reason a game of @p contracts rounds leaves a contract out: "not in a short game".
    static QString outOfGameReason(int contracts);
    /// Why a contract cannot be chosen: left out of a game of @p contracts rounds, else "already used".
    static QString reasonFor(bool outOfGame, int contracts)
    {
        return outOfGame ? outOfGameReason(contracts) : QStringLiteral("already used");
    }

signals:
    void entryReleased(int code);

private:
    std::array<ClickLabel*, 6> m_titles{};
    std::array<ClickLabel*, 6> m_descriptions{};
    std::array<ArtPicture*, 6> m_marks{};
    std::array<QString, 6> m_reasons{};
    std::array<QWidget*, 6> m_rings{};
    int m_hinted = 0;
};
