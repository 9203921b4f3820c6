// tabulon-cli run as a user runs it, on small fixture databases: exact outputs, exit codes, option parsing, the
// read-only check and demo databases; the mail commands; the quick paths agreeing with the full command set; sync.
#include "core/base/codepage.h"
#include "core/cards/card_store.h"
#include "core/db/database.h"
#include "core/db/database_lock.h"
#include "support/fixtures.h"
#include "support/other_program.h"
#include "support/radicale_server.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace testing_support;

namespace {

struct CliRun {
    int exit = -1;  // -1 when it crashed
    QString out, err;
};

// In a French locale (its decimal comma shows in the journal's totals); fonts
// start the windowing layer, which wants a runtime folder.
CliRun cli(const QStringList& args, const char* program = TABULON_CLI)
{
    static QTemporaryDir runtime;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("fr_FR.UTF-8"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    p.setProcessEnvironment(env);
    p.start(QString::fromLocal8Bit(program), args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// A run that ends with that code, that output and that error output.
void expectRun(const QStringList& args, int exit, const QString& out, const QString& err)
{
    SCOPED_TRACE(args.join(u' ').toStdString());
    const CliRun r = cli(args);
    EXPECT_EQ(r.exit, exit);
    EXPECT_EQ(r.out, out);
    EXPECT_EQ(r.err, err);
}
void expectOut(const QStringList& args, const QString& out) { expectRun(args, 0, out, ""); }
void expectErr(const QStringList& args, int exit, const QString& err) { expectRun(args, exit, "", err); }

QString lastLine(const QString& out) { return out.trimmed().split(u'\n').last(); }
QStringList entries(const QString& folder) { return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }

// The fixture's cards 1 to 4; ZOLA (3) is archived.
struct Card {
    const char *s, *f, *cp, *city;
    int marker, x, y;
};
const Card kCards[] = {{"DURAND", "Marie", "17000", "LA ROCHELLE", 1, 100, 120}, {"ALBERT", "Jean", "75001", "PARIS", 3, 450, 220},
                       {"ZOLA", "Émile", "13001", "MARSEILLE", 0, 610, 660}, {"BERNARD", "Luc", "59000", "LILLE", 2, 500, 80}};

// List lines: surname 15, first names 15, code 5, city 40, number; by city: city, code, names.
QString listed(std::initializer_list<int> ns, bool byCity = false)
{
    QString t;
    for (int n : ns) {
        const Card& c = kCards[n - 1];
        const QString names = tb::padField(c.s, 15) + u' ' + tb::padField(c.f, 15);
        t += (byCity ? tb::padField(c.city, 40) + u' ' + c.cp + u' ' + names : names + u' ' + c.cp + u' ' + tb::padField(c.city, 40))
             + u'\t' + QString::number(n) + u'\n';
    }
    return t;
}

// Every file of a folder with its size, time and bytes.
QStringList snapshot(const QString& folder)
{
    QStringList s;
    for (const QFileInfo& fi : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
        s << fi.fileName() + u' ' + QString::number(fi.size()) + u' '
                 + QString::number(fi.lastModified().toMSecsSinceEpoch())
                 + QString::fromLatin1(readBytes(fi.absoluteFilePath()).toHex());
    return s;
}

class CliTest : public ::testing::Test {
protected:
    TempProgramFolder program;
    TempDatabase db{program.path()};

    void SetUp() override
    {
        std::vector<CardRecord> cards;
        for (const Card& c : kCards)
            cards.push_back(makeCard(c.s, c.f, c.marker, c.x, c.y, c.cp, c.city));
        writeCards(db.path(), cards);
    }
    // The database's folder without its final "/": both forms are accepted.
    QString bare() const { return db.path().chopped(1); }
    void writeRecord(long long n, const QByteArray& bytes) { ASSERT_TRUE(CardStore(db.path()).writeRecords(n, bytes).ok()); }
    void setCountText(const QByteArray& text) { writeBytes(db.file("NBFiches.dat"), text + "\r\n"); }
    // "check" on a broken database: exit 1, the report.
    QString checkFails()
    {
        const CliRun r = cli({"check", bare()});
        EXPECT_EQ(r.exit, 1);
        return r.out;
    }
};

TEST_F(CliTest, ReadingCommandsPrintTheCardsAsStored)
{
    expectOut({"count", bare()}, "4 fiche(s)\n");  // the folder with its final "/" in the other commands
    expectOut({"list", bare()}, listed({2, 4, 1}));
    expectOut({"list", bare(), "--order", "villes"}, listed({1, 4, 2}, true));
    expectOut({"list", bare(), "--order", "archives"}, listed({3}));  // accents in UTF-8

    const QStringList fields = cli({"show", bare(), "3"}).out.split(u'\n');
    ASSERT_EQ(fields.size(), 21);  // 20 lines and the final line end
    EXPECT_EQ(fields[0], "1\t" + tb::padField("0" + tb::positionText(610, 660), 30));
    EXPECT_EQ(fields[3], "4\t" + tb::padField("Émile", 15));

    // The words joined; which cards match is the core's.
    expectOut({"find", db.path(), "la", "ROCHÉ"}, listed({1}).chopped(3) + "   Ville : LA ROCHELLE\t1\n");
    expectOut({"find", db.path()}, "");
    expectOut({"search", db.path(), "--by", "ville", "L"}, listed({1, 4}, true));
    // Zone corners in any order, negative and decimal; none listed is no failure.
    expectOut({"zone", bare(), "-10", "460.5", "460", "-10"}, listed({1, 2}));
    expectOut({"zone", bare(), "100", "80", "500", "220"}, "");
}

TEST_F(CliTest, BadUsageExitsTwoWithTheUsageAndFailuresExitOneWithTheMessage)
{
    const QString fresh = program.file("Nouvelle");
    // No command, a word not allowed, an option missing, an option of another command, a number that is none, a
    // folder missing, two exclusive options, a name where a folder is asked.
    const QList<QStringList> usages = {
        {}, {"list", bare(), "--order", "prenoms"}, {"search", bare(), "DUR"}, {"count", bare(), "--seed", "3"},
        {"zone", bare(), "1", "2", "3", "inf"}, {"zone", "", "1", "2", "3", "4"},
        {"journal", db.path(), "1", "--memento", "--interets"}, {"demo", fresh},
        {"demo", fresh, "--cards", "4", "--program-folder", program.path()}, {"export", bare(), "--format", "csv"}};
    for (const QStringList& args : usages) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const CliRun r = cli(args);
        EXPECT_EQ(r.exit, 2);
        EXPECT_TRUE(r.err.contains("Usage : tabulon-cli"));
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(fresh));
    EXPECT_FALSE(QFileInfo::exists(db.file("export.txt")));

    // A failure: its message whole, ending the line (the core's refusals are checked there).
    expectErr({"count", program.file("Absente")}, 1, " Ce dossier ne contient pas de base de données Tabulon !\n");
    const QString past = "Erreur n° 75 : la fiche n° 9 n'existe pas (la base contient 4 fiche(s))\n";
    expectErr({"show", bare(), "9"}, 1, past);
    expectErr({"journal", db.path(), "9", "--memento"}, 1, past);
    expectErr({"rib", "00000", "00550", "0000157841Z"}, 1, "Pas de clé pour un code banque ou guichet nul\n");
}

TEST_F(CliTest, CheckWarnsOfStrayFilesReportsErrorsOfBrokenDatabasesAndWritesNothing)
{
    expectOut({"check", bare()}, "Contrôle terminé : 4 fiche(s), 0 erreur(s), 0 avertissement(s).\n");
    // Warnings only: side files of no card, a missing template. A blank marker is an
    // archived card: its pin off the map is no error.
    CardRecord archived = makeCard("MARTIN", "Paul", 0, 9999, 9999);
    archived.fields[0][0] = u' ';
    writeRecord(3, archived.toBytes());
    const char* const sides[] = {"F4.txt", "f7.TXT", "DtxtA5.txt"};
    for (const char* side : sides)
        writeBytes(db.file(side), "old");
    QFile::remove(db.file("F.xls"));
    CliRun r = cli({"check", bare()});
    EXPECT_EQ(r.exit, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("fichier annexe f7.TXT d'une fiche qui n'existe pas (4 fiche(s))."));
    EXPECT_TRUE(r.out.contains("fichier annexe DtxtA5.txt") && !r.out.contains("F4.txt"));
    EXPECT_TRUE(r.out.contains("modèle manquant : F.xls."));
    EXPECT_EQ(lastLine(r.out), "Contrôle terminé : 4 fiche(s), 0 erreur(s), 3 avertissement(s).");
    for (const char* side : sides)
        QFile::remove(db.file(side));

    // A garbled count: reported, nothing written, in the database or beside it.
    setCountText("douze");
    const QStringList before = snapshot(db.path()), programBefore = entries(program.path());
    EXPECT_TRUE(checkFails().contains("NBFiches.dat ne contient pas un nombre de fiches."));
    EXPECT_EQ(snapshot(db.path()), before);
    EXPECT_EQ(entries(program.path()), programBefore);
    EXPECT_EQ(cli({"count", bare()}).out, "4 fiche(s)\n");

    // A count above the records (reported with the correction the program would make), a deletion cut short
    // (left for Tabulon to finish), a torn last record, a marker that is no digit 0 to 7 and an active pin off
    // the map (an archived one is no error): each reported, in one pass.
    setCountText("9");
    writeBytes(db.file("suppression.txt"), "2\r\n4\r\n");
    const QByteArray records = readBytes(db.file("lesfiches.dat"));
    writeBytes(db.file("lesfiches.dat"), records + "12345");
    QByteArray bad = makeCard("MARTIN", "Paul", 1, 10, 10).toBytes();
    bad[0] = 'X';
    writeRecord(2, bad);
    writeRecord(4, makeCard("BERNARD", "Luc", 2, 950, 80).toBytes());
    writeRecord(3, makeCard("ZOLA", "Émile", 0, 2000, 3000).toBytes());
    QString out = checkFails();
    for (const char* finding : {"NBFiches.dat annonce 9 fiche(s), lesfiches.dat n'en contient que 4.",
                                "Le nombre de fiches a été corrigé : 4 fiche(s).",
                                "suppression.txt : une suppression de fiche est inachevée",
                                "lesfiches.dat fait 2525 octets, pas un multiple de 630",
                                "fiche n° 2 : marqueur « X » au lieu d'un chiffre de 0 à 7.",
                                "fiche n° 4 : position (950, 80) hors de la carte (900 x 860)."})
        EXPECT_TRUE(out.contains(QString::fromUtf8(finding))) << finding << "\n" << out.toStdString();
    EXPECT_FALSE(out.contains("fiche n° 3"));
    EXPECT_EQ(lastLine(out), "Contrôle terminé : 4 fiche(s), 5 erreur(s), 1 avertissement(s).");
    EXPECT_EQ(readBytes(db.file("suppression.txt")), "2\r\n4\r\n");
    QFile::remove(db.file("suppression.txt"));
    writeBytes(db.file("lesfiches.dat"), records);

    // Records past the count: a freed, blanked one after a deletion is no news; a card still holding data is.
    setCountText("3");
    writeRecord(4, CardRecord().toBytes());
    EXPECT_TRUE(lastLine(cli({"check", bare()}).out).endsWith("0 erreur(s), 1 avertissement(s)."));
    writeRecord(4, makeCard("BERNARD", "Luc", 2, 500, 80, "59000", "LILLE").toBytes());
    EXPECT_TRUE(checkFails().contains("1 fiche(s) de lesfiches.dat au-delà du nombre de fiches (3) ne sont pas comptées."));
    setCountText("4");

    // A missing map, then a pipe (told at once, never waited on): positions unchecked, a warning.
    ASSERT_EQ(::mkfifo(QFile::encodeName(program.file("tube.gif")).constData(), 0644), 0);
    for (const char* map : {"absente.gif", "tube.gif"}) {
        writeBytes(db.file("carte.txt"), program.file(map).toUtf8() + "\r\n");
        EXPECT_TRUE(cli({"check", bare()}).out.contains("ne peut pas être lue : positions non contrôlées.")) << map;
    }
}

TEST(CliStandaloneTest, DemoDatabasesRepeatForASeedAndToolsNeedNoDatabase)
{
    TempProgramFolder program, other;
    expectOut({"demo", program.file("Demo"), "--cards", "500", "--seed", "7"}, program.file("Demo/") + "\t500 fiche(s)\n");
    // A name goes to the program folder given; the same seed gives the same cards.
    ASSERT_EQ(cli({"demo", "Demo", "--cards", "500", "--seed", "7", "--program-folder", other.path()}).exit, 0);
    EXPECT_EQ(readBytes(other.file("Demo/lesfiches.dat")), readBytes(program.file("Demo/lesfiches.dat")));

    expectOut({"words", "2500000"}, "Deux million(s) cinq cent mille \n");
    expectOut({"rib", "30002", "00550", "0000157841Z"}, "25\n");
    expectOut({"iban", "FR76 3000 6000 0112 3456 7890 189"},
              "IBAN valide\nBanque 30006  Guichet 00001  Compte 12345678901  Clé RIB 89\n");
}

TEST_F(CliTest, JournalPrintsTheEntriesAndTheTotalsTheWindowShows)
{
    writeRecord(1, withFields(makeCard("DURAND", "Marie", 1, 100, 120), {{15, "1000"}}).toBytes());
    writeBytes(db.file("R1.txt"), "150.00------------>05/12/26  a  ch\xe8que\r\n\r\n250.00------------>06/12/26  b  c\n");
    writeBytes(db.file("I1.txt"), "12.50------------>x\r\n7.25------------>y\r\n");

    const CliRun r = cli({"journal", db.path(), "1", "--recouvrements"});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "150.00------------>05/12/26  a  chèque\n250.00------------>06/12/26  b  c\n"
                     "Montant à recouvrer\t1000.00\nTotal des recouvrements\t400,00\nMontant restant dû\t600,00\n");
    EXPECT_TRUE(cli({"journal", db.path(), "1", "--interets"}).out.endsWith("\nTotal des intérêts\t19,75\n"));
    EXPECT_EQ(readBytes(db.file("R1.txt")).size(), 76);  // reading writes nothing
}

TEST_F(CliTest, ExportsWriteTheFilesAndImportsFollowTheChosenOptions)
{
    // The menu's files in the database (their bytes are the core's), their paths printed.
    expectOut({"export", bare()}, db.file("export.txt") + "\n");
    expectOut({"export", bare(), "--format", "adresses"}, db.file("adresses.txt") + "\n");
    const QString vcf = program.file("fiches.vcf"), csv = program.file("fiches.csv");
    expectOut({"export", db.path(), "--format", "vcard", "--output", vcf}, "3 fiche(s) écrite(s) dans " + vcf + u'\n');
    ASSERT_EQ(cli({"export", db.path(), "--format", "csv", "--output", csv, "--fiches", "toutes"}).exit, 0);
    EXPECT_EQ(readBytes(csv).count("\r\n"), 5);

    // Into the same database, created anyway.
    CliRun r = cli({"import", db.path(), csv, "--duplicates", "create"});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("Fichier CSV en UTF-8, séparateur « , »\n"));
    EXPECT_EQ(lastLine(r.out), "4 fiche(s) créée(s), 0 complétée(s), 0 ignorée(s).");
    EXPECT_EQ(cli({"count", db.path()}).out, "8 fiche(s)\n");

    // A CSV without headers: its columns given (which CSV needs them is the core's).
    const QString bareCsv = program.file("sans-intitules.csv");
    writeBytes(bareCsv, "jean@exemple.fr;NOUVEAU;06 12 34 56 78\r\nmarie@exemple.fr;AUTRE;0475000000\r\n");
    r = cli({"import", db.path(), bareCsv, "--columns", "10=1,3=2,9=3"});
    EXPECT_EQ(lastLine(r.out), "2 fiche(s) créée(s), 0 complétée(s), 0 ignorée(s).") << r.err.toStdString();
    EXPECT_TRUE(cli({"show", db.path(), "9"}).out.contains("10\tjean@exemple.fr"));

    // On another map than the default one, the pins' point must be given.
    writeBytes(db.file("carte.txt"), "/cartes/plan.gif\r\n");
    const QString one = program.file("un.vcf");
    writeBytes(one, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:PETIT;Paul;;;\r\nEND:VCARD\r\n");
    EXPECT_EQ(cli({"import", db.path(), one}).exit, 2);
    EXPECT_EQ(cli({"import", db.path(), one, "--point", "321,123"}).exit, 0);
    EXPECT_TRUE(cli({"show", db.path(), "11"}).out.startsWith("1\t1 321                  123"));

    // An empty database: the menu's message, nothing written.
    writeCards(db.path(), {});
    QFile::remove(db.file("export.txt"));
    expectErr({"export", bare()}, 1, " Il n'y a aucune fiche dans la base de données !\n");
    EXPECT_FALSE(QFileInfo::exists(db.file("export.txt")));
}

TEST_F(CliTest, BackupGoesToADatedFolder)
{
    // Where a backup may go is the core's.
    const QString folder = cli({"backup", db.path(), program.path()}).out.trimmed();
    EXPECT_TRUE(folder.startsWith(program.path() + "BaseTest 2")) << folder.toStdString();
    EXPECT_EQ(cli({"count", folder}).out, "4 fiche(s)\n");
}

TEST_F(CliTest, WhileTabulonHasTheDatabaseOpenOnlyTheReadingCommandsRunAndRepairNothing)
{
    OtherProgram tabulon(db.path());
    ASSERT_TRUE(tabulon.holding());
    // A deletion cut short: an opening for writing would finish it.
    writeBytes(db.file("suppression.txt"), "2\r\n4\r\n");
    const QStringList before = snapshot(db.path());

    expectErr({"export", bare()}, 1, " Cette base de données est déjà ouverte par un autre programme Tabulon !\n");
    EXPECT_EQ(cli({"count", bare()}).out, "4 fiche(s)\n");
    for (const QStringList& reading :
         {QStringList{"show", bare(), "2"}, QStringList{"journal", bare(), "1", "--memento"}, QStringList{"trash", bare()}})
        EXPECT_EQ(cli(reading).exit, 0) << reading[0].toStdString();
    EXPECT_TRUE(cli({"check", bare()}).out.contains("une suppression de fiche est inachevée"));
    EXPECT_EQ(snapshot(db.path()), before);

    // Once Tabulon has quit, the export runs (the opening mending the database is the core's).
    tabulon.quit();
    EXPECT_EQ(cli({"export", bare()}).exit, 0);
}

TEST_F(CliTest, TrashListsTheDeletedCardsAndRestoresOneAsTheNextNumber)
{
    ASSERT_TRUE(tb::Database::open(db.path()).value()->deleteCard(1));
    // Its lines are the core's.
    EXPECT_TRUE(cli({"trash", db.path()}).out.startsWith("1\t"));
    EXPECT_TRUE(cli({"check", db.path()}).out.contains("Corbeille : 1 fiche(s)."));
    expectOut({"trash", db.path(), "--restore", "1"}, "4\n");
    expectOut({"trash", db.path()}, "");
}

TEST(CliHelpTest, HelpPrintsEveryCommandsUsageAndExitsZero)
{
    const CliRun help = cli({"--help"});
    expectOut({"-h"}, help.out);
    EXPECT_TRUE(help.out.startsWith("Usage : tabulon-cli COMMANDE BASE [options]\n"));
    for (const char* c : {"count", "list", "search", "find", "zone", "export", "import", "backup", "trash", "show",
                          "check", "demo", "journal", "words", "rib", "iban"})
        EXPECT_TRUE(help.out.contains("\n  " + QString(c) + ' ')) << c;
    // A mistake shows the same text on the error output, after what was wrong.
    expectErr({"compter"}, 2, "commande inconnue : compter\n" + help.out);

    // One command's help: its synopsis, options included, and its help lines.
    const CliRun journal = cli({"journal", "-h"});
    EXPECT_EQ(journal.exit, 0);
    EXPECT_TRUE(journal.out.startsWith("  journal BASE N --recouvrements|--interets|--memento\n"));
    EXPECT_FALSE(journal.out.contains("  count"));
    EXPECT_TRUE(help.out.contains(journal.out));
}

TEST_F(CliTest, RemindersPrintTheRemindersDueForTheDaysAskedAndWriteNothing)
{
    // Which reminders are due is the core's.
    writeBytes(db.file("M1.txt"), tb::toCp1252("10/12/26--->Rappeler, devis à faire\r\n20/11/26--->Visite\r\n"));
    const QStringList before = snapshot(db.path());
    expectOut({"reminders", db.path(), "--today", "08/12/2026", "--ahead", "2", "--back", "18"},
              "20/11/2026\t1\tVisite\n10/12/2026\t1\tRappeler, devis à faire\n");
    for (const QStringList& wrong : {QStringList{"--today", "31/11/2026"}, {"--back", "400"}, {"--ahead", "sept"}}) {
        const CliRun r = cli(QStringList{"reminders", bare()} + wrong);
        EXPECT_EQ(r.exit, 2) << wrong.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(snapshot(db.path()), before);
}

// Labels, envelopes, debtors and letters: the options, the output, the exit codes.
QString listLine(const QString& surname)
{
    return tb::padField(surname, 15) + u' ' + tb::padField("Jean", 15) + u' ' + tb::padField("", 5) + u' ' + tb::padField("", 40);
}

class LabelsCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeCards(db.path(), {makeCard("DURAND", "Zoé", 1, 100, 100, "17000", "La Rochelle"),
                               makeCard("MARTIN", "Paul", 0, 100, 100, "17340", "Yves"),  // archived
                               withFields(makeCard("BERNARD", "Anne", 2, 300, 300, "75001", "Paris"),
                                          {{5, "12 boulevard de la Grande Armée, bât. C2"}})});
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

TEST_F(LabelsCommand, PrintsTheCardsChosenFromTheLabelOrEnvelopeAskedSaysCutLinesAndRefusesWrongUses)
{
    // All active cards by default, in name order; the street too long said.
    CliRun r = run("labels", {});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "2 étiquette(s) sur 1 page(s) dans " + pdf + "\n");
    EXPECT_TRUE(r.err.startsWith("Attention : Fiche n° 3 : « 12 boulevard")) << r.err.toStdString();  // its words are the core's
    const QString text = pdfText(pdf);
    EXPECT_LT(text.indexOf("BERNARD"), text.indexOf("DURAND"));

    // Numbered (archived one asked) from label 16 of 16; a search; a zone.
    EXPECT_EQ(run("labels", {"--numeros", "2,1", "--archivees", "--sheet", "L7162", "--start", "16"}).out,
              "2 étiquette(s) sur 2 page(s) dans " + pdf + "\n");
    EXPECT_EQ(run("labels", {"--find", "rochelle"}).out, "1 étiquette(s) sur 1 page(s) dans " + pdf + "\n");
    EXPECT_EQ(run("labels", {"--zone", "50,50,200,200"}).out, "1 étiquette(s) sur 1 page(s) dans " + pdf + "\n");

    // Wrong uses leave the PDF as it was.
    const QByteArray kept = readBytes(pdf);
    EXPECT_EQ(run("labels", {"--start", "22"}).exit, 2);
    EXPECT_EQ(run("labels", {"--numeros", "1", "--find", "x"}).exit, 2);
    r = run("labels", {"--numeros", "4"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "Erreur n° 75 : la fiche n° 4 n'existe pas (la base contient 3 fiche(s))\n");
    EXPECT_EQ(run("labels", {"--numeros", "2"}).err, "Aucune adresse à imprimer\n");  // archived
    EXPECT_EQ(readBytes(pdf), kept);

    // Envelopes: without a sender kept, asking for it fails and writes nothing.
    EXPECT_EQ(run("envelopes", {"--expediteur"}).exit, 1);
    EXPECT_EQ(readBytes(pdf), kept);
    writeBytes(program.file("expediteur.txt"), "TABULON SARL\r\n1 rue Haute\r\n");
    EXPECT_EQ(run("envelopes", {"--format", "C5", "--expediteur", "--numeros", "1"}).out,
              "1 enveloppe(s) sur 1 page(s) dans " + pdf + "\n");
    EXPECT_TRUE(pdfText(pdf).contains("TABULON SARL") && pdfText(pdf).contains("DURAND"));
    EXPECT_EQ(run("envelopes", {"--format", "C4"}).exit, 2);
    pdf = out.filePath("absent/e.pdf");
    EXPECT_EQ(run("labels", {}).exit, 1);
}

TEST(DebtsCommands, DebtorsListedLargestFirstWithTheTotalThenSentALetterEach)
{
    TempProgramFolder program;
    TempDatabase base{program.path()};
    std::vector<CardRecord> cards;
    for (const auto& [name, marker, due] :
         {std::tuple{"DUPONT", 1, "12.5"}, {"MARTIN", 0, "99.00"}, {"BERNARD", 2, "1234.56"}, {"PETIT", 1, ""}})
        cards.push_back(withFields(makeCard(name, "Jean", marker, 1, 2), {{20, due}, {5, "2 rue du Port"}}));
    writeCards(base.path(), cards);

    expectOut({"debtors", base.path()},
              "1234.56\t" + listLine("BERNARD") + "\t3\n12.50\t" + listLine("DUPONT") + "\t1\nTotal : 1247.06\n");

    QTemporaryDir out;
    const QString pdf = out.filePath("relances.pdf");
    const CliRun r =
        cli({"letters", base.path(), "--lettre", "Relance", "--output", pdf, "--debiteurs", "--program-folder", program.path()});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, "2 lettre(s) écrite(s) dans " + pdf + "\n");
    // No postal code, no city, no civility on these cards.
    EXPECT_TRUE(r.err.startsWith("Attention : Fiche n° 3 (BERNARD Jean) : « Code postal » est vide.\n")) << r.err.toStdString();
    EXPECT_EQ(pdfText(pdf).count(u'\f'), 2);  // a page a debtor (what it holds is the core's)

    expectErr({"letters", base.path(), "--lettre", "Aucune", "--output", pdf, "--numeros", "1", "--program-folder", program.path()},
              1, "Erreur n° 53 : fichier introuvable (Aucune.html)\n");
    EXPECT_EQ(cli({"letters", base.path(), "--lettre", "Relance", "--output", pdf, "--numeros", "1", "--debiteurs"}).exit, 2);
}

// Counts and searches by the quick path, without the full command set, when the database needs nothing of the
// full opening: on every database, sound or not, printed, said and exited as the full command set does.
QString runText(const char* program, const QStringList& args)
{
    const CliRun r = cli(args, program);
    return QString::number(r.exit) + u'|' + r.out + u'|' + r.err;
}

TEST(QuickPaths, CountAndSearchAgreeWithTheFullCommandsOnSoundAndBrokenDatabases)
{
    TempProgramFolder program;
    TempDatabase db{program.path()};
    writeCards(db.path(), {makeCard("DURAND", "Marie", 1, 100, 120, "17000", "LA ROCHELLE"),
                           makeCard("DUPONT", "Jean", 2, 450, 220, "75001", "PARIS")});
    const QString bare = db.path().chopped(1);
    const QString notADatabase = program.path() + "Vide";
    ASSERT_TRUE(QDir().mkpath(notADatabase));
    const QList<QStringList> commands = {
        {"count", db.path()},
        {"count", bare},
        {"count", db.path() + "../" + QDir(bare).dirName()},
        {"count", notADatabase},
        {"count", program.path()},
        {"search", bare, "--by", "nom", "DU"},
        {"search", "--by", "ville", bare, "PARIS"},
        {"search", bare, "--by", "rue", "X"},
        {"search", notADatabase, "--by", "nom", "DU"},
    };
    // Past the sound database, only the database's state changes: one count
    // and one search of it stand for every way of naming it.
    const QList<QStringList> ofTheDatabase = {commands[1], commands[5]};
    const auto expectSame = [&](const char* state, const QList<QStringList>& runs) {
        for (const QStringList& args : runs) {
            SCOPED_TRACE(std::string(state) + ": " + args.join(u' ').toStdString());
            EXPECT_EQ(runText(TABULON_CLI, args), runText(TABULON_CLI_FULL, args));
        }
    };
    expectSame("sound", commands);
    EXPECT_EQ(runText(TABULON_CLI, {"count", bare}), "0|2 fiche(s)\n|");
    {
        // Open in Tabulon: the reading commands run all the same.
        const auto lock = tb::lockDatabase(db.path());
        ASSERT_TRUE(lock.ok());
        expectSame("locked", ofTheDatabase);
    }
    // Counts the quick path leaves to the full opening: its correction said.
    for (const QByteArray count : {"2abc", "\"2\"", "9", " +2 ", ""}) {
        writeBytes(db.file("NBFiches.dat"), count + "\r\n");
        expectSame(count.constData(), ofTheDatabase);
    }
    EXPECT_EQ(runText(TABULON_CLI, {"count", bare}), "0|2 fiche(s)\n|Attention : Le nombre de fiches a été corrigé : 2 fiche(s).\n");
    // Records that are a folder.
    writeBytes(db.file("NBFiches.dat"), "2\r\n");
    ASSERT_TRUE(QFile::remove(db.file("lesfiches.dat")));
    ASSERT_TRUE(QDir().mkdir(db.file("lesfiches.dat")));
    expectSame("records folder", ofTheDatabase);
}

// tabulon-cli settles these searches alone (a copy of it with no other program beside it answers them), in the
// full search's French order: case, accents, ligatures, punctuation, and equal lines ordered by their numbers as text.
TEST(QuickPaths, SearchesSettledAloneListInTheFullSearchsOrder)
{
    TempProgramFolder program;
    TempDatabase db{program.path()};
    const char* const names[][2] = {
        {"DUPONT", "Élise"},  {"Dupont", "elise"},  {"DUPONT-MOREL", "Luc"}, {"DUPONT MOREL", "Luc"},
        {"DUPONT'S", "Ann"},  {"DUPONTÉ", "Jo"},    {"DUPONTE", "Jo"},       {"DUPŒUF", "Jo"},
        {"DUPOEUF", "Jo"},    {"DUPONT½", "Jo"},    {"DUPONTß", "Jo"},       {"DUPONTSS", "Jo"},
        {"DÉPONT", "Zoé"},    {"DUPONT", "Élise"},  {"dupont", "Élise"},     {"DUPONT", "Élise"},
    };
    const char* const cities[] = {"LE MANS", "LE-MANS", "L'ÎLE-D'YEU", "LES ABYMES", "ÉVREUX", "EVREUX", "Évian"};
    std::vector<CardRecord> cards;
    for (size_t i = 0; i < std::size(names); ++i)
        cards.push_back(makeCard(names[i][0], names[i][1], 1, 10, 10, i % 2 ? "17000" : "01000", cities[i % std::size(cities)]));
    writeCards(db.path(), cards);
    QTemporaryDir lone;
    const QString alone = lone.filePath("tabulon-cli");
    ASSERT_TRUE(QFile::copy(TABULON_CLI, alone));
    for (const QStringList& args : QList<QStringList>{{"search", db.path(), "--by", "nom", "D"},
                                                       {"search", "--by", "ville", db.path(), ""},
                                                       {"search", db.path(), "--by", "cp", "1"}}) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const QString full = runText(TABULON_CLI_FULL, args);
        EXPECT_GT(full.count(u'\n'), 5);
        EXPECT_EQ(runText(alone.toLocal8Bit().constData(), args), full);
    }
    // A character the code page lacks: left to the full search.
    const QStringList other = {"search", db.path(), "--by", "nom", "Ł"};
    EXPECT_EQ(runText(TABULON_CLI, other), runText(TABULON_CLI_FULL, other));
    EXPECT_EQ(cli(other, alone.toLocal8Bit().constData()).exit, 1);
}

// An output that cannot be written (a full disk) is a failure with its reason, by the quick paths too.
TEST(CliOutput, AFullOutputFailsWithTheReason)
{
    TempProgramFolder program;
    TempDatabase db{program.path()};
    writeCards(db.path(), {makeCard("DURAND", "Marie", 1, 100, 120, "17000", "LA ROCHELLE")});
    for (const QStringList& args : QList<QStringList>{{"count", db.path()}, {"search", db.path(), "--by", "nom", "D"}, {"list", db.path()}}) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        QProcess p;
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
        p.start(TABULON_CLI, args);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 1);
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardError()), "Erreur n° 61 : le disque est plein (sortie standard)\n");
    }
}

// tabulon-cli sync: the address kept with the database, the failure said and its exit code.
CliRun sync(const QStringList& args)
{
    qputenv("TABULON_CARDDAV_PASSWORD", "secret");
    return cli(QStringList{QStringLiteral("sync")} + args);
}

TEST(SyncCommand, KeepsTheAddressGivenOnceAndFailsWithTheServersReasonWhenItIsDown)
{
    TempProgramFolder program;
    TempDatabase db(program.path());
    writeCards(db.path(), {makeCard("DURAND", "Zoé", 1, 100, 100, "17000", "La Rochelle")});
    CliRun r = sync({db.path()});
    EXPECT_EQ(r.exit, 2) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("--url URL --user NOM"))) << r.err.toStdString();

    // Port 1 on the loopback: nothing listens there.
    r = sync({db.path(), QStringLiteral("--url"), QStringLiteral("http://127.0.0.1:1/"), QStringLiteral("--user"),
              QStringLiteral("marie")});
    EXPECT_EQ(r.exit, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("Erreur de synchronisation : "))) << r.err.toStdString();
    const CliRun again = sync({db.path()});
    EXPECT_EQ(again.exit, 1) << again.err.toStdString();
    EXPECT_EQ(again.err, r.err);
    EXPECT_TRUE(sync({QStringLiteral("--help")})
                    .out.contains(QStringLiteral("sync BASE [--url URL --user NOM] [--insecure-certificate SHA256]")));
}

TEST(SyncCommand, SendsTheCardsAndSaysWhatItDid)
{
    TB_START_RADICALE(server);
    const QUrl book = server.createAddressBook(QStringLiteral("marie"), QStringLiteral("secret"));
    ASSERT_FALSE(book.isEmpty());
    TempProgramFolder program;
    TempDatabase db(program.path());
    writeCards(db.path(), {makeCard("DURAND", "Zoé", 1, 100, 100, "17000", "La Rochelle"),
                           makeCard("MARTIN", "Paul", 2, 120, 100, "75001", "Paris")});
    const CliRun r = sync({db.path(), QStringLiteral("--url"), book.toString(), QStringLiteral("--user"),
                           QStringLiteral("marie")});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("2 fiche(s) envoyée(s)\n"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("0 en conflit\n")));
    EXPECT_TRUE(sync({db.path()}).out.contains(QStringLiteral("0 fiche(s) envoyée(s)\n")));
}

}  // namespace
