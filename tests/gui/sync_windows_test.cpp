// The CardDAV sync's windows: the settings kept, a sync that fails said without losing
// what was typed, the schedule, and a conflict's choices.
#include "core/exchange/contact.h"
#include "gui/app/app_context.h"
#include "gui/sync/conflict_window.h"
#include "gui/sync/sync_window.h"
#include "gui_fixture.h"
#include "radicale_server.h"

#include <QCheckBox>
#include <QSpinBox>
#include <QStatusBar>

using namespace testing_support;

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
