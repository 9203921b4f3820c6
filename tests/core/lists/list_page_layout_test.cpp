// Printed lists: heading, lines, new pages when a page is full, and the print
// font named by the style of its family that matches its weight and slant (so
// that the font dialog opens on that style: "Book", not "Oblique").
#include "core/lists/list_page_layout.h"
#include "support/fixtures.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ListPageLayout, PrintedLinesHeadedByDateAndListe)
{
    EXPECT_EQ(tb::listDateText(QDate(2002, 3, 21)), QStringLiteral("21/03/2002"));
    EXPECT_EQ(tb::listPrintLines({"a  ", "b"}, QDate(2002, 3, 21)),
              (QStringList{"21/03/2002", "", "Liste", "", "a  ", "", "b", ""}));
    EXPECT_EQ(tb::listPrintLines({}, QDate(2024, 12, 1)), (QStringList{"01/12/2024", "", "Liste", ""}));
}

namespace {

// lines printed on A4 at 600 dpi into pdf, in the default list font at points (0: its own size).
int print(const QString& pdf, const QStringList& lines, int points, bool bold = false)
{
    QPdfWriter writer(pdf);
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QPageSize::A4));
    tb::ListPrintStyle style;
    style.font = tb::defaultListPrintFont();
    if (points)
        style.font.setPointSize(points);
    style.font.setBold(bold);
    style.color = Qt::red;
    return tb::printListPages(writer, lines, QDate(2002, 3, 21), style);
}

}  // namespace

TEST(ListPageLayout, LongListGoesOnSeveralPagesWithNothingLostAndSizeCounts)
{
    QTemporaryDir dir;
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines.append(QStringLiteral("LIGNE%1   fin").arg(i, 3, 10, QLatin1Char('0')));
    const int pages = print(dir.filePath("0.pdf"), lines, 0);
    EXPECT_GT(pages, 3);  // 10 pt lines with an empty line between: about 25 lines a page
    EXPECT_LT(print(dir.filePath("8.pdf"), lines, 8), print(dir.filePath("20.pdf"), lines, 20));

    const QString all = testing_support::pdfText(dir.filePath("0.pdf"), {"-layout"});
    const QStringList printed = all.split(u'\f', Qt::SkipEmptyParts);  // a form feed ends every page
    ASSERT_EQ(printed.size(), pages);
    EXPECT_LT(printed[0].indexOf("21/03/2002"), printed[0].indexOf("Liste"));
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
        print(pdf, widest, points, true);
        const QString html = testing_support::pdfText(pdf, {"-bbox"});
        static const QRegularExpression page("<page width=\"([0-9.]+)\"");
        static const QRegularExpression word("xMax=\"([0-9.]+)\"[^>]*>([^<]*)</word>");
        const double pageWidth = page.match(html).captured(1).toDouble();
        ASSERT_GT(pageWidth, 500);
        QString text;
        for (auto it = word.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            EXPECT_LE(m.captured(1).toDouble(), pageWidth) << points << " pt: " << m.captured(2).toStdString();
            text += m.captured(2);
        }
        // Nothing cut: every character of every line is printed.
        EXPECT_TRUE(text.contains("WWWWWWWWWWWWWWWMarie-Françoise75000MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM"))
            << points;
    }
}

TEST(PrintFontStyle, NamedByTheStyleOfItsWeightAndSlant)
{
    const QFont regular = tb::withStyleName(tb::defaultListPrintFont());
    const QString family = regular.family();
    ASSERT_TRUE(QFontInfo(regular).fixedPitch());
    for (const auto& [bold, slanted] : {std::pair(false, false), std::pair(true, false), std::pair(true, true)}) {
        QFont font = tb::defaultListPrintFont();
        font.setBold(bold);
        font.setItalic(slanted);
        const QFont named = tb::withStyleName(font);
        const QFont style = QFontDatabase::font(family, named.styleName(), 10);
        EXPECT_EQ(style.style() != QFont::StyleNormal, slanted) << named.styleName().toStdString();
        EXPECT_EQ(style.bold(), bold) << named.styleName().toStdString();
        EXPECT_EQ(QFontInfo(named).bold(), bold);
    }
}
