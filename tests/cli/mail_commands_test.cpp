// tabulon-cli labels, envelopes, debtors and letters: the options, the output, the exit codes.
#include "support/cli_run.h"
#include "support/fixtures.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

CliRun cli(const QStringList& args) { return runCli(args); }

QString listLine(const QString& surname)
{
    return tb::padField(surname, 15) + u' ' + tb::padField("Jean", 15) + u' ' + tb::padField("", 5) + u' ' + tb::padField("", 40);
}

class LabelsCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<CardRecord> cards = {
            makeCard("DURAND", "Zoé", 1, 100, 100, "17000", "La Rochelle"),
            makeCard("MARTIN", "Paul", 0, 100, 100, "17340", "Yves"),  // archived
            makeCard("BERNARD", "Anne", 2, 300, 300, "75001", "Paris"),
        };
        cards[2].field(tb::kFieldStreet) = tb::padField("12 boulevard de la Grande Armée, bât. C2", 40);
        writeCards(db.path(), cards);
    }
    CliRun run(const char* command, const QStringList& args)
    {
        return cli(QStringList{command, db.path(), "--output", pdf} + args);
    }
    TempProgramFolder program;
    TempDatabase db{program.path()};
    QTemporaryDir out;
    QString pdf = out.filePath("sortie.pdf");
};

}  // namespace

TEST_F(LabelsCommand, PrintsTheCardsChosenFromTheLabelAskedSaysCutLinesAndRefusesWrongUses)
{
    // All active cards by default, in name order; the street too long said.
    CliRun r = run("labels", {});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "2 étiquette(s) sur 1 page(s) dans " + pdf + "\n");
    EXPECT_EQ(r.err.toStdString(), "Attention : Fiche n° 3 : « 12 boulevard de la Grande Armée, bât. C2 » dépasse 38 caractères, "
                                   "coupé en « 12 boulevard de la Grande Armée, bât. ».\n");
    const QString text = pdfText(pdf);
    EXPECT_LT(text.indexOf("BERNARD"), text.indexOf("DURAND"));

    // Numbered (archived one asked) from label 16 of 16; a search; a zone.
    EXPECT_EQ(run("labels", {"--numeros", "2,1", "--archivees", "--sheet", "L7162", "--start", "16"}).out,
              "2 étiquette(s) sur 2 page(s) dans " + pdf + "\n");
    EXPECT_EQ(run("labels", {"--find", "rochelle"}).out, "1 étiquette(s) sur 1 page(s) dans " + pdf + "\n");
    EXPECT_EQ(run("labels", {"--zone", "50,50,200,200"}).out, "1 étiquette(s) sur 1 page(s) dans " + pdf + "\n");

    // Wrong uses leave the PDF as it was.
    const QByteArray kept = readBytes(pdf);
    EXPECT_EQ(run("labels", {"--sheet", "L9999"}).exit, 2);
    EXPECT_EQ(run("labels", {"--start", "22"}).exit, 2);
    EXPECT_EQ(run("labels", {"--numeros", "1", "--find", "x"}).exit, 2);
    r = run("labels", {"--numeros", "4"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "Erreur n° 75 : la fiche n° 4 n'existe pas (la base contient 3 fiche(s))\n");
    EXPECT_EQ(run("labels", {"--numeros", "2"}).err, "Aucune adresse à imprimer\n");  // archived
    EXPECT_EQ(readBytes(pdf), kept);
    pdf = out.filePath("absent/e.pdf");
    EXPECT_EQ(run("labels", {}).exit, 1);
}

TEST_F(LabelsCommand, EnvelopesCarryTheSenderKeptInTheProgramFolderWhenAsked)
{
    // Without a sender kept, asking for it fails and writes nothing.
    EXPECT_EQ(run("envelopes", {"--expediteur"}).exit, 1);
    EXPECT_FALSE(QFile::exists(pdf));
    writeBytes(program.file("expediteur.txt"), "TABULON SARL\r\n1 rue Haute\r\n");
    const CliRun r = run("envelopes", {"--format", "C5", "--expediteur", "--numeros", "1"});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "1 enveloppe(s) sur 1 page(s) dans " + pdf + "\n");
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains("TABULON SARL") && text.contains("DURAND"));
    EXPECT_EQ(run("envelopes", {"--format", "C4"}).exit, 2);
}

TEST(DebtsCommands, DebtorsListedLargestFirstWithTheTotalThenSentALetterEach)
{
    TempProgramFolder program;
    TempDatabase base{program.path()};
    std::vector<CardRecord> cards;
    for (const auto& [name, marker, due] :
         {std::tuple{"DUPONT", 1, "12.5"}, {"MARTIN", 0, "99.00"}, {"BERNARD", 2, "1234.56"}, {"PETIT", 1, ""}}) {
        cards.push_back(makeCard(name, "Jean", marker, 1, 2));
        cards.back().field(tb::kFieldRemaining) = tb::padField(due, 40);
        cards.back().field(tb::kFieldStreet) = tb::padField("2 rue du Port", 40);
    }
    writeCards(base.path(), cards);

    CliRun r = cli({"debtors", base.path()});
    EXPECT_EQ(r.out, "1234.56\t" + listLine("BERNARD") + "\t3\n12.50\t" + listLine("DUPONT") + "\t1\nTotal : 1247.06\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.exit, 0);

    QTemporaryDir out;
    const QString pdf = out.filePath("relances.pdf");
    r = cli({"letters", base.path(), "--lettre", "Relance", "--output", pdf, "--debiteurs", "--program-folder", program.path()});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, "2 lettre(s) écrite(s) dans " + pdf + "\n");
    // No postal code, no city, no civility on these cards.
    EXPECT_TRUE(r.err.startsWith("Attention : Fiche n° 3 (BERNARD Jean) : « Code postal » est vide.\n")) << r.err.toStdString();
    const QStringList pages = pdfText(pdf).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains("234,56 €")) << pages[0].toStdString();

    r = cli({"letters", base.path(), "--lettre", "Aucune", "--output", pdf, "--numeros", "1", "--program-folder", program.path()});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "Erreur n° 53 : fichier introuvable (Aucune.html)\n");
    EXPECT_EQ(cli({"letters", base.path(), "--lettre", "Relance", "--output", pdf, "--numeros", "5"}).exit, 2);
    EXPECT_EQ(cli({"letters", base.path(), "--lettre", "Relance", "--output", pdf, "--numeros", "1", "--debiteurs"}).exit, 2);
}
