#include "gui/exchange/import_report_window.h"

#include "gui/app/secondary_window.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

FRapportImport::FRapportImport(AppContext&, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setUpSecondaryWindow(this, QStringLiteral("FRapportImport"), QStringLiteral("Résultat de l'importation"));
    LabelResume = new QLabel(this);
    LabelResume->setObjectName(QStringLiteral("LabelResume"));
    TextNotes = new QPlainTextEdit(this);
    TextNotes->setObjectName(QStringLiteral("TextNotes"));
    TextNotes->setAccessibleName(QStringLiteral("Détail de l'importation"));
    TextNotes->setReadOnly(true);
    CommandOK = new QPushButton(QStringLiteral("OK"), this);
    CommandOK->setObjectName(QStringLiteral("CommandOK"));
    CommandOK->setAccessibleName(QStringLiteral("OK"));
    pressedByReturn(CommandOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelResume);
    layout->addWidget(TextNotes);
    layout->addWidget(CommandOK, 0, Qt::AlignRight);
    connect(CommandOK, &QPushButton::clicked, this, &QWidget::hide);
    resize(640, 400);
    placeOnScreen(this);
}

void FRapportImport::setReport(const QString& summary, const QStringList& notes)
{
    LabelResume->setText(summary);
    TextNotes->setPlainText(notes.isEmpty() ? QStringLiteral("Rien n'a été coupé ni laissé de côté.")
                                            : notes.join(u'\n'));
}
