#pragma once
#include "gui/app/app_context.h"

#include <QPointer>
#include <QWidget>

class ClipboardViewer;
class QPlainTextEdit;
class QPushButton;

// A card's text document, whole: printed, selected, copied, and the clipboard
// viewer beside it.
class Ffrancelic : public QWidget {
    Q_OBJECT
public:
    explicit Ffrancelic(AppContext& ctx, QWidget* parent = nullptr);

    // The whole text of path (empty when it cannot be read).
    void openDocument(const QString& path);
    QString documentPath() const { return m_path; }

private:
    void print();          // Picture1
    void showClipboard();  // Picture2
    void selectAll();      // Command1
    void copy();           // Command2

    AppContext& m_ctx;
    QPlainTextEdit* Text1 = nullptr;
    QPushButton* Picture1 = nullptr;
    QPushButton* Picture2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPointer<ClipboardViewer> m_clipboard;
    QString m_path;
};
