// Sorted card lists: lines, numbers, French order; lists from the kept keys, in stages or at once, kept when made
// at opening; the count line under a list; printed lists, cards and notes.
#include "core/base/number_text.h"
#include "core/cards/card_print.h"
#include "core/cards/card_store.h"
#include "core/db/database.h"
#include "core/lists/card_lists.h"
#include "core/lists/list_count.h"
#include "core/lists/list_page_layout.h"
#include "core/lists/sort_keys.h"
#include "core/tools/note_text.h"
#include "support/fixtures.h"
#include "support/list_rows.h"
#include "support/pdf_words.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

using namespace testing_support;
using tb::ListKind;
using tb::ListOrder;
using Numbers = std::vector<long long>;

namespace {

class CardListsTest : public ::testing::Test {
protected:
    TempProgramFolder program;
    TempDatabase db{program.path()};
    CardStore store{db.path()};

    void write(const std::vector<CardRecord>& cards) { writeCards(db.path(), cards); }
    tb::CardList list(ListKind kind) { return *tb::buildCardList(store, store.readCount().value, kind); }
    QStringList surnames(ListKind kind)
    {
        QStringList out;
        for (const QString& line : list(kind).displayLines())
            out.append(line.left(15).trimmed());
        return out;
    }
};

const auto numbers = listNumbers;

CardRecord card(const QString& surname, int marker = 1, const QString& postalCode = {}, const QString& city = {})
{
    return makeCard(surname, QString(), marker, 1, 1, postalCode, city);
}

const auto rows = listRows;

tb::CardList staged(std::shared_ptr<const tb::SortKeys> keys, const CardStore& store, ListKind kind, ListOrder order)
{
    auto fill = tb::ListFill::start(std::move(keys), store, kind, order, 3);
    EXPECT_TRUE(bool(fill));
    tb::CardList list = (*fill)->takeFirst();
    EXPECT_EQ(list.size(), 3);
    while (!(*fill)->done()) {
        list.append((*fill)->takeMore());
        QThread::msleep(1);
    }
    list.append((*fill)->takeMore());
    EXPECT_TRUE((*fill)->status());
    return list;
}

TEST_F(CardListsTest, DisplayLinesKeepEveryFieldAtFullWidthInTheKindsOrder)
{
    write({makeCard("LEFÈVRE", "Zoé", 2, 1, 1, "13001", "Marseille"),
           makeCard("DUPONT", "Jean-Marc", 0, 1, 1, "75001", "Paris")});
    const QString names = QStringLiteral("LEFÈVRE         Zoé            ");
    const QString city = QStringLiteral("Marseille") + QString(31, u' ');
    EXPECT_EQ(list(ListKind::Alphabetical).displayLines(), QStringList{names + " 13001 " + city});
    EXPECT_EQ(list(ListKind::ByCity).displayLines(), QStringList{city + " 13001 " + names});
    EXPECT_EQ(list(ListKind::ByPostalCode).displayLines(), QStringList{"13001 " + city + " " + names});
    EXPECT_EQ(list(ListKind::Archived).displayLines(),
              QStringList{QStringLiteral("DUPONT          Jean-Marc       75001 Paris") + QString(35, u' ')});
}

TEST(CardList, TiesAndReplacingALine)
{
    // Identical lines fall to the number's text: card 12 before card 2.
    tb::CardList lists;
    lists.add("SAME", 2);
    lists.add("SAME", 12);
    lists.sort();
    EXPECT_EQ(numbers(lists), (Numbers{12, 2}));
    // A card whose name changed moves to its sorted place, and only it.
    lists.add("MARTIN", 3);
    lists.add("DURAND", 4);
    lists.sort();
    EXPECT_EQ(numbers(lists), (Numbers{4, 3, 12, 2}));
    EXPECT_EQ(lists.replace(4, "ZOLA"), 3);
    EXPECT_EQ(numbers(lists), (Numbers{3, 12, 2, 4}));
    // Lines replaced many times, and a text the code page lacks, read back whole.
    for (int i = 0; i < 50; ++i)
        lists.replace(3, QStringLiteral("MARTIN %1 Łódź €").arg(i));
    EXPECT_EQ(lists.display(lists.rowOf(3)), QStringLiteral("MARTIN 49 Łódź €"));
    EXPECT_EQ(lists.displayLines().first(), QStringLiteral("MARTIN 49 Łódź €"));
    EXPECT_EQ(lists.display(1), QStringLiteral("SAME"));
}

TEST_F(CardListsTest, SortsByFrenchCaseInsensitiveOrderKeepsNumbersInStepAndArchivedCardsApart)
{
    // Byte order would put "b" after "C" and "É" after "Z".
    write({card("b"), card("ZOE"), card("ÉMILE"), card("C"), card("EMMA"), card("A"), card("EDGAR"), card("a")});
    EXPECT_EQ(surnames(ListKind::Alphabetical), (QStringList{"A", "a", "b", "C", "EDGAR", "ÉMILE", "EMMA", "ZOE"}));
    EXPECT_EQ(numbers(list(ListKind::Alphabetical)), (Numbers{6, 8, 1, 4, 7, 3, 5, 2}));

    // A shorter name, padded with blanks, comes before a longer one.
    write({card("MARTINEZ"), makeCard("MARTIN", "Zoé", 1, 1, 1)});
    EXPECT_EQ(surnames(ListKind::Alphabetical), (QStringList{"MARTIN", "MARTINEZ"}));

    // Archived cards (any marker but 1 to 9) only in their list; city and postal code orders.
    CardRecord blank = card("BLANC");
    blank.fields[0][0] = u' ';
    write({card("ACTIF", 7), card("ZERO", 0), blank, card("NEUF", 9)});
    EXPECT_EQ(surnames(ListKind::Alphabetical), (QStringList{"ACTIF", "NEUF"}));
    EXPECT_EQ(list(ListKind::ByCity).size(), 2);
    EXPECT_EQ(numbers(list(ListKind::Archived)), (Numbers{3, 2}));

    write({card("AA", 1, "75002", "Paris"), card("BB", 1, "13001", "Marseille"), card("CC", 1, "06000", "Nice"),
           card("DD", 1, "75001", "Paris")});
    EXPECT_EQ(numbers(list(ListKind::ByCity)), (Numbers{2, 3, 4, 1}));
    EXPECT_EQ(numbers(list(ListKind::ByPostalCode)), (Numbers{3, 2, 4, 1}));
}

TEST_F(CardListsTest, NameListHitListAndCountPastTheRecords)
{
    write({makeCard("B", "Y", 1, 1, 1), makeCard("A", "Z", 0, 1, 1), makeCard("B", "X", 1, 1, 1)});
    const tb::CardList names = *tb::buildNameList(store, 3);
    EXPECT_EQ(numbers(names), (Numbers{2, 3, 1}));
    EXPECT_EQ(names.display(0), "A               Z              ");

    // Hits: deduplicated, in card number order, within the count.
    const tb::CardList hits = *tb::hitList(store, 3, {3, 1, 3, 7});
    EXPECT_EQ(numbers(hits), (Numbers{1, 3}));
    EXPECT_EQ(hits.display(1), QStringLiteral("B               X") + QString(61, u' '));
    EXPECT_TRUE(tb::hitList(store, 1, {2, 3})->isEmpty());

    EXPECT_EQ(tb::buildCardList(store, 1000000, ListKind::Alphabetical)->size(), 2);  // past the written cards
    EXPECT_TRUE(tb::buildNameList(store, 0)->isEmpty());
}

TEST(ListsSortedInStages, GiveTheLinesOwnOrderForEveryKindAndAfterChanges)
{
    TempProgramFolder program;
    TempDatabase db{program.path()};
    // Case, accents, expanding and ignored characters, same names, numbers
    // whose texts sort 12 before 2; enough cards for every stage.
    const QStringList surnames = {"DUPONT", "dupont", "DUPONT-", "Dupont", "ÉMILE", "EMILE", "ŒUVRE", "OEUVRE",
                                  "STRAßE", "STRASSE", "Ça", "CA", "A\tB", "AB", "", "Zoé"};
    const QStringList firstNames = {"Jean", "jean", "Jéan", "", "Œil", "Oeil"};
    const QStringList cities = {"Paris", "PARIS", "Évry", "Evry", ""};
    std::vector<CardRecord> cards;
    for (int i = 0; i < 8300; ++i)
        cards.push_back(makeCard(surnames[i % surnames.size()], firstNames[(i / 7) % firstNames.size()],
                                 i % 9 == 0 ? 0 : 1, 1, 1, QString::number(75000 + (i / 11) % 4),
                                 cities[(i / 3) % cities.size()]));
    writeCards(db.path(), cards);
    const CardStore store(db.path());
    long long count = (long long)cards.size();
    ASSERT_TRUE(tb::SortKeys::usable());

    auto keys = std::make_shared<tb::SortKeys>();
    ASSERT_TRUE(keys->load(store, count));
    const auto check = [&](const char* when) {
        for (ListKind kind : {ListKind::Alphabetical, ListKind::ByCity, ListKind::ByPostalCode, ListKind::Archived}) {
            auto own = std::make_shared<tb::SortKeys>(tb::keyFields(kind));
            ASSERT_TRUE(own->load(store, count));
            const auto expected = rows(*tb::buildCardList(store, count, kind));
            EXPECT_EQ(rows(staged(own, store, kind, ListOrder::Line)), expected) << when << int(kind);
            EXPECT_EQ(rows(*tb::ListFill::sortAll(own, store, kind, ListOrder::Line)), expected) << when << int(kind);
        }
        const auto names = rows(*tb::buildNameList(store, count));
        EXPECT_EQ(rows(staged(keys, store, ListKind::Alphabetical, ListOrder::Name)), names) << when;
        EXPECT_EQ(rows(*tb::ListFill::sortAll(keys, store, ListKind::Alphabetical, ListOrder::Name)), names) << when;
        // The kept keys followed the changes as fresh ones read them.
        tb::SortKeys fresh;
        ASSERT_TRUE(fresh.load(store, count));
        EXPECT_EQ(keys->count(), count) << when;
        for (quint32 a = 0; a < 40; ++a)
            for (quint32 b = 0; b < 40; ++b)
                ASSERT_EQ(keys->lineLess(a, b), fresh.lineLess(a, b)) << when << a << " " << b;
    };
    check("read");

    // Changed cards (past half the keys' room, so that they are packed again) and two cards more, then one less.
    for (size_t i = 0; i < cards.size(); i += 2)
        cards[i] = makeCard(QStringLiteral("NOUVEAU") + QString::number(i % 13), "", i % 4 ? 1 : 0, 1, 1);
    cards.push_back(makeCard("AAA", "", 1, 1, 1));
    cards.push_back(makeCard("aaa", "", 0, 1, 1));
    writeCards(db.path(), cards);
    for (size_t i = 0; i < cards.size() - 2; i += 2)
        keys->set((long long)i + 1, QByteArrayView(cards[i].toBytes()));
    count += 2;
    ASSERT_TRUE(keys->resize(store, count));
    check("changed");
    count -= 1;
    ASSERT_TRUE(keys->resize(store, count));
    EXPECT_EQ(rows(*tb::ListFill::sortAll(keys, store, ListKind::Alphabetical, ListOrder::Line)),
              rows(*tb::buildCardList(store, count, ListKind::Alphabetical)));
}

TEST(ListCountLine, CountAndListShownOrNoCardAndTheTipTellsHomonymsApart)
{
    using tb::ListShown;
    EXPECT_EQ(tb::listCountLine(1, ListShown::ByCity), QStringLiteral(" 1 fiche — par ville"));
    EXPECT_EQ(tb::listCountLine(53, tb::listShown(tb::ListKind::Alphabetical)),
              QStringLiteral(" 53 fiches — ordre alphabétique"));
    EXPECT_EQ(tb::listCountLine(2, ListShown::Search), QStringLiteral(" 2 fiches — recherche"));
    // Thousands apart as French readers group them.
    EXPECT_EQ(tb::listCountLine(95004, ListShown::Zone), QStringLiteral(" 95\u202F004 fiches — zone"));
    EXPECT_EQ(tb::listCountLine(0, ListShown::Search), QStringLiteral(" Aucune fiche."));
    // The tip tells homonyms apart by place and number.
    EXPECT_EQ(tb::cardLineTip(makeCard("VINCENT", "Véronique", 1, 1, 1, "17340", QStringLiteral("CHÂTELAILLON-PLAGE")), 12),
              QStringLiteral("17340 CHÂTELAILLON-PLAGE, fiche n° 12"));
    EXPECT_EQ(tb::cardLineTip(makeCard("VINCENT", "Véronique", 1, 1, 1), 30), QStringLiteral("fiche n° 30"));
}

// The list keys made in the background when a database opens give the lists of the cards as they are when the list is
// asked for: cards stored, created or deleted meanwhile included.
TEST(ListKeysMadeAtOpen, FollowTheCardsChangedBeforeTheFirstList)
{
    TempProgramFolder program;
    TempDatabase folder{program.path()};
    std::vector<CardRecord> cards;
    for (int i = 0; i < 40; ++i)
        cards.push_back(makeCard(QStringLiteral("NOM") + QString::number(i % 7), "Jean", i % 5 ? 1 : 0, 1, 1));
    writeCards(folder.path(), cards);
    const auto same = [&](const tb::Database& db, const char* when) {
        for (tb::ListKind kind : {tb::ListKind::Alphabetical, tb::ListKind::Archived})
            EXPECT_EQ(listRows(*db.list(kind)), listRows(*tb::buildCardList(db.store(), db.count(), kind))) << when;
        EXPECT_EQ(listRows(*db.nameList()), listRows(*tb::buildNameList(db.store(), db.count()))) << when;
    };
    {
        auto db = std::move(tb::Database::open(folder.path())).value();
        db->prepareLists();
        // Stored, archived, then a new card: the keys made follow them.
        ASSERT_TRUE(db->storeCard(3, makeCard("AAAA", "Zoé", 1, 1, 1)));
        ASSERT_TRUE(db->setArchived(4, true));
        ASSERT_TRUE(db->createCard(makeCard("ÉMILE", "", 1, 1, 1)));
        same(*db, "changed");
        // Kept after: later changes follow as before.
        ASSERT_TRUE(db->storeCard(5, makeCard("ZZZ", "", 1, 1, 1)));
        same(*db, "kept");
    }
    {
        // A deletion renumbers the last card: the keys are made again.
        auto db = std::move(tb::Database::open(folder.path())).value();
        db->prepareLists();
        ASSERT_TRUE(db->deleteCard(2));
        same(*db, "deleted");
    }
}

// Printed lists, cards and notes read back from PDF: everything printed, nothing past the page;
// the list font named by the style of its weight and slant, for the font dialog to open on.

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

}  // namespace
