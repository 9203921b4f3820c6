// Printed lists, cards and notes read back from PDF: everything printed, nothing past the page;
// the list font named by the style of its weight and slant, for the font dialog to open on.
#include "core/cards/card_print.h"
#include "core/db/database.h"
#include "core/lists/list_page_layout.h"
#include "core/tools/note_text.h"
#include "support/fixtures.h"
#include "support/pdf_words.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// A4 at 600 dpi.
void a4(QPdfWriter& writer)
{
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QPageSize::A4));
}

// The words of a PDF on A4: how many, how many with a box past their page, their text run together.
struct PdfWords {
    int count = 0, outside = 0;
    QString text;
};
PdfWords wordsOf(const QString& pdf)
{
    PdfWords words;
    for (const PdfWord& w : pdfWords(pdf)) {
        ++words.count;
        words.text += w.text;
        words.outside += !QRectF(0, 0, 210.1, 297.1).contains(w.box);
    }
    return words;
}

// lines printed into pdf, in the default list font at points (0: its own size).
int printList(const QString& pdf, const QStringList& lines, int points, bool bold = false)
{
    QPdfWriter writer(pdf);
    a4(writer);
    tb::ListPrintStyle style;
    style.font = tb::defaultListPrintFont();
    if (points)
        style.font.setPointSize(points);
    style.font.setBold(bold);
    style.color = Qt::red;
    return tb::printListPages(writer, lines, QDate(2002, 3, 21), style);
}

}  // namespace

TEST(ListPageLayout, LinesHeadedByDateAndListeGoOnSeveralPagesNothingLostAndInsideThePage)
{
    EXPECT_EQ(tb::listPrintLines({"a  ", "b"}, QDate(2002, 3, 21)),
              (QStringList{"21/03/2002", "", "Liste", "", "a  ", "", "b", ""}));
    EXPECT_EQ(tb::listPrintLines({}, QDate(2024, 12, 1)), (QStringList{"01/12/2024", "", "Liste", ""}));

    QTemporaryDir dir;
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines.append(QStringLiteral("LIGNE%1   fin").arg(i, 3, 10, QLatin1Char('0')));
    const int pages = printList(dir.filePath("0.pdf"), lines, 0);
    EXPECT_GT(pages, 3);  // 10 pt lines with an empty line between: about 25 lines a page
    EXPECT_LT(printList(dir.filePath("8.pdf"), lines, 8), printList(dir.filePath("20.pdf"), lines, 20));

    const QString all = pdfText(dir.filePath("0.pdf"), {"-layout"});
    const QStringList printed = all.split(u'\f', Qt::SkipEmptyParts);  // a form feed ends every page
    ASSERT_EQ(printed.size(), pages);
    EXPECT_LT(printed[0].indexOf("21/03/2002"), printed[0].indexOf("Liste"));
    EXPECT_LT(printed[0].indexOf("Liste"), printed[0].indexOf("LIGNE001"));
    EXPECT_TRUE(printed.last().contains("LIGNE200"));
    for (const QString& line : lines)
        EXPECT_EQ(all.count(line.left(8)), 1) << line.toStdString();
    EXPECT_EQ(all.count("Liste"), 1);  // the heading only on the first page

    // The widest lines the lists show (every field full, wide letters) stay inside the page.
    const QString names = QString(15, u'W') + u' ' + QStringLiteral("Marie-Françoise");
    const QString city = QString(40, u'M');
    const QStringList widest = {names + " 75000 " + city, city + " 75000 " + names, "75000 " + city + " " + names};
    for (const int points : {10, 14, 36}) {
        const QString pdf = dir.filePath(QString::number(points) + ".pdf");
        printList(pdf, widest, points, true);
        const PdfWords words = wordsOf(pdf);
        EXPECT_EQ(words.outside, 0) << points << " pt";
        // Nothing cut: every character of every line is printed.
        EXPECT_TRUE(words.text.contains("WWWWWWWWWWWWWWWMarie-Françoise75000MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM"))
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

namespace {

struct CardPrintTest : ::testing::Test {
    TempProgramFolder program;
    TempDatabase folder{program.path()};
    QTemporaryDir out;

    std::unique_ptr<tb::Database> withCards(int count)
    {
        std::vector<CardRecord> cards;
        for (int k = 1; k <= count; ++k)
            cards.push_back(withFields(makeCard(QStringLiteral("NOM%1").arg(k, 2, 10, QLatin1Char('0')), "Prénom", 1, k, k,
                                                "17000", "LA ROCHELLE"),
                                       {{10, QStringLiteral("client%1@exemple.fr").arg(k)}, {20, QString(40, u'W')}}));
        writeCards(folder.path(), cards);
        return std::move(tb::Database::open(folder.path())).value();
    }
    int print(const tb::CardPrint& cards, const QString& name, const tb::ListPrintStyle& style)
    {
        QPdfWriter writer(out.filePath(name));
        a4(writer);
        const tb::Result<int> pages = tb::printCardPages(writer, cards, QDate(2026, 3, 21), style);
        EXPECT_TRUE(pages);
        return pages ? *pages : 0;
    }
    static tb::ListPrintStyle style(int points, bool bold = false)
    {
        tb::ListPrintStyle s;
        s.font = QFont("DejaVu Sans", points);
        s.font.setBold(bold);
        return s;
    }
};

}  // namespace

TEST_F(CardPrintTest, OneCardPrintsItsHeadingThenEachCaptionAboveItsValue)
{
    auto db = withCards(1);
    const CardRecord typed = withFields(*db->card(1), {{2, "Monsieur"}, {4, "Zoé-Chloé"}});
    ASSERT_TRUE(db->setCaptions({"Profession", "Société", "Code client", "", "", "", "", "", "", "Remarques"}));
    EXPECT_EQ(print(tb::oneCardPrint(12, typed, db->captions()), "une.pdf", style(10)), 1);
    QStringList lines;
    for (const QString& line : pdfText(out.filePath("une.pdf"), {"-layout"}).split(u'\n'))
        if (!line.trimmed().isEmpty())
            lines.append(line.trimmed());
    EXPECT_EQ(lines.mid(0, 8), QStringList({"21/03/2026", "Fiche 12", "Mr/Mme/Me/Société...", "Monsieur", "Nom",
                                            "NOM01", "Prénoms", "Zoé-Chloé"}))
        << lines.join(u'|').toStdString();
    const QString all = lines.join(u'\n');
    EXPECT_TRUE(all.contains("Adresse E-mail\nclient1@exemple.fr"));
    EXPECT_TRUE(all.contains("Remarques\nWWWW"));
    // Nor the all-cards heading, nor field 1 (marker and position).
    EXPECT_FALSE(all.contains("Fiche n°") || all.contains(typed.field(1).trimmed()));
}

TEST_F(CardPrintTest, AllCardsPrintOnceUnderTheirNumbersAndBreakPagesInsideThePageOrSayTheyCannot)
{
    // Forty cards: each on the paper once under its number, a new page whenever
    // one is full, no word past the page even at a large bold size.
    auto forty = withCards(40);
    {
        const QString name = QStringLiteral("grand.pdf");
        const int pages = print(tb::allCardsPrint(*forty), name, style(36, true));
        const QString text = pdfText(out.filePath(name), {QStringLiteral("-layout")});
        EXPECT_TRUE(text.trimmed().startsWith("21/03/2026"));
        EXPECT_TRUE(text.contains("Fichier complet"));
        EXPECT_EQ(text.count(u'\f'), pages);
        EXPECT_GT(pages, 30);
        EXPECT_EQ(text.count("Fiche n°"), 40);
        for (int k = 1; k <= 40; ++k) {
            // The number keeps its leading blank; the text read back shows blanks as one.
            const int heading = text.indexOf(QRegularExpression(QStringLiteral("Fiche n° +%1\n").arg(k)));
            const QString surname = QStringLiteral("NOM%1").arg(k, 2, 10, QLatin1Char('0'));
            ASSERT_GE(heading, 0) << k;
            EXPECT_EQ(text.count(surname), 1) << k;
            EXPECT_GT(text.indexOf(surname), heading) << k;
        }
        const PdfWords words = wordsOf(out.filePath(name));
        EXPECT_EQ(words.outside, 0);
        EXPECT_GT(words.count, 40 * 19);
    }

    // A print that cannot begin says so.
    QPdfWriter writer("/nonexistent/folder/fiche.pdf");
    const tb::Result<int> pages = tb::printCardPages(writer, tb::allCardsPrint(*forty), QDate(2026, 3, 21), style(10));
    ASSERT_FALSE(pages);
    EXPECT_EQ(pages.error().message(), " L'impression n'a pas pu commencer !");
}

TEST(NotePrint, LongParagraphsBreakAtSpacesLongWordsStayWholeAndAFullPageStartsAnother)
{
    QPdfWriter screen("/dev/null");
    screen.setResolution(600);
    QFont font("DejaVu Sans", 12);
    const double width = 3000;  // 5 inches
    QString paragraph;
    for (int i = 0; i < 120; ++i)
        paragraph += QStringLiteral("mot%1 ").arg(i);
    const QString word(200, u'W');
    const QStringList wrapped = tb::wrapNoteLines(paragraph.trimmed() + u'\n' + u'\n' + word, font, width, &screen);
    const QFontMetricsF metrics(font, &screen);
    ASSERT_GT(wrapped.size(), 5);
    EXPECT_EQ(wrapped.mid(0, wrapped.size() - 2).join(u' '), paragraph.trimmed());  // nothing lost
    for (const QString& line : wrapped.mid(0, wrapped.size() - 2))
        EXPECT_LE(metrics.horizontalAdvance(line), width) << line.toStdString();
    EXPECT_EQ(wrapped.at(wrapped.size() - 2), QString());  // the empty line stays
    EXPECT_EQ(wrapped.last(), word);

    // Every word reaches the paper and a full page starts another.
    QTemporaryDir dir;
    QStringList lines;
    for (int i = 1; i <= 300; ++i)
        lines.append(QStringLiteral("Ligne%1").arg(i, 3, 10, QLatin1Char('0')));
    const QString wide = QString(60, u'X') + QStringLiteral("FIN");  // too wide for the page at 40 pt
    const QString path = dir.filePath("note.pdf");
    QPdfWriter writer(path);
    a4(writer);
    tb::NotePrintStyle style;
    style.font = QFont("DejaVu Sans", 40);
    style.font.setBold(true);
    style.color = Qt::blue;
    const int pages = tb::printNotePages(writer, lines.join(u'\n') + u'\n' + wide, style, 500);
    EXPECT_GT(pages, 2);
    const QString text = pdfText(path);
    EXPECT_EQ(text.count(u'\f'), pages);
    for (const QString& line : lines)
        EXPECT_TRUE(text.contains(line)) << line.toStdString();
    EXPECT_TRUE(text.contains(wide));
}
