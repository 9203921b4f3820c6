// Printed lists: heading, lines, and new pages when a page is full.
#include "lists/list_page_layout.h"

#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString pdfText(const QString& pdf, int page = 0)
{
    QStringList args{QStringLiteral("-layout")};
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"));
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    p.waitForFinished();
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n'))
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

}  // namespace

TEST(ListPageLayout, PrintedLinesHeadedByDateAndListe)
{
    EXPECT_EQ(tb::listDateText(QDate(2002, 3, 21)), QStringLiteral("03-21-2002"));
    EXPECT_EQ(tb::listPrintLines({"a  ", "b"}, QDate(2002, 3, 21)),
              (QStringList{"03-21-2002", "", "Liste", "", "a  ", "", "b", ""}));
    EXPECT_EQ(tb::listPrintLines({}, QDate(2024, 12, 1)), (QStringList{"12-01-2024", "", "Liste", ""}));
}

TEST(ListPageLayout, LongListGoesOnSeveralPagesWithNothingLost)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("liste.pdf");
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines.append(QStringLiteral("LIGNE%1").arg(i, 3, 10, QLatin1Char('0')) + QStringLiteral("   fin"));
    int pages = 0;
    {
        QPdfWriter writer(pdf);
        writer.setResolution(600);
        writer.setPageSize(QPageSize(QPageSize::A4));
        tb::ListPrintStyle style;
        style.font = tb::defaultListPrintFont();
        pages = tb::printListPages(writer, lines, QDate(2002, 3, 21), style);
    }
    EXPECT_GT(pages, 3);  // 10 pt lines with an empty line between: about 25 lines a page
    EXPECT_EQ(pdfPages(pdf), pages);

    const QString first = pdfText(pdf, 1);
    EXPECT_LT(first.indexOf("03-21-2002"), first.indexOf("Liste"));
    EXPECT_LT(first.indexOf("Liste"), first.indexOf("LIGNE001"));
    EXPECT_TRUE(pdfText(pdf, pages).contains("LIGNE200"));
    const QString all = pdfText(pdf);
    for (const QString& line : lines)
        EXPECT_EQ(all.count(line.left(8)), 1) << line.toStdString();
    EXPECT_EQ(all.count("Liste"), 1);  // the heading only on the first page
}

TEST(ListPageLayout, ChosenSizeChangesThePageCount)
{
    QTemporaryDir dir;
    QStringList lines(60, QStringLiteral("X"));
    auto pagesFor = [&](int points) {
        QPdfWriter writer(dir.filePath(QString::number(points) + ".pdf"));
        tb::ListPrintStyle style;
        style.font = tb::defaultListPrintFont();
        style.font.setPointSize(points);
        style.color = Qt::red;
        return tb::printListPages(writer, lines, QDate(2002, 3, 21), style);
    };
    EXPECT_LT(pagesFor(8), pagesFor(20));
}
