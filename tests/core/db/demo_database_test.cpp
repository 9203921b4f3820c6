// Demonstration cards: real communes, pins in their department on the default
// map, plausible debts and phones, the same cards for the same seed.
#include "core/base/codepage.h"
#include "core/base/numeric.h"
#include "core/cards/card_store.h"
#include "core/cards/debt.h"
#include "core/db/demo_database.h"
#include "core/postal/postal_directory.h"
#include "support/fixtures.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <cmath>

using namespace testing_support;

namespace {

class DemoCardsTest : public ::testing::Test {
protected:
    TempProgramFolder program;
    TempDatabase db{program.path()};
};

TEST_F(DemoCardsTest, CardsArePlausibleAndPlacedInTheirDepartment)
{
    const long long n = 3000;
    ASSERT_TRUE(tb::fillDemoCards(db.path(), program.path(), n, 42).ok());
    const CardStore store(db.path());
    EXPECT_EQ(store.readCount().value, n);
    EXPECT_EQ(store.recordsInFile(), n);

    QSet<QString> directory;
    for (const QString& file : tb::postalFiles())
        for (const QString& line : tb::fromCp1252(readBytes(program.file(file))).split(u'\n'))
            directory.insert(line.trimmed());
    const QRegularExpression phone("^(0\\d( \\d\\d){4})?$");
    long long debts = 0;
    QSet<QString> surnames;
    std::array<int, 8> markers{};
    for (long long k = 1; k <= n; ++k) {
        const CardRecord c = store.read(k).value();
        const int marker = c.field(1)[0].digitValue();
        ASSERT_TRUE(marker >= 0 && marker <= 7) << k;
        ++markers[size_t(marker)];
        surnames.insert(c.field(3).trimmed());
        EXPECT_EQ(c.field(3), c.field(3).toUpper());
        EXPECT_FALSE(c.field(4).trimmed().isEmpty());
        const QString code = c.field(6);
        EXPECT_TRUE(directory.contains(c.field(7).trimmed() + u' ' + code))
            << c.field(7).toStdString() << code.toStdString();
        const tb::DepartmentSpot* spot = tb::departmentSpot(code.left(2).toInt());
        ASSERT_NE(spot, nullptr);
        EXPECT_LE(std::hypot(c.x() - spot->x, c.y() - spot->y), spot->radius + 1.0) << k;
        EXPECT_TRUE(phone.match(c.field(8).trimmed()).hasMatch()) << c.field(8).toStdString();
        EXPECT_TRUE(phone.match(c.field(9).trimmed()).hasMatch());
        const QString mail = c.field(10).trimmed();
        EXPECT_TRUE(mail.isEmpty() || (mail.contains(u'@') && !mail.contains(u' ')));
        if (!c.field(15).trimmed().isEmpty()) {
            ++debts;
            const auto again = tb::debtCalculation(c.field(15), c.field(16), c.field(17), c.field(19));
            for (size_t i = 0; i < again.size(); ++i)
                EXPECT_EQ(c.field(tb::kDebtFields[i]).trimmed(), again[i].trimmed());
            EXPECT_GE(tb::numericValue(c.field(20)), 0);
        }
    }
    EXPECT_GT(markers[0], n * 2 / 100);  // archived
    EXPECT_LT(markers[0], n * 8 / 100);
    EXPECT_GT(debts, n * 6 / 100);
    EXPECT_LT(debts, n * 14 / 100);
    EXPECT_GT(surnames.size(), 100);
    for (int m = 1; m <= 7; ++m)
        EXPECT_GT(markers[size_t(m)], n / 10) << "marker " << m;
}

TEST_F(DemoCardsTest, TheSeedDecidesTheCardsAndAFilledDatabaseIsRefused)
{
    TempDatabase same(program.path(), "Same");
    TempDatabase other(program.path(), "Other");
    ASSERT_TRUE(tb::fillDemoCards(db.path(), program.path(), 20000, 5).ok());  // more than one block
    ASSERT_TRUE(tb::fillDemoCards(same.path(), program.path(), 20000, 5).ok());
    ASSERT_TRUE(tb::fillDemoCards(other.path(), program.path(), 20000, 6).ok());
    EXPECT_EQ(readBytes(db.file("lesfiches.dat")), readBytes(same.file("lesfiches.dat")));
    EXPECT_NE(readBytes(db.file("lesfiches.dat")), readBytes(other.file("lesfiches.dat")));

    EXPECT_FALSE(tb::fillDemoCards(db.path(), program.path(), 10, 5).ok());
    EXPECT_EQ(CardStore(db.path()).readCount().value, 20000);

    TempProgramFolder empty;
    for (const QString& file : tb::postalFiles())
        QFile::remove(empty.file(file));
    TempDatabase fresh(empty.path());
    EXPECT_FALSE(tb::fillDemoCards(fresh.path(), empty.path(), 10, 5).ok());
}

}  // namespace
