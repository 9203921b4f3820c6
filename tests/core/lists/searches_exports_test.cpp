// Searches by the beginning of a field, and the export files byte for byte.
#include "core/base/codepage.h"
#include "core/cards/card_store.h"
#include "core/lists/exports.h"
#include "core/lists/searches.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>
#include <map>

using namespace testing_support;
using tb::SearchField;
using Numbers = std::vector<long long>;

namespace {

// A card with every field given by number (1 to 20); the others blank.
CardRecord card(std::map<int, QString> fields)
{
    std::array<QString, CardRecord::kFieldCount> t;
    for (const auto& [k, text] : fields)
        t[size_t(k - 1)] = text;
    return CardRecord::fromTexts(t);
}

QByteArray pad(const QString& text, int width)
{
    return tb::toCp1252(text.leftJustified(width, u' ', true));
}

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
        Numbers out;
        for (int row = 0; row < list->size(); ++row)
            out.push_back(list->number(row));
        return out;
    }
};

}  // namespace

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
    EXPECT_EQ(found(SearchField::PostalCode, "17"), (Numbers{1, 2}));
    EXPECT_EQ(found(SearchField::City, "Châtelaillon-plage"), Numbers{2});
    EXPECT_EQ(found(SearchField::Landline, "0512"), Numbers{3});
    EXPECT_EQ(found(SearchField::Landline, "05 12"), Numbers{1});
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
