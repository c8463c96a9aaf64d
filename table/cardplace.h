#pragma once

#include <QWidget>

/**
 * One place on the board that shows a card: a hand place (card_1..card_8), a played-card place
 * (image_card1..4) or a DOMINO foundation (image_domino1..4).
 *
 * A place keeps three values: the picture it shows (a card code, 0 = none), the hand slot it stands
 * for (hand places only; 0 = empty, cannot be played) and the card code it holds. The picture is drawn
 * at paint time at the widget's drawn size and device pixel ratio, so it stays crisp on any screen and
 * on a larger board. A left click on the place emits clicked().
 *
 * A hand place can be dimmed (a card the rules would refuse now), shows a gold ring while it has the
 * keyboard focus and the hint ring while it holds the card a hint names. Its accessible name is what it
 * shows ("Queen of Spades", "No card"), never the code it keeps after the picture is gone.
 */
class CardPlace : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int slot READ slot WRITE setSlot)
    Q_PROPERTY(int cardCode READ cardCode WRITE setCardCode)
    Q_PROPERTY(int picture READ picture)

public:
    /// Whether the card may be played now, as far as the table knows.
    enum class Playable { Unknown, Yes, No };

    CardPlace(const QString& name, QWidget* parent);

    int slot() const { return m_slot; }
    void setSlot(int slot) { m_slot = slot; }
    int cardCode() const { return m_cardCode; }
    void setCardCode(int code) { m_cardCode = code; }

    /// Card code whose picture is drawn; 0 when the place shows nothing.
    int picture() const { return m_picture; }
    /// True when the place draws a card picture (a code outside 1..32 draws nothing).
    bool hasPicture() const;
    /// Draws card @p code into the place, replacing any picture.
    void drawCard(int code);
    /// Removes the picture.
    void clearPicture();

    /// Dims the card (it is drawn under a dark veil).
    void setDimmed(bool dimmed);
    bool isDimmed() const { return m_dimmed; }
    /// Rings the card as the one a hint names (or takes the ring away).
    void setHinted(bool hinted);
    bool isHinted() const { return m_hinted; }
    /// What the accessible name says about playing the card.
    void setPlayable(Playable playable);
    Playable playable() const { return m_playable; }

    /// "Queen of Spades", "10 of Hearts"; empty for a code outside 1..32.
    static QString cardName(int code);

signals:
    void clicked(CardPlace* place);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void updateAccessibleName();

    int m_slot = 0;
    int m_cardCode = 0;
    int m_picture = 0;
    bool m_pressed = false;
    bool m_dimmed = false;
    bool m_hinted = false;
    Playable m_playable = Playable::Unknown;
};
