// Printed lists: heading, lines, and new pages when a page is full.
#include "core/lists/list_page_layout.h"

#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ListPageLayout, PrintedLinesHeadedByDateAndListe)
{
    EXPECT_EQ(tb::listDateText(QDate(2002, 3, 21)), QStringLiteral("03-21-2002"));
    EXPECT_EQ(tb::listPrintLines({"a  ", "b"}, QDate(2002, 3, 21)),
              (QStringList{"03-21-2002", "", "Liste", "", "a  ", "", "b", ""}));
    EXPECT_EQ(tb::listPrintLines({}, QDate(2024, 12, 1)), (QStringList{"12-01-2024", "", "Liste", ""}));
}

TEST(ListPageLayout, LongListGoesOnSeveralPagesWithNothingLostAndSizeCounts)
{
    QTemporaryDir dir;
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines.append(QStringLiteral("LIGNE%1").arg(i, 3, 10, QLatin1Char('0')) + QStringLiteral("   fin"));
    auto print = [&](int points) {
        QPdfWriter writer(dir.filePath(QString::number(points) + ".pdf"));
        writer.setResolution(600);
        writer.setPageSize(QPageSize(QPageSize::A4));
        tb::ListPrintStyle style;
        style.font = tb::defaultListPrintFont();
        if (points)
            style.font.setPointSize(points);
        style.color = Qt::red;
        return tb::printListPages(writer, lines, QDate(2002, 3, 21), style);
    };
    const int pages = print(0);
    EXPECT_GT(pages, 3);  // 10 pt lines with an empty line between: about 25 lines a page
    EXPECT_LT(print(8), print(20));

    QProcess p;  // pdftotext ends every page with a form feed
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), dir.filePath("0.pdf"), QStringLiteral("-")});
    p.waitForFinished();
    const QString all = QString::fromUtf8(p.readAllStandardOutput());
    const QStringList printed = all.split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(printed.size(), pages);
    EXPECT_LT(printed[0].indexOf("03-21-2002"), printed[0].indexOf("Liste"));
    EXPECT_LT(printed[0].indexOf("Liste"), printed[0].indexOf("LIGNE001"));
    EXPECT_TRUE(printed.last().contains("LIGNE200"));
    for (const QString& line : lines)
        EXPECT_EQ(all.count(line.left(8)), 1) << line.toStdString();
    EXPECT_EQ(all.count("Liste"), 1);  // the heading only on the first page
}
