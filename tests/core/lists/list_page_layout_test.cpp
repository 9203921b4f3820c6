// Printed lists: heading, lines, and new pages when a page is full.
#include "core/lists/list_page_layout.h"

#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
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

TEST(ListPageLayout, TheWidestLinesOfEveryListStayInsideThePage)
{
    QTemporaryDir dir;
    // The widest lines the lists show: every field full, wide letters.
    const QString names = QString(15, u'W') + u' ' + QStringLiteral("Marie-Françoise");
    const QString city = QString(40, u'M');
    const QStringList widest = {names + " 75000 " + city, city + " 75000 " + names, "75000 " + city + " " + names};
    for (const int points : {10, 14, 36}) {
        const QString pdf = dir.filePath(QString::number(points) + ".pdf");
        {
            QPdfWriter writer(pdf);
            writer.setResolution(600);
            writer.setPageSize(QPageSize(QPageSize::A4));
            tb::ListPrintStyle style;
            style.font = tb::defaultListPrintFont();
            style.font.setPointSize(points);
            style.font.setBold(true);
            tb::printListPages(writer, widest, QDate(2002, 3, 21), style);
        }
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        p.waitForFinished();
        const QString html = QString::fromUtf8(p.readAllStandardOutput());
        static const QRegularExpression page(QStringLiteral("<page width=\"([0-9.]+)\""));
        static const QRegularExpression word(QStringLiteral("xMax=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
        const double pageWidth = page.match(html).captured(1).toDouble();
        ASSERT_GT(pageWidth, 500);
        QString text;
        for (auto it = word.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            EXPECT_LE(m.captured(1).toDouble(), pageWidth) << points << " pt: " << m.captured(2).toStdString();
            text += m.captured(2);
        }
        // Nothing cut: every character of every line is printed.
        EXPECT_TRUE(text.contains(QStringLiteral("WWWWWWWWWWWWWWWMarie-Françoise75000MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM")))
            << points;
    }
}
