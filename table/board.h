#pragma once

#include "boardparts.h"
#include "boardscaler.h"
#include "fitlabel.h"

#include <QColor>
#include <QStringList>
#include <QWidget>

/**
 * The card table: a fixed 768 x 537 area over the board picture holding every element the game
 * shows, each at its place and under its object name (label_playername1, card_5, panel_choosen ...).
 *
 * The board holds no game logic. BoardBuilder makes its elements; the game display changes them
 * through the accessors below; the player input listens to its signals. Seats are never rotated: seat n is column n
 * from the left. Accessors taking a seat, place or foundation number return nullptr outside 1..4 (1..8 for the hand),
 * and the convenience setters ignore such numbers, so a bad number from the host shows nothing.
 *
 * The lower part of the board (chatArea(), below the rank order line) is left to the window's chat.
 *
 * The board is designed at 768 x 537 and can be drawn larger (setScale()): every element keeps its place
 * in board units (BoardScaler), the felt and its boxes are painted at the drawn size (BoardPainter), and
 * so are the cards and markers. Who moves an element goes through scaler().
 */
class Board : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 768;
    static constexpr int kHeight = 537;
    static constexpr const char* kWaiting = "<Waiting>";
    /// Property of a name label: the computer player name the table shows for the seat.
    static constexpr const char* kComputerName = "computerName";

    explicit Board(QWidget* parent = nullptr);

    /** Draws the board @p scale times its designed size (1 or more). */
    void setScale(qreal scale);
    qreal scale() const { return m_scaler.scale(); }
    BoardScaler& scaler() { return m_scaler; }

    // Seat columns.
    FitLabel* nameLabel(int seat) const;
    FitLabel* scoreLabel(int seat) const;
    FitLabel* bonusLabel(int seat) const;
    FitLabel* cardCountLabel(int seat) const;
    ArtPicture* eyes(int seat) const;
    CardPlace* playedCard(int seat) const;

    /// Text shown in the name label of @p seat: the "name of seat s" of every message; empty outside 1..4.
    QString seatName(int seat) const;
    /// Sets the caption of the name label of @p seat and shows it (arrivals and departures). A name too
    /// long for its strip is elided at the end, with the whole name as the label's tooltip.
    void setSeatName(int seat, const QString& name);
    /// The computer player name the table shows for @p seat (its hint): "Klot", "Klock", "Kling"; seat 1 none.
    QString computerName(int seat) const;
    /// Marks the name strip of @p seat as this table's own; 0 marks none.
    void markOwnSeat(int seat);
    /// The seat whose strip is marked as the own; 0 for none.
    int ownSeat() const;
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
    /// The seat the lead marker was last placed on, 0 while the marker is hidden.
    int leadSeat() const;
    ArtPicture* directorMarker() const { return m_parts.director; }
    ArtPicture* turnMarker() const { return m_parts.turn; }
    ArtPicture* leadMarker() const { return m_parts.lead; }
    ArtPicture* takerMarker() const { return m_parts.taker; }
    void placeDirector(int seat);
    void placeTurn(int seat);
    void placeLead(int seat);
    void placeTaker(int seat);

    // Text lines.
    FitLabel* statusLabel() const { return m_parts.status; }
    FitLabel* gameTypeLabel() const { return m_parts.gameType; }
    FitLabel* roundLabel() const { return m_parts.round; }
    FitLabel* rankLabel() const { return m_parts.rank; }
    QLabel* handTypeLabel() const { return m_parts.handType; }
    FitLabel* feeLabel() const { return m_parts.fee; }
    void setGameTypeText(const QString& text);
    void setRoundText(const QString& text);
    /// The rank order line in @p colour.
    void setRankText(const QString& text, const QColor& colour);
    FitLabel* hintNoteLabel() const { return m_parts.hintNote; }
    /// Shows @p text over the rank order line; an empty text hides it.
    void setHintNote(const QString& text);

    // Panels.
    TitledPanel* logPanel() const { return m_parts.logPanel; }
    QTextEdit* gameLog() const { return m_parts.log; }
    /// Appends one line to the game log and keeps the newest line in view.
    void addLogLine(const QString& line);
    /// Empties the game log and fills it with @p lines.
    void setLogLines(const QStringList& lines);
    /// Empties the game log (a replay going back to the start).
    void clearLog();
    ContractChooser* chooser() const { return m_parts.chooser; }
    TitledPanel* errorPanel() const { return m_parts.errorPanel; }
    QTextEdit* errorList() const { return m_parts.errors; }
    void addErrorLine(const QString& line);
    /// Empties the error panel's list and fills it with @p lines.
    void setErrorLines(const QStringList& lines);
    /// Shows @p panel and brings it in front of its siblings.
    static void showInFront(QWidget* panel);

    QWidget* winnerPanel() const { return m_parts.winnerPanel; }
    /// Both copies of the winner text, in a smaller size when a long text would not fit.
    void setWinnerText(const QString& text);
    /// The contract line, in a smaller size when the text would not fit the contract box.
    void setHandTypeText(const QString& text);
    QString winnerText() const;
    QWidget* dominoPanel() const { return m_parts.dominoPanel; }
    ArtPicture* chooseContractBanner() const { return m_parts.banner; }
    ArtPicture* startButton() const { return m_parts.start; }
    ArtPicture* logo() const { return m_parts.logo; }
    InstructionsPanel* instructionsPanel() const { return m_parts.instructions; }
    /// Empty area below the rank order line where the window places its chat pane, so the quick
    /// instructions (a child of the board) can still cover it.
    QWidget* chatArea() const { return m_parts.chatArea; }

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
    void placeMarker(QWidget* marker, int left, int seat);
    /// The name's tooltip: the whole name when elided, else the computer name hint.
    void refreshNameTip(int seat);

    BoardParts m_parts;
    BoardScaler m_scaler;
    int m_leadSeat = 0;
};
