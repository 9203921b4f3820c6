// The card window through its own controls: moving between cards, storing a
// change, pin colour, debt calculation, departments, photo and closing.
#include "app/main_window.h"
#include "cards/card_form_widget.h"
#include "cards/card_store.h"
#include "cards/card_window.h"
#include "gui_fixture.h"
#include "map/pins.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

void pressAt(QWidget* target, QPoint pos)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(pos), target->mapToGlobal(QPointF(pos)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(pos), target->mapToGlobal(QPointF(pos)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

void click(QWidget* target)
{
    pressAt(target, target->rect().center());
}

void typeText(QWidget* target, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

const QString kNotCreated =
    QStringLiteral(" Vous ne pouvez pas modifier une fiche qui n'a pas été créée au préalable...");

class CardWindowTest : public ::testing::Test {
protected:
    GuiFixture f;
    FFrance4* w = nullptr;
    qsizetype messagesBefore = 0;  // the database creation's own

    QString db() const { return f.main->values().Label2; }
    CardRecord card(long long n) const { return CardStore(db()).read(n); }

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

    void clickRow(QListWidget* list, int row)
    {
        list->scrollToItem(list->item(row));
        pressAt(list->viewport(), list->visualItemRect(list->item(row)).center());
    }
};

}  // namespace

TEST_F(CardWindowTest, OpensWithCaptionsListsDepartmentAndMenus)
{
    EXPECT_EQ(w->windowTitle(), "Fiche individuelle");
    EXPECT_EQ(w->findChild<QLabel*>("Label3")->text(), "Fiche");
    EXPECT_EQ(w->findChild<QLabel*>("Label1(2)")->text(), "Nom ");
    EXPECT_EQ(w->findChild<QLabel*>("Label1(10)")->text(), "Profession");
    EXPECT_EQ(w->findChild<QLabel*>("Label13")->text(), "Marqueur");
    EXPECT_FALSE(w->Text1[0]->isVisible());
    EXPECT_TRUE(w->List1->isVisible());
    EXPECT_FALSE(w->List2->isVisible());
    EXPECT_FALSE(w->List3->isVisible());
    EXPECT_EQ(w->List1->item(0)->text(), "ARNAUD          Zoé            ");
    EXPECT_EQ(w->List2->item(2)->text().trimmed(), "1");
    EXPECT_EQ(w->Label2->text(), "2");
    EXPECT_EQ(w->Label5->text(), "active");
    EXPECT_EQ(w->Text1[3]->maxLength(), 15);
    EXPECT_EQ(w->Text1[5]->maxLength(), 5);
    EXPECT_EQ(w->Text1[4]->accessibleName(), "Rue");

    // The remembered department of the program folder, with its communes.
    EXPECT_EQ(w->Combo1->currentText(), "17 Charente-Maritime");
    ASSERT_GT(w->List4->count(), 10);
    for (int i = 0; i < w->List4->count(); ++i)
        ASSERT_TRUE(w->List4->item(i)->text().right(5).startsWith("17")) << w->List4->item(i)->text().toStdString();

    // Photo timer armed at 4000 ms with its flag.
    EXPECT_TRUE(w->Timer1->isActive());
    EXPECT_EQ(w->Timer1->interval(), 4000);
    EXPECT_EQ(w->Label14->text(), "O");

    for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command5"})
        EXPECT_NE(w->findChild<QPushButton*>(name), nullptr) << name;
    EXPECT_EQ(w->findChild<QPushButton*>("Command4")->text(), "Fonction calcul des intérêts");
    const auto caption = [&](const char* name) {
        QAction* a = w->findChild<QAction*>(name);
        return a ? a->text() : QStringLiteral("<none>");
    };
    EXPECT_EQ(caption("Feuillexls"), "Feuille \"EXCEL\"");
    EXPECT_EQ(caption("VoiTI2"), "Voir avec le logiciel de traitement d'image");
    EXPECT_EQ(caption("ScanDoc2"), "Scanner le document n°2");
    EXPECT_EQ(caption("DesarchiFic"), "Désarchiver la fiche");
    EXPECT_EQ(caption("ImprimTout"), "Imprimer toutes les fiches");
    EXPECT_EQ(caption("Courrier"), "Courrier électronique");
    EXPECT_EQ(w->findChild<QMenu*>("documents")->title(), "Documents annexes");
}

TEST_F(CardWindowTest, ValidatingWithoutCardGivesMessageAndWritesNothing)
{
    const QByteArray before = readBytes(db() + "lesfiches.dat");
    for (const QString& number : {QStringLiteral("0"), QString()}) {
        w->Label2->setText(number);
        w->Text1[2]->setText("DURAND");
        w->Command2->click();
        EXPECT_EQ(f.dialogs.lastMessage(), kNotCreated);
        EXPECT_EQ(readBytes(db() + "lesfiches.dat"), before);
    }
    EXPECT_EQ(f.dialogs.messages.size(), messagesBefore + 2);
}

TEST_F(CardWindowTest, MovingToAnotherCardStoresTheCardLeft)
{
    w->Text1[3]->setText("Zoé-Marie");
    w->Text1[7]->setText("05 46 00 00 00");
    clickRow(w->List1, 1);
    EXPECT_EQ(card(2).field(4), "Zoé-Marie      ");
    EXPECT_EQ(card(2).field(8), "05 46 00 00 00 ");
    EXPECT_EQ(w->Label2->text(), "3");
    EXPECT_EQ(w->Text1[3]->text(), "Xavier         ");
    EXPECT_EQ(w->workingCopy()[2], "BERNARD        ");
    EXPECT_EQ(w->Label14->text(), "O");
    // The other cards are untouched.
    EXPECT_EQ(card(1).field(3), "BERNARD        ");
    EXPECT_EQ(card(1).field(4), "Yves           ");
}

TEST_F(CardWindowTest, RenamedCardLeavesItsPositionToTheNext)
{
    ASSERT_EQ(w->List1->currentRow(), 0);
    w->Text1[2]->setText("zorro");
    w->Command2->click();
    EXPECT_EQ(card(2).field(3), "ZORRO          ");
    EXPECT_EQ(w->List1->item(2)->text().left(5), "ZORRO");
    // Position 0 now belongs to BERNARD Xavier, card 3.
    EXPECT_EQ(w->List1->currentRow(), 0);
    EXPECT_EQ(w->Label2->text(), "3");
    EXPECT_EQ(w->Text1[3]->text().trimmed(), "Xavier");
    EXPECT_EQ(w->MemoFic->text(), "0");
    EXPECT_EQ(f.dialogs.messages.size(), messagesBefore);
}

TEST_F(CardWindowTest, ColourSquareChangesMarkerOnly)
{
    const QString field1 = w->Text1[0]->text();
    ASSERT_EQ(field1[0], u'1');
    click(w->findChild<QLabel*>("Label8"));
    EXPECT_EQ(w->Text1[0]->text(), u'3' + field1.mid(1));
    EXPECT_EQ(f.main->values().Label10, "3");
    EXPECT_EQ(w->Label4->palette().color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_EQ(f.dialogs.beeps, 1);
    EXPECT_EQ(w->List1->currentRow(), 0);
    EXPECT_EQ(card(2).marker(), 1);  // stored only with the card

    click(w->findChild<QLabel*>("Label11"));
    EXPECT_EQ(w->Label4->palette().color(QPalette::Window), QColor(192, 192, 255));
    w->storeWindow();
    EXPECT_EQ(card(2).marker(), 6);
    EXPECT_EQ(card(2).x(), 200);
    EXPECT_EQ(card(2).y(), 150);
    // The pin is drawn at once in its own colour.
    EXPECT_EQ(f.main->mapImage().pixelColor(210, 150), tb::pinColor(6));
}

TEST_F(CardWindowTest, DebtCalculationRightAlignsAndStores)
{
    w->Text1[14]->setText("10");
    w->Text1[15]->setText("5,5");
    w->Text1[16]->setText("");
    w->Text1[18]->setText("3");
    w->Command3->click();
    EXPECT_EQ(w->Text1[14]->text(), "10.00");
    EXPECT_EQ(w->Text1[15]->text(), "5.00");
    EXPECT_EQ(w->Text1[16]->text(), ".00");
    EXPECT_EQ(w->Text1[17]->text(), "15.00");
    EXPECT_EQ(w->Text1[18]->text(), "3.00");
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
    EXPECT_EQ(names->text(), QStringLiteral("Zoéab€").leftJustified(15));
    EXPECT_EQ(names->text().size(), 15);

    QLineEdit* code = w->Text1[5];
    code->clear();
    typeText(code, "1700012");
    EXPECT_EQ(code->text(), "17000");
}

TEST_F(CardWindowTest, DepartmentChangeListsCommunesWithoutRemembering)
{
    const QByteArray remembered = readBytes(f.program.file("DeptCourant.txt"));
    const int paris = w->Combo1->findText("75", Qt::MatchStartsWith);
    ASSERT_GE(paris, 0);
    w->Combo1->setCurrentIndex(paris);
    emit w->Combo1->activated(paris);
    ASSERT_GT(w->List4->count(), 0);
    EXPECT_TRUE(w->List4->item(0)->text().endsWith("75001") || w->List4->item(0)->text().right(5).startsWith("75"));
    EXPECT_EQ(readBytes(f.program.file("DeptCourant.txt")), remembered);

    w->Combo1->setCurrentIndex(16);
    const QList<QListWidgetItem*> found = w->List4->findItems("LA ROCHELLE 17000", Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    clickRow(w->List4, w->List4->row(found[0]));
    EXPECT_EQ(w->Text1[5]->text(), "17000");
    EXPECT_EQ(w->Text1[6]->text(), "LA ROCHELLE");
}

TEST_F(CardWindowTest, PhotoTimerLoadsThePhotoOnce)
{
    QImage photo(100, 80, QImage::Format_RGB32);
    photo.fill(Qt::red);
    ASSERT_TRUE(photo.save(db() + "photo2.jpg"));
    EXPECT_TRUE(w->Picture1->image().isNull());
    w->firePhotoTimer();
    EXPECT_EQ(w->Label14->text(), "F");
    EXPECT_FALSE(w->Timer1->isActive());
    EXPECT_EQ(w->Picture1->image().size(), QSize(100, 80));
    const QRect r = w->Picture1->pictureRect();
    EXPECT_EQ(r.size(), QSize(100, 80));
    EXPECT_EQ(r.center(), w->Picture1->contentsRect().center());

    // Moving away clears the frame until the timer fires again.
    w->selectNameRow(1);
    EXPECT_TRUE(w->Picture1->image().isNull());
    EXPECT_TRUE(w->Timer1->isActive());
    w->firePhotoTimer();
    EXPECT_TRUE(w->Picture1->image().isNull());  // card 3 has no photo
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
