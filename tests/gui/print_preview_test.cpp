// Every print is seen before it is printed, in the regular style of a fixed
// pitch font, dated day first.
#include "gui/app/dialogs.h"
#include "gui/cards/card_window.h"
#include "gui/lists/list_window.h"
#include "gui/widgets/card_list_view.h"
#include "gui_fixture.h"

#include <QAction>
#include <QApplication>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(PrintPreview, PrintsArePreviewedFirstInTheRegularStyleDatedDayFirst)
{
    GuiFixture f;
    QTemporaryDir dir;
    f.openWithCards({makeCard("DUPONT", "Jean", 1, 1, 1, "75001", "Paris")});
    f.trigger("villes");
    QWidget* list = f.dialogs.lastModal();
    QAction* print = child<QAction>(list, "Imprim3");
    ASSERT_TRUE(print);

    // Cancelled at the preview: the pages were shown, nothing is printed.
    f.dialogs.printToPdf = dir.filePath("annule.pdf");
    f.dialogs.previewAnswers.enqueue(false);
    print->trigger();
    EXPECT_EQ(f.dialogs.previews, 1);
    EXPECT_FALSE(QFile::exists(f.dialogs.printToPdf));
    const QString shown = pdfText(f.dialogs.previewPdf);
    EXPECT_TRUE(shown.startsWith(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("DUPONT")));

    // Printed from the preview: what was shown.
    f.dialogs.printToPdf = dir.filePath("liste.pdf");
    print->trigger();
    EXPECT_EQ(pdfText(f.dialogs.printToPdf), pdfText(f.dialogs.previewPdf));

    // The font dialog opens on the fixed pitch's regular style, neither
    // slanted nor bold.
    const QFont offered = f.dialogs.fontsOffered.first();
    EXPECT_TRUE(QFontInfo(offered).fixedPitch());
    QFontDialog dialog;
    dialog.setCurrentFont(offered);
    EXPECT_FALSE(dialog.currentFont().italic()) << dialog.currentFont().styleName().toStdString();
    EXPECT_FALSE(dialog.currentFont().bold());
    EXPECT_EQ(dialog.currentFont().family(), offered.family());

    // A card is previewed as well.
    clickRow(child<CardListView>(list, "List1"), 0);
    auto* card = qobject_cast<FFrance4*>(f.dialogs.lastModal());
    ASSERT_NE(card, nullptr);
    f.dialogs.printToPdf = dir.filePath("fiche.pdf");
    f.dialogs.previewAnswers.enqueue(false);
    child<QAction>(card, "ImprimFic")->trigger();
    EXPECT_EQ(f.dialogs.previews, 3);
    EXPECT_FALSE(QFile::exists(f.dialogs.printToPdf));
    EXPECT_TRUE(pdfText(f.dialogs.previewPdf).contains(QStringLiteral("DUPONT")));
}

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
        // The preview itself writes nothing.
        EXPECT_FALSE(QFile::exists(printer.outputFileName()));
    }
}
