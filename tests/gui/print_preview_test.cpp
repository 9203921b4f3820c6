// The preview every print shows first: its pages, printed only when asked.
#include "gui_fixture.h"

#include <QApplication>
#include <QPainter>
#include <QPrinter>
#include <QTimer>

using namespace testing_support;

TEST(PrintPreview, ThePreviewWindowShowsThePagesAndPrintsOnlyWhenAsked)
{
    QtDialogs dialogs;
    QTemporaryDir dir;
    for (const bool printIt : {true, false}) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("apercu.pdf")));
        QString title, pages;
        // The real modal loop, answered as a user would once the pages show.
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            QWidget* preview = QApplication::activeModalWidget();
            auto* count = child<QLabel>(preview, QStringLiteral("NbPages"));
            if (!count || count->text().isEmpty())
                return;
            answer.stop();
            title = preview->windowTitle();
            pages = count->text();
            click(child<QPushButton>(preview, printIt ? QStringLiteral("Imprimer") : QStringLiteral("Annuler")));
        });
        answer.start(20);
        const bool chosen = dialogs.previewPrint(printer, [](QPrinter& onto) {
            QPainter painter(&onto);
            painter.drawText(100, 100, QStringLiteral("page un"));
            onto.newPage();
            painter.drawText(100, 100, QStringLiteral("page deux"));
        });
        EXPECT_EQ(chosen, printIt);
        EXPECT_EQ(title, QStringLiteral("Aperçu avant impression"));
        EXPECT_EQ(pages, QStringLiteral("2 pages"));
        EXPECT_FALSE(QFile::exists(printer.outputFileName()));  // the preview itself writes nothing
    }
}
