// Nothing lost by mistake: edits asked about, deletions undone, the trash, recent databases.
#include "core/cards/card_store.h"
#include "gui/cards/trash_window.h"
#include "gui_fixture.h"

#include <QTimer>
#include <QTreeWidget>

using namespace testing_support;

namespace {

class NothingLostTest : public ::testing::Test {
protected:
    GuiFixture f;
    QString db;

    void SetUp() override
    {
        db = f.openWithCards({makeCard("BERNARD", "Yves", 1, 100, 100), makeCard("ARNAUD", "Zoé", 1, 200, 150)});
    }
    FFrance4* openCardWindow() { return f.open<FFrance4>("Voirlesfiches"); }
    CardRecord stored(long long n) const { return CardStore(db).read(n).value(); }
    static QLineEdit* field(QWidget* w, int i) { return child<QLineEdit>(w, QStringLiteral("Text1(%1)").arg(i)); }
};

}  // namespace

TEST_F(NothingLostTest, ClosingACardWithEditsAsksAndEachAnswerDoesWhatItSays)
{
    const QByteArray before = readBytes(db + "lesfiches.dat");
    FFrance4* w = openCardWindow();
    ASSERT_NE(w, nullptr);
    activate(w);
    field(w, 10)->setFocus();
    typeText(field(w, 10), "Rappeler lundi");
    EXPECT_EQ(labelText(w, "StatusLine"), " Modifications non enregistrées.");

    // Annuler: the window stays, nothing written.
    f.dialogs.questionAnswers << QMessageBox::Cancel;
    keyClick(field(w, 10), Qt::Key_Escape);
    ASSERT_EQ(f.dialogs.questions.size(), 1);
    EXPECT_EQ(f.dialogs.questions[0].text, " Enregistrer les modifications de la fiche ? ");
    EXPECT_EQ(f.dialogs.questions[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(readBytes(db + "lesfiches.dat"), before);

    // Non: closed, nothing written.
    f.dialogs.questionAnswers << QMessageBox::No;
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(readBytes(db + "lesfiches.dat"), before);

    // Oui: stored, then closed.
    w = openCardWindow();
    typeText(field(w, 10), "Rappeler lundi");
    f.dialogs.questionAnswers << QMessageBox::Yes;
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(stored(1).field(11).trimmed(), "Rappeler lundi");
    EXPECT_EQ(readBytes(db + "lesfiches.dat").mid(630), before.mid(630));
    // Without edits nothing is asked.
    w = openCardWindow();
    w->close();
    EXPECT_EQ(f.dialogs.questions.size(), 3);
}

TEST_F(NothingLostTest, ArchiveThenDeleteDeletesTheArchivedCardAndCtrlZBringsItBack)
{
    const CardRecord zoe = stored(2);
    FFrance4* w = openCardWindow();
    ASSERT_NE(w, nullptr);
    clickRow(child<CardListView>(w, "List1"), 0);  // ARNAUD Zoé, card 2
    child<QAction>(w, "ArchFfic")->trigger();
    EXPECT_EQ(labelText(w, "Label2"), "2");
    f.dialogs.questionAnswers << QMessageBox::Yes;
    child<QAction>(w, "Supprimer")->trigger();
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), " 1\r\n");
    EXPECT_EQ(stored(1).field(3).trimmed(), "BERNARD");
    EXPECT_TRUE(labelText(w, "StatusLine").contains("Fiche supprimée."));

    activate(w);
    child<CardListView>(w, "List1")->setFocus();
    keyClick(child<CardListView>(w, "List1"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "2\r\n");
    QByteArray archived = zoe.toBytes();
    archived[0] = '0';
    EXPECT_EQ(stored(2).toBytes(), archived);
    EXPECT_EQ(labelText(w, "Label2"), "2");
    // Once only.
    keyClick(child<CardListView>(w, "List1"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "2\r\n");
}

TEST_F(NothingLostTest, TheTrashWindowRestoresPurgesAndEmpties)
{
    FFrance4* card = openCardWindow();
    f.dialogs.questionAnswers << QMessageBox::Yes << QMessageBox::Yes;
    child<QAction>(card, "Supprimer")->trigger();  // BERNARD Yves
    child<QAction>(card, "Supprimer")->trigger();  // ARNAUD Zoé, now card 1
    card->close();
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), " 0\r\n");

    auto* w = f.open<FCorbeille>("Corbeille");
    ASSERT_NE(w, nullptr);
    auto* list = child<QTreeWidget>(w, "List1");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    list->setCurrentItem(list->findItems("BERNARD Yves", Qt::MatchExactly).value(0));
    click(child<QPushButton>(w, "Command1"));
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "1\r\n");
    EXPECT_EQ(stored(1).field(3).trimmed(), "BERNARD");
    ASSERT_EQ(list->topLevelItemCount(), 1);

    f.dialogs.questionAnswers << QMessageBox::No << QMessageBox::Yes;
    click(child<QPushButton>(w, "Command2"));
    EXPECT_EQ(f.dialogs.questions.last().text, " Supprimer définitivement cette fiche de la corbeille ? ");
    EXPECT_EQ(f.dialogs.questions.last().defaultButton, QMessageBox::No);
    EXPECT_EQ(list->topLevelItemCount(), 1);
    click(child<QPushButton>(w, "Command2"));
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "1\r\n");
}

TEST_F(NothingLostTest, RecentDatabasesSurviveARestartAndTheFirstStartSaysWhereToBegin)
{
    const QString opened = db;
    f.main.reset();
    f.main = std::make_unique<FFrance>(f.dialogs, f.launcher, f.program.path());
    QAction* recent = f.main->findChild<QAction*>("Recent1");
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->text().remove(u'&'), opened.chopped(1));
    recent->trigger();
    EXPECT_EQ(f.db(), opened);
    // Reopened at start once asked for.
    f.main->findChild<QAction*>("RouvrirDerniere")->setChecked(true);
    f.main.reset();
    f.main = std::make_unique<FFrance>(f.dialogs, f.launcher, f.program.path());
    EXPECT_EQ(f.db(), opened);
    f.main->findChild<QAction*>("RouvrirDerniere")->setChecked(false);
}

TEST_F(NothingLostTest, APersonsDataIsWrittenThenThePersonErasedForGood)
{
    FFrance4* w = openCardWindow();
    ASSERT_NE(w, nullptr);
    const QString zip = QDir(db + "..").absolutePath() + "/jean.zip";
    f.dialogs.fileAnswers << zip;
    child<QAction>(w, "DonneesPerso")->trigger();
    EXPECT_TRUE(QFile::exists(zip));
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith(" Les données de la fiche sont écrites dans "));

    // Non keeps the card; Oui erases it without the trash (what goes is the core's).
    const QByteArray before = readBytes(db + "lesfiches.dat");
    f.dialogs.questionAnswers << QMessageBox::No;
    child<QAction>(w, "EffacerPersonne")->trigger();
    EXPECT_EQ(f.dialogs.questions.last().defaultButton, QMessageBox::No);
    EXPECT_EQ(readBytes(db + "lesfiches.dat"), before);
    f.dialogs.questionAnswers << QMessageBox::Yes;
    child<QAction>(w, "EffacerPersonne")->trigger();
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), " 1\r\n");
    EXPECT_EQ(f.dialogs.lastMessage(), " La personne est effacée. Aucune sauvegarde connue ne la contient.");
}
