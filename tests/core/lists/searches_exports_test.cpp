// The search box (words in any field, closest matches first, the index in step with the cards),
// searches by a field's beginning, and the export files byte for byte.
#include "core/base/codepage.h"
#include "core/cards/card_store.h"
#include "core/db/database.h"
#include "core/lists/exports.h"
#include "core/lists/search_index.h"
#include "core/lists/search_rank.h"
#include "core/lists/searches.h"
#include "core/exchange/exchange_samples.h"
#include "support/fixtures.h"
#include "support/list_rows.h"

#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <set>

using namespace testing_support;
using tb::SearchField;
using Numbers = std::vector<long long>;

namespace {

class SearchBoxTest : public ::testing::Test {
protected:
    TempProgramFolder program;
    TempDatabase folder{program.path()};
    std::unique_ptr<tb::Database> db;

    void open(const std::vector<CardRecord>& cards)
    {
        writeCards(folder.path(), cards);
        auto opened = tb::Database::open(folder.path());
        ASSERT_TRUE(opened.ok());
        db = std::move(opened).value();
    }

    Numbers found(const QString& typed) { return listNumbers(db->search(typed)->list); }
};

using exchange_samples::card;

QByteArray pad(const QString& text, int width) { return tb::toCp1252(text.leftJustified(width, u' ', true)); }

// One "export.txt" line: fields 2 to 20 at their widths, each and ";".
QByteArray exportLine(const std::map<int, QString>& fields)
{
    QByteArray line;
    for (int k = 2; k <= 20; ++k)
        line += pad(fields.count(k) ? fields.at(k) : QString(), CardRecord::kWidths[size_t(k - 1)]) + ';';
    return line + "\r\n";
}

class SearchesExportsTest : public ::testing::Test {
protected:
    TempProgramFolder program;
    TempDatabase db{program.path()};
    CardStore store{db.path()};

    Numbers found(SearchField field, const QString& text)
    {
        const tb::Result<tb::CardList> list = tb::searchCards(store, store.readCount().value, field, text);
        EXPECT_TRUE(list.ok());
        return listNumbers(*list);
    }
};

}  // namespace

TEST(SearchFoldTest, FoldsLigaturesAndBlanksBetweenDigitsOnly)
{
    // Accents and case are folded in the searches below.
    EXPECT_EQ(tb::searchFold("\x8c" "uvre \xe6 stra\xdf" "e"), "oeuvre ae strasse");
    EXPECT_EQ(tb::searchFold("  05 46  12.34-56  "), "0546123456");
    EXPECT_EQ(tb::searchFold("12 RUE 75015"), "12 rue 75015");
    EXPECT_TRUE(tb::searchWords(" - , ").isEmpty());
}

TEST(SearchFoldTest, TheIndexFoldsWholeRecordsAsEachFieldFoldsAlone)
{
    // Bytes of every kind (cases, digits, blanks, signs, accents, a ligature,
    // a superscript digit, a code page sign) at random in every field, few
    // enough that a card holds each once or twice.
    const QByteArray kinds = tb::toCp1252(QStringLiteral("aZ09 -. éÀçÖœ²€"));
    unsigned seed = 7;
    const auto next = [&] { return (seed = seed * 1103515245 + 12345) >> 16; };
    tb::SearchIndex index;
    for (long long n = 1; n <= 400; ++n) {
        QByteArray record(CardRecord::kSize, ' ');
        for (char& c : record)
            if (next() % 8 == 0)
                c = kinds[next() % kinds.size()];
        if (n % 4)
            record.replace('\x9c', 'o');  // ligatures only now and then
        index.set(n, record);
        std::string expected;
        for (int i = 1; i < CardRecord::kFieldCount; ++i) {
            const QByteArray field = tb::searchFold(
                QByteArrayView(record).sliced(CardRecord::offset(i), CardRecord::kWidths[size_t(i)]));
            if (!field.isEmpty())
                expected += char(i + 1) + field.toStdString();
        }
        ASSERT_EQ(index.folded(n), expected) << n;
        // Each letter and digit it holds finds it: those words are answered
        // by the letters counted alone.
        for (char c : std::set<char>(expected.begin(), expected.end()))
            if (std::isalnum(uchar(c))) {
                const std::vector<quint32> found = index.match({QByteArray(1, c)});
                EXPECT_TRUE(std::binary_search(found.begin(), found.end(), quint32(n))) << n << c;
            }
    }
}

TEST_F(SearchBoxTest, FindsEveryWordInAnyFieldWithoutAccentsCaseOrBlanksInNumbers)
{
    open({withFields(makeCard("MARTIN", "Éloïse", 3, 10, 10, "17340", "CHÂTELAILLON-PLAGE"), {{8, "05 46 56 12 34"}}),
          withFields(makeCard("DUPONT", "Jean", 1, 20, 20, "75015", "PARIS"), {{9, "06.12.05.46.00"}}),
          makeCard("CHATELAIN", "Paul", 2, 777, 777, "33000", "BORDEAUX")});

    EXPECT_EQ(found(QStringLiteral("chatel plage")), (Numbers{1}));
    EXPECT_EQ(found(QStringLiteral("CHÂTEL")), (Numbers{3, 1}));  // CHATELAIN before MARTIN
    EXPECT_EQ(found(QStringLiteral("0546")), (Numbers{1, 2}));  // a number beginning so first
    EXPECT_EQ(found(QStringLiteral("dupont paris")), (Numbers{2}));  // words in two fields
    EXPECT_EQ(found(QStringLiteral("dupont bordeaux")), (Numbers{}));
    // Field 1 (marker and position) is not searched.
    EXPECT_EQ(found("777"), (Numbers{}));
}

TEST_F(SearchBoxTest, IndexFollowsStoreCreateArchiveAndDelete)
{
    open({makeCard("BLANC", "Anne", 3, 1, 1), makeCard("NOIR", "Marc", 3, 1, 1), makeCard("ROUGE", "Léa", 3, 1, 1)});
    db->prepareSearch();  // read in the background while the cards change
    ASSERT_TRUE(db->storeCard(1, makeCard("VERT", "Anne", 3, 1, 1)).ok());
    EXPECT_EQ(found("blanc"), (Numbers{}));
    EXPECT_EQ(found("vert"), (Numbers{1}));

    ASSERT_TRUE(db->storeCard(2, makeCard(QStringLiteral("AARON"), QStringLiteral("Marc"), 3, 1, 1)).ok());
    // A renamed card takes its new place (Léa holds "a" only inside a word).
    EXPECT_EQ(found(QStringLiteral("a")), (Numbers{2, 1, 3}));

    ASSERT_TRUE(db->setArchived(3, true).ok());
    EXPECT_EQ(found("a"), (Numbers{2, 1, 3}));

    const auto created = db->createCard(makeCard(QStringLiteral("Gris"), QStringLiteral("Zoé"), 3, 1, 1));
    ASSERT_TRUE(created.ok());
    EXPECT_EQ(found("zoe"), (Numbers{4}));

    ASSERT_TRUE(db->deleteCard(1).ok());  // card 4 moves into number 1
    EXPECT_EQ(found("vert"), (Numbers{}));
    EXPECT_EQ(found("gris zoe"), (Numbers{1}));
    EXPECT_EQ(found("a"), (Numbers{2, 3}));
    EXPECT_EQ(db->searchIndex().size(), 3);
}

TEST_F(SearchBoxTest, ALargeFileReadInTwoHalvesFindsEveryCardUnderItsOwnNumber)
{
    const long long count = tb::SearchIndex::kSplitCards + 3;
    std::vector<CardRecord> cards;
    for (long long n = 1; n <= count; ++n)
        cards.push_back(makeCard(QStringLiteral("NOM%1").arg(n, 6, 10, QLatin1Char('0')), "Zoé", 3, 1, 1));
    open(cards);
    tb::SearchIndex index;
    ASSERT_TRUE(index.load(db->store(), db->count()).ok());
    for (long long n : {1LL, count / 2, count / 2 + 1, count}) {
        const QByteArray name = "nom" + QByteArray::number(n).rightJustified(6, '0');
        const std::vector<quint32> hits = index.match({name, "zoe"});
        ASSERT_EQ(hits.size(), 1u) << name.constData();
        EXPECT_EQ(hits[0], n);
        EXPECT_EQ(index.fieldOf(n, name), 3);  // the surname, where the first word is
    }
    EXPECT_EQ(index.match({"zoe"}).size(), size_t(count));
}

TEST_F(SearchBoxTest, LetterPairsFindWhatTheTextsFindThroughChangesMadeWhileAndAfterTheyAreRead)
{
    const QStringList names{"CHATEL", "ACHAB", "BACH", "HAC", "ZOLA", "CHA", "LACHE"};
    std::vector<CardRecord> cards;
    for (int n = 1; n <= 150; ++n)
        cards.push_back(makeCard(names[n % names.size()] + QString::number(n), n % 3 ? "Zoé" : "Chloé", 3, 1, 1));
    open(cards);
    tb::SearchIndex paired, plain;
    ASSERT_TRUE(paired.load(db->store(), db->count()).ok());
    ASSERT_TRUE(plain.load(db->store(), db->count()).ok());
    auto rows = tb::SearchIndex::readPairs(db->store(), db->count());
    ASSERT_TRUE(rows.ok());
    const auto both = [&](const std::function<void(tb::SearchIndex&)>& change) {
        change(paired);
        change(plain);
    };
    const auto same = [&](const char* when) {
        std::vector<quint32> last;
        for (const QByteArrayList& words : std::vector<QByteArrayList>{
                 {"c"}, {"ch"}, {"cha"}, {"chaz"}, {"ach"}, {"zz"}, {"ha", "zoe"}, {"hac"}, {"yves"}, {"e1"}}) {
            EXPECT_EQ(paired.match(words), plain.match(words)) << when << " " << words.join(' ').constData();
            EXPECT_EQ(paired.match(words, &last), plain.match(words, &last)) << when;
            last = plain.match(words);
        }
    };
    // While the pairs are read: a card rewritten, cards dropped, one added past the end.
    both([](tb::SearchIndex& i) { i.set(2, makeCard("ZZ", "Yves", 3, 1, 1).toBytes()); });
    both([](tb::SearchIndex& i) { i.resize(140); });
    both([](tb::SearchIndex& i) { i.set(145, makeCard("CHAZ", "Yves", 3, 1, 1).toBytes()); });
    paired.setPairs(std::move(rows).value(), 150, {2, 145});
    ASSERT_TRUE(paired.paired());
    EXPECT_EQ(paired.match({"zz"}), (std::vector<quint32>{2}));
    same("read");
    both([](tb::SearchIndex& i) { i.set(3, makeCard("ZZ", "Yves", 3, 1, 1).toBytes()); });
    both([](tb::SearchIndex& i) { i.set(260, makeCard("ACHAB", "Chloé", 3, 1, 1).toBytes()); });
    same("grown");
    both([](tb::SearchIndex& i) { i.resize(100); });
    same("shrunk");
}

TEST_F(SearchBoxTest, TypingOnLooksAmongTheLastCardsFoundUntilACardChanges)
{
    // Forty cards: a few found are sorted by place, many walked in place order.
    std::vector<CardRecord> cards;
    for (int k = 40; k >= 2; --k)
        cards.push_back(makeCard(QStringLiteral("NOM%1").arg(k, 2, 10, QLatin1Char('0')), "Luc", 3, 1, 1, "75001", "PARIS"));
    cards.push_back(makeCard("NOM01", "Luc", 3, 1, 1, "17340", "CHATELAILLON"));
    open(cards);
    EXPECT_EQ(found("cha"), (Numbers{40}));
    ASSERT_TRUE(db->storeCard(1, makeCard("NOM40", "Luc", 3, 1, 1, "17340", "CHATELAILLON")).ok());
    EXPECT_EQ(found("chat"), (Numbers{40, 1}));
    const auto first = [&](const QString& typed) {
        const auto r = db->search(typed, 3);
        return std::pair(r->total, listNumbers(r->list));
    };
    EXPECT_EQ(first("no"), std::pair(40LL, Numbers{40, 39, 38}));
    ASSERT_TRUE(db->setArchived(40, true).ok());
    EXPECT_EQ(first("nom"), std::pair(40LL, Numbers{39, 38, 37}));
}

TEST(SearchRank, AWordBeginsAWordOnlyAfterABlankOrAtTheFieldsStartNotAcrossTheNextFieldsMark)
{
    const auto rank = [](const QString& typed, const QByteArray& card) {
        return tb::searchRank(tb::searchWords(typed), std::string_view(card.constData(), size_t(card.size())));
    };
    EXPECT_EQ(rank("n", QByteArray("\x03") + "martin\x04nadia").match, tb::SearchMatch::OneField);
    EXPECT_EQ(rank("nnadia", QByteArray("\x03") + "martin\x04nadia").match, tb::SearchMatch::Inside);
}

TEST_F(SearchBoxTest, ClosestMatchesComeFirstThenArchivedCardsMarked)
{
    open({makeCard("MARTIN", "Éloïse", 3, 1, 1, "17340", QStringLiteral("CHÂTELAILLON-PLAGE")),
          makeCard("PLANCHE", "Luc", 3, 1, 1, "86100", QStringLiteral("CHÂTELLERAULT")),
          makeCard("DECHATEL", "Paul", 3, 1, 1, "75001", "PLAISIR"),
          makeCard("AUBERT", "Anne", 0, 1, 1, "17340", QStringLiteral("CHÂTELAILLON-PLAGE")),
          makeCard("ABEL", "Jean", 3, 1, 1, "38000", QStringLiteral("CHÂTEL PLACE")),
          makeCard("ZED", "Lou", 3, 1, 1, "77000", QStringLiteral("PLAISANCE-DU-CHÂTELET")),
          makeCard("ALBERT", "Léa", 3, 1, 1, "05000", "LA PLAINE")});
    // ABEL, MARTIN, ZED: both words beginning words of the city; PLANCHE: in two
    // fields; DECHATEL: "chatel" inside a word; the archived AUBERT last. ALBERT lacks "chatel".
    const auto all = db->search(QStringLiteral("chatel pla"));
    ASSERT_TRUE(all.ok());
    EXPECT_EQ(listNumbers(all->list), (Numbers{5, 1, 6, 2, 3, 4}));
    EXPECT_TRUE(all->list.display(1).endsWith(QStringLiteral(" : CHÂTELAILLON-PLAGE")));
    EXPECT_TRUE(all->list.display(5).endsWith(QStringLiteral("   (archivée)")));
}

TEST_F(SearchBoxTest, ALongResultStillListsTheClosestMatchesFirst)
{
    // More cards than are ranked at once: the close ones lie far down the
    // alphabet, behind a first card that holds the letters inside a word.
    std::vector<CardRecord> cards{makeCard("AAPAB", "Luc", 3, 1, 1)};
    for (int k = 1; k <= 600; ++k)
        cards.push_back(makeCard(QStringLiteral("B%1").arg(k, 3, 10, QLatin1Char('0')), k % 2 ? "Paul" : "Zapata", 3, 1, 1));
    open(cards);
    db->searchIndex();
    for (int limit : {3, 0}) {
        const auto result = db->search(QStringLiteral("pa"), limit);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result->total, 601);
        ASSERT_EQ(result->list.size(), limit ? 3 : 601);
        // B001, B003, B005 (Paul), …, then, "pa" inside a word, AAPAB, B002, B004 (Zapata), ….
        EXPECT_EQ(result->list.number(0), 2);
        EXPECT_EQ(result->list.number(2), 6);
        if (!limit) {
            EXPECT_EQ(result->list.number(299), 600);
            EXPECT_EQ(result->list.number(300), 1);
            EXPECT_EQ(result->list.number(600), 601);
        }
    }
}

TEST_F(SearchesExportsTest, SearchesMatchTheStoredBeginningExactly)
{
    writeCards(db.path(), {
                              card({{1, "1"}, {3, "DUPONT"}, {6, "17340"}, {7, "CHATELAILLON-PLAGE"}, {8, "05 12 34"}}),
                              card({{1, "0"}, {3, "DUPONTEL"}, {6, "17000"}, {7, "Châtelaillon-plage"}, {9, "0612"}}),
                              card({{1, "2"}, {3, "Dupuis?"}, {6, "75001"}, {7, "Paris"}, {8, "0512345678"}}),
                          });
    // Capitals count; archived cards are found; results come sorted.
    EXPECT_EQ(found(SearchField::Surname, "DUP"), (Numbers{1, 2}));
    EXPECT_EQ(found(SearchField::Surname, "dup"), Numbers{});
    EXPECT_EQ(found(SearchField::Surname, "DUPONT "), Numbers{1});  // the stored trailing blanks
    EXPECT_EQ(found(SearchField::Landline, "0512"), Numbers{3});
    // An empty answer lists everything; one longer than the field nothing.
    EXPECT_EQ(found(SearchField::Mobile, ""), (Numbers{1, 2, 3}));
    EXPECT_EQ(found(SearchField::Surname, QString(500, u'D')), Numbers{});
    // A character outside the code page never matches the "?" it would become.
    EXPECT_EQ(found(SearchField::Surname, "Dupuis\u03A9"), Numbers{});

    const tb::CardList city = *tb::searchCards(store, 3, SearchField::City, "Paris");
    ASSERT_EQ(city.size(), 1);
    EXPECT_EQ(city.display(0), QString::fromLatin1(pad("Paris", 40) + " 75001 " + pad("Dupuis?", 15) + ' ')
                                   + QString(15, u' '));
}

TEST_F(SearchesExportsTest, ExportsWriteEveryCardAsStoredByteForByte)
{
    std::vector<CardRecord> cards{
        card({{1, "1 12 34"}, {2, "M.;X"}, {3, "DUPONT"}, {4, "Jean"}, {5, "3 rue Haute"}, {6, "17340"},
              {7, "Châtelaillon"}, {8, "0512345678"}, {9, "0612"}, {10, "a@b.fr"}, {11, "un"}, {20, "vingt"}}),
        card({{1, "0"}}),  // archived and empty: spaces and semicolons
    };
    // Every card, past the old limit of 5000.
    cards.resize(5001, card({{1, "3"}, {3, "Z"}}));
    writeCards(db.path(), cards);

    // The ";" typed in the civility stays as typed.
    const QByteArray first = exportLine({{2, "M.;X"}, {3, "DUPONT"}, {4, "Jean"}, {5, "3 rue Haute"}, {6, "17340"},
                                         {7, "Châtelaillon"}, {8, "0512345678"}, {9, "0612"}, {10, "a@b.fr"},
                                         {11, "un"}, {20, "vingt"}});

    const tb::Result<QString> fields = tb::writeExport(store, 5001, tb::ExportFormat::Fields);
    ASSERT_TRUE(fields.ok());
    EXPECT_EQ(*fields, db.file("export.txt"));
    const QByteArray text = readBytes(*fields);
    ASSERT_EQ(text.size(), 5001 * 621);
    EXPECT_EQ(text.first(621), first);
    EXPECT_EQ(text.sliced(621, 621), exportLine({}));
    EXPECT_EQ(text.last(621), exportLine({{3, "Z"}}));

    const tb::Result<QString> addresses = tb::writeExport(store, 5001, tb::ExportFormat::Addresses);
    ASSERT_TRUE(addresses.ok());
    EXPECT_EQ(*addresses, db.file("adresses.txt"));
    const QByteArray block = readBytes(*addresses);
    const QByteArray expected = pad("M.;X", 15) + ' ' + pad("DUPONT", 15) + ' ' + pad("Jean", 15) + "\r\n"
                                + pad("3 rue Haute", 40) + "\r\n" + pad("17340", 5) + ' ' + pad("Châtelaillon", 40)
                                + "\r\n" + QByteArray(47, ' ') + "\r\n" + QByteArray(40, ' ') + "\r\n"
                                + QByteArray(46, ' ') + "\r\n";
    EXPECT_EQ(block.first(expected.size()), expected);
    EXPECT_EQ(block.size(), 5001 * (49 + 42 + 48));
}
