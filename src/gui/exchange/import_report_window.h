#pragma once
// What an import did: the cards created, filled and skipped, and every field
// cut, letter changed or value not kept.
#include <QWidget>

struct AppContext;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class FRapportImport : public QWidget {
    Q_OBJECT
public:
    FRapportImport(AppContext& ctx, QWidget* parent);
    void setReport(const QString& summary, const QStringList& notes);

private:
    QLabel* LabelResume = nullptr;
    QPlainTextEdit* TextNotes = nullptr;
    QPushButton* CommandOK = nullptr;
};
