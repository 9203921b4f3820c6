#pragma once
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QScrollArea;

// "Presse-papiers": what the clipboard holds, a text or a picture, kept up to
// date while the window is open.
class ClipboardViewer : public QWidget {
    Q_OBJECT
public:
    explicit ClipboardViewer(QWidget* parent = nullptr);

private:
    void refresh();

    QPlainTextEdit* m_text = nullptr;
    QScrollArea* m_pictureArea = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_empty = nullptr;
};
