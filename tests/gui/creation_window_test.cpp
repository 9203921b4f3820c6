// The creation window opened by a right click on the map: typing a card,
// department and commune, pin colour, photo, debt calculation, validation,
// failures and closing.
#include "core/cards/card_store.h"
#include "core/map/pins.h"
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
    }

    // A right click at (120, 45) of the map, as the user does.
    FFrance11* openAt120x45()
    {
        f.rightClickMap(120, 45);
        return qobject_cast<FFrance11*>(f.dialogs.lastModal());
    }
    QLineEdit* field(int i) const { return child<QLineEdit>(w, QStringLiteral("Text1(%1)").arg(i)); }
    QPushButton* button(const char* name) const { return child<QPushButton>(w, name); }
    QString number() const { return labelText(w, "Label2"); }

    // "Incorporer une photo": the browser opens on folder, a click on file, "Enregistrer".
    void addPhoto(const QString& folder, const QString& file)
    {
        f.dialogs.modalScripts.enqueue([folder, file](QWidget* b) {
            ASSERT_NE(qobject_cast<Ffrance23*>(b), nullptr);
            ASSERT_TRUE(qobject_cast<Ffrance23*>(b)->openFolder(folder));
            ASSERT_TRUE(clickItem(b, "File1", file));
            click(child<QPushButton>(b, "Command1"));
        });
        child<QAction>(w, "photo")->trigger();
    }
};

}  // namespace

TEST_F(CreationWindowTest, CreatesTheCardFromTheMapClickAndTheNextStartsEmpty)
{
    writeBytes(f.program.file("DeptCourant.txt"), "\"0\"\r\n");
    QDir(db).mkdir("images");
    QImage blue(40, 40, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    ASSERT_TRUE(blue.save(db + "images/portrait.jpg"));
    w = openAt120x45();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(labelText(w, "Label3"), "Création d'une fiche");
    EXPECT_EQ(number(), "3");
    // The click is on the Val-d'Oise of the Paris inset.
    auto* combo = child<QComboBox>(w, "Combo1");
    EXPECT_EQ(combo->currentText(), "95 Val-d'Oise");

    typeText(field(2), "lefèvre");
    typeText(field(3), "Anne");
    typeText(field(4), QString(45, u'r'));
    click(child<QWidget>(w, "Option2"), QPoint(5, 5));
    EXPECT_EQ(field(1)->text(), "Madame");
    addPhoto(db + "images", "portrait.jpg");
    EXPECT_FALSE(child<PhotoFrame>(w, "Picture1")->image().isNull());
    EXPECT_FALSE(QFile::exists(db + "photo3.jpg"));  // written with the card only

    // Choosing department 17 remembers it; a commune fills code and city.
    const int index = combo->findText("17", Qt::MatchStartsWith);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    EXPECT_EQ(readBytes(f.program.file("DeptCourant.txt")), "\"16\"\r\n");
    ASSERT_TRUE(clickItem(w, "List1", "LA ROCHELLE 17000"));
    EXPECT_EQ(field(5)->text(), "17000");
    EXPECT_EQ(field(6)->text(), "LA ROCHELLE");

    click(child<QWidget>(w, "Label9"));  // fifth colour
    EXPECT_EQ(f.main->session().marker(), 5);

    click(button("Command3"));
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(f.main->statusBar()->currentMessage(), " Fiche n° 3 enregistrée.");
    EXPECT_EQ(f.main->session().database()->count(), 3);
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "3\r\n");
    const QByteArray records = readBytes(db + "lesfiches.dat");
    ASSERT_EQ(records.size(), 3 * 630);
    EXPECT_EQ(records.mid(2 * 630), "5 120" + QByteArray(17, ' ') + " 45     Madame         LEF\xC8VRE        Anne           "
                                        + QByteArray(40, 'r') + "17000" + QByteArray("LA ROCHELLE").leftJustified(40)
                                        + QByteArray(470, ' '));
    for (const char* name : {"F3.xls", "F3.txt", "R3.txt", "I3.txt", "M3.txt"})
        EXPECT_TRUE(QFile::exists(db + name)) << name;
    EXPECT_EQ(readBytes(db + "photo3.jpg"), readBytes(db + "images/portrait.jpg"));
    EXPECT_EQ(f.main->mapImage().pixelColor(130, 45), tb::pinColor(5));  // the new pin, light yellow

    // The next card starts empty, without photo or civility, with the same colour, in the department clicked.
    EXPECT_EQ(openAt120x45(), w);
    EXPECT_EQ(number(), "4");
    EXPECT_EQ(w->findChild<CardFormWidget*>()->pin().markerChar(), u'5');
    EXPECT_TRUE(field(2)->text().isEmpty());
    EXPECT_TRUE(field(1)->text().isEmpty());
    EXPECT_TRUE(child<PhotoFrame>(w, "Picture1")->image().isNull());
    for (const char* name : {"Option1", "Option2", "Option3"})
        EXPECT_FALSE(child<QRadioButton>(w, name)->isChecked()) << name;
    EXPECT_EQ(combo->currentText(), "95 Val-d'Oise");
}

TEST_F(CreationWindowTest, DebtCalculationWritesOnlyTheRecord)
{
    w = openAt120x45();
    ASSERT_NE(w, nullptr);
    const QStringList typed{"100", "20.5", "0", "", "50"};
    for (int k = 0; k < 5; ++k)
        typeText(field(14 + k), typed[k]);
    click(button("Command2"));
    const QStringList expected{"100.00", "20.50", ".00", "120.50", "50.00", "70.50"};
    const CardRecord card = CardStore(db).read(3).value();
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(field(14 + k)->text(), expected[k]);
        EXPECT_EQ(card.field(15 + k).trimmed(), expected[k]);
    }
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "2\r\n");
    EXPECT_FALSE(QFile::exists(db + "F3.txt"));
}

TEST_F(CreationWindowTest, TabFollowsTheReadingOrderEscapeStoresNothingAndNoNumberIsRefused)
{
    w = openAt120x45();
    ASSERT_NE(w, nullptr);
    activate(w);
    EXPECT_EQ(w->focusWidget()->objectName(), "Option1");  // the first in reading order
    EXPECT_EQ(tabFrom(w, "Option1"), "Text1(1)");
    EXPECT_EQ(tabFrom(w, "Text1(9)"), "Combo1");
    EXPECT_EQ(tabFrom(w, "Combo1"), "List1");
    EXPECT_EQ(tabFrom(w, "List1"), "Text1(10)");
    EXPECT_EQ(tabFrom(w, "Text1(19)"), "Label5");
    EXPECT_EQ(tabFrom(w, "Label11"), "Command2");

    w->prepare(0, tb::PinField(u'3', 120, 0));
    typeText(field(2), "DURAND");
    click(button("Command3"));
    EXPECT_EQ(f.dialogs.lastMessage(), " Cette fiche n'a pas de numéro : elle n'est pas enregistrée.");
    EXPECT_FALSE(QFile::exists(db + "F0.txt"));

    // Given up after a photo and a debt calculation: no file, no record stays.
    w->prepare(3, tb::PinField(u'3', 120, 0));
    QDir(db).mkdir("images");
    QImage red(30, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(db + "images/rouge.jpg"));
    addPhoto(db + "images", "rouge.jpg");
    typeText(field(14), "100");
    click(button("Command2"));
    QPointer<FFrance11> window = w;
    activate(w);  // back from the file browser
    // Abandoning what was typed is asked first: Non keeps it, Oui leaves.
    f.dialogs.questionAnswers << QMessageBox::No << QMessageBox::Yes;
    keyClick(field(2), Qt::Key_Escape);
    EXPECT_EQ(f.dialogs.questions.last().text, " Abandonner la création de cette fiche ? ");
    EXPECT_EQ(f.dialogs.questions.last().defaultButton, QMessageBox::No);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(field(14)->text(), "100.00");
    keyClick(field(2), Qt::Key_Escape);
    EXPECT_FALSE(window && window->isVisible());
    EXPECT_EQ(readBytes(db + "lesfiches.dat").size(), 2 * 630);
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), "2\r\n");
    EXPECT_FALSE(QFile::exists(db + "photo3.jpg"));
    w = openAt120x45();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(child<PhotoFrame>(w, "Picture1")->image().isNull());
    click(button("Command3"));
    EXPECT_FALSE(QFile::exists(db + "photo3.jpg"));
    EXPECT_EQ(f.main->session().database()->count(), 3);
}

TEST(CreationFailure, FailedCreationKeepsTheWindowAndWhatWasTyped)
{
    GuiFixture f;
    f.createDatabase();
    const QString db = f.db();
    ASSERT_TRUE(QDir(db).mkdir("lesfiches.dat"));
    const QByteArray count = readBytes(db + "NBFiches.dat");
    f.dialogs.messages.clear();
    f.rightClickMap(120, 45);
    auto* w = qobject_cast<FFrance11*>(f.dialogs.lastModal());
    ASSERT_NE(w, nullptr);
    typeText(child<QLineEdit>(w, "Text1(2)"), "Durand");
    typeText(child<QLineEdit>(w, "Text1(3)"), "Paul");
    click(child<QPushButton>(w, "Command3"));
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith("Erreur n° ")) << f.dialogs.lastMessage().toStdString();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(child<QLineEdit>(w, "Text1(2)")->text(), "Durand");
    EXPECT_EQ(child<QLineEdit>(w, "Text1(3)")->text(), "Paul");
    EXPECT_EQ(readBytes(db + "NBFiches.dat"), count);
    EXPECT_FALSE(QFile::exists(db + "F1.txt"));
    EXPECT_EQ(f.main->session().database()->count(), 0);
}
