// Nothing lost by mistake: unsaved edits asked about on closing, the card
// window staying on an archived card, a deletion undone, the trash window,
// the recent databases, a person's data written before erasing.
#include "core/cards/card_store.h"
#include "gui/cards/trash_window.h"
#include "gui_fixture.h"

#include <QFileInfo>
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
    FFrance4* openCardWindow()
    {
        f.trigger("Voirlesfiches");
        return qobject_cast<FFrance4*>(f.dialogs.lastModal());
    }
    static QLineEdit* field(QWidget* w, int i) { return child<QLineEdit>(w, QStringLiteral("Text1(%1)").arg(i)); }
};

}  // namespace

TEST_F(NothingLostTest, ClosingACardWithEditsAsksAndEachAnswerDoesWhatItSays)
{
    const QByteArray stored = readBytes(db + "lesfiches.dat");
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
    const FakeDialogs::Shown& asked = f.dialogs.questions.last();
    EXPECT_EQ(asked.text, " Enregistrer les modifications de la fiche ? ");
    EXPECT_EQ(asked.icon, QMessageBox::Question);
    EXPECT_EQ(asked.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(asked.defaultButton, QMessageBox::Yes);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(readBytes(db + "lesfiches.dat"), stored);

    // Non: closed, nothing written.
    f.dialogs.questionAnswers << QMessageBox::No;
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(readBytes(db + "lesfiches.dat"), stored);

    // Oui: stored, then closed.
    w = openCardWindow();
    ASSERT_NE(w, nullptr);
    typeText(field(w, 10), "Rappeler lundi");
    f.dialogs.questionAnswers << QMessageBox::Yes;
    w->close();
    EXPECT_FALSE(w->isVisible());
    QByteArray expected = stored;
    const CardRecord one = CardStore(db).read(1).value();
    EXPECT_EQ(one.field(11).trimmed(), "Rappeler lundi");
    expected.replace(0, 630, one.toBytes());
    EXPECT_EQ(readBytes(db + "lesfiches.dat"), expected);
    // Without edits nothing is asked.
    w = openCardWindow();
    w->close();
    EXPECT_EQ(f.dialogs.questions.size(), 3);
}

TEST_F(NothingLostTest, ArchiveThenDeleteDeletesTheArchivedCardAndCtrlZBringsItBack)
{
    const CardRecord zoe = CardStore(db).read(2).value();
    FFrance4* w = openCardWindow();
    ASSERT_NE(w, nullptr);
    clickRow(child<CardListView>(w, "List1"), 0);  // ARNAUD Zoé, card 2
    child<QAction>(w, "ArchFfic")->trigger();
    EXPECT_EQ(labelText(w, "Label2"), "2");
    EXPECT_EQ(labelText(w, "Label5"), "archivée");
    f.dialogs.questionAnswers << QMessageBox::Yes;
    child<QAction>(w, "Supprimer")->trigger();
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), " 1\r\n");
    EXPECT_EQ(CardStore(db).read(1).value().field(3).trimmed(), "BERNARD");
    EXPECT_TRUE(labelText(w, "StatusLine").contains("Fiche supprimée."));
    EXPECT_EQ(child<QTimer>(w, "UndoTimer")->interval(), 10000);

    activate(w);
    child<CardListView>(w, "List1")->setFocus();
    keyClick(child<CardListView>(w, "List1"), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "2\r\n");
    QByteArray archived = zoe.toBytes();
    archived[0] = '0';
    EXPECT_EQ(CardStore(db).read(2).value().toBytes(), archived);
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

    f.trigger("Corbeille");
    auto* w = qobject_cast<FCorbeille*>(f.dialogs.lastModal());
    ASSERT_NE(w, nullptr);
    auto* list = child<QTreeWidget>(w, "List1");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->headerItem()->text(2), "Supprimée le");
    list->setCurrentItem(list->findItems("BERNARD Yves", Qt::MatchExactly).value(0));
    click(child<QPushButton>(w, "Command1"));
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "1\r\n");
    EXPECT_EQ(CardStore(db).read(1).value().field(3).trimmed(), "BERNARD");
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
    EXPECT_TRUE(child<QLabel>(f.main.get(), "MapHint")->text().startsWith(" Pour commencer : menu « Fichier »"));
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
    const QByteArray stored = readBytes(db + "lesfiches.dat");
    f.dialogs.questionAnswers << QMessageBox::No;
    child<QAction>(w, "EffacerPersonne")->trigger();
    EXPECT_EQ(f.dialogs.questions.last().text.section(u'\n', 0, 0),
              " Effacer définitivement cette personne et tout ce qui la concerne ? ");
    EXPECT_EQ(f.dialogs.questions.last().defaultButton, QMessageBox::No);
    EXPECT_EQ(readBytes(db + "lesfiches.dat"), stored);
    f.dialogs.questionAnswers << QMessageBox::Yes;
    child<QAction>(w, "EffacerPersonne")->trigger();
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), " 1\r\n");
    EXPECT_EQ(f.dialogs.lastMessage(), " La personne est effacée. Aucune sauvegarde connue ne la contient.");
}
