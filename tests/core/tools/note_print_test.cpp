// The printed note: broken at spaces, never cut, on as many pages as it needs.
#include "core/tools/note_text.h"
#include "support/fixtures.h"

#include <QFontMetricsF>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::pdfText;

TEST(NotePrint, LongParagraphsBreakAtSpacesAndLongWordsStayWhole)
{
    QPdfWriter writer("/dev/null");
    writer.setResolution(600);
    QFont font("DejaVu Sans", 12);
    const double width = 3000;  // 5 inches
    QString paragraph;
    for (int i = 0; i < 120; ++i)
        paragraph += QStringLiteral("mot%1 ").arg(i);
    const QString word(200, u'W');
    const QStringList lines = tb::wrapNoteLines(paragraph.trimmed() + u'\n' + u'\n' + word, font, width, &writer);
    const QFontMetricsF metrics(font, &writer);
    ASSERT_GT(lines.size(), 5);
    EXPECT_EQ(lines.mid(0, lines.size() - 2).join(u' '), paragraph.trimmed());  // nothing lost
    for (const QString& line : lines.mid(0, lines.size() - 2))
        EXPECT_LE(metrics.horizontalAdvance(line), width) << line.toStdString();
    EXPECT_EQ(lines.at(lines.size() - 2), QString());  // the empty line stays
    EXPECT_EQ(lines.last(), word);
}

TEST(NotePrint, EveryWordReachesThePaperAndAFullPageStartsAnother)
{
    QTemporaryDir dir;
    QStringList lines;
    for (int i = 1; i <= 300; ++i)
        lines.append(QStringLiteral("Ligne%1").arg(i, 3, 10, QLatin1Char('0')));
    const QString wide = QString(60, u'X') + QStringLiteral("FIN");  // too wide for the page at 40 pt
    const QString note = lines.join(u'\n') + u'\n' + wide;
    const QString path = dir.filePath("note.pdf");
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QPageSize::A4));
    tb::NotePrintStyle style;
    style.font = QFont("DejaVu Sans", 40);
    style.font.setBold(true);
    style.color = Qt::blue;
    const int pages = tb::printNotePages(writer, note, style, 500);
    EXPECT_GT(pages, 2);
    const QString text = pdfText(path);
    EXPECT_EQ(text.count(u'\f'), pages);
    for (const QString& line : lines)
        EXPECT_TRUE(text.contains(line)) << line.toStdString();
    EXPECT_TRUE(text.contains(wide));
}
