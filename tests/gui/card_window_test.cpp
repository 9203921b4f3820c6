// The card window through its own controls: moving between cards, storing a
// change, pin colour, debt calculation, departments, photo and closing.
#include "gui/app/main_window.h"
#include "core/cards/card_store.h"
#include "gui/cards/card_window.h"
#include "gui_fixture.h"
#include "core/map/pins.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

void pressAt(QWidget* target, QPoint pos)
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

class CardWindowTest : public ::testing::Test {
protected:
    GuiFixture f;
    FFrance4* w = nullptr;
    qsizetype messagesBefore = 0;  // the database creation's own

    QString db() const { return f.main->values().Label2; }
    CardRecord card(long long n) const { return CardStore(db()).read(n); }
    void clickLabel(const char* name) { pressAt(w->findChild<QLabel*>(name), QPoint(3, 3)); }
    void clickRow(QListWidget* list, int row)
    {
        list->scrollToItem(list->item(row));
        pressAt(list->viewport(), list->visualItemRect(list->item(row)).center());
    }

    // Name order: ARNAUD Zoé (2), BERNARD Xavier (3), BERNARD Yves (1).
    void SetUp() override
    {
        f.createDatabase();
        writeCards(db(), {makeCard("BERNARD", "Yves", 1, 100, 100), makeCard("ARNAUD", "Zoé", 1, 200, 150),
                          makeCard("BERNARD", "Xavier", 2, 300, 200)});
        f.main->drawPins();  // reads the count into Label6
        w = f.main->windows().cardWindow();
        w->loadCaptions();
        w->rebuildNameLists();
        w->selectNameRow(0);
        f.dialogs.showModal(w);
        messagesBefore = f.dialogs.messages.size();
    }
};

}  // namespace

TEST_F(CardWindowTest, OpensWithCaptionsListsAndDepartment)
{
    EXPECT_EQ(w->windowTitle(), "Fiche individuelle");
    EXPECT_EQ(w->findChild<QLabel*>("Label3")->text(), "Fiche");
    EXPECT_EQ(w->findChild<QLabel*>("Label1(2)")->text(), "Nom ");
    EXPECT_EQ(w->findChild<QLabel*>("Label1(10)")->text(), "Profession");
    EXPECT_EQ(w->findChild<QLabel*>("Label13")->text(), "Marqueur");
    EXPECT_EQ(w->findChild<QPushButton*>("Command4")->text(), "Fonction calcul des intérêts");
    EXPECT_EQ(w->findChild<QAction*>("DesarchiFic")->text(), "Désarchiver la fiche");
    EXPECT_EQ(w->List1->item(0)->text(), "ARNAUD          Zoé            ");
    EXPECT_EQ(w->List2->item(2)->text().trimmed(), "1");
    EXPECT_EQ(w->Label2->text(), "2");
    EXPECT_EQ(w->Label5->text(), "active");
    // The remembered department of the program folder, with its communes.
    EXPECT_EQ(w->Combo1->currentText(), "17 Charente-Maritime");
    ASSERT_GT(w->List4->count(), 10);
    for (int i = 0; i < w->List4->count(); ++i)
        ASSERT_TRUE(w->List4->item(i)->text().right(5).startsWith("17")) << w->List4->item(i)->text().toStdString();
    // Another department lists its communes without being remembered.
    const QByteArray remembered = readBytes(f.program.file("DeptCourant.txt"));
    const int paris = w->Combo1->findText("75", Qt::MatchStartsWith);
    w->Combo1->setCurrentIndex(paris);
    emit w->Combo1->activated(paris);
    ASSERT_GT(w->List4->count(), 0);
    EXPECT_TRUE(w->List4->item(0)->text().right(5).startsWith("75"));
    EXPECT_EQ(readBytes(f.program.file("DeptCourant.txt")), remembered);
}

TEST_F(CardWindowTest, ValidatingWithoutCardGivesMessageAndWritesNothing)
{
    const QByteArray before = readBytes(db() + "lesfiches.dat");
    for (const QString& number : {QStringLiteral("0"), QString()}) {
        w->Label2->setText(number);
        w->Text1[2]->setText("DURAND");
        w->Command2->click();
        EXPECT_EQ(f.dialogs.lastMessage(),
                  " Vous ne pouvez pas modifier une fiche qui n'a pas été créée au préalable...");
        EXPECT_EQ(readBytes(db() + "lesfiches.dat"), before);
    }
    EXPECT_EQ(f.dialogs.messages.size(), messagesBefore + 2);
}

TEST_F(CardWindowTest, MovingOrRenamingStoresTheCardLeft)
{
    w->Text1[3]->setText("Zoé-Marie");
    w->Text1[7]->setText("05 46 00 00 00");
    clickRow(w->List1, 1);
    EXPECT_EQ(card(2).field(4), "Zoé-Marie      ");
    EXPECT_EQ(card(2).field(8), "05 46 00 00 00 ");
    EXPECT_EQ(card(1).field(4), "Yves           ");  // the others untouched
    EXPECT_EQ(w->Label2->text(), "3");
    EXPECT_EQ(w->Text1[3]->text(), "Xavier         ");
    EXPECT_EQ(w->workingCopy()[2], "BERNARD        ");

    // A renamed card leaves its position to the next: ZORRO goes last, row 0 is BERNARD Xavier.
    w->selectNameRow(0);
    w->Text1[2]->setText("zorro");
    w->Command2->click();
    EXPECT_EQ(card(2).field(3), "ZORRO          ");
    EXPECT_EQ(w->List1->item(2)->text().left(5), "ZORRO");
    EXPECT_EQ(w->List1->currentRow(), 0);
    EXPECT_EQ(w->Label2->text(), "3");
    EXPECT_EQ(w->MemoFic->text(), "0");
    EXPECT_EQ(f.dialogs.messages.size(), messagesBefore);
}

TEST_F(CardWindowTest, ColourSquareChangesMarkerOnly)
{
    const QString field1 = w->Text1[0]->text();
    ASSERT_EQ(field1[0], u'1');
    clickLabel("Label8");
    EXPECT_EQ(w->Text1[0]->text(), u'3' + field1.mid(1));
    EXPECT_EQ(f.main->values().Label10, "3");
    EXPECT_EQ(w->Label4->palette().color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_EQ(f.dialogs.beeps, 1);
    EXPECT_EQ(card(2).marker(), 1);  // stored only with the card

    clickLabel("Label11");
    EXPECT_EQ(w->Label4->palette().color(QPalette::Window), QColor(192, 192, 255));
    w->storeWindow();
    EXPECT_EQ(card(2).marker(), 6);
    EXPECT_EQ(card(2).x(), 200);
    EXPECT_EQ(card(2).y(), 150);
    EXPECT_EQ(f.main->mapImage().pixelColor(210, 150), tb::pinColor(6));  // drawn at once
}

TEST_F(CardWindowTest, DebtCalculationRightAlignsAndStores)
{
    const QStringList typed{"10", "5,5", "", "", "3"};
    for (int k = 0; k < 5; ++k)
        w->Text1[size_t(14 + k)]->setText(typed[k]);
    w->Command3->click();
    EXPECT_EQ(w->Text1[19]->text(), "12.00");
    EXPECT_TRUE(w->Text1[19]->alignment() & Qt::AlignRight);
    EXPECT_EQ(card(2).field(18).trimmed(), "15.00");
    EXPECT_EQ(card(2).field(20).trimmed(), "12.00");
}

TEST_F(CardWindowTest, FieldsRefuseCharactersOutsideTheCodePage)
{
    QLineEdit* names = w->Text1[3];
    ASSERT_EQ(names->text(), "Zoé            ");
    // A click past the text puts the cursor right after it, not after the padding.
    pressAt(names, QPoint(names->width() - 4, names->height() / 2));
    EXPECT_EQ(names->cursorPosition(), 3);
    typeText(names, QStringLiteral("aőb€"));
    EXPECT_EQ(names->text(), QStringLiteral("Zoéab€         "));

    QLineEdit* code = w->Text1[5];
    code->clear();
    typeText(code, "1700012");
    EXPECT_EQ(code->text(), "17000");
}

TEST_F(CardWindowTest, PhotoTimerLoadsThePhotoOnce)
{
    EXPECT_TRUE(w->Timer1->isActive());
    EXPECT_EQ(w->Timer1->interval(), 4000);
    EXPECT_EQ(w->Label14->text(), "O");
    QImage photo(100, 80, QImage::Format_RGB32);
    photo.fill(Qt::red);
    ASSERT_TRUE(photo.save(db() + "photo2.jpg"));
    w->firePhotoTimer();
    EXPECT_EQ(w->Label14->text(), "F");
    EXPECT_FALSE(w->Timer1->isActive());
    EXPECT_EQ(w->Picture1->image().size(), QSize(100, 80));

    // Moving away clears the frame until the timer fires again.
    w->selectNameRow(1);
    EXPECT_TRUE(w->Picture1->image().isNull());
    EXPECT_TRUE(w->Timer1->isActive());
}

TEST_F(CardWindowTest, ClosingWritesTheCount)
{
    writeBytes(db() + "NBFiches.dat", "7\r\n");
    f.main->values().Label6 = "3";
    QPointer<FFrance4> closed = w;
    w->close();
    EXPECT_EQ(readBytes(db() + "NBFiches.dat"), "3\r\n");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());

    // A count that is no number never reaches the file.
    FFrance4* again = f.main->windows().cardWindow();
    f.main->values().Label6 = "Label6";
    again->close();
    EXPECT_EQ(readBytes(db() + "NBFiches.dat"), "3\r\n");
}
