// tabulon-cli debtors: the amounts due in the point form, the lines as list
// shows them, the numbers and the total.
#include "support/fixtures.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

TEST(DebtorsCommand, AmountLineNumberLargestFirstThenTotal)
{
    TempProgramFolder program;
    TempDatabase base(program.path());
    std::vector<CardRecord> cards;
    for (const auto& [name, marker, due] : {std::tuple{"DUPONT", 1, "12.5"}, {"MARTIN", 0, "99.00"},
                                            {"BERNARD", 2, "1234.56"}, {"PETIT", 1, ""}}) {
        cards.push_back(makeCard(name, "Jean", marker, 1, 2));
        cards.back().field(tb::kFieldRemaining) = tb::padField(due, 40);
    }
    writeCards(base.path(), cards);
    writeBytes(base.file("R1.txt"), "7.50------------>05/01/26  Jean  chèque\r\n");

    QProcess p;
    p.start(QStringLiteral(TABULON_CLI), {QStringLiteral("debtors"), base.path()});
    ASSERT_TRUE(p.waitForFinished(60000));
    const auto listLine = [](const QString& surname) {
        return tb::padField(surname, 15) + u' ' + tb::padField("Jean", 15) + u' ' + tb::padField("", 5) + u' '
               + tb::padField("", 40);
    };
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()),
              "1234.56\t" + listLine("BERNARD") + "\t3\n12.50\t" + listLine("DUPONT") + "\t1\nTotal : 1247.06\n");
    EXPECT_EQ(p.readAllStandardError(), "");
    EXPECT_EQ(p.exitCode(), 0);
}

}  // namespace
