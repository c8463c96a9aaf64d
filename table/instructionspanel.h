#pragma once

#include <QPixmap>
#include <QWidget>

class ArtPicture;
class QLabel;

/**
 * The quick instructions panel_instructions: covers the whole board with four illustrations and five
 * texts in white on the window colour, and an OK picture (Image10) that asks for it to be closed.
 */
class InstructionsPanel : public QWidget {
    Q_OBJECT

public:
    explicit InstructionsPanel(QWidget* parent);

    ArtPicture* okButton() const { return m_ok; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ArtPicture* m_ok;
    QPixmap m_tile;
};
