#pragma once

#include <QPixmap>
#include <QStringList>
#include <QWidget>

#include <array>

class ArtPicture;
class CardPlace;
class ContractChooser;
class InstructionsPanel;
class QLabel;
class QTextEdit;
class TitledPanel;

/**
 * The card table: a fixed 768 x 537 area over the board picture holding every element the game
 * shows, each at its place and under its object name (label_playername1, card_5, panel_choosen ...).
 *
 * The board holds no game logic. The game display changes its elements through the accessors below;
 * the player input listens to its signals. Seats are never rotated: seat n is column n from the left.
 * Accessors taking a seat, place or foundation number return nullptr outside 1..4 (1..8 for the hand),
 * and the convenience setters ignore such numbers, so a bad number from the host shows nothing.
 *
 * The lower part of the board (chatArea(), below the rank order line) is left to the window's chat.
 */
class Board : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 768;
    static constexpr int kHeight = 537;
    static constexpr const char* kWaiting = "<Waiting>";

    explicit Board(QWidget* parent = nullptr);

    // Seat columns.
    QLabel* nameLabel(int seat) const;
    QLabel* scoreLabel(int seat) const;
    QLabel* bonusLabel(int seat) const;
    QLabel* cardCountLabel(int seat) const;
    ArtPicture* eyes(int seat) const;
    CardPlace* playedCard(int seat) const;

    /// Text shown in the name label of @p seat: the "name of seat s" of every message; empty outside 1..4.
    QString seatName(int seat) const;
    /// Sets the caption of the name label of @p seat and shows it (arrivals and departures).
    void setSeatName(int seat, const QString& name);
    /// The computer player name the table shows for @p seat (its hint): "Klot", "Klick", "Kling"; seat 1 none.
    QString computerName(int seat) const;
    void setScoreShown(int seat, bool shown);
    void setEyesShown(int seat, bool shown);
    /// Change label of @p seat, sized to its text.
    void setBonusText(int seat, const QString& text);
    /// Card count label of @p seat, sized to its text.
    void setCardCountText(int seat, const QString& text);

    // Hand row and DOMINO foundations.
    CardPlace* handPlace(int place) const;
    CardPlace* foundation(int suit) const;
    QLabel* dominoRank(int suit) const;

    // Markers: each placed on a seat's column by its offset and shown; seats outside 1..4 are ignored.
    ArtPicture* directorMarker() const { return m_director; }
    ArtPicture* turnMarker() const { return m_turn; }
    ArtPicture* leadMarker() const { return m_lead; }
    ArtPicture* takerMarker() const { return m_taker; }
    void placeDirector(int seat);
    void placeTurn(int seat);
    void placeLead(int seat);
    void placeTaker(int seat);

    // Text lines.
    QLabel* statusLabel() const { return m_status; }
    QLabel* gameTypeLabel() const { return m_gameType; }
    QLabel* roundLabel() const { return m_round; }
    QLabel* rankLabel() const { return m_rank; }
    QLabel* handTypeLabel() const { return m_handType; }
    QLabel* feeLabel() const { return m_fee; }
    void setGameTypeText(const QString& text);
    void setRoundText(const QString& text);
    /// The rank order line in @p colour.
    void setRankText(const QString& text, const QColor& colour);

    // Panels.
    TitledPanel* logPanel() const { return m_logPanel; }
    QTextEdit* gameLog() const { return m_log; }
    /// Appends one line to the game log and keeps the newest line in view.
    void addLogLine(const QString& line);
    ContractChooser* chooser() const { return m_chooser; }
    TitledPanel* errorPanel() const { return m_errorPanel; }
    QTextEdit* errorList() const { return m_errors; }
    void addErrorLine(const QString& line);
    /// Empties the error panel's list and fills it with @p lines.
    void setErrorLines(const QStringList& lines);
    /// Shows @p panel and brings it in front of its siblings.
    static void showInFront(QWidget* panel);

    QWidget* winnerPanel() const { return m_winnerPanel; }
    /// Both copies of the winner text, in a smaller size when a long text would not fit.
    void setWinnerText(const QString& text);
    /// The contract line, in a smaller size when the text would not fit the contract box.
    void setHandTypeText(const QString& text);
    QString winnerText() const;
    QWidget* dominoPanel() const { return m_dominoPanel; }
    ArtPicture* chooseContractBanner() const { return m_banner; }
    ArtPicture* startButton() const { return m_start; }
    ArtPicture* logo() const { return m_logo; }
    InstructionsPanel* instructionsPanel() const { return m_instructions; }
    /// Empty area below the rank order line where the window places its chat pane, so the quick
    /// instructions (a child of the board) can still cover it.
    QWidget* chatArea() const { return m_chatArea; }

signals:
    void handPlaceClicked(CardPlace* place);
    /// A mouse button was released over the title or description of contract @p code.
    void contractReleased(int code);
    void errorOkClicked();
    void instructionsOkClicked();
    void startClicked();
    void logoClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildSeatColumns();
    void buildMarkers();
    void buildHandRow();
    void buildTextLines();
    void buildPanels();
    void buildWinnerAndDomino();
    void buildCorner();

    QPixmap m_background;
    std::array<QLabel*, 4> m_names{};
    std::array<QLabel*, 4> m_scores{};
    std::array<QLabel*, 4> m_bonuses{};
    std::array<QLabel*, 4> m_cardCounts{};
    std::array<ArtPicture*, 4> m_eyes{};
    std::array<CardPlace*, 4> m_played{};
    std::array<CardPlace*, 8> m_hand{};
    std::array<CardPlace*, 4> m_foundations{};
    std::array<QLabel*, 4> m_dominoRanks{};
    ArtPicture* m_director = nullptr;
    ArtPicture* m_turn = nullptr;
    ArtPicture* m_lead = nullptr;
    ArtPicture* m_taker = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_gameType = nullptr;
    QLabel* m_round = nullptr;
    QLabel* m_rank = nullptr;
    QLabel* m_handType = nullptr;
    QLabel* m_fee = nullptr;
    TitledPanel* m_logPanel = nullptr;
    QTextEdit* m_log = nullptr;
    ContractChooser* m_chooser = nullptr;
    TitledPanel* m_errorPanel = nullptr;
    QTextEdit* m_errors = nullptr;
    QWidget* m_winnerPanel = nullptr;
    QLabel* m_winner = nullptr;
    QLabel* m_winnerShadow = nullptr;
    QWidget* m_dominoPanel = nullptr;
    ArtPicture* m_banner = nullptr;
    ArtPicture* m_start = nullptr;
    ArtPicture* m_logo = nullptr;
    InstructionsPanel* m_instructions = nullptr;
    QWidget* m_chatArea = nullptr;
};
