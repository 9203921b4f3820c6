// The "Fichier" entries that take cards in and out, driven as a user would:
// files chosen, the duplicate and CSV matching windows answered, messages
// read, pins drawn.
#include "core/base/safe_write.h"
#include "core/base/value_files.h"
#include "core/db/database.h"
#include "gui/exchange/csv_import_window.h"
#include "gui/exchange/duplicate_window.h"
#include "gui/exchange/import_report_window.h"
#include "gui_fixture.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTableWidget>

using namespace testing_support;

namespace {

class ExchangeWindowsTest : public ::testing::Test {
protected:
    GuiFixture f;
    QTemporaryDir files;
    QString file(const QString& name) const { return files.path() + u'/' + name; }

    // The report window shown last: its summary and its lines.
    std::pair<QString, QString> report() const
    {
        auto* w = qobject_cast<FRapportImport*>(f.dialogs.lastModal());
        EXPECT_NE(w, nullptr);
        return {labelText(w, QStringLiteral("LabelResume")),
                w ? child<QPlainTextEdit>(w, QStringLiteral("TextNotes"))->toPlainText() : QString()};
    }
};

TEST_F(ExchangeWindowsTest, TheSixEntriesStandInTheFileMenuAndNeedADatabase)
{
    for (const char* name : {"ExportVcard", "ImportVcard", "ExportCsv", "ImportCsv", "Sauvegarde"}) {
        ASSERT_NE(f.action(QString::fromLatin1(name)), nullptr) << name;
        f.trigger(QString::fromLatin1(name));
        EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral(" Vous devez au préalable créer une nouvelle base de données "
                                                          "ou ouvrir une base de données existante !"));
    }
    EXPECT_EQ(f.action(QStringLiteral("ImportVcard"))->text(), QStringLiteral("&Importer des fiches vCard"));
    EXPECT_EQ(f.action(QStringLiteral("Restauration"))->text(), QStringLiteral("Res&taurer une sauvegarde"));
    EXPECT_TRUE(f.dialogs.fileChoices.isEmpty());
}

TEST_F(ExchangeWindowsTest, ExportsThenImportsAVCardFileWithItsPinsOnTheDefaultMapAndADuplicateSkipped)
{
    f.openWithCards({makeCard("DURAND", "Marie", 1, 100, 120, "17000", "LA ROCHELLE")});
    const QString vcf = file(QStringLiteral("fiches.vcf"));
    f.dialogs.questionAnswers.enqueue(QMessageBox::No);
    f.dialogs.fileAnswers.enqueue(vcf);
    f.trigger("ExportVcard");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("1 fiche(s) exportée(s) dans « ") + vcf + QStringLiteral(" »."));

    QByteArray more = readBytes(vcf);
    more += "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Lefebvre;Anne;;;\r\nADR;HOME:;;1 rue Sainte-Catherine;Bordeaux;;33000;France\r\n"
            "END:VCARD\r\n";
    writeBytes(vcf, more);
    f.dialogs.fileAnswers.enqueue(vcf);
    // The duplicate window: "Ignorer" for this one.
    f.dialogs.modalScripts.enqueue([](QWidget* w) {
        ASSERT_TRUE(qobject_cast<FDoublon*>(w));
        EXPECT_TRUE(labelText(w, QStringLiteral("LabelExistante")).startsWith(QStringLiteral("Fiche n° 1\n")));
        click(child<QPushButton>(w, QStringLiteral("CommandIgnorer")));
    });
    f.dialogs.modalScripts.enqueue([](QWidget* w) { click(child<QPushButton>(w, QStringLiteral("CommandOK"))); });
    f.trigger("ImportVcard");
    EXPECT_EQ(report().first, QStringLiteral("1 fiche(s) créée(s), 0 complétée(s), 1 ignorée(s)."));
    EXPECT_TRUE(report().second.contains(QStringLiteral("DURAND Marie : déjà dans la fiche n° 1 (même nom, mêmes prénoms et même code postal), ignorée")));
    auto* db = f.main->session().database();
    ASSERT_EQ(db->count(), 2);
    // Near Bordeaux on the map, with the current pin colour drawn there.
    const CardRecord card = *db->card(2);
    EXPECT_NEAR(card.x(), 288, 24);
    EXPECT_NEAR(card.y(), 563, 24);
    EXPECT_NE(f.main->mapImage().pixelColor(int(card.x()), int(card.y())), QColor(Qt::white));
    EXPECT_TRUE(QFileInfo::exists(f.program.file(QStringLiteral("Sauvegardes/Clients/lesfiches.dat"))));
}

TEST_F(ExchangeWindowsTest, OnAnotherMapTheImportedCardsWaitForOneClickOnTheMap)
{
    f.openWithCards({makeCard("DURAND", "Marie", 1, 100, 120, "17000", "LA ROCHELLE")});
    QFile::copy(f.program.file(QStringLiteral("frc.gif")), f.program.file(QStringLiteral("plan.gif")));
    ASSERT_TRUE(f.main->session().database()->setMapPath(f.program.file(QStringLiteral("plan.gif"))));
    const QString vcf = file(QStringLiteral("un.vcf"));
    writeBytes(vcf, "BEGIN:VCARD\nVERSION:3.0\nN:Martin;Paul;;;\nEND:VCARD\nBEGIN:VCARD\nVERSION:3.0\nN:Petit;Léa;;;\nEND:VCARD\n");
    f.dialogs.fileAnswers.enqueue(vcf);
    f.trigger("ImportVcard");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("Cliquez sur la carte à l'endroit où épingler les 2 fiche(s) importée(s)."));
    EXPECT_EQ(f.main->session().database()->count(), 1);
    f.dialogs.modalScripts.enqueue([](QWidget* w) { click(child<QPushButton>(w, QStringLiteral("CommandOK"))); });
    f.leftClickMap(200, 150);
    auto* db = f.main->session().database();
    ASSERT_EQ(db->count(), 3);
    EXPECT_EQ(db->card(3)->x(), 200);
    EXPECT_EQ(db->card(3)->y(), 150);
    // The next click lists the cards again.
    f.leftClickMap(200, 150);
    EXPECT_EQ(f.dialogs.lastModal()->objectName(), QStringLiteral("FFrance3"));
}

TEST_F(ExchangeWindowsTest, TheCsvWindowShowsTheGuessedEncodingAndTheMatchingTheUserChanges)
{
    f.openWithCards({});
    const QString csv = file(QStringLiteral("tableur.csv"));
    writeBytes(csv, QByteArray("Nom;Pr\xE9nom;Couleur;Ville\r\nH\xC9" "BERT;C\xE9" "cile;bleu;Orl\xE9" "ans\r\n"));
    f.dialogs.fileAnswers.enqueue(csv);
    f.dialogs.modalScripts.enqueue([](QWidget* w) {
        ASSERT_TRUE(qobject_cast<FImportCsv*>(w));
        EXPECT_EQ(child<QComboBox>(w, QStringLiteral("ComboEncodage"))->currentText(), QStringLiteral("Windows-1252"));
        EXPECT_EQ(labelText(w, QStringLiteral("LabelSeparateur")), QStringLiteral("point-virgule"));
        auto* table = child<QTableWidget>(w, QStringLiteral("TableColonnes"));
        EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("HÉBERT"));
        EXPECT_EQ(child<QComboBox>(w, QStringLiteral("ComboColonne_2"))->currentText(), QStringLiteral("(ne pas reprendre)"));
        // "Couleur" goes into "Observations".
        auto* colour = child<QComboBox>(w, QStringLiteral("ComboColonne_2"));
        colour->setCurrentIndex(colour->findText(QStringLiteral("Observations")));
        // Return imports, as in a dialog, and closes the report.
        keyClick(colour, Qt::Key_Return);
    });
    f.dialogs.modalScripts.enqueue([](QWidget* w) { keyClick(child<QWidget>(w, QStringLiteral("TextNotes")), Qt::Key_Return); });
    f.trigger("ImportCsv");
    auto* db = f.main->session().database();
    ASSERT_EQ(db->count(), 1);
    EXPECT_EQ(db->card(1)->field(3).trimmed(), QStringLiteral("HÉBERT"));
    EXPECT_EQ(db->card(1)->field(4).trimmed(), QStringLiteral("Cécile"));
    EXPECT_EQ(db->card(1)->field(14).trimmed(), QStringLiteral("bleu"));
    EXPECT_EQ(db->card(1)->field(7).trimmed(), QStringLiteral("Orléans"));

    // Exported to CSV and read back the same.
    const QString out = file(QStringLiteral("sortie.csv"));
    f.dialogs.questionAnswers.enqueue(QMessageBox::Yes);
    f.dialogs.fileAnswers.enqueue(out);
    f.trigger("ExportCsv");
    EXPECT_TRUE(QString::fromUtf8(readBytes(out)).contains(QStringLiteral("\r\n,HÉBERT,Cécile,,,Orléans,")));
}

TEST_F(ExchangeWindowsTest, TheDuplicateWindowsChoiceForAllAnswersEveryDuplicate)
{
    f.openWithCards({makeCard("DURAND", "Marie", 1, 100, 120, "17000", "LA ROCHELLE")});
    const QString vcf = file(QStringLiteral("deux.vcf"));
    writeBytes(vcf, "BEGIN:VCARD\nVERSION:3.0\nN:Durand;Marie;;;\nADR:;;;;;17000;\nEMAIL:m@x.fr\nEND:VCARD\n"
                    "BEGIN:VCARD\nVERSION:3.0\nN:DURAND;marie;;;\nADR:;;;;;17000;\nTEL;TYPE=CELL:0600\nEND:VCARD\n");
    // One answer "for all" fills both from the one card.
    f.dialogs.fileAnswers.enqueue(vcf);
    f.dialogs.modalScripts.enqueue([](QWidget* w) {
        child<QCheckBox>(w, QStringLiteral("CheckTous"))->setChecked(true);
        click(child<QPushButton>(w, QStringLiteral("CommandCompleter")));
    });
    f.dialogs.modalScripts.enqueue([](QWidget* w) { click(child<QPushButton>(w, QStringLiteral("CommandOK"))); });
    f.trigger("ImportVcard");
    auto* db = f.main->session().database();
    EXPECT_EQ(db->count(), 1);
    EXPECT_EQ(db->card(1)->field(10).trimmed(), QStringLiteral("m@x.fr"));
    EXPECT_EQ(db->card(1)->field(9).trimmed(), QStringLiteral("0600"));
    EXPECT_EQ(report().first, QStringLiteral("0 fiche(s) créée(s), 2 complétée(s), 0 ignorée(s)."));
}

TEST_F(ExchangeWindowsTest, BackupGoesToADatedFolderAndRestoringOpensItAsANewDatabase)
{
    f.openWithCards({makeCard("DURAND", "Marie", 1, 100, 120, "17000", "LA ROCHELLE")});
    f.dialogs.fileAnswers.enqueue(files.path());
    f.trigger("Sauvegarde");
    const QStringList made = QDir(files.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(made.size(), 1);
    EXPECT_TRUE(made[0].startsWith(QStringLiteral("Clients 2")));
    EXPECT_EQ(f.dialogs.lastMessage(), "La base de données est sauvegardée dans « " + file(made[0]) + " ».");

    // Answered "Non": nothing restored.
    f.dialogs.fileAnswers.enqueue(file(made[0]));
    f.dialogs.questionAnswers.enqueue(QMessageBox::No);
    f.trigger("Restauration");
    EXPECT_EQ(f.db(), f.program.path() + QStringLiteral("Clients/"));
    f.dialogs.fileAnswers.enqueue(file(made[0]));
    f.dialogs.questionAnswers.enqueue(QMessageBox::Yes);
    f.trigger("Restauration");
    EXPECT_EQ(f.db(), f.program.path() + made[0] + u'/');
    EXPECT_EQ(f.main->session().database()->count(), 1);
    EXPECT_EQ(f.dialogs.lastMessage(), "La sauvegarde est ouverte comme base de données « " + made[0] + " ».");
    // A folder that is no database is refused.
    f.dialogs.fileAnswers.enqueue(files.path());
    f.trigger("Restauration");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral(" Ce dossier ne contient pas de base de données Tabulon !"));
}

TEST_F(ExchangeWindowsTest, AnExportThatCannotBeWrittenIsShownAsAnError)
{
    f.openWithCards({makeCard("DURAND", "Marie", 1, 100, 120, "17000", "LA ROCHELLE")});
    f.dialogs.questionAnswers.enqueue(QMessageBox::No);
    f.dialogs.fileAnswers.enqueue(file(QStringLiteral("absent/fiches.vcf")));
    f.trigger("ExportVcard");
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith(QStringLiteral("Erreur n° 76"))) << f.dialogs.lastMessage().toStdString();
    // Cancelled at the question: no file is asked for.
    f.dialogs.fileChoices.clear();
    f.dialogs.questionAnswers.enqueue(QMessageBox::Cancel);
    f.trigger("ExportCsv");
    EXPECT_TRUE(f.dialogs.fileChoices.isEmpty());
}

TEST_F(ExchangeWindowsTest, TheDuplicateWindowSaysWhetherTheEMailOrTheMobileMatched)
{
    CardRecord known = makeCard("DURAND", "Marie", 1, 100, 120, "17000", "LA ROCHELLE");
    known.fields[8] = tb::padField(QStringLiteral("06 12 34 56 78"), 15);
    known.fields[9] = tb::padField(QStringLiteral("marie@example.fr"), 40);
    f.openWithCards({known});
    const QString vcf = file(QStringLiteral("contacts.vcf"));
    writeBytes(vcf, "BEGIN:VCARD\nVERSION:3.0\nN:Martin;Marie;;;\nEMAIL:Marie@Example.fr \nEND:VCARD\n"
                    "BEGIN:VCARD\nVERSION:3.0\nN:Durand-Roy;M.;;;\nTEL;TYPE=CELL:+33 6 12 34 56 78\nEND:VCARD\n"
                    "BEGIN:VCARD\nVERSION:3.0\nN:Petit;Léa;;;\nEND:VCARD\nBEGIN:VCARD\nVERSION:3.0\nN:Petit;Léa;;;\nEND:VCARD\n");
    f.dialogs.fileAnswers.enqueue(vcf);
    QStringList rules;
    for (int i = 0; i < 2; ++i)
        f.dialogs.modalScripts.enqueue([&](QWidget* w) {
            ASSERT_TRUE(qobject_cast<FDoublon*>(w));
            rules << labelText(w, QStringLiteral("LabelRegle"));
            click(child<QPushButton>(w, QStringLiteral("CommandIgnorer")));
        });
    f.dialogs.modalScripts.enqueue([](QWidget* w) { click(child<QPushButton>(w, QStringLiteral("CommandOK"))); });
    f.trigger("ImportVcard");
    // Which cards match is the core's; a contact repeated within the file is created each time.
    EXPECT_EQ(rules, QStringList({QStringLiteral("Une fiche de même adresse e-mail existe déjà."),
                                  QStringLiteral("Une fiche de même numéro de portable existe déjà.")}));
    EXPECT_EQ(report().first, QStringLiteral("2 fiche(s) créée(s), 0 complétée(s), 2 ignorée(s)."));
    EXPECT_EQ(f.main->session().database()->card(3)->field(3).trimmed(), QStringLiteral("PETIT"));
}

void chooseColumn(QWidget* w, int column, const QString& caption)
{
    auto* combo = child<QComboBox>(w, QStringLiteral("ComboColonne_%1").arg(column));
    combo->setCurrentIndex(combo->findText(caption));
}

TEST_F(ExchangeWindowsTest, ColumnsOfACsvWithoutHeaderAreChosenByTheUserBeforeAnyCardIsMade)
{
    f.openWithCards({});
    const QString csv = file(QStringLiteral("sans-intitules.csv"));
    writeBytes(csv, "jean@exemple.fr;NOUVEAU;06 12 34 56 78\r\nmarie@exemple.fr;AUTRE;0475000000\r\n");

    // Nothing chosen: nothing made, and the user is told why.
    f.dialogs.fileAnswers.enqueue(csv);
    f.dialogs.modalScripts.enqueue([](QWidget* w) {
        ASSERT_TRUE(qobject_cast<FImportCsv*>(w));
        auto* table = child<QTableWidget>(w, QStringLiteral("TableColonnes"));
        ASSERT_EQ(table->rowCount(), 3);
        EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("Colonne 1"));
        EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("jean@exemple.fr"));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(child<QComboBox>(w, QStringLiteral("ComboColonne_%1").arg(i))->currentText(), "(ne pas reprendre)");
        click(child<QPushButton>(w, QStringLiteral("CommandImporter")));
    });
    f.trigger("ImportCsv");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("Aucune colonne n'est reprise : choisissez le champ de fiche que "
                                                      "remplit au moins une colonne."));
    auto* db = f.main->session().database();
    EXPECT_EQ(db->count(), 0);

    // The first row is a contact too.
    f.dialogs.fileAnswers.enqueue(csv);
    f.dialogs.modalScripts.enqueue([](QWidget* w) {
        chooseColumn(w, 0, QStringLiteral("Adresse E-mail"));
        chooseColumn(w, 1, QStringLiteral("Nom"));
        chooseColumn(w, 2, QStringLiteral("N° de portable"));
        click(child<QPushButton>(w, QStringLiteral("CommandImporter")));
    });
    f.dialogs.modalScripts.enqueue([](QWidget* w) { click(child<QPushButton>(w, QStringLiteral("CommandOK"))); });
    f.trigger("ImportCsv");
    ASSERT_EQ(db->count(), 2) << f.dialogs.lastMessage().toStdString();
    EXPECT_EQ(db->card(1)->field(3).trimmed(), QStringLiteral("NOUVEAU"));
    EXPECT_EQ(db->card(1)->field(9).trimmed(), QStringLiteral("06 12 34 56 78"));
    EXPECT_EQ(db->card(1)->field(10).trimmed(), QStringLiteral("jean@exemple.fr"));

    // A file past a limit (the limits are the core's) is refused with it, before the window opens.
    const QString wide = file(QStringLiteral("long.csv"));
    writeBytes(wide, "Nom\n\"" + QByteArray(tb::kCsvMaxValueChars + 1, 'x') + "\"\n");
    f.dialogs.fileAnswers.enqueue(wide);
    f.trigger("ImportCsv");
    EXPECT_TRUE(f.dialogs.lastMessage().contains(QStringLiteral("dépasse 65536 caractères"))) << f.dialogs.lastMessage().toStdString();

    // Out again as a spreadsheet, from the "Fichier" menu.
    const QString ods = file(QStringLiteral("fiches.ods"));
    EXPECT_EQ(f.action(QStringLiteral("ExportOds"))->text(), QStringLiteral("Ex&porter pour un tableur (.ods)"));
    f.dialogs.questionAnswers.enqueue(QMessageBox::No);
    f.dialogs.fileAnswers.enqueue(ods);
    f.trigger("ExportOds");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("2 fiche(s) exportée(s) dans « ") + ods + QStringLiteral(" »."));
    EXPECT_TRUE(readBytes(ods).startsWith("PK"));
}

}  // namespace
