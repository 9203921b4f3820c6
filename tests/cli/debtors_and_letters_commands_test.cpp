// tabulon-cli debtors and letters: the amounts due in the point form, the
// lines as list shows them, the numbers and the total; one letter per card in
// a PDF file, the fields a card lacks said first.
#include "support/fixtures.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct CliRun {
    int exit = -1;
    QString out, err;
};

CliRun cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(TABULON_CLI), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

class DebtsCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<CardRecord> cards;
        for (const auto& [name, marker, due] : {std::tuple{"DUPONT", 1, "12.5"}, {"MARTIN", 0, "99.00"},
                                                {"BERNARD", 2, "1234.56"}, {"PETIT", 1, ""}}) {
            cards.push_back(makeCard(name, "Jean", marker, 1, 2));
            cards.back().field(tb::kFieldRemaining) = tb::padField(due, 40);
            cards.back().field(tb::kFieldStreet) = tb::padField("2 rue du Port", 40);
        }
        writeCards(base.path(), cards);
        writeBytes(base.file("R1.txt"), "7.50------------>05/01/26  Jean  chèque\r\n");
    }
    static QString listLine(const QString& surname)
    {
        return tb::padField(surname, 15) + u' ' + tb::padField("Jean", 15) + u' ' + tb::padField("", 5) + u' '
               + tb::padField("", 40);
    }
    TempProgramFolder program;
    TempDatabase base{program.path()};
};

TEST_F(DebtsCommands, DebtorsAmountLineNumberLargestFirstThenTotal)
{
    const CliRun r = cli({"debtors", base.path()});
    EXPECT_EQ(r.out, "1234.56\t" + listLine("BERNARD") + "\t3\n12.50\t" + listLine("DUPONT") + "\t1\nTotal : 1247.06\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.exit, 0);
}

TEST_F(DebtsCommands, LettersToTheDebtorsOnePagePerCardWithWhatIsMissingOnTheErrorOutput)
{
    QTemporaryDir out;
    const QString pdf = out.filePath("relances.pdf");
    const CliRun r = cli({"letters", base.path(), "--lettre", "Relance", "--output", pdf, "--debiteurs",
                       "--program-folder", program.path()});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, "2 lettre(s) écrite(s) dans " + pdf + "\n");
    // No postal code, no city, no civility on these cards.
    EXPECT_TRUE(r.err.startsWith("Attention : Fiche n° 3 (BERNARD Jean) : « Code postal » est vide.\n")) << r.err.toStdString();
    const QStringList pages = pdfText(pdf).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains("234,56 €"))
        << pages[0].toStdString();
    EXPECT_TRUE(pages[1].simplified().contains("Dernier versement enregistré : 7,50 € le 05/01/2026."));

    const CliRun missing = cli({"letters", base.path(), "--lettre", "Aucune", "--output", pdf, "--numeros", "1",
                             "--program-folder", program.path()});
    EXPECT_EQ(missing.exit, 1);
    EXPECT_EQ(missing.err, "Erreur n° 53 : fichier introuvable (Aucune.html)\n");
    EXPECT_EQ(cli({"letters", base.path(), "--lettre", "Relance", "--output", pdf, "--numeros", "5"}).exit, 2);
}

}  // namespace
