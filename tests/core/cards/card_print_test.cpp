// Printed cards, read back from PDF: headings, captions and values where they
// belong, a new page when one is full, never a character past the page.
#include "core/cards/card_print.h"
#include "core/db/database.h"
#include "support/fixtures.h"

#include <QPdfWriter>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// Every word's box lies inside its page; returns the words checked.
int wordsOutsidePage(const QString& path, int* words)
{
    const QString html = pdfText(path, {"-bbox"});
    static const QRegularExpression page("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\">");
    static const QRegularExpression word(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\"");
    const QRegularExpressionMatch size = page.match(html);
    const double width = size.captured(1).toDouble(), height = size.captured(2).toDouble();
    int outside = 0;
    *words = 0;
    for (const QRegularExpressionMatch& m : word.globalMatch(html)) {
        ++*words;
        if (m.captured(1).toDouble() < 0 || m.captured(2).toDouble() < 0 || m.captured(3).toDouble() > width
            || m.captured(4).toDouble() > height)
            ++outside;
    }
    return outside;
}

struct CardPrintTest : ::testing::Test {
    TempProgramFolder program;
    TempDatabase folder{program.path()};
    QTemporaryDir out;

    std::unique_ptr<tb::Database> withCards(int count)
    {
        std::vector<CardRecord> cards;
        for (int k = 1; k <= count; ++k) {
            CardRecord card = makeCard(QStringLiteral("NOM%1").arg(k, 2, 10, QLatin1Char('0')), "Prénom", 1, k, k,
                                       "17000", "LA ROCHELLE");
            card.fields[9] = tb::padField(QStringLiteral("client%1@exemple.fr").arg(k), 40);
            card.fields[19] = tb::padField(QString(40, u'W'), 40);
            cards.push_back(card);
        }
        writeCards(folder.path(), cards);
        return std::move(tb::Database::open(folder.path())).value();
    }
    int print(const tb::CardPrint& cards, const QString& name, const tb::ListPrintStyle& style)
    {
        QPdfWriter writer(out.filePath(name));
        writer.setResolution(600);
        writer.setPageSize(QPageSize(QPageSize::A4));
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
    CardRecord typed = *db->card(1);
    typed.fields[1] = tb::padField("Monsieur", 15);
    typed.fields[3] = tb::padField("Zoé-Chloé", 15);
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

TEST_F(CardPrintTest, AllCardsPrintEachCardOnceUnderItsNumberAndBreakPagesInsideThePage)
{
    // Forty cards: each on the paper once under its number, a new page whenever
    // one is full, no word past the page even at a large bold size.
    auto forty = withCards(40);
    for (const auto& [name, s] : {std::pair{QStringLiteral("dix.pdf"), style(10)},
                                  std::pair{QStringLiteral("grand.pdf"), style(36, true)}}) {
        SCOPED_TRACE(name.toStdString());
        const int pages = print(tb::allCardsPrint(*forty), name, s);
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
        int words = 0;
        EXPECT_EQ(wordsOutsidePage(out.filePath(name), &words), 0);
        EXPECT_GT(words, 40 * 19);
    }
}

TEST_F(CardPrintTest, APrintThatCannotBeginSaysSo)
{
    auto db = withCards(1);
    QPdfWriter writer("/nonexistent/folder/fiche.pdf");
    const tb::Result<int> pages = tb::printCardPages(writer, tb::allCardsPrint(*db), QDate(2026, 3, 21), style(10));
    ASSERT_FALSE(pages);
    EXPECT_EQ(pages.error().message(), " L'impression n'a pas pu commencer !");
}
