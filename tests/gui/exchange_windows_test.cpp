// The "Fichier" entries that take cards in and out, with their matching windows answered.
#include "core/db/database.h"
#include "gui/exchange/csv_import_window.h"
#include "gui/exchange/duplicate_window.h"
#include "gui/exchange/import_report_window.h"
#include "gui_fixture.h"

#include <QPlainTextEdit>
#include <QTableWidget>

using namespace testing_support;

namespace {

class ExchangeWindowsTest : public ::testing::Test {
protected:
    GuiFixture f;
    QTemporaryDir files;
    QString file(const QString& name) const { return files.path() + u'/' + name; }
    tb::Database* db() const { return f.main->session().database(); }
    QString field(long long card, int k) const { return db()->card(card)->field(k).trimmed(); }

    // The report window shown last: its summary and its lines.
    std::pair<QString, QString> report() const
    {
        auto* w = qobject_cast<FRapportImport*>(f.dialogs.lastModal());
        EXPECT_NE(w, nullptr);
        return {labelText(w, QStringLiteral("LabelResume")),
                w ? child<QPlainTextEdit>(w, QStringLiteral("TextNotes"))->toPlainText() : QString()};
    }
    // The report, when it shows, closed with "OK".
    void thenReport()
    {
        f.dialogs.modalScripts.enqueue([](QWidget* w) { click(child<QPushButton>(w, QStringLiteral("CommandOK"))); });
    }
    // Imports a vCard file holding text.
    void importVcard(const QString& name, const QByteArray& text)
    {
        writeBytes(file(name), text);
        f.dialogs.fileAnswers.enqueue(file(name));
        f.trigger("ImportVcard");
    }
};

void chooseColumn(QWidget* w, int column, const QString& caption)
{
    auto* combo = child<QComboBox>(w, QStringLiteral("ComboColonne_%1").arg(column));
    combo->setCurrentIndex(combo->findText(caption));
}

}  // namespace

TEST_F(ExchangeWindowsTest, VCardsGoOutAndComeBackWithDuplicatesAnsweredAndPinsPlaced)
{
    f.openWithCards({withFields(makeCard("DURAND", "Marie", 1, 100, 120, "17000", "LA ROCHELLE"),
                                {{9, "06 12 34 56 78"}, {10, "marie@example.fr"}})});
    // A folder that is not there is an error.
    f.dialogs.questionAnswers << QMessageBox::No;
    f.dialogs.fileAnswers.enqueue(file(QStringLiteral("absent/fiches.vcf")));
    f.trigger("ExportVcard");
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith(QStringLiteral("Erreur n° 76"))) << f.dialogs.lastMessage().toStdString();
    const QString vcf = file(QStringLiteral("fiches.vcf"));
    f.dialogs.questionAnswers.enqueue(QMessageBox::No);
    f.dialogs.fileAnswers.enqueue(vcf);
    f.trigger("ExportVcard");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("1 fiche(s) exportée(s) dans « ") + vcf + QStringLiteral(" »."));

    // Back with a new contact and one more matching by e-mail: each duplicate "Ignorer"
    // (which cards match is the core's), the window saying why.
    QStringList rules;
    for (int i = 0; i < 2; ++i)
        f.dialogs.modalScripts.enqueue([&rules, i](QWidget* w) {
            ASSERT_TRUE(qobject_cast<FDoublon*>(w));
            if (i == 0)
                EXPECT_TRUE(labelText(w, QStringLiteral("LabelExistante")).startsWith(QStringLiteral("Fiche n° 1\n")));
            rules << labelText(w, QStringLiteral("LabelRegle"));
            click(child<QPushButton>(w, QStringLiteral("CommandIgnorer")));
        });
    thenReport();
    importVcard("retour.vcf", readBytes(vcf) + "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Lefebvre;Anne;;;\r\nADR;HOME:;;1 rue "
                              "Sainte-Catherine;Bordeaux;;33000;France\r\nEND:VCARD\r\nBEGIN:VCARD\nVERSION:3.0\nN:Martin;"
                              "Marie;;;\nEMAIL:Marie@Example.fr \nEND:VCARD\n");
    EXPECT_EQ(rules.mid(1), QStringList{QStringLiteral("Une fiche de même adresse e-mail existe déjà.")});
    EXPECT_EQ(report().first, QStringLiteral("1 fiche(s) créée(s), 0 complétée(s), 2 ignorée(s)."));
    EXPECT_TRUE(report().second.contains(QStringLiteral("DURAND Marie : déjà dans la fiche n° 1")));
    ASSERT_EQ(db()->count(), 2);  // where its pin goes is the core's

    // On another map the imported cards wait for one click on the map; the next click lists again.
    QFile::copy(f.program.file(QStringLiteral("frc.gif")), f.program.file(QStringLiteral("plan.gif")));
    ASSERT_TRUE(db()->setMapPath(f.program.file(QStringLiteral("plan.gif"))));
    importVcard("un.vcf", "BEGIN:VCARD\nVERSION:3.0\nN:Martin;Paul;;;\nEND:VCARD\nBEGIN:VCARD\nVERSION:3.0\nN:Petit;Léa;;;\n"
                          "END:VCARD\n");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("Cliquez sur la carte à l'endroit où épingler les 2 fiche(s) importée(s)."));
    EXPECT_EQ(db()->count(), 2);
    thenReport();
    f.leftClickMap(200, 150);
    ASSERT_EQ(db()->count(), 4);
    EXPECT_EQ(QPointF(db()->card(3)->x(), db()->card(3)->y()), QPointF(200, 150));
    f.leftClickMap(200, 150);
    EXPECT_EQ(f.dialogs.lastModal()->objectName(), QStringLiteral("FFrance3"));
}

TEST_F(ExchangeWindowsTest, TheCsvWindowShowsTheGuessAndTakesTheColumnsTheUserChooses)
{
    f.openWithCards({});
    const QString csv = file(QStringLiteral("tableur.csv"));
    writeBytes(csv, QByteArray("Nom;Pr\xE9nom;Couleur;Ville\r\nH\xC9" "BERT;C\xE9" "cile;bleu;Orl\xE9" "ans\r\n"));
    f.dialogs.fileAnswers.enqueue(csv);
    f.dialogs.modalScripts.enqueue([](QWidget* w) {
        ASSERT_TRUE(qobject_cast<FImportCsv*>(w));
        EXPECT_EQ(child<QComboBox>(w, QStringLiteral("ComboEncodage"))->currentText(), QStringLiteral("Windows-1252"));
        EXPECT_EQ(labelText(w, QStringLiteral("LabelSeparateur")), QStringLiteral("point-virgule"));
        chooseColumn(w, 2, QStringLiteral("Observations"));
        // Return imports, as in a dialog, and closes the report.
        keyClick(child<QComboBox>(w, QStringLiteral("ComboColonne_2")), Qt::Key_Return);
    });
    f.dialogs.modalScripts.enqueue([](QWidget* w) { keyClick(child<QWidget>(w, QStringLiteral("TextNotes")), Qt::Key_Return); });
    f.trigger("ImportCsv");
    ASSERT_EQ(db()->count(), 1);
    EXPECT_EQ(QStringList({field(1, 3), field(1, 4), field(1, 14), field(1, 7)}),
              QStringList({"HÉBERT", "Cécile", "bleu", "Orléans"}));

    // Without a header, nothing chosen: nothing made, and the user is told why.
    const QString bare = file(QStringLiteral("sans-intitules.csv"));
    writeBytes(bare, "jean@exemple.fr;NOUVEAU;06 12 34 56 78\r\nmarie@exemple.fr;AUTRE;0475000000\r\n");
    f.dialogs.fileAnswers.enqueue(bare);
    f.dialogs.modalScripts.enqueue([](QWidget* w) {
        auto* table = child<QTableWidget>(w, QStringLiteral("TableColonnes"));
        EXPECT_EQ(table->item(0, 0)->text() + table->item(0, 1)->text(), QStringLiteral("Colonne 1jean@exemple.fr"));
        click(child<QPushButton>(w, QStringLiteral("CommandImporter")));
    });
    f.trigger("ImportCsv");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("Aucune colonne n'est reprise : choisissez le champ de fiche que "
                                                      "remplit au moins une colonne."));
    EXPECT_EQ(db()->count(), 1);

    // Out again as a spreadsheet (the bytes of each export are the core's).
    const QString ods = file(QStringLiteral("fiches.ods"));
    f.dialogs.questionAnswers.enqueue(QMessageBox::No);
    f.dialogs.fileAnswers.enqueue(ods);
    f.trigger("ExportOds");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("1 fiche(s) exportée(s) dans « ") + ods + QStringLiteral(" »."));
    EXPECT_TRUE(readBytes(ods).startsWith("PK"));
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

    // Answered "Non": nothing restored; "Oui": opened.
    f.dialogs.fileAnswers << file(made[0]) << file(made[0]);
    f.dialogs.questionAnswers << QMessageBox::No << QMessageBox::Yes;
    f.trigger("Restauration");
    // The chooser starts where the backup went (each kind's last folder is the core's).
    EXPECT_EQ(f.dialogs.fileChoices.last().text.section(u'|', 0, 0), files.path());
    EXPECT_EQ(f.db(), f.program.path() + QStringLiteral("Clients/"));
    f.trigger("Restauration");
    EXPECT_EQ(f.db(), f.program.path() + made[0] + u'/');
    EXPECT_EQ(db()->count(), 1);
    EXPECT_EQ(f.dialogs.lastMessage(), "La sauvegarde est ouverte comme base de données « " + made[0] + " ».");
}
