#pragma once

#include <QFrame>

class QLabel;

/**
 * One of the three stacked panels at the board's left (game log, contract chooser, error panel):
 * 185 x 297 at (24, 24), a gold title over a white working area.
 */
class TitledPanel : public QFrame {
    Q_OBJECT

public:
    static constexpr QRect kGeometry{24, 24, 185, 297};
    /// The white working area, in panel coordinates.
    static constexpr QRect kBodyGeometry{3, 19, 179, 276};

    TitledPanel(const QString& name, const QString& titleName, const QString& title, QWidget* parent);

    QLabel* titleLabel() const { return m_title; }
    /// The white area that holds the panel's content; children are placed in its coordinates.
    QWidget* body() const { return m_body; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_title;
    QWidget* m_body;
};
