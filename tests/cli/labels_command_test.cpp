// tabulon-cli labels: the cards numbered, found, in a zone or all active ones
// on a sheet of labels in a PDF, from the label asked, cut lines said.
#include "core/db/database.h"
#include "support/fixtures.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct LabelsRun {
    int exit;
    QString out, err;
};

LabelsRun run(const QString& command, const QStringList& args)
{
    // Fonts start the windowing layer, which wants a runtime folder.
    static QTemporaryDir runtime;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TABULON_CLI), QStringList{command} + args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

LabelsRun labels(const QStringList& args)
{
    return run("labels", args);
}

LabelsRun envelopes(const QStringList& args)
{
    return run("envelopes", args);
}

}  // namespace

TEST(LabelsCommand, PrintsTheChosenCardsOnTheSheetFromTheLabelAskedAndSaysCutLines)
{
    TempProgramFolder program;
    TempDatabase db(program.path());
    std::vector<CardRecord> cards = {
        makeCard("DURAND", "Zoé", 1, 100, 100, "17000", "La Rochelle"),
        makeCard("MARTIN", "Paul", 0, 100, 100, "17340", "Yves"),  // archived
        makeCard("BERNARD", "Anne", 2, 300, 300, "75001", "Paris"),
    };
    cards[2].field(tb::kFieldStreet) = tb::padField("12 boulevard de la Grande Armée, bât. C2", 40);
    writeCards(db.path(), cards);
    QTemporaryDir out;
    const QString pdf = out.filePath("etiquettes.pdf");

    // All active cards by default, in name order; the street too long said.
    LabelsRun r = labels({db.path(), "--output", pdf});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "2 étiquette(s) sur 1 page(s) dans " + pdf + "\n");
    EXPECT_EQ(r.err.toStdString(), "Attention : Fiche n° 3 : « 12 boulevard de la Grande Armée, bât. C2 » dépasse 38 caractères, "
                     "coupé en « 12 boulevard de la Grande Armée, bât. ».\n");
    QString text = pdfText(pdf, {"-layout"});
    EXPECT_LT(text.indexOf("BERNARD"), text.indexOf("DURAND"));
    EXPECT_TRUE(text.contains("17000 LA ROCHELLE"));
    EXPECT_FALSE(text.contains("MARTIN"));

    // Numbered (archived one asked), a search, a zone; the start honoured.
    r = labels({db.path(), "--output", pdf, "--numeros", "2,1", "--archivees", "--sheet", "L7162", "--start", "16"});
    EXPECT_EQ(r.out, "2 étiquette(s) sur 2 page(s) dans " + pdf + "\n");
    text = pdfText(pdf);
    EXPECT_LT(text.indexOf("MARTIN"), text.indexOf("\f"));
    EXPECT_GT(text.indexOf("DURAND"), text.indexOf("\f"));
    r = labels({db.path(), "--output", pdf, "--find", "rochelle"});
    EXPECT_EQ(r.out, "1 étiquette(s) sur 1 page(s) dans " + pdf + "\n");
    r = labels({db.path(), "--output", pdf, "--zone", "50,50,200,200"});
    EXPECT_EQ(r.out, "1 étiquette(s) sur 1 page(s) dans " + pdf + "\n");
    EXPECT_TRUE(pdfText(pdf).contains("DURAND"));

    // Wrong uses leave the PDF as it was.
    const QByteArray kept = readBytes(pdf);
    EXPECT_EQ(labels({db.path(), "--output", pdf, "--sheet", "L9999"}).exit, 2);
    EXPECT_EQ(labels({db.path(), "--output", pdf, "--start", "22"}).exit, 2);
    EXPECT_EQ(labels({db.path(), "--output", pdf, "--numeros", "1", "--find", "x"}).exit, 2);
    r = labels({db.path(), "--output", pdf, "--numeros", "4"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "Erreur n° 75 : la fiche n° 4 n'existe pas (la base contient 3 fiche(s))\n");
    EXPECT_EQ(labels({db.path(), "--output", out.filePath("absent/e.pdf")}).exit, 1);
    EXPECT_EQ(labels({db.path(), "--output", pdf, "--numeros", "2"}).err, "Aucune adresse à imprimer\n");  // archived
    EXPECT_EQ(readBytes(pdf), kept);
}

TEST(LabelsCommand, EnvelopesCarryTheSenderKeptInTheProgramFolderWhenAsked)
{
    TempProgramFolder program;
    TempDatabase db(program.path());
    writeCards(db.path(), {makeCard("DURAND", "Zoé", 1, 100, 100, "17000", "La Rochelle"),
                           makeCard("MARTIN", "Paul", 1, 100, 100, "17340", "Yves")});
    QTemporaryDir out;
    const QString pdf = out.filePath("enveloppes.pdf");
    // Without a sender kept, asking for it fails and writes nothing.
    LabelsRun r = envelopes({db.path(), "--output", pdf, "--expediteur"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_FALSE(QFile::exists(pdf));
    writeBytes(program.file("expediteur.txt"), "TABULON SARL\r\n1 rue Haute\r\n");
    r = envelopes({db.path(), "--output", pdf, "--format", "C5", "--expediteur", "--numeros", "2"});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "1 enveloppe(s) sur 1 page(s) dans " + pdf + "\n");
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains("TABULON SARL"));
    EXPECT_TRUE(text.contains("17340 YVES"));
    EXPECT_EQ(envelopes({db.path(), "--output", pdf, "--format", "C4"}).exit, 2);
}
