// tabulon-cli run as a user runs it, on small fixture databases: exact outputs,
// exit codes, the read-only check and demo databases.
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

CliRun cli(const QStringList& args)
{
    QProcess p;
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

QString lastLine(const QString& out)
{
    return out.trimmed().split(u'\n').last();
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

TEST_F(CliTest, CountListAndShowPrintTheCardsAsStored)
{
    EXPECT_EQ(cli({"count", db.path()}).out, "4 fiche(s)\n");
    EXPECT_EQ(cli({"count", bare()}).out, "4 fiche(s)\n");

    const QString alpha = alphaLine("ALBERT", "Jean", "75001", "PARIS", 2)
                          + alphaLine("BERNARD", "Luc", "59000", "LILLE", 4)
                          + alphaLine("DURAND", "Marie", "17000", "LA ROCHELLE", 1);
    const CliRun list = cli({"list", bare()});
    EXPECT_EQ(list.exit, 0);
    EXPECT_EQ(list.out, alpha);
    EXPECT_EQ(cli({"list", bare(), "--order", "alpha"}).out, alpha);

    EXPECT_EQ(cli({"list", bare(), "--order", "villes"}).out,
              pad("LA ROCHELLE", 40) + " 17000 " + pad("DURAND", 15) + u' ' + pad("Marie", 15) + "\t1\n"
                  + pad("LILLE", 40) + " 59000 " + pad("BERNARD", 15) + u' ' + pad("Luc", 15) + "\t4\n"
                  + pad("PARIS", 40) + " 75001 " + pad("ALBERT", 15) + u' ' + pad("Jean", 15) + "\t2\n");
    const QStringList byCode = cli({"list", bare(), "--order", "cp"}).out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(byCode.size(), 3);
    EXPECT_TRUE(byCode[0].startsWith("17000 LA ROCHELLE")) << byCode[0].toStdString();
    EXPECT_TRUE(byCode[2].endsWith("\t2"));
    // Archived cards only, in the alphabetical form, accents in UTF-8.
    EXPECT_EQ(cli({"list", bare(), "--order", "archives"}).out, alphaLine("ZOLA", "Émile", "13001", "MARSEILLE", 3));

    const CliRun show = cli({"show", bare(), "3"});
    EXPECT_EQ(show.exit, 0);
    const QStringList fields = show.out.split(u'\n');
    ASSERT_EQ(fields.size(), 21);  // 20 lines and the final line end
    EXPECT_EQ(fields[0], "1\t" + pad("0" + tb::positionText(610, 660), 30));
    EXPECT_EQ(fields[2], "3\t" + pad("ZOLA", 15));
    EXPECT_EQ(fields[3], "4\t" + pad("Émile", 15));
    EXPECT_EQ(fields[19], "20\t" + QString(40, u' '));

    const CliRun check = cli({"check", bare()});
    EXPECT_EQ(check.exit, 0) << check.out.toStdString();
    EXPECT_EQ(check.out, "Contrôle terminé : 4 fiche(s), 0 erreur(s), 0 avertissement(s).\n");
}

TEST_F(CliTest, BadUsageExitsTwoAndFailuresExitOneWithTheMessage)
{
    const QString fresh = program.file("Nouvelle");
    const QList<QStringList> usages = {
        {}, {"compter", bare()}, {"list"}, {"list", bare(), "--order", "prenoms"}, {"list", bare(), "--order"},
        {"show", bare()}, {"show", bare(), "deux"}, {"count", bare(), "--seed", "3"}, {"demo", fresh},
        {"demo", fresh, "--cards", "-4"}, {"demo", fresh, "--cards", "4", "--program-folder", program.path()},
    };
    for (const QStringList& args : usages) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.exit, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains("Usage : tabulon-cli")) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(program.file("Nouvelle")));

    const CliRun missing = cli({"count", program.file("Absente")});
    EXPECT_EQ(missing.exit, 1);
    EXPECT_EQ(missing.err, " Ce dossier ne contient pas de base de données Tabulon !\n");

    for (const char* n : {"0", "5"}) {
        const CliRun r = cli({"show", bare(), n});
        EXPECT_EQ(r.exit, 1);
        EXPECT_TRUE(r.err.startsWith("Erreur n° ")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("n'existe pas"));
        EXPECT_TRUE(r.out.isEmpty());
    }
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
    QDir dir(db.path());
    auto snapshot = [&] {
        QStringList s;
        for (const QFileInfo& fi : dir.entryInfoList(QDir::Files, QDir::Name))
            s << fi.fileName() + u' ' + QString::number(fi.size()) + u' '
                     + QString::number(fi.lastModified().toMSecsSinceEpoch())
                     + QString::fromLatin1(readBytes(fi.absoluteFilePath()).toHex());
        return s;
    };
    const QStringList before = snapshot();
    const QStringList programBefore = QDir(program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const CliRun r = cli({"check", bare()});
    EXPECT_EQ(r.exit, 1);
    EXPECT_TRUE(r.out.contains("NBFiches.dat ne contient pas un nombre de fiches."));
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(readBytes(db.file("NBFiches.dat")), "douze\r\n");
    EXPECT_EQ(QDir(program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), programBefore);
    // The reading commands leave it alone too.
    EXPECT_EQ(cli({"count", bare()}).out, "4 fiche(s)\n");
    EXPECT_EQ(readBytes(db.file("NBFiches.dat")), "douze\r\n");
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

}  // namespace

TEST(CliToolsTest, WordsAndRibKeysNeedNoDatabase)
{
    const CliRun words = cli({"words", "2500000"});
    EXPECT_EQ(words.exit, 0);
    EXPECT_EQ(words.out, "Deux million(s) cinq cent mille \n");
    EXPECT_EQ(cli({"words", "91"}).out, "Quatre-vingt onze \n");

    const CliRun tooLong = cli({"words", "1000000000000000"});
    EXPECT_EQ(tooLong.exit, 1);
    EXPECT_EQ(tooLong.err, "Une Erreur !\n");
    EXPECT_TRUE(tooLong.out.isEmpty());
    for (const QStringList& args : QList<QStringList>{{"words"}, {"words", "12a"}, {"words", "-3"}, {"rib", "30002", "00550"}}) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.exit, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains("Usage : tabulon-cli"));
    }

    const CliRun key = cli({"rib", "30002", "00550", "0000157841Z"});
    EXPECT_EQ(key.exit, 0);
    EXPECT_EQ(key.out, "25\n");
    EXPECT_EQ(cli({"rib", "20041", "01005", "0500013M026"}).out, "6\n");

    const CliRun shortBank = cli({"rib", "3000", "00550", "0000157841Z"});
    EXPECT_EQ(shortBank.exit, 1);
    EXPECT_EQ(shortBank.err, QString::fromUtf8("Le code Banque doit comporter 5 caractères\n"));
    EXPECT_EQ(cli({"rib", "30002", "00550", "0000157841"}).err,
              QString::fromUtf8("Le N°de compte doit comporter 11 caractères\n"));
    const CliRun zero = cli({"rib", "00000", "00550", "0000157841Z"});
    EXPECT_EQ(zero.exit, 1);
    EXPECT_TRUE(zero.out.isEmpty());
    EXPECT_FALSE(zero.err.isEmpty());
}

namespace {

CliRun cliFrench(const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("fr_FR.UTF-8"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TABULON_CLI), args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

TEST_F(CliTest, JournalPrintsTheEntriesAndTheTotalsTheWindowShows)
{
    CardRecord card = makeCard("DURAND", "Marie", 1, 100, 120);
    card.fields[14] = tb::padField("1000", 40);
    writeCards(db.path(), {card});
    writeBytes(db.file("R1.txt"), "150.00------------>05/12/26  a  ch\xe8que\r\n\r\n250.00------------>06/12/26  b  c\n");
    writeBytes(db.file("I1.txt"), "12.50------------>x\r\n7.25------------>y\r\n");
    writeBytes(db.file("M1.txt"), "05/12/26--->Appel, rappeler\r\n");

    CliRun r = cliFrench({"journal", db.path(), "1", "--recouvrements"});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("150.00------------>05/12/26  a  chèque\n250.00------------>06/12/26  b  c\n"
                                    "Montant à recouvrer\t1000.00\nTotal des recouvrements\t400,00\n"
                                    "Montant restant dû\t600,00\n"));
    r = cliFrench({"journal", db.path(), "1", "--interets"});
    EXPECT_EQ(r.out, "12.50------------>x\n7.25------------>y\nTotal des intérêts\t19,75\n");
    r = cliFrench({"journal", db.path(), "1", "--memento"});
    EXPECT_EQ(r.out, "05/12/26--->Appel, rappeler\n");
    // Reading writes nothing.
    EXPECT_EQ(readBytes(db.file("R1.txt")).size(), 76);

    EXPECT_EQ(cli({"journal", db.path(), "1"}).exit, 2);
    EXPECT_EQ(cli({"journal", db.path(), "1", "--memento", "--interets"}).exit, 2);
    EXPECT_EQ(cli({"journal", db.path(), "x", "--memento"}).exit, 2);
    r = cli({"journal", db.path(), "2", "--memento"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_TRUE(r.err.contains("la fiche n° 2 n'existe pas")) << r.err.toStdString();
}

TEST_F(CliTest, SearchPrintsTheMatchingCardsAndExportWritesTheMenusFiles)
{
    // Archived cards are searched too; the lines come in the list's order.
    EXPECT_EQ(cli({"search", bare(), "--by", "nom", ""}).out,
              alphaLine("ALBERT", "Jean", "75001", "PARIS", 2) + alphaLine("BERNARD", "Luc", "59000", "LILLE", 4)
                  + alphaLine("DURAND", "Marie", "17000", "LA ROCHELLE", 1)
                  + alphaLine("ZOLA", "Émile", "13001", "MARSEILLE", 3));
    EXPECT_EQ(cli({"search", bare(), "--by", "cp", "1"}).out,
              alphaLine("DURAND", "Marie", "17000", "LA ROCHELLE", 1)
                  + alphaLine("ZOLA", "Émile", "13001", "MARSEILLE", 3));
    EXPECT_EQ(cli({"search", db.path(), "--by", "ville", "L"}).out,
              pad("LA ROCHELLE", 40) + " 17000 " + pad("DURAND", 15) + u' ' + pad("Marie", 15) + "\t1\n"
                  + pad("LILLE", 40) + " 59000 " + pad("BERNARD", 15) + u' ' + pad("Luc", 15) + "\t4\n");
    const CliRun none = cli({"search", bare(), "--by", "nom", "durand"});
    EXPECT_EQ(none.exit, 0);
    EXPECT_TRUE(none.out.isEmpty());
    for (const QStringList& args : QList<QStringList>{{"search", bare(), "DUR"},
                                                      {"search", bare(), "--by", "prenom", "J"},
                                                      {"export", bare(), "--format", "csv"}}) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.exit, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains("Usage : tabulon-cli"));
    }
    EXPECT_FALSE(QFileInfo::exists(db.file("export.txt")));

    const auto blanks = [](int n) { return QByteArray(n, ' '); };
    const auto exportLine = [&](const char* s, const char* f, const char* cp, const char* city) {
        QByteArray line = blanks(15) + ';' + tb::toCp1252(pad(s, 15)) + ';' + tb::toCp1252(pad(f, 15)) + ';'
                          + blanks(40) + ';' + cp + ';' + tb::toCp1252(pad(city, 40)) + ';' + blanks(15) + ';'
                          + blanks(15) + ';' + blanks(40) + ';';
        for (int k = 11; k <= 20; ++k)
            line += blanks(40) + ';';
        return line + "\r\n";
    };
    const CliRun text = cli({"export", bare()});
    EXPECT_EQ(text.exit, 0);
    EXPECT_EQ(text.out, db.file("export.txt") + "\n");
    EXPECT_EQ(readBytes(db.file("export.txt")),
              exportLine("DURAND", "Marie", "17000", "LA ROCHELLE") + exportLine("ALBERT", "Jean", "75001", "PARIS")
                  + exportLine("ZOLA", "Émile", "13001", "MARSEILLE") + exportLine("BERNARD", "Luc", "59000", "LILLE"));

    const auto addressLines = [&](const char* s, const char* f, const char* cp, const char* city) {
        return blanks(15) + ' ' + tb::toCp1252(pad(s, 15)) + ' ' + tb::toCp1252(pad(f, 15)) + "\r\n" + blanks(40)
               + "\r\n" + cp + ' ' + tb::toCp1252(pad(city, 40)) + "\r\n";
    };
    EXPECT_EQ(cli({"export", bare(), "--format", "adresses"}).out, db.file("adresses.txt") + "\n");
    EXPECT_EQ(readBytes(db.file("adresses.txt")),
              addressLines("DURAND", "Marie", "17000", "LA ROCHELLE") + addressLines("ALBERT", "Jean", "75001", "PARIS")
                  + addressLines("ZOLA", "Émile", "13001", "MARSEILLE")
                  + addressLines("BERNARD", "Luc", "59000", "LILLE"));
    EXPECT_EQ(cli({"export", bare(), "--format", "texte"}).exit, 0);

    // An empty database: the menu's message, nothing written.
    writeCards(db.path(), {});
    QFile::remove(db.file("export.txt"));
    const CliRun empty = cli({"export", bare()});
    EXPECT_EQ(empty.exit, 1);
    EXPECT_EQ(empty.err, " Il n'y a aucune fiche dans la base de données !\n");
    EXPECT_FALSE(QFileInfo::exists(db.file("export.txt")));
}

namespace {

TEST_F(CliTest, ExportsVCardAndCsvFilesAndImportsThemBackWithTheChosenDuplicateRule)
{
    const QString vcf = program.file(QStringLiteral("fiches.vcf"));
    const QString csv = program.file(QStringLiteral("fiches.csv"));
    CliRun r = cli({QStringLiteral("export"), db.path(), QStringLiteral("--format"), QStringLiteral("vcard"),
                    QStringLiteral("--output"), vcf});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("3 fiche(s) écrite(s) dans ") + vcf + u'\n');
    r = cli({QStringLiteral("export"), db.path(), QStringLiteral("--format"), QStringLiteral("csv"), QStringLiteral("--output"),
             csv, QStringLiteral("--fiches"), QStringLiteral("toutes")});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(readBytes(csv).count("\r\n"), 5);
    EXPECT_EQ(cli({QStringLiteral("export"), db.path(), QStringLiteral("--format"), QStringLiteral("csv")}).exit, 2);

    // Into the same database: every contact is already there.
    r = cli({QStringLiteral("import"), db.path(), vcf});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(lastLine(r.out), QStringLiteral("0 fiche(s) créée(s), 0 complétée(s), 3 ignorée(s)."));
    EXPECT_TRUE(QFileInfo::exists(program.file(QStringLiteral("Sauvegardes/BaseTest/lesfiches.dat"))));
    r = cli({QStringLiteral("import"), db.path(), csv, QStringLiteral("--duplicates"), QStringLiteral("create")});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Fichier CSV en UTF-8, séparateur « , »\n")));
    EXPECT_EQ(lastLine(r.out), QStringLiteral("4 fiche(s) créée(s), 0 complétée(s), 0 ignorée(s)."));
    EXPECT_EQ(cli({QStringLiteral("count"), db.path()}).out, QStringLiteral("8 fiche(s)\n"));
    // The pins of Paris go near Paris on the default map.
    const CliRun shown = cli({QStringLiteral("show"), db.path(), QStringLiteral("6")});
    EXPECT_TRUE(shown.out.contains(QStringLiteral("ALBERT"))) << shown.out.toStdString();

    EXPECT_EQ(cli({QStringLiteral("import"), db.path(), QStringLiteral("x.txt")}).exit, 2);
    EXPECT_EQ(cli({QStringLiteral("import"), db.path(), vcf, QStringLiteral("--duplicates"), QStringLiteral("tout")}).exit, 2);
    r = cli({QStringLiteral("import"), db.path(), program.file(QStringLiteral("absent.vcf"))});
    EXPECT_EQ(r.exit, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("Erreur n° 53"))) << r.err.toStdString();
}

TEST_F(CliTest, ImportOnAnotherMapNeedsThePointOfThePins)
{
    writeBytes(db.file(QStringLiteral("carte.txt")), "/cartes/plan.gif\r\n");
    const QString vcf = program.file(QStringLiteral("un.vcf"));
    writeBytes(vcf, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:NOUVEAU;Paul;;;\r\nEND:VCARD\r\n");
    EXPECT_EQ(cli({QStringLiteral("import"), db.path(), vcf}).exit, 2);
    const CliRun r = cli({QStringLiteral("import"), db.path(), vcf, QStringLiteral("--point"), QStringLiteral("321,123")});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_TRUE(cli({QStringLiteral("show"), db.path(), QStringLiteral("5")})
                    .out.startsWith(QStringLiteral("1\t1 321                  123")));
}

TEST_F(CliTest, BackupCopiesTheDatabaseIntoADatedFolder)
{
    QTemporaryDir where;
    const CliRun r = cli({QStringLiteral("backup"), db.path(), where.path()});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    const QString folder = r.out.trimmed();
    EXPECT_TRUE(folder.startsWith(where.path() + QStringLiteral("/BaseTest 2"))) << folder.toStdString();
    EXPECT_EQ(readBytes(folder + QStringLiteral("lesfiches.dat")), readBytes(db.file(QStringLiteral("lesfiches.dat"))));
    EXPECT_EQ(cli({QStringLiteral("count"), folder}).out, QStringLiteral("4 fiche(s)\n"));
    EXPECT_EQ(cli({QStringLiteral("backup"), db.path(), where.path() + QStringLiteral("/absent")}).exit, 1);
}

}  // namespace

TEST_F(CliTest, FindPrintsTheSearchBoxResults)
{
    const CliRun r = cli({"find", db.path(), "la", "ROCHÉ"});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, alphaLine("DURAND", "Marie", "17000", "LA ROCHELLE", 1).chopped(3)
                         + "   Ville : LA ROCHELLE\t1\n");
    const CliRun archived = cli({"find", db.path(), "13 001"});
    EXPECT_EQ(archived.out, alphaLine("ZOLA", "Émile", "13001", "MARSEILLE", 3).chopped(3)
                                + "   Code Postal : 13001   (archivée)\t3\n");
    EXPECT_EQ(cli({"find", db.path()}).out, "");
    EXPECT_EQ(cli({"find"}).exit, 2);
}

TEST_F(CliTest, WhileTabulonHasTheDatabaseOpenOnlyTheReadingCommandsRunAndRepairNothing)
{
    OtherProgram tabulon(db.path());
    ASSERT_TRUE(tabulon.holding());
    // A deletion cut short: an opening for writing would finish it.
    writeBytes(db.file("suppression.txt"), "2\r\n4\r\n");
    QDir dir(db.path());
    auto snapshot = [&] {
        QStringList s;
        for (const QFileInfo& fi : dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
            s << fi.fileName() + u' ' + QString::fromLatin1(readBytes(fi.absoluteFilePath()).toHex());
        return s;
    };
    const QStringList before = snapshot();

    const CliRun refused = cli({"export", bare()});
    EXPECT_EQ(refused.exit, 1);
    EXPECT_EQ(refused.err, " Cette base de données est déjà ouverte par un autre programme Tabulon !\n");
    EXPECT_EQ(cli({"count", bare()}).out, "4 fiche(s)\n");
    EXPECT_EQ(cli({"list", bare()}).exit, 0);
    EXPECT_EQ(cli({"show", bare(), "2"}).exit, 0);
    EXPECT_EQ(cli({"search", bare(), "--by", "nom", "A"}).exit, 0);
    EXPECT_EQ(cli({"journal", bare(), "1", "--memento"}).exit, 0);
    EXPECT_TRUE(cli({"check", bare()}).out.contains("une suppression de fiche est inachevée"));
    EXPECT_EQ(snapshot(), before);

    // Once Tabulon has quit, the export runs (and the opening mends the database).
    tabulon.quit();
    EXPECT_EQ(cli({"export", bare()}).exit, 0);
    EXPECT_EQ(readBytes(db.file("NBFiches.dat")), " 3\r\n");
    EXPECT_FALSE(QFileInfo::exists(db.file("suppression.txt")));
}

TEST_F(CliTest, ZonePrintsTheActiveCardsStrictlyInsideTheRectangleByCardNumber)
{
    // In card order, as the zone window lists them; the archived ZOLA is inside too.
    const QString all = alphaLine("DURAND", "Marie", "17000", "LA ROCHELLE", 1)
                        + alphaLine("ALBERT", "Jean", "75001", "PARIS", 2)
                        + alphaLine("BERNARD", "Luc", "59000", "LILLE", 4);
    const CliRun r = cli({"zone", bare(), "50", "50", "700", "700"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, all);
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_EQ(cli({"zone", db.path(), "700", "700", "50", "50"}).out, all);
    EXPECT_EQ(cli({"zone", bare(), "700", "50", "50", "700"}).out, all);
    EXPECT_EQ(cli({"zone", bare(), "-10", "460.5", "460", "-10"}).out,
              alphaLine("DURAND", "Marie", "17000", "LA ROCHELLE", 1) + alphaLine("ALBERT", "Jean", "75001", "PARIS", 2));
    // Every card on a bound: none listed, and that is no failure.
    const CliRun bounds = cli({"zone", bare(), "100", "80", "500", "220"});
    EXPECT_EQ(bounds.exit, 0);
    EXPECT_TRUE(bounds.out.isEmpty());

    for (const QStringList& args : QList<QStringList>{{"zone", bare(), "1", "2", "3"},
                                                      {"zone", bare(), "1", "2", "3", "quatre"},
                                                      {"zone", bare(), "1", "2", "3", "inf"},
                                                      {"zone", "", "1", "2", "3", "4"}}) {
        const CliRun bad = cli(args);
        EXPECT_EQ(bad.exit, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(bad.err.contains("Usage : tabulon-cli"));
        EXPECT_TRUE(bad.out.isEmpty());
    }
    const CliRun missing = cli({"zone", program.file("Absente"), "1", "2", "3", "4"});
    EXPECT_EQ(missing.exit, 1);
    EXPECT_EQ(missing.err, " Ce dossier ne contient pas de base de données Tabulon !\n");
}

TEST_F(CliTest, HelpPrintsEveryCommandsUsageAndExitsZero)
{
    const QStringList commands = {"count", "list", "search", "find", "zone", "export", "import",
                                  "backup", "show", "check", "demo", "journal", "words", "rib", "iban"};
    const CliRun help = cli({"--help"});
    EXPECT_EQ(help.exit, 0);
    EXPECT_TRUE(help.err.isEmpty());
    EXPECT_TRUE(help.out.startsWith("Usage : tabulon-cli COMMANDE BASE [options]\n"));
    for (const QString& c : commands)
        EXPECT_TRUE(help.out.contains("\n  " + c + ' ')) << c.toStdString();
    EXPECT_EQ(cli({"-h"}).out, help.out);
    // A mistake shows the same text on the error output, after what was wrong.
    const CliRun unknown = cli({"compter"});
    EXPECT_EQ(unknown.exit, 2);
    EXPECT_EQ(unknown.err, "commande inconnue : compter\n" + help.out);

    // One command's help: its synopsis, options included, and its help lines.
    const CliRun journal = cli({"journal", "-h"});
    EXPECT_EQ(journal.exit, 0);
    EXPECT_TRUE(journal.out.startsWith("  journal BASE N --recouvrements|--interets|--memento\n"));
    EXPECT_FALSE(journal.out.contains("  count"));
    EXPECT_TRUE(help.out.contains(journal.out));
}

TEST_F(CliTest, ThePathsABackupCannotUseAndTheProgramFolderAreRefused)
{
    CliRun r = cli({"backup", db.path(), "/nonexistent/x"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.err, "Erreur n° 76 : chemin introuvable (x)\n");
    const QStringList before = QDir(db.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString& inside : {bare(), db.path() + "Corbeille"}) {
        QDir().mkpath(db.path() + "Corbeille");
        r = cli({"backup", db.path(), inside});
        EXPECT_EQ(r.exit, 1);
        EXPECT_EQ(r.err, " Une sauvegarde ne peut pas être faite dans la base de données elle-même.\n");
    }
    QDir(db.path() + "Corbeille").removeRecursively();
    EXPECT_EQ(QDir(db.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    // Beside the database, a backup is made.
    EXPECT_EQ(cli({"backup", db.path(), program.path()}).exit, 0);

    // The program folder holds the templates of new databases, never cards.
    const QByteArray templates = readBytes(program.file("NBFiches.dat"));
    for (const QStringList& command : {QStringList{"count"}, QStringList{"list"}, QStringList{"check"},
                                       QStringList{"show", "1"}, QStringList{"export"},
                                       QStringList{"backup", db.path()}}) {
        r = cli(QStringList{command[0], program.path()} + command.mid(1));
        EXPECT_EQ(r.exit, 1) << command[0].toStdString();
        EXPECT_EQ(r.err, " Ce dossier est le dossier du programme, pas une base de données.\n")
            << command[0].toStdString();
    }
    EXPECT_EQ(readBytes(program.file("NBFiches.dat")), templates);
}

TEST_F(CliTest, ABlankMarkerIsAnArchivedCardForTheCheck)
{
    CardRecord archived = makeCard("MARTIN", "Paul", 0, 9999, 9999);
    archived.fields[0][0] = u' ';
    writeRecord(3, archived.toBytes());
    const CliRun r = cli({"check", db.path()});
    EXPECT_EQ(r.exit, 0) << r.out.toStdString();
    EXPECT_EQ(lastLine(r.out), "Contrôle terminé : 4 fiche(s), 0 erreur(s), 0 avertissement(s).");
}

TEST(CliIban, ValidIbansAndTheReasonOfAnInvalidOne)
{
    CliRun r = cli({"iban", "FR76 3000 6000 0112 3456 7890 189"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, QStringLiteral("IBAN valide\nBanque 30006  Guichet 00001  Compte 12345678901  Clé RIB 89\n"));
    r = cli({"iban", "DE89", "3704", "0044", "0532", "0130", "00"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, "IBAN valide\n");
    r = cli({"iban", "FR7630006000011234567890188"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, QStringLiteral(" IBAN invalide : les chiffres de contrôle ne correspondent pas au numéro\n"));
}
