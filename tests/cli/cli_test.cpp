// tabulon-cli run as a user runs it, on small fixture databases: exact outputs,
// exit codes, the read-only check and demo databases. The rules behind the
// commands (orders, searches, zones, exports) are the core's, tested there.
#include "core/base/codepage.h"
#include "core/cards/card_store.h"
#include "support/fixtures.h"
#include "support/other_program.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct CliRun {
    int exit = -1;
    QString out;
    QString err;
};

CliRun cli(const QStringList& args, bool french = false)
{
    QProcess p;
    if (french) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("fr_FR.UTF-8"));
        p.setProcessEnvironment(env);
    }
    p.start(QStringLiteral(TABULON_CLI), args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QString pad(const QString& text, int width)
{
    return text.leftJustified(width, u' ', true);
}

// Alphabetical list line: surname 15, first names 15, code 5, city 40.
QString alphaLine(const QString& s, const QString& f, const QString& cp, const QString& city, int n)
{
    return pad(s, 15) + u' ' + pad(f, 15) + u' ' + pad(cp, 5) + u' ' + pad(city, 40) + u'\t' + QString::number(n)
           + u'\n';
}
const QString kDurand = alphaLine("DURAND", "Marie", "17000", "LA ROCHELLE", 1);
const QString kAlbert = alphaLine("ALBERT", "Jean", "75001", "PARIS", 2);
const QString kZola = alphaLine("ZOLA", "Émile", "13001", "MARSEILLE", 3);
const QString kBernard = alphaLine("BERNARD", "Luc", "59000", "LILLE", 4);

QString lastLine(const QString& out)
{
    return out.trimmed().split(u'\n').last();
}

// Every file of folder with its bytes (and its time when asked).
QStringList snapshot(const QString& folder, bool withTimes = false)
{
    QStringList s;
    for (const QFileInfo& fi : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
        s << fi.fileName() + u' ' + (withTimes ? QString::number(fi.lastModified().toMSecsSinceEpoch()) : QString())
                 + QString::fromLatin1(readBytes(fi.absoluteFilePath()).toHex());
    return s;
}

class CliTest : public ::testing::Test {
protected:
    TempProgramFolder program;
    TempDatabase db{program.path()};

    void SetUp() override
    {
        writeCards(db.path(), {
                                  makeCard("DURAND", "Marie", 1, 100, 120, "17000", "LA ROCHELLE"),
                                  makeCard("ALBERT", "Jean", 3, 450, 220, "75001", "PARIS"),
                                  makeCard("ZOLA", "Émile", 0, 610, 660, "13001", "MARSEILLE"),
                                  makeCard("BERNARD", "Luc", 2, 500, 80, "59000", "LILLE"),
                              });
    }
    // The database's folder without its final "/": both forms are accepted.
    QString bare() const { return db.path().chopped(1); }
    void writeRecord(long long n, const QByteArray& bytes) { ASSERT_TRUE(CardStore(db.path()).writeRecords(n, bytes).ok()); }
    void setCountText(const QByteArray& text) { writeBytes(db.file("NBFiches.dat"), text + "\r\n"); }
};

}  // namespace

TEST_F(CliTest, ReadingCommandsPrintTheCardsAsStored)
{
    EXPECT_EQ(cli({"count", db.path()}).out, "4 fiche(s)\n");
    EXPECT_EQ(cli({"count", bare()}).out, "4 fiche(s)\n");

    const CliRun list = cli({"list", bare()});
    EXPECT_EQ(list.exit, 0);
    EXPECT_EQ(list.out, kAlbert + kBernard + kDurand);
    EXPECT_EQ(cli({"list", bare(), "--order", "alpha"}).out, list.out);
    const QString rochelle = pad("LA ROCHELLE", 40) + " 17000 " + pad("DURAND", 15) + u' ' + pad("Marie", 15) + "\t1\n";
    const QString lille = pad("LILLE", 40) + " 59000 " + pad("BERNARD", 15) + u' ' + pad("Luc", 15) + "\t4\n";
    EXPECT_EQ(cli({"list", bare(), "--order", "villes"}).out,
              rochelle + lille + pad("PARIS", 40) + " 75001 " + pad("ALBERT", 15) + u' ' + pad("Jean", 15) + "\t2\n");
    EXPECT_TRUE(cli({"list", bare(), "--order", "cp"}).out.startsWith("17000 LA ROCHELLE"));
    // Archived cards only, in the alphabetical form, accents in UTF-8.
    EXPECT_EQ(cli({"list", bare(), "--order", "archives"}).out, kZola);

    const QStringList fields = cli({"show", bare(), "3"}).out.split(u'\n');
    ASSERT_EQ(fields.size(), 21);  // 20 lines and the final line end
    EXPECT_EQ(fields[0], "1\t" + pad("0" + tb::positionText(610, 660), 30));
    EXPECT_EQ(fields[3], "4\t" + pad("Émile", 15));
    EXPECT_EQ(fields[19], "20\t" + QString(40, u' '));

    // Searches, archived cards included, and the zone, in card order.
    EXPECT_EQ(cli({"search", bare(), "--by", "cp", "1"}).out, kDurand + kZola);
    EXPECT_EQ(cli({"search", db.path(), "--by", "ville", "L"}).out, rochelle + lille);
    EXPECT_EQ(cli({"search", bare(), "--by", "nom", "durand"}).out, "");
    EXPECT_EQ(cli({"zone", bare(), "700", "50", "50", "700"}).out, kDurand + kAlbert + kBernard);
    EXPECT_EQ(cli({"zone", bare(), "-10", "460.5", "460", "-10"}).out, kDurand + kAlbert);
    const CliRun bounds = cli({"zone", bare(), "100", "80", "500", "220"});
    EXPECT_EQ(bounds.exit, 0);
    EXPECT_EQ(bounds.out, "");
    EXPECT_EQ(cli({"find", db.path(), "la", "ROCHÉ"}).out, kDurand.chopped(3) + "   Ville : LA ROCHELLE\t1\n");
    EXPECT_EQ(cli({"find", db.path(), "13 001"}).out, kZola.chopped(3) + "   Code Postal : 13001   (archivée)\t3\n");
    EXPECT_EQ(cli({"find", db.path()}).out, "");

    const CliRun check = cli({"check", bare()});
    EXPECT_EQ(check.exit, 0) << check.out.toStdString();
    EXPECT_EQ(check.out, "Contrôle terminé : 4 fiche(s), 0 erreur(s), 0 avertissement(s).\n");
}

TEST_F(CliTest, BadUsageExitsTwoAndWritesNothing)
{
    const QString fresh = program.file("Nouvelle");
    const QList<QStringList> usages = {
        {}, {"compter", bare()}, {"list"}, {"list", bare(), "--order", "prenoms"}, {"list", bare(), "--order"},
        {"show", bare()}, {"show", bare(), "deux"}, {"count", bare(), "--seed", "3"}, {"demo", fresh},
        {"demo", fresh, "--cards", "-4"}, {"demo", fresh, "--cards", "4", "--program-folder", program.path()},
        {"search", bare(), "DUR"}, {"search", bare(), "--by", "prenom", "J"}, {"export", bare(), "--format", "csv"},
        {"zone", bare(), "1", "2", "3"}, {"zone", bare(), "1", "2", "3", "quatre"}, {"zone", bare(), "1", "2", "3", "inf"},
        {"zone", "", "1", "2", "3", "4"}, {"journal", db.path(), "1"}, {"journal", db.path(), "1", "--memento", "--interets"},
        {"journal", db.path(), "x", "--memento"}, {"import", db.path(), "x.txt"},
        {"import", db.path(), "x.vcf", "--duplicates", "tout"}, {"find"}, {"words"}, {"words", "12a"}, {"words", "-3"},
        {"rib", "30002", "00550"},
    };
    for (const QStringList& args : usages) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.exit, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains("Usage : tabulon-cli")) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(fresh));
    EXPECT_FALSE(QFileInfo::exists(db.file("export.txt")));
}

TEST_F(CliTest, FailuresExitOneWithTheProgramsMessage)
{
    struct Failure {
        QStringList args;
        QString err;  // its beginning
    };
    const QList<Failure> failures = {
        {{"count", program.file("Absente")}, " Ce dossier ne contient pas de base de données Tabulon !\n"},
        {{"zone", program.file("Absente"), "1", "2", "3", "4"}, " Ce dossier ne contient pas de base de données Tabulon !\n"},
        {{"show", bare(), "0"}, "Erreur n° "},
        {{"show", bare(), "5"}, "Erreur n° "},
        {{"journal", db.path(), "2", "--memento"}, "Erreur n° "},
        {{"import", db.path(), program.file("absent.vcf")}, "Erreur n° 53"},
        {{"words", "1000000000000000"}, "Une Erreur !\n"},
        {{"rib", "3000", "00550", "0000157841Z"}, "Le code Banque doit comporter 5 caractères\n"},
        {{"rib", "30002", "00550", "0000157841"}, "Le N°de compte doit comporter 11 caractères\n"},
        {{"rib", "00000", "00550", "0000157841Z"}, ""},
        {{"backup", db.path(), program.file("absente")}, ""},
    };
    for (const Failure& f : failures) {
        const CliRun r = cli(f.args);
        EXPECT_EQ(r.exit, 1) << f.args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(f.err) && !r.err.isEmpty()) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << f.args.join(u' ').toStdString();
    }
    EXPECT_TRUE(cli({"show", bare(), "5"}).err.contains("n'existe pas"));
    EXPECT_TRUE(cli({"journal", db.path(), "2", "--memento"}).err.contains("la fiche n° 2 n'existe pas"));

    writeCards(db.path(), {});
    const CliRun empty = cli({"export", bare()});
    EXPECT_EQ(empty.exit, 1);
    EXPECT_EQ(empty.err, " Il n'y a aucune fiche dans la base de données !\n");
    EXPECT_FALSE(QFileInfo::exists(db.file("export.txt")));
}

TEST_F(CliTest, CheckFindsErrorsInBrokenDatabases)
{
    {  // a count above the records is reported with the correction the program would make
        setCountText("9");
        const CliRun r = cli({"check", bare()});
        EXPECT_EQ(r.exit, 1);
        EXPECT_TRUE(r.out.contains("NBFiches.dat annonce 9 fiche(s), lesfiches.dat n'en contient que 4."));
        EXPECT_TRUE(r.out.contains("Le nombre de fiches a été corrigé : 4 fiche(s)."));
        setCountText("4");
    }
    {  // a deletion cut short: reported, left for Tabulon to finish
        writeBytes(db.file("suppression.txt"), "2\r\n4\r\n");
        const CliRun r = cli({"check", bare()});
        EXPECT_EQ(r.exit, 1);
        EXPECT_TRUE(r.out.contains("suppression.txt : une suppression de fiche est inachevée")) << r.out.toStdString();
        EXPECT_EQ(readBytes(db.file("suppression.txt")), "2\r\n4\r\n");
        QFile::remove(db.file("suppression.txt"));
    }
    {  // records past the count: a freed, blanked one after a deletion is no
       // news; a card still holding data is
        setCountText("3");
        writeRecord(4, CardRecord().toBytes());
        EXPECT_TRUE(lastLine(cli({"check", bare()}).out).endsWith("0 erreur(s), 0 avertissement(s)."));
        writeRecord(4, makeCard("BERNARD", "Luc", 2, 500, 80, "59000", "LILLE").toBytes());
        const CliRun r = cli({"check", bare()});
        EXPECT_TRUE(r.out.contains("1 fiche(s) de lesfiches.dat au-delà du nombre de fiches (3) ne sont pas comptées."));
        setCountText("4");
    }
    {  // a torn last record
        QFile f(db.file("lesfiches.dat"));
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("12345");
        f.close();
        const CliRun r = cli({"check", bare()});
        EXPECT_EQ(r.exit, 1);
        EXPECT_TRUE(r.out.contains("lesfiches.dat fait 2525 octets, pas un multiple de 630")) << r.out.toStdString();
        ASSERT_TRUE(f.resize(4 * 630));
    }
    {  // a marker that is no digit 0 to 7, and an active pin off the map
        QByteArray bad = makeCard("MARTIN", "Paul", 1, 10, 10).toBytes();
        bad[0] = 'X';
        writeRecord(2, bad);
        writeRecord(4, makeCard("BERNARD", "Luc", 2, 950, 80).toBytes());
        writeRecord(3, makeCard("ZOLA", "Émile", 0, 2000, 3000).toBytes());  // archived: no pin shown
        const CliRun r = cli({"check", bare()});
        EXPECT_EQ(r.exit, 1);
        EXPECT_TRUE(r.out.contains("fiche n° 2 : marqueur « X » au lieu d'un chiffre de 0 à 7.")) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains("fiche n° 4 : position (950, 80) hors de la carte (900 x 860).")) << r.out.toStdString();
        EXPECT_FALSE(r.out.contains("fiche n° 3"));
        EXPECT_EQ(lastLine(r.out), "Contrôle terminé : 4 fiche(s), 2 erreur(s), 0 avertissement(s).");
    }
}

TEST_F(CliTest, CheckOnlyWarnsOfStraySideFilesMissingTemplatesAndAnUnreadableMap)
{
    writeBytes(db.file("F4.txt"), "card 4");  // belongs to a card: fine
    writeBytes(db.file("f7.TXT"), "old");
    writeBytes(db.file("photo12.JPG"), "old");
    writeBytes(db.file("DtxtA5.txt"), "old");
    QFile::remove(db.file("F.xls"));
    const CliRun r = cli({"check", bare()});
    EXPECT_EQ(r.exit, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("fichier annexe f7.TXT d'une fiche qui n'existe pas (4 fiche(s))."));
    EXPECT_TRUE(r.out.contains("fichier annexe photo12.JPG"));
    EXPECT_TRUE(r.out.contains("fichier annexe DtxtA5.txt"));
    EXPECT_FALSE(r.out.contains("F4.txt"));
    EXPECT_TRUE(r.out.contains("modèle manquant : F.xls."));
    EXPECT_EQ(lastLine(r.out), "Contrôle terminé : 4 fiche(s), 0 erreur(s), 4 avertissement(s).");

    writeBytes(db.file("carte.txt"), program.file("absente.gif").toUtf8() + "\r\n");
    const CliRun noMap = cli({"check", bare()});
    EXPECT_EQ(noMap.exit, 0);
    EXPECT_TRUE(noMap.out.contains("ne peut pas être lue : positions non contrôlées."));
}

TEST_F(CliTest, CheckWritesNothingEvenOnAGarbledCount)
{
    setCountText("douze");
    const QStringList before = snapshot(db.path(), true);
    const QStringList programBefore = QDir(program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const CliRun r = cli({"check", bare()});
    EXPECT_EQ(r.exit, 1);
    EXPECT_TRUE(r.out.contains("NBFiches.dat ne contient pas un nombre de fiches."));
    // The reading commands leave it alone too.
    EXPECT_EQ(cli({"count", bare()}).out, "4 fiche(s)\n");
    EXPECT_EQ(snapshot(db.path(), true), before);
    EXPECT_EQ(QDir(program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), programBefore);
}

TEST(CliDemoTest, DemoDatabasesOpenPassTheCheckAndRepeatForASeed)
{
    TempProgramFolder program;
    const CliRun made = cli({"demo", program.file("Demo"), "--cards", "500", "--seed", "7"});
    ASSERT_EQ(made.exit, 0) << made.err.toStdString();
    EXPECT_EQ(made.out, program.file("Demo/") + "\t500 fiche(s)\n");
    EXPECT_EQ(QDir(program.file("Demo")).entryList(QDir::Files).size(), 10);  // templates and cards: no side files
    const CliRun check = cli({"check", program.file("Demo")});
    EXPECT_EQ(check.exit, 0);
    EXPECT_EQ(check.out, "Contrôle terminé : 500 fiche(s), 0 erreur(s), 0 avertissement(s).\n");

    // A name goes to the program folder given; the same seed gives the same cards.
    TempProgramFolder other;
    ASSERT_EQ(cli({"demo", "Demo", "--cards", "500", "--seed", "7", "--program-folder", other.path()}).exit, 0);
    EXPECT_EQ(readBytes(other.file("Demo/lesfiches.dat")), readBytes(program.file("Demo/lesfiches.dat")));

    const CliRun again = cli({"demo", program.file("Demo"), "--cards", "5"});
    EXPECT_EQ(again.exit, 1);
    EXPECT_TRUE(again.err.contains("Ce nom existe déja"));
}

TEST(CliToolsTest, WordsAndRibKeysNeedNoDatabase)
{
    const CliRun words = cli({"words", "2500000"});
    EXPECT_EQ(words.exit, 0);
    EXPECT_EQ(words.out, "Deux million(s) cinq cent mille \n");
    const CliRun key = cli({"rib", "30002", "00550", "0000157841Z"});
    EXPECT_EQ(key.exit, 0);
    EXPECT_EQ(key.out, "25\n");
}

TEST_F(CliTest, JournalPrintsTheEntriesAndTheTotalsTheWindowShows)
{
    CardRecord card = makeCard("DURAND", "Marie", 1, 100, 120);
    card.fields[14] = tb::padField("1000", 40);
    writeCards(db.path(), {card});
    writeBytes(db.file("R1.txt"), "150.00------------>05/12/26  a  ch\xe8que\r\n\r\n250.00------------>06/12/26  b  c\n");
    writeBytes(db.file("I1.txt"), "12.50------------>x\r\n7.25------------>y\r\n");
    writeBytes(db.file("M1.txt"), "05/12/26--->Appel, rappeler\r\n");

    CliRun r = cli({"journal", db.path(), "1", "--recouvrements"}, true);
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("150.00------------>05/12/26  a  chèque\n250.00------------>06/12/26  b  c\n"
                                    "Montant à recouvrer\t1000.00\nTotal des recouvrements\t400,00\n"
                                    "Montant restant dû\t600,00\n"));
    EXPECT_EQ(cli({"journal", db.path(), "1", "--interets"}, true).out,
              "12.50------------>x\n7.25------------>y\nTotal des intérêts\t19,75\n");
    EXPECT_EQ(cli({"journal", db.path(), "1", "--memento"}, true).out, "05/12/26--->Appel, rappeler\n");
    // Reading writes nothing.
    EXPECT_EQ(readBytes(db.file("R1.txt")).size(), 76);
}

TEST_F(CliTest, ExportsWriteTheMenusFilesAndImportTakesThemBackWithTheChosenDuplicateRule)
{
    // The text export's files themselves are checked byte for byte in the core.
    EXPECT_EQ(cli({"export", bare()}).out, db.file("export.txt") + "\n");
    EXPECT_EQ(readBytes(db.file("export.txt")).size(), 4 * 621);
    EXPECT_EQ(cli({"export", bare(), "--format", "adresses"}).out, db.file("adresses.txt") + "\n");
    EXPECT_EQ(readBytes(db.file("adresses.txt")).size(), 4 * (49 + 42 + 48));
    EXPECT_EQ(cli({"export", bare(), "--format", "texte"}).exit, 0);

    const QString vcf = program.file("fiches.vcf");
    const QString csv = program.file("fiches.csv");
    CliRun r = cli({"export", db.path(), "--format", "vcard", "--output", vcf});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "3 fiche(s) écrite(s) dans " + vcf + u'\n');
    r = cli({"export", db.path(), "--format", "csv", "--output", csv, "--fiches", "toutes"});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(readBytes(csv).count("\r\n"), 5);

    // Into the same database: every contact is already there.
    r = cli({"import", db.path(), vcf});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(lastLine(r.out), "0 fiche(s) créée(s), 0 complétée(s), 3 ignorée(s).");
    EXPECT_TRUE(QFileInfo::exists(program.file("Sauvegardes/BaseTest/lesfiches.dat")));
    r = cli({"import", db.path(), csv, "--duplicates", "create"});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("Fichier CSV en UTF-8, séparateur « , »\n"));
    EXPECT_EQ(lastLine(r.out), "4 fiche(s) créée(s), 0 complétée(s), 0 ignorée(s).");
    EXPECT_EQ(cli({"count", db.path()}).out, "8 fiche(s)\n");
    EXPECT_TRUE(cli({"show", db.path(), "6"}).out.contains("ALBERT"));
}

TEST_F(CliTest, ImportOnAnotherMapNeedsThePointOfThePins)
{
    writeBytes(db.file("carte.txt"), "/cartes/plan.gif\r\n");
    const QString vcf = program.file("un.vcf");
    writeBytes(vcf, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:NOUVEAU;Paul;;;\r\nEND:VCARD\r\n");
    EXPECT_EQ(cli({"import", db.path(), vcf}).exit, 2);
    const CliRun r = cli({"import", db.path(), vcf, "--point", "321,123"});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_TRUE(cli({"show", db.path(), "5"}).out.startsWith("1\t1 321                  123"));
}

TEST_F(CliTest, BackupCopiesTheDatabaseIntoADatedFolder)
{
    QTemporaryDir where;
    const CliRun r = cli({"backup", db.path(), where.path()});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    const QString folder = r.out.trimmed();
    EXPECT_TRUE(folder.startsWith(where.path() + "/BaseTest 2")) << folder.toStdString();
    EXPECT_EQ(cli({"count", folder}).out, "4 fiche(s)\n");
}

TEST_F(CliTest, WhileTabulonHasTheDatabaseOpenOnlyTheReadingCommandsRunAndRepairNothing)
{
    OtherProgram tabulon(db.path());
    ASSERT_TRUE(tabulon.holding());
    // A deletion cut short: an opening for writing would finish it.
    writeBytes(db.file("suppression.txt"), "2\r\n4\r\n");
    const QStringList before = snapshot(db.path());

    const CliRun refused = cli({"export", bare()});
    EXPECT_EQ(refused.exit, 1);
    EXPECT_EQ(refused.err, " Cette base de données est déjà ouverte par un autre programme Tabulon !\n");
    for (const QStringList& args : QList<QStringList>{{"count", bare()}, {"list", bare()}, {"show", bare(), "2"},
                                                      {"search", bare(), "--by", "nom", "A"},
                                                      {"journal", bare(), "1", "--memento"}})
        EXPECT_EQ(cli(args).exit, 0) << args.join(u' ').toStdString();
    EXPECT_TRUE(cli({"check", bare()}).out.contains("une suppression de fiche est inachevée"));
    EXPECT_EQ(snapshot(db.path()), before);

    // Once Tabulon has quit, the export runs (and the opening mends the database).
    tabulon.quit();
    EXPECT_EQ(cli({"export", bare()}).exit, 0);
    EXPECT_EQ(readBytes(db.file("NBFiches.dat")), " 3\r\n");
    EXPECT_FALSE(QFileInfo::exists(db.file("suppression.txt")));
}
