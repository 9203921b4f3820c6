#include "fake_dialogs.h"

#include <QCoreApplication>
#include <QDir>
#ifndef FAKE_DIALOGS_WITHOUT_GTEST  // the benchmarks drive the windows without it
#include <gtest/gtest.h>
#endif

FakeDialogs::~FakeDialogs()
{
#ifndef FAKE_DIALOGS_WITHOUT_GTEST
    const std::pair<const char*, qsizetype> left[] = {
        {"question", questionAnswers.size()}, {"input", inputAnswers.size()}, {"font", fontAnswers.size()},
        {"colour", colorAnswers.size()},      {"file", fileAnswers.size()},   {"modal", modalScripts.size()},
        {"preview", previewAnswers.size()}};
    for (const auto& [kind, count] : left)
        EXPECT_EQ(count, 0) << "scripted " << kind << " answer(s) never asked for";
#endif
}

bool FakeDialogs::previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint)
{
    ++previews;
    // The pages as the preview shows them, on a printer of the same page and resolution.
    QPrinter shown(QPrinter::HighResolution);
    shown.setPageLayout(printer.pageLayout());
    shown.setOutputFormat(QPrinter::PdfFormat);
    previewPdf = printToPdf.isEmpty()
                     ? QDir::temp().filePath(QStringLiteral("tabulon-apercu-%1.pdf").arg(QCoreApplication::applicationPid()))
                     : printToPdf + QStringLiteral(".apercu.pdf");
    shown.setOutputFileName(previewPdf);
    paint(shown);
    return next(previewAnswers, true);
}

void FakeDialogs::showModal(QWidget* window)
{
    modals.append(window);
    if (window)
        window->show();
    // A modal loop paints the window and runs what it queued on showing.
    for (int turn = 0; turn < 3; ++turn)
        QCoreApplication::processEvents();
    if (!modalScripts.isEmpty())
        modalScripts.dequeue()(window);
}
