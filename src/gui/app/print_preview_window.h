#pragma once
// "Aperçu avant impression": the pages of a print as they will come out, with
// the choice to print them or not.
#include <QDialog>
#include <functional>

class QLabel;
class QPrinter;
class QPrintPreviewWidget;

class PrintPreviewWindow : public QDialog {
    Q_OBJECT
public:
    // paint draws the whole print on the printer it is given.
    PrintPreviewWindow(QPrinter& printer, std::function<void(QPrinter&)> paint, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showPageCount();

    std::function<void(QPrinter&)> m_paint;
    QPrintPreviewWidget* m_preview;
    QLabel* m_pages;
};
