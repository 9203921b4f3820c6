// The "Fichier" entries that take cards in and out, with their matching windows answered; the CardDAV sync's
// windows; the list window and a selection in it.
#include "core/base/codepage.h"
#include "core/cards/card_store.h"
#include "core/db/database.h"
#include "core/exchange/contact.h"
#include "core/lists/card_lists.h"
#include "core/lists/list_page_layout.h"
#include "core/mail/sender_address.h"
#include "gui/app/app_context.h"
#include "gui/exchange/csv_import_window.h"
#include "gui/exchange/duplicate_window.h"
#include "gui/exchange/import_report_window.h"
#include "gui/lists/search_box.h"
#include "gui/mail/envelopes_window.h"
#include "gui/mail/labels_window.h"
#include "gui/mail/sender_window.h"
#include "gui/sync/conflict_window.h"
#include "gui/sync/sync_window.h"
#include "gui_fixture.h"
#include "radicale_server.h"
#include "support/list_rows.h"

#include <QApplication>
#include <QCheckBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>

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

// The list window through the real menus: lists, searches, opening a card, printing, exports.

class ListWindowTest : public ::testing::Test {
protected:
    GuiFixture f;

    FFrance3* listShown() { return f.shown<FFrance3>(); }
    FFrance4* cardShown() { return f.shown<FFrance4>(); }
    static CardListView* view(QWidget* w) { return child<CardListView>(w, "List1"); }
    QString count() const { return labelText(f.window<FFrance3>(), "NbFiches"); }
    // Runs the search of that menu entry with the answer (nullopt: Cancel; none: the default answer).
    QList<long long> search(const char* entry, std::optional<std::optional<QString>> answer = std::nullopt)
    {
        if (answer)
            f.dialogs.inputAnswers.enqueue(*answer);
        f.trigger(entry);
        return listShown() ? rowNumbers(view(listShown())) : QList<long long>{-1};
    }
};

TEST_F(ListWindowTest, SortedListsCountTheirCardsAndALineOpensItsCard)
{
    f.openWithCards({makeCard("VINCENT", "Véronique", 1, 1, 1, "75001", "Paris"),
                     makeCard("VINCENT", "Véronique", 2, 1, 1, "13001", "Marseille"),
                     makeCard("AUBERT", "Anne", 0, 1, 1, "06000", "Nice")});
    f.trigger("alpha");
    FFrance3* w = listShown();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(rowNumbers(view(w)), (QList<long long>{2, 1}));
    // Each line's tip and the count line are the core's.
    EXPECT_FALSE(view(w)->model()->index(0, 0).data(Qt::ToolTipRole).toString().isEmpty());
    EXPECT_EQ(count(), QStringLiteral(" 2 fiches — ordre alphabétique"));

    clickRow(view(w), 0);
    FFrance4* card = cardShown();
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(labelText(card, "Label2"), QStringLiteral("2"));

    // The archived list replaces the lines in the same window.
    f.trigger("FicArch");
    ASSERT_EQ(listShown(), w);
    EXPECT_EQ(count(), QStringLiteral(" 1 fiche — archives"));
    EXPECT_EQ(rowNumbers(view(w)), (QList<long long>{3}));
    // "Voir les fiches" opens card 1 in the same window.
    f.trigger("Voirlesfiches");
    ASSERT_EQ(cardShown(), card);
    EXPECT_EQ(labelText(card, "Label2"), QStringLiteral("1"));

    // Only a line opens a card; the keyboard too (Escape is every secondary window's, as the card window's test shows).
    f.trigger("alpha");
    activate(w);
    CardListView* list = view(w);
    f.dialogs.messages.clear();
    const qsizetype modals = f.dialogs.modals.size();
    click(list->viewport(), QPoint(5, list->viewport()->height() - 3));
    EXPECT_EQ(f.dialogs.modals.size(), modals);
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].text, QStringLiteral("Erreur! aucune fiche sur cette ligne !"));
    ASSERT_EQ(list->currentIndex().row(), 0);
    keyClick(list, Qt::Key_Down);
    keyClick(list, Qt::Key_Return);
    EXPECT_EQ(labelText(cardShown(), "Label2"), QStringLiteral("1"));  // the second line
}

TEST_F(ListWindowTest, AnEmptyDatabaseSaysSoForEveryListAndExport)
{
    f.createDatabase();
    f.dialogs.inputs.clear();
    const char* entries[] = {"alpha", "villes", "CPostaux", "FicArch", "Voirlesfiches", "Rechnom", "export", "Adresses", "mail"};
    for (const char* name : entries)
        f.trigger(name);
    EXPECT_EQ(f.dialogs.messages.size(), 10);
    for (const auto& shown : f.dialogs.messages.mid(1))
        EXPECT_EQ(shown.text, QStringLiteral(" Il n'y a aucune fiche dans la base de données !"));
    EXPECT_TRUE(f.dialogs.modals.isEmpty() && f.dialogs.inputs.isEmpty());
    EXPECT_FALSE(QFile::exists(f.db() + "export.txt"));
    f.trigger("octets");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("0 fiche(s)"));
}

TEST_F(ListWindowTest, TheSearchesAskTheirQuestionAndTheExportsWriteTheirFiles)
{
    // Card 1 holds the default answer, archived; card 2 is in capitals.
    f.openWithCards({withFields(makeCard("Lavenu", "Paul", 0, 10, 10, "17340", "Châtelaillon-plage"), {{8, "0512345678"}}),
                     withFields(makeCard("LAVENU", "Anne", 1, 10, 10, "17000", "CHATELAILLON-PLAGE"), {{8, "05 12 34 56 78"}})});
    f.dialogs.inputs.clear();
    f.dialogs.messages.clear();
    // What each answer matches is the core's. Cancel lists every card; nothing found shows the window empty, no
    // earlier line, no message.
    using N = QList<long long>;
    EXPECT_EQ(search("Rechnom"), N{1});
    EXPECT_EQ(search("Rechcp1", std::optional<QString>()), (N{2, 1}));
    EXPECT_EQ(search("Rechtelf", QStringLiteral("05 12")), N{2});
    EXPECT_EQ(search("rechtelp", QStringLiteral("07")), N{});
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    // Exports (their bytes are the core's): only the text export reports; no word processor chosen,
    // the desktop's own opens the addresses.
    f.trigger("export");
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].text, " Le fichier EXPORT a été créé sous " + f.db()
                                              + "export.txt. il peut être repris notamment par Microsoft Access");
    EXPECT_EQ(readBytes(f.db() + "export.txt").size(), 2 * 621);
    f.trigger("Adresses");
    EXPECT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(readBytes(f.db() + "adresses.txt").contains("\r\n17340 " + tb::toCp1252(tb::padField("Châtelaillon-plage", 40))));
    EXPECT_EQ(f.launcher.documents, QStringList{f.db() + "adresses.txt"});
}

TEST_F(ListWindowTest, PrintsArePreviewedFirstAndTheChoicesMadeAreOfferedAgain)
{
    f.openWithCards({makeCard("DUPONT", "Jean", 1, 1, 1, "75001", "Paris"),
                     makeCard("MARTIN", "Zoé", 1, 1, 1, "13001", "Marseille")});
    f.trigger("villes");
    QAction* print = child<QAction>(listShown(), "Imprim3");
    QTemporaryDir dir;
    // A cancelled printer choice prints nothing; cancelled at the preview, the pages were shown, nothing printed.
    f.dialogs.printToPdf = dir.filePath("annule.pdf");
    f.dialogs.printerAccepted = false;
    print->trigger();
    f.dialogs.printerAccepted = true;
    f.dialogs.previewAnswers.enqueue(false);
    print->trigger();
    EXPECT_EQ(f.dialogs.previews, 1);
    EXPECT_FALSE(QFile::exists(f.dialogs.printToPdf));
    const QString shown = pdfText(f.dialogs.previewPdf);
    EXPECT_TRUE(shown.startsWith(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")))) << shown.toStdString();

    // Printed from the preview: what was shown. Cancelled font and colour choices keep the defaults.
    f.dialogs.printToPdf = dir.filePath("liste.pdf");
    f.dialogs.fontAnswers.enqueue(std::nullopt);
    f.dialogs.colorAnswers.enqueue(std::nullopt);
    print->trigger();
    // Its pages and their font are the core's.
    EXPECT_EQ(pdfText(f.dialogs.printToPdf), pdfText(f.dialogs.previewPdf));
    const QFont first = f.dialogs.fontsOffered.last();

    // The font, size and colour chosen are offered again, in another list too.
    QFont chosen = first;
    chosen.setPointSize(first.pointSize() + 5);
    chosen.setBold(true);
    chosen.setItalic(true);
    f.dialogs.fontAnswers.enqueue(chosen);
    f.dialogs.colorAnswers.enqueue(QColor(200, 0, 0));
    print->trigger();
    f.trigger("alpha");
    print->trigger();
    const QFont offered = f.dialogs.fontsOffered.last();
    EXPECT_EQ(offered.pointSize(), first.pointSize() + 5);
    EXPECT_TRUE(offered.bold() && offered.italic());
    EXPECT_EQ(f.dialogs.colorsOffered.last(), QColor(200, 0, 0));
}

// A long list: its first screen at once, and no change of cards lost while the rest is sorted.
TEST(ListFillsWhileCardsChange, FirstScreenAtOnceAndNoChangeLost)
{
    GuiFixture f;
    std::vector<CardRecord> cards;
    for (int i = 0; i < 30000; ++i)
        cards.push_back(makeCard(QStringLiteral("NOM%1").arg((i * 7919) % 30000, 5, 10, QLatin1Char('0')),
                                 QStringLiteral("Prénom"), i % 10 == 0 ? 0 : 1, 1, 1, "75001", "Paris"));
    const QString folder = f.openWithCards(cards);
    tb::Database* db = f.main->session().database();

    for (int round = 0; round < 2; ++round) {
        auto* w = f.open<FFrance3>("alpha");
        ASSERT_NE(w, nullptr);
        auto* view = child<CardListView>(w, "List1");
        ASSERT_TRUE(view->cards()->filling()) << round;
        // The first lines are there, in their final order, and the keyboard moves.
        const QList<long long> first = rowNumbers(view);
        ASSERT_GE(first.size(), 200);
        EXPECT_EQ(view->currentIndex().row(), 0);
        keyClick(view, Qt::Key_Down);
        EXPECT_EQ(view->currentIndex().row(), 1);
        const long long current = first[1];

        // Changes while the rest is sorted: a card comes first, one is archived, one created; in the second round one
        // is deleted (cards renumbered: the list is made again).
        CardRecord moved = db->card(first[5]).value();
        moved.fields[2] = QStringLiteral("AAAA");
        ASSERT_TRUE(db->storeCard(first[5], moved));
        ASSERT_TRUE(db->setArchived(first[3], true));
        ASSERT_TRUE(db->createCard(makeCard("ZZZZ", "", 1, 1, 1)));
        if (round == 1)
            ASSERT_TRUE(db->deleteCard(first[7]));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !view->cards()->filling(); }, 60000));

        const CardStore store(folder);
        const std::vector<long long> sorted =
            listNumbers(*tb::buildCardList(store, store.readCount().value, tb::ListKind::Alphabetical));
        const QList<long long> expected(sorted.begin(), sorted.end());
        EXPECT_EQ(rowNumbers(view), expected) << round;
        EXPECT_EQ(view->cards()->numberAt(0), round == 0 ? first[5] : expected[0]);
        // The line chosen stays the current one.
        EXPECT_EQ(view->cards()->numberAt(view->currentIndex().row()), current) << round;
        w->hide();
    }
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
}

// The preview every print shows first: its pages, printed only when asked.
TEST(PrintPreview, ThePreviewWindowShowsThePagesAndPrintsOnlyWhenAsked)
{
    QtDialogs dialogs;
    QTemporaryDir dir;
    for (const bool printIt : {true, false}) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("apercu.pdf")));
        QString title, pages;
        // The real modal loop, answered as a user would once the pages show.
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            QWidget* preview = QApplication::activeModalWidget();
            auto* count = child<QLabel>(preview, QStringLiteral("NbPages"));
            if (!count || count->text().isEmpty())
                return;
            answer.stop();
            title = preview->windowTitle();
            pages = count->text();
            click(child<QPushButton>(preview, printIt ? QStringLiteral("Imprimer") : QStringLiteral("Annuler")));
        });
        answer.start(20);
        const bool chosen = dialogs.previewPrint(printer, [](QPrinter& onto) {
            QPainter painter(&onto);
            painter.drawText(100, 100, QStringLiteral("page un"));
            onto.newPage();
            painter.drawText(100, 100, QStringLiteral("page deux"));
        });
        EXPECT_EQ(chosen, printIt);
        EXPECT_EQ(title, QStringLiteral("Aperçu avant impression"));
        EXPECT_EQ(pages, QStringLiteral("2 pages"));
        EXPECT_FALSE(QFile::exists(printer.outputFileName()));  // the preview itself writes nothing
    }
}

// Acting on several cards selected in the list window.
TEST(SelectionFlow, KeyboardSelectionPrintsLabelsMailsArchivesAndKeepsTheListBehindTheCard)
{
    GuiFixture f;
    f.openWithCards({makeCard("BERNARD", "Anne", 1, 10, 10, "17000", "La Rochelle"),
                     withFields(makeCard("ALBERT", "Paul", 1, 10, 10, "17340", "Yves"), {{10, "paul@exemple.fr"}}),
                     withFields(makeCard("DURAND", "Zoé", 1, 10, 10, "17000", "La Rochelle"),
                                {{5, "12 boulevard de la Grande Armée, bât. C2"}}),
                     withFields(makeCard("CHARLES", "Marc", 1, 10, 10, "75001", "Paris"), {{10, "marc@exemple.fr"}}),
                     makeCard("EVRARD", "Luc", 1, 10, 10, "13001", "Marseille")});
    f.dialogs.messages.clear();
    auto* w = f.open<FFrance3>("alpha");
    ASSERT_NE(w, nullptr);
    auto* list = child<CardListView>(w, "List1");
    activate(w);
    list->setFocus();
    // ALBERT BERNARD CHARLES DURAND EVRARD: from BERNARD, two more with Shift.
    keyClick(list, Qt::Key_Down);
    keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(w->selectedCards(), (QList<long long>{1, 4, 3}));

    // Return opens the current card; the list stays open behind it, selection kept.
    keyClick(list, Qt::Key_Return);
    auto* card = f.shown<FFrance4>();
    ASSERT_NE(card, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->selectedCards(), (QList<long long>{1, 4, 3}));
    card->hide();

    // Ctrl+A, then labels on L7160 from the second label, to PDF through the preview.
    activate(w);
    list->setFocus();
    keyClick(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w->selectedCards().size(), 5);
    w->findChild<QAction*>("SelEtiquettes")->trigger();
    auto* labels = f.shown<FEtiquettes>();
    ASSERT_NE(labels, nullptr);
    EXPECT_TRUE(child<QRadioButton>(labels, "Option1")->isChecked());
    child<QComboBox>(labels, "Combo1")->setCurrentIndex(0);
    child<QSpinBox>(labels, "Text2")->setValue(2);
    QTemporaryDir out;
    f.dialogs.printToPdf = out.filePath("etiquettes.pdf");
    click(child<QPushButton>(labels, "Command1"));
    ASSERT_EQ(f.dialogs.questions.size(), 1);  // the cut line said before printing
    EXPECT_TRUE(f.dialogs.questions[0].text.startsWith("1 remarque(s)")) << f.dialogs.questions[0].text.toStdString();
    EXPECT_TRUE(child<QPlainTextEdit>(labels, "Text1")->toPlainText().startsWith("Fiche n° 3 : « 12 boulevard"));
    EXPECT_EQ(f.dialogs.previews, 1);
    const QString text = pdfText(f.dialogs.printToPdf);
    EXPECT_TRUE(text.contains("Paul ALBERT") && text.contains("Luc EVRARD")) << text.toStdString();
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
    labels->hide();

    // One message to the addresses in blind copy; the cards without one said.
    w->findChild<QAction*>("SelCourrier")->trigger();
    ASSERT_EQ(f.launcher.urls.size(), 1);
    EXPECT_EQ(f.launcher.urls[0].toString(), "mailto:?bcc=paul@exemple.fr,marc@exemple.fr");
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith(" 3 fiche(s) sans adresse électronique"));

    // "Lettres…" goes to the main window.
    w->findChild<QAction*>("SelLettres")->trigger();
    EXPECT_TRUE(std::ranges::any_of(QApplication::topLevelWidgets(), [](QWidget* t) { return t->inherits("FEnvoiLettres"); }));

    // The first two lines archived (asked once; which cards a selection's command takes is the core's): they leave
    // the list.
    keyClick(list, Qt::Key_Home);
    keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    f.dialogs.questionAnswers.enqueue(QMessageBox::Yes);
    w->findChild<QAction*>("SelArchiver")->trigger();
    EXPECT_EQ(f.dialogs.questions.last().text, "Archiver les 2 fiche(s) sélectionnée(s) ?");
    EXPECT_EQ(f.dialogs.lastMessage(), " 2 fiche(s) archivée(s).");
    EXPECT_EQ(rowNumbers(list), (QList<long long>{4, 3, 5}));

    // The sender kept from "Outils", shown and printed by "Enveloppes".
    auto* sender = f.open<FExpediteur>("Expediteur");
    ASSERT_NE(sender, nullptr);
    child<QPlainTextEdit>(sender, "Text1")->setPlainText("TABULON SARL\n1 rue Haute\n17000 LA ROCHELLE");
    click(child<QPushButton>(sender, "Command1"));
    EXPECT_FALSE(sender->isVisible());
    EXPECT_EQ(tb::readSenderAddress(f.program.path()).size(), 3);
    w->findChild<QAction*>("SelEnveloppes")->trigger();
    auto* envelopes = f.shown<FEnveloppes>();
    ASSERT_NE(envelopes, nullptr);
    EXPECT_EQ(labelText(envelopes, "Label1"), "TABULON SARL\n1 rue Haute\n17000 LA ROCHELLE");
    child<QCheckBox>(envelopes, "Check2")->setChecked(true);
    f.dialogs.printToPdf = out.filePath("enveloppes.pdf");
    click(child<QPushButton>(envelopes, "Command1"));
    EXPECT_EQ(pdfText(f.dialogs.printToPdf).count("TABULON SARL"), 3);  // the whole list of three
}

TEST(SelectionFlow, TheSearchBoxShowsEveryCardFoundInTheListWindow)
{
    GuiFixture f;
    std::vector<CardRecord> cards;
    for (int k = 0; k < SearchBox::kShownLines + 20; ++k)
        cards.push_back(makeCard(QStringLiteral("NOM%1").arg(k), "Anne", 1, 10, 10, "17000", "La Rochelle"));
    cards.push_back(makeCard("AUTRE", "Paul", 1, 10, 10, "75001", "Paris"));
    f.openWithCards(cards);
    auto* box = f.main->findChild<QLineEdit*>("Recherche");
    box->setText("rochelle");
    click(f.main->findChild<QPushButton*>("AfficherListe"));
    auto* w = f.shown<FFrance3>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->listedCards().size(), SearchBox::kShownLines + 20);
    EXPECT_TRUE(box->text().isEmpty());
}

}  // namespace
