#pragma once
// A square of a pin colour: a click, Space or Return chooses it.
#include <QLabel>

class ColourSquare : public QLabel {
    Q_OBJECT
public:
    ColourSquare(const QColor& colour, QWidget* parent = nullptr);

signals:
    void chosen();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
