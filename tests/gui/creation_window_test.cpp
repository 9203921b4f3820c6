// The creation window opened by a right click on the map: typing a card,
// department and commune, pin colour, debt calculation, validation, close box.
#include "gui/app/main_window.h"
#include "core/cards/card_store.h"
#include "gui/cards/creation_window.h"
#include "gui_fixture.h"
#include "gui/map/file_browser_window.h"
#include "core/map/pins.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

void clickAt(QWidget* target, QPoint pos)
{
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
}

void typeText(QWidget* target, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
    }
}

class CreationWindowTest : public ::testing::Test {
protected:
    GuiFixture f;
    FFrance11* w = nullptr;

    QString db() const { return f.main->values().Label2; }

    void SetUp() override
    {
        f.createDatabase();
        writeCards(db(), {makeCard("BERNARD", "Yves", 1, 100, 100), makeCard("ARNAUD", "Zoé", 2, 200, 150)});
        f.main->drawPins();
    }

    // A right click at (120, 45) of the map, as the user does.
    FFrance11* openAt120x45()
    {
        f.main->mapMouseMove(120, 45);
        f.main->mapRightClick();
        return qobject_cast<FFrance11*>(f.dialogs.lastModal());
    }
};

}  // namespace

TEST_F(CreationWindowTest, CreatesTheCardFromTheMapClick)
{
    writeBytes(f.program.file("DeptCourant.txt"), "\"0\"\r\n");
    w = openAt120x45();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Fiche individuelle");
    EXPECT_EQ(w->findChild<QLabel*>("Label3")->text(), "Création d'une fiche");
    EXPECT_EQ(w->findChild<QLabel*>("Label1(19)")->text(), "Reste dû");
    EXPECT_EQ(w->findChild<QAction*>("photo")->text(), "Incorporer une photo");
    EXPECT_EQ(w->Label2->text(), "3");
    EXPECT_EQ(w->Combo1->currentText(), "01 Ain");

    typeText(w->Text1[2], "lefèvre");
    typeText(w->Text1[3], "Anne");
    typeText(w->Text1[4], QString(45, u'r'));
    clickAt(w->findChild<QWidget*>("Option2"), QPoint(5, 5));
    EXPECT_EQ(w->Text1[1]->text(), "Madame");

    // Choosing department 17 remembers it; a commune fills code and city.
    const int index = w->Combo1->findText("17", Qt::MatchStartsWith);
    w->Combo1->setCurrentIndex(index);
    emit w->Combo1->activated(index);
    EXPECT_EQ(w->Combo1->currentText(), "17 Charente-Maritime");
    EXPECT_EQ(readBytes(f.program.file("DeptCourant.txt")), "\"16\"\r\n");
    const QList<QListWidgetItem*> found = w->List1->findItems("LA ROCHELLE 17000", Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    w->List1->scrollToItem(found[0]);
    clickAt(w->List1->viewport(), w->List1->visualItemRect(found[0]).center());
    EXPECT_EQ(w->Text1[5]->text(), "17000");
    EXPECT_EQ(w->Text1[6]->text(), "LA ROCHELLE");

    clickAt(w->findChild<QLabel*>("Label9"), QPoint(3, 3));  // fifth colour
    EXPECT_EQ(w->Text1[0]->text(), "5" + f.main->values().Label1);
    EXPECT_EQ(f.main->values().Label10, "5");

    w->Command3->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(f.main->values().Label6, "3");
    EXPECT_EQ(readBytes(db() + "NBFiches.dat"), "3\r\n");
    const QByteArray records = readBytes(db() + "lesfiches.dat");
    ASSERT_EQ(records.size(), 3 * 630);
    const QByteArray r = records.mid(2 * 630);
    EXPECT_EQ(r.mid(0, 1), "5");
    EXPECT_EQ(r.mid(30, 15), "Madame         ");
    EXPECT_EQ(r.mid(45, 15), QByteArray("LEF\xC8VRE        "));
    EXPECT_EQ(r.mid(60, 15), "Anne           ");
    EXPECT_EQ(r.mid(75, 40), QByteArray(40, 'r'));
    EXPECT_EQ(r.mid(115, 5), "17000");
    EXPECT_EQ(r.mid(120, 40), QByteArray("LA ROCHELLE").leftJustified(40));
    EXPECT_EQ(r.mid(160), QByteArray(470, ' '));
    const CardRecord card = CardStore(db()).read(3);
    EXPECT_EQ(card.x(), 120);
    EXPECT_EQ(card.y(), 45);
    for (const char* name : {"F3.xls", "F3.txt", "R3.txt", "I3.txt", "M3.txt"})
        EXPECT_TRUE(QFile::exists(db() + name)) << name;
    EXPECT_EQ(f.main->mapImage().pixelColor(130, 45), tb::pinColor(5));  // the new pin, light yellow

    // The next card starts empty with the same colour and department.
    EXPECT_EQ(openAt120x45(), w);
    EXPECT_EQ(w->Label2->text(), "4");
    EXPECT_EQ(w->Text1[0]->text().left(1), "5");
    EXPECT_TRUE(w->Text1[2]->text().isEmpty());
    EXPECT_EQ(w->Combo1->currentText(), "17 Charente-Maritime");
}

TEST_F(CreationWindowTest, DebtCalculationWritesOnlyTheRecord)
{
    w = openAt120x45();
    ASSERT_NE(w, nullptr);
    const QStringList typed{"100", "20.5", "0", "", "50"};
    for (int k = 0; k < 5; ++k)
        w->Text1[size_t(14 + k)]->setText(typed[k]);
    w->Command2->click();
    const QStringList expected{"100.00", "20.50", ".00", "120.50", "50.00", "70.50"};
    const CardRecord card = CardStore(db()).read(3);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(w->Text1[size_t(14 + k)]->text(), expected[k]);
        EXPECT_EQ(card.field(15 + k).trimmed(), expected[k]);
    }
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(readBytes(db() + "NBFiches.dat"), "2\r\n");
    EXPECT_FALSE(QFile::exists(db() + "F3.txt"));
}

TEST_F(CreationWindowTest, CloseBoxStoresNothingAndNoNumberIsRefused)
{
    w = openAt120x45();
    ASSERT_NE(w, nullptr);
    w->Text1[2]->setText("DURAND");
    w->Label2->setText("0");
    const qsizetype before = f.dialogs.messages.size();
    w->Command3->click();
    EXPECT_EQ(f.dialogs.messages.size(), before + 1);
    EXPECT_FALSE(QFile::exists(db() + "F0.txt"));
    w->Label2->setText("3");
    w->close();
    EXPECT_EQ(readBytes(db() + "lesfiches.dat").size(), 2 * 630);
    EXPECT_EQ(readBytes(db() + "NBFiches.dat"), "2\r\n");
}

TEST_F(CreationWindowTest, PhotoGoesThroughTheBrowserIntoTheFrame)
{
    w = openAt120x45();
    ASSERT_NE(w, nullptr);
    QImage photo(400, 400, QImage::Format_RGB32);
    photo.fill(Qt::blue);
    ASSERT_TRUE(photo.save(db() + "photo3.jpg"));
    w->findChild<QAction*>("photo")->trigger();
    EXPECT_NE(qobject_cast<Ffrance23*>(f.dialogs.lastModal()), nullptr);
    EXPECT_EQ(w->Pctdim->size(), QSize(400, 400));  // the photo at its natural size
    EXPECT_FALSE(w->Picture1->image().isNull());
}
