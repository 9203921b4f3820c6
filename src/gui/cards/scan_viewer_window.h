#pragma once
#include "gui/app/app_context.h"

#include <QWidget>

class PhotoFrame;
class QPushButton;
class QTimer;

// "Documents scannés": a card's scanned document, laid out as the photo is,
// drawn again two seconds after the window opens, once it has its final size.
class Ffrance16 : public QWidget {
    Q_OBJECT
public:
    explicit Ffrance16(AppContext& ctx, QWidget* parent = nullptr);

    // The document at path, drawn now and again when Timer1 fires.
    void openDocument(const QString& path);
    QString documentPath() const { return m_path; }

private:
    // Loads and lays out the document; tell: a refused picture is said.
    void draw(bool tell);
    void timerFired();
    void print();  // Imprimer

    AppContext& m_ctx;
    PhotoFrame* Picture1 = nullptr;
    QPushButton* Voir = nullptr;
    QPushButton* Imprimer = nullptr;
    QTimer* Timer1 = nullptr;
    QString m_path;
};
