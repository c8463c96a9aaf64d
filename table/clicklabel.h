#pragma once

#include <QLabel>

/**
 * A text label that reports the release of any mouse button over it, with the code it is tagged
 * with. The contract chooser's titles and descriptions are such labels, tagged with their contract.
 */
class ClickLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(int tag READ tag)

public:
    ClickLabel(const QString& name, const QString& text, int tag, QWidget* parent);

    int tag() const { return m_tag; }

signals:
    /// A mouse button that was pressed on the label was released over it.
    void released(int tag, Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_tag;
};
