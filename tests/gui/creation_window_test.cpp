// The creation window, from a right click on the map or Ctrl+N, failures included.
#include "core/exchange/card_import.h"
#include "gui/cards/creation_window.h"
#include "gui/map/file_browser_window.h"
#include "gui/widgets/card_form.h"
#include "gui/widgets/photo_frame.h"
#include "gui_fixture.h"

#include <QRadioButton>
#include <QStatusBar>

using namespace testing_support;

namespace {

class CreationWindowTest : public ::testing::Test {
protected:
    GuiFixture f;
    FFrance11* w = nullptr;
    QString db;

    void SetUp() override
    {
        db = f.openWithCards({makeCard("BERNARD", "Yves", 1, 100, 100), makeCard("ARNAUD", "Zoé", 2, 200, 150)});
        writeBytes(f.program.file("DeptCourant.txt"), "\"0\"\r\n");
        QDir(db).mkdir("images");
        QImage blue(40, 40, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        ASSERT_TRUE(blue.save(db + "images/portrait.jpg"));
    }
    void rightClick(int x, int y)
    {
        f.rightClickMap(x, y);
        w = f.shown<FFrance11>();
        ASSERT_NE(w, nullptr);
    }
    QLineEdit* field(int i) const { return child<QLineEdit>(w, QStringLiteral("Text1(%1)").arg(i)); }
    QString number() const { return labelText(w, "Label2"); }
    QString department() const { return child<QComboBox>(w, "Combo1")->currentText(); }
    void validate() { click(child<QPushButton>(w, "Command3")); }
    bool hasPhoto() const { return !child<PhotoFrame>(w, "Picture1")->image().isNull(); }
    // "Incorporer une photo": the browser opens on the images, a click on the portrait, "Enregistrer".
    void addPhoto()
    {
        f.dialogs.modalScripts.enqueue([this](QWidget* b) {
            ASSERT_TRUE(qobject_cast<Ffrance23*>(b)->openFolder(db + "images"));
            ASSERT_TRUE(clickItem(b, "File1", "portrait.jpg"));
            click(child<QPushButton>(b, "Command1"));
        });
        child<QAction>(w, "photo")->trigger();
    }
};

}  // namespace

TEST_F(CreationWindowTest, CreatesTheCardFromTheMapClickAndTheNextStartsEmpty)
{
    rightClick(120, 45);
    EXPECT_EQ(number(), "3");
    EXPECT_EQ(department(), "95 Val-d'Oise");  // the click is on the Val-d'Oise of the Paris inset
    typeText(field(2), "lefèvre");
    typeText(field(3), "Anne");
    typeText(field(4), QString(45, u'r'));
    click(child<QWidget>(w, "Option2"), QPoint(5, 5));
    EXPECT_EQ(field(1)->text(), "Madame");
    addPhoto();
    EXPECT_TRUE(hasPhoto());
    EXPECT_FALSE(QFile::exists(db + "photo3.jpg"));  // written with the card only

    // Choosing department 17 remembers it; a commune fills code and city.
    auto* combo = child<QComboBox>(w, "Combo1");
    const int index = combo->findText("17", Qt::MatchStartsWith);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    EXPECT_EQ(readBytes(f.program.file("DeptCourant.txt")), "\"16\"\r\n");
    ASSERT_TRUE(clickItem(w, "List1", "LA ROCHELLE 17000"));
    click(child<QWidget>(w, "Label9"));  // fifth colour

    validate();
    EXPECT_EQ(f.main->statusBar()->currentMessage(), " Fiche n° 3 enregistrée.");
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "3\r\n");
    const QByteArray records = readBytes(db + "lesfiches.dat");
    ASSERT_EQ(records.size(), 3 * 630);
    EXPECT_EQ(records.mid(2 * 630), "5 120" + QByteArray(17, ' ') + " 45     Madame         LEF\xC8VRE        Anne           "
                                        + QByteArray(40, 'r') + "17000" + QByteArray("LA ROCHELLE").leftJustified(40)
                                        + QByteArray(470, ' '));
    EXPECT_EQ(readBytes(db + "photo3.jpg"), readBytes(db + "images/portrait.jpg"));

    // The next card starts empty, without photo or civility, with the same colour, in the department clicked.
    rightClick(120, 45);
    EXPECT_EQ(number(), "4");
    EXPECT_EQ(w->findChild<CardFormWidget*>()->pin().markerChar(), u'5');
    EXPECT_TRUE(field(2)->text().isEmpty() && field(1)->text().isEmpty());
    EXPECT_FALSE(hasPhoto());
    EXPECT_EQ(department(), "95 Val-d'Oise");
}

TEST_F(CreationWindowTest, GivingUpLeavesNothingAndAFailedCreationKeepsWhatWasTyped)
{
    // After a photo and a debt calculation (which writes the record alone), abandoning is
    // asked first: Non keeps what was typed, Oui leaves and no file, no record stays.
    rightClick(120, 45);
    addPhoto();
    typeText(field(14), "100");
    click(child<QPushButton>(w, "Command2"));
    EXPECT_EQ(readBytes(db + "lesfiches.dat").size(), 3 * 630);
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "2\r\n");
    activate(w);  // back from the file browser
    f.dialogs.questionAnswers << QMessageBox::No << QMessageBox::Yes;
    keyClick(field(2), Qt::Key_Escape);
    EXPECT_EQ(f.dialogs.questions.last().text, " Abandonner la création de cette fiche ? ");
    EXPECT_EQ(f.dialogs.questions.last().defaultButton, QMessageBox::No);
    EXPECT_EQ(field(14)->text(), "100.00");
    keyClick(field(2), Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(readBytes(db + "lesfiches.dat").size(), 2 * 630);
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "2\r\n");
    EXPECT_FALSE(QFile::exists(db + "F3.txt"));
    rightClick(120, 45);
    EXPECT_FALSE(hasPhoto());
    validate();
    EXPECT_FALSE(QFile::exists(db + "photo3.jpg"));
    EXPECT_EQ(f.main->session().database()->count(), 3);

    // A folder in place of the records: said, and the window keeps what was typed.
    ASSERT_TRUE(QFile::remove(db + "lesfiches.dat"));
    ASSERT_TRUE(QDir(db).mkdir("lesfiches.dat"));
    f.dialogs.messages.clear();
    rightClick(120, 45);
    typeText(field(2), "Durand");
    validate();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith("Erreur n° ")) << f.dialogs.lastMessage().toStdString();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(field(2)->text(), "Durand");
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "3\r\n");
    EXPECT_FALSE(QFile::exists(db + "F4.txt"));
}

TEST_F(CreationWindowTest, CtrlNPinsByTheTypedCodeOrWaitsForAClickOnAnotherMap)
{
    // Ctrl+N asks the postal code and pins the card where an import of it would go (the city and department a
    // code gives are the core's).
    ASSERT_EQ(f.action("NouvFiche")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    f.dialogs.inputAnswers.enqueue(QStringLiteral(" 17000 "));
    w = f.open<FFrance11>("NouvFiche");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(field(6)->text(), "LA ROCHELLE");
    EXPECT_EQ(department(), "17 Charente-Maritime");
    EXPECT_EQ(readBytes(f.program.file("DeptCourant.txt")), "\"0\"\r\n");  // a department a code gives is not kept
    QTest::keyClicks(field(2), "MARTIN");
    validate();
    tb::Database* data = f.main->session().database();
    ASSERT_EQ(data->count(), 3);
    EXPECT_EQ(QPointF(data->card(3)->x(), data->card(3)->y()), tb::departmentPoint("17000", 3));

    // On another map the card waits for a click.
    const qsizetype shown = f.dialogs.modals.size();
    QFile::copy(f.program.file("frc.gif"), f.program.file("plan.gif"));
    ASSERT_TRUE(data->setMapPath(f.program.file("plan.gif")));
    f.dialogs.inputAnswers.enqueue(QStringLiteral("69002"));
    f.trigger("NouvFiche");
    EXPECT_EQ(f.dialogs.lastMessage(), " Cliquez sur la carte à l'endroit de la nouvelle fiche.");
    EXPECT_EQ(f.dialogs.modals.size(), shown);
    f.leftClickMap(300, 200);
    w = f.shown<FFrance11>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(field(6)->text(), "LYON");
    QTest::keyClicks(field(2), "PETIT");
    validate();
    ASSERT_EQ(data->count(), 4);
    EXPECT_EQ(QPointF(data->card(4)->x(), data->card(4)->y()), QPointF(300, 200));
}
