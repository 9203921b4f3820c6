// The "Fichier" entries that take cards in and out, with their matching windows answered; the CardDAV sync's windows.
#include "core/db/database.h"
#include "core/exchange/contact.h"
#include "gui/app/app_context.h"
#include "gui/exchange/csv_import_window.h"
#include "gui/exchange/duplicate_window.h"
#include "gui/exchange/import_report_window.h"
#include "gui/sync/conflict_window.h"
#include "gui/sync/sync_window.h"
#include "gui_fixture.h"
#include "radicale_server.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStatusBar>
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

// The CardDAV sync's windows: the settings kept, a sync that fails said without losing
// what was typed, the schedule, and a conflict's choices.
TEST(SyncWindows, SettingsAreKeptAndAFailedSyncIsSaidWithNothingTypedLost)
{
    GuiFixture f;
    f.openWithCards({makeCard("DURAND", "Paul", 3, 100, 100)});
    // Port 1 on the loopback: nothing listens there.
    const QString server = QStringLiteral("http://127.0.0.1:1/");
    f.dialogs.modalScripts.enqueue([&](QWidget* w) {
        typeText(child<QLineEdit>(w, "Text1"), server);
        typeText(child<QLineEdit>(w, "Text2"), QStringLiteral("marie"));
        typeText(child<QLineEdit>(w, "Text3"), QStringLiteral("secret"));
        child<QCheckBox>(w, "Check1")->setChecked(true);
        child<QCheckBox>(w, "Check2")->setChecked(true);
        child<QSpinBox>(w, "Text4")->setValue(5);
        click(child<QPushButton>(w, "Command3"));
        EXPECT_EQ(child<QLineEdit>(w, "Text1")->text(), server);
        EXPECT_EQ(child<QLineEdit>(w, "Text3")->text(), QStringLiteral("secret"));
        EXPECT_TRUE(labelText(w, "Label1").startsWith(QStringLiteral("Erreur de synchronisation : ")));
        EXPECT_TRUE(child<QPushButton>(w, "Command3")->isEnabled());
        click(child<QPushButton>(w, "Command5"));
    });
    f.trigger("Synchro");
    ASSERT_FALSE(f.dialogs.messages.isEmpty());
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith(QStringLiteral("Erreur de synchronisation : ")))
        << f.dialogs.lastMessage().toStdString();
    EXPECT_TRUE(labelText(f.main.get(), "SyncStatus").startsWith(QStringLiteral("Erreur de synchronisation : ")));
    auto* timer = f.main->findChild<QTimer*>(QStringLiteral("SyncTimer"));
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 5 * 60 * 1000);

    // A timed sync tells nothing in a box: the status says it.
    const qsizetype told = f.dialogs.messages.size();
    QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
    EXPECT_EQ(f.dialogs.messages.size(), told);

    // Opened again, and after the database is opened again, it shows what was kept.
    f.openDatabase(f.db());
    f.dialogs.modalScripts.enqueue([&](QWidget* w) {
        EXPECT_EQ(child<QLineEdit>(w, "Text1")->text(), server);
        EXPECT_EQ(child<QLineEdit>(w, "Text2")->text(), QStringLiteral("marie"));
        EXPECT_TRUE(child<QCheckBox>(w, "Check1")->isChecked());
        EXPECT_EQ(child<QSpinBox>(w, "Text4")->value(), 5);
        EXPECT_TRUE(labelText(w, "Label1").startsWith(QStringLiteral("Erreur de synchronisation : ")));
        // A change not kept is asked about before the window goes.
        typeText(child<QLineEdit>(w, "Text2"), QStringLiteral("x"));
        f.dialogs.questionAnswers.enqueue(QMessageBox::No);
        w->close();
    });
    f.trigger("Synchro");
    ASSERT_FALSE(f.dialogs.questions.isEmpty());
    EXPECT_EQ(f.dialogs.questions.last().text, QStringLiteral("Enregistrer les réglages de synchronisation ?"));
}

TEST(SyncWindows, AConflictIsKeptOnOneSideForAllOrLeftForLater)
{
    GuiFixture f;
    f.openWithCards({makeCard("DURAND", "Paul", 3, 100, 100)});
    AppContext ctx{f.main->session(), f.dialogs, f.launcher};
    const CardRecord here = makeCard("DURAND", "Paul", 3, 100, 100, "17000", "La Rochelle");
    const CardRecord there = makeCard("DURAND", "Paul", 3, 100, 100, "69001", "Lyon");
    const QStringList captions = tb::exchangeCaptions(f.main->session().database()->captions());
    auto* w = new FConflits(ctx, f.main.get());

    // The server's for all, in the real modal loop.
    w->setConflict({1, here, there}, captions);
    EXPECT_TRUE(labelText(w, "LabelServeur").contains(QStringLiteral("Lyon")));
    runInRealModalLoop(w, [w] {
        child<QCheckBox>(w, "CheckTous")->setChecked(true);
        click(child<QPushButton>(w, "Command2"));
    });
    EXPECT_EQ(w->decision().choice, tb::ConflictChoice::KeepThere);
    EXPECT_TRUE(w->decision().forAll);

    // A merge field by field goes through the window in the sync below; "Décider plus tard" decides nothing.
    w->setConflict({1, here, there}, captions);
    click(child<QPushButton>(w, "Command4"));
    EXPECT_EQ(w->decision().choice, tb::ConflictChoice::Undecided);
}

TEST(SyncWindows, ACardGoesToTheServerAndAContactChangedOnBothSidesIsAskedAbout)
{
    TB_START_RADICALE(server, true);  // TLS on a certificate of its own
    const QUrl book = server.createAddressBook(QStringLiteral("marie"), QStringLiteral("secret"));
    ASSERT_FALSE(book.isEmpty());
    GuiFixture f;
    f.openWithCards({makeCard("DURAND", "Paul", 3, 100, 100, "17000", "La Rochelle")});
    // conflicts: the script of the conflict window, shown by the sync.
    const auto syncFromWindow = [&](bool typeSettings, std::function<void(QWidget*)> conflicts = {}) {
        f.dialogs.modalScripts.enqueue([&, typeSettings](QWidget* w) {
            if (typeSettings) {
                // As a new user types it: the server, then the book found there.
                typeText(child<QLineEdit>(w, "Text1"), server.url().toString());
                typeText(child<QLineEdit>(w, "Text2"), QStringLiteral("marie"));
            }
            typeText(child<QLineEdit>(w, "Text3"), QStringLiteral("secret"));
            if (typeSettings) {
                click(child<QPushButton>(w, "Command1"));
                EXPECT_EQ(child<QComboBox>(w, "Combo1")->currentData().toUrl(), book);
            }
            click(child<QPushButton>(w, "Command3"));
            // Again, the window still open: nothing new is sent.
            if (typeSettings)
                click(child<QPushButton>(w, "Command3"));
            w->close();
        });
        if (conflicts)
            f.dialogs.modalScripts.enqueue(conflicts);
        f.trigger("Synchro");
    };
    // The certificate is shown by its fingerprint, and "Oui" accepts it.
    f.dialogs.questionAnswers.enqueue(QMessageBox::Yes);
    syncFromWindow(true);
    ASSERT_EQ(f.dialogs.questions.size(), 1);
    const QString fingerprint = server.certificateSha256().toUpper();
    EXPECT_TRUE(f.dialogs.questions[0].text.contains(fingerprint.left(2) + u':' + fingerprint.mid(2, 2)));
    const QString status = labelText(f.main.get(), "SyncStatus");
    EXPECT_TRUE(status.startsWith(QStringLiteral(" Dernière synchronisation : "))) << status.toStdString();
    EXPECT_TRUE(status.contains(QStringLiteral("0 envoyée(s), 0 reçue(s)"))) << status.toStdString();

    // A phone moves the contact to Lyon while the mobile is typed here.
    RawHttp phone(QStringLiteral("marie"), QStringLiteral("secret"), server.certificateSha256());
    const tb::CardDavState state = tb::readCardDavState(f.db()).value();
    ASSERT_EQ(state.cards.size(), 1u);
    const QUrl href = server.url().resolved(QUrl(state.cards[0].href));
    const RawHttp::Reply there = phone.get(href);
    ASSERT_EQ(there.status, 200);
    QByteArray moved = there.body;
    moved.replace("La Rochelle", "Lyon");
    ASSERT_EQ(phone.put(href, moved, there.etag).status / 100, 2);
    tb::Database* db = f.main->session().database();
    CardRecord here = *db->card(1);
    here.field(tb::kFieldMobile) = tb::padField(QStringLiteral("06 12 34 56 78"), 15);
    ASSERT_TRUE(db->storeCard(1, here).ok());

    syncFromWindow(false, [](QWidget* w) {
        EXPECT_EQ(w->objectName(), QStringLiteral("FConflits"));
        EXPECT_TRUE(labelText(w, "LabelServeur").contains(QStringLiteral("Lyon")));
        child<QComboBox>(w, "Combo1(7)")->setCurrentIndex(1);
        click(child<QPushButton>(w, "Command3"));
    });
    EXPECT_EQ(db->card(1)->field(tb::kFieldCity).trimmed(), QStringLiteral("Lyon"));
    EXPECT_EQ(db->card(1)->field(tb::kFieldMobile).trimmed(), QStringLiteral("06 12 34 56 78"));
    EXPECT_TRUE(labelText(f.main.get(), "SyncStatus").contains(QStringLiteral("0 en conflit")));
    EXPECT_EQ(f.dialogs.questions.size(), 1);  // the certificate is not asked about again

    // Timed syncs, the window gone: the password typed once serves, until a 401.
    f.openDatabase(f.db());
    auto* timer = f.main->findChild<QTimer*>(QStringLiteral("SyncTimer"));
    const auto timedSync = [&] {
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
        return labelText(f.main.get(), "SyncStatus");
    };
    EXPECT_TRUE(timedSync().startsWith(QStringLiteral(" Dernière synchronisation : ")));
    EXPECT_TRUE(f.dialogs.inputs.isEmpty());
    server.addUser(QStringLiteral("marie"), QStringLiteral("nouveau"));
    EXPECT_TRUE(timedSync().endsWith(QStringLiteral("(401).")));
    f.dialogs.inputAnswers.enqueue(QStringLiteral("nouveau"));
    EXPECT_TRUE(timedSync().startsWith(QStringLiteral(" Dernière synchronisation : ")));
    timedSync();
    EXPECT_EQ(f.dialogs.inputs.size(), 1);
}
