#pragma once
// A square of a pin colour, a button named by its marker and colour: a click,
// Space or Return chooses it.
#include <QAbstractButton>

class ColourSquare : public QAbstractButton {
    Q_OBJECT
public:
    // marker: 1 to 7, its colour and name.
    ColourSquare(int marker, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {22, 22}; }

signals:
    void chosen();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
};
