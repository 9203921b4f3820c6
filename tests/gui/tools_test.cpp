// The office tools of the "Outils" menu: the euro converter FFrance8, the RIB
// key window Ffrance17 (its menu item hidden) and the calendar Ffrance7.
#include "gui/app/main_window.h"
#include "gui/tools/calendar_window.h"
#include "gui/tools/converter_window.h"
#include "gui/tools/rib_window.h"
#include "gui_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextCharFormat>
#include <QTimer>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class Converter : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(f.trigger("cvt"));
        w = f.window<FFrance8>();
        ASSERT_NE(w, nullptr);
        ASSERT_EQ(f.dialogs.lastModal(), w);
        amount = child<QLineEdit>(w, "Text1");
        result = child<QLabel>(w, "Label3");
        francs = child<QLabel>(w, "Label5");
        ASSERT_TRUE(amount && result && francs);
    }
    QComboBox* combo(const char* name) { return child<QComboBox>(w, name); }
    QString mark(const char* name) { return labelText(w, name); }
    void type(const QString& text)
    {
        amount->clear();
        typeText(amount, text);
    }
    // Arrow keys on a closed list: the user's choice, one line at a time.
    void choose(QComboBox* list, int index)
    {
        while (list->currentIndex() != index)
            keyClick(list, list->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
    }

    GuiFixture f;
    FFrance8* w = nullptr;
    QLineEdit* amount = nullptr;
    QLabel* result = nullptr;
    QLabel* francs = nullptr;
};

}  // namespace

TEST_F(Converter, OpensOnEurosToFrancsAndConvertsAsTheUserTypes)
{
    EXPECT_EQ(w->windowTitle(), "CONVERTISSEUR");
    EXPECT_TRUE(child<QRadioButton>(w, "Option1")->isChecked());
    EXPECT_EQ(child<QRadioButton>(w, "Option2")->text(), "DEVISE");
    EXPECT_EQ(mark("Label2"), "E");
    EXPECT_EQ(mark("Label1"), "D");
    EXPECT_EQ(mark("Label4"), "FF");
    EXPECT_EQ(mark("Label12"), "Un euro=");
    EXPECT_EQ(combo("Combo2")->currentText(), QString::fromUtf8("Francs français"));
    EXPECT_EQ(combo("Combo3")->currentText(), "6.55957");
    EXPECT_EQ(combo("Combo1")->currentText(), "2");
    EXPECT_EQ(combo("Combo2")->count(), 12);

    typeText(amount, "1");
    EXPECT_EQ(result->text(), "6,56");  // every key recalculates
    typeText(amount, "00");
    EXPECT_EQ(result->text(), "655,96");
    EXPECT_EQ(francs->text(), "655,96");
    EXPECT_EQ(amount->toolTip(), "Cent  euros ");
    EXPECT_EQ(result->toolTip(), QString::fromUtf8("Six cent cinquante cinq  Francs français 96"));
    EXPECT_EQ(francs->toolTip(), "Six cent cinquante cinq  francs 96");

    type("1500");
    EXPECT_EQ(amount->toolTip(), "Mille cinq cent  euros ");

    // Nothing typed leaves no words behind.
    keyClick(amount, Qt::Key_Backspace);
    keyClick(amount, Qt::Key_Backspace);
    keyClick(amount, Qt::Key_Backspace);
    keyClick(amount, Qt::Key_Backspace);
    EXPECT_EQ(amount->text(), "");
    EXPECT_EQ(result->text(), ",00");
    EXPECT_TRUE(amount->toolTip().isEmpty() && result->toolTip().isEmpty() && francs->toolTip().isEmpty());
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
}

TEST_F(Converter, CurrencyAmountsGoToEurosAndTheFrancValueFollowsTheEuros)
{
    child<QRadioButton>(w, "Option2")->click();
    EXPECT_EQ(mark("Label2"), "D");
    EXPECT_EQ(mark("Label1"), "E");
    typeText(amount, "655,96");
    EXPECT_EQ(result->text(), "99,85");
    EXPECT_EQ(francs->text(), "655,00");
    EXPECT_EQ(amount->toolTip(), QString::fromUtf8("Six cent cinquante cinq  Francs français 96"));
    EXPECT_EQ(result->toolTip(), "Quatre-vingt dix-neuf  euros 85");

    // Back to euros: the same amount is now 655 euros.
    child<QRadioButton>(w, "Option1")->click();
    EXPECT_EQ(result->text(), "4296,52");
    EXPECT_EQ(francs->text(), "4296,52");
}

TEST_F(Converter, DecimalsChoiceRoundsOrShowsTheWholeResult)
{
    typeText(amount, "100");
    choose(combo("Combo1"), 7);
    EXPECT_EQ(combo("Combo1")->currentText(), "x");
    EXPECT_EQ(result->text(), "655,957");
    EXPECT_EQ(francs->text(), "656");
    choose(combo("Combo1"), 0);
    EXPECT_EQ(result->text(), "656");
    EXPECT_EQ(francs->text(), "656");
    type("0");
    EXPECT_EQ(result->text(), "");
    EXPECT_EQ(result->toolTip(), "");
}

TEST_F(Converter, CurrencyAndRateListsMoveTogether)
{
    QComboBox* currency = combo("Combo2");
    QComboBox* rate = combo("Combo3");
    typeText(amount, "10");
    choose(currency, 2);
    EXPECT_EQ(currency->currentText(), "Francs belges");
    EXPECT_EQ(rate->currentIndex(), 2);
    EXPECT_EQ(rate->currentText(), "40.3399");
    EXPECT_EQ(result->text(), "403,40");
    EXPECT_EQ(result->toolTip(), "Quatre cent trois  Francs belges 40");
    EXPECT_EQ(francs->text(), "65,60");  // the euro side is still 10 euros

    choose(rate, 9);  // the second 40.3399
    EXPECT_EQ(rate->currentText(), "40.3399");
    EXPECT_EQ(currency->currentText(), "Francs luxembourgeois");
    EXPECT_EQ(result->toolTip(), "Quatre cent trois  Francs luxembourgeois 40");
}

TEST_F(Converter, OnlyDigitsAreAcceptedAndDeleteEmptiesTheAmount)
{
    typeText(amount, "12a");
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.lastMessage(), "Cette zone ne doit comporter que des chiffres!");
    EXPECT_EQ(f.dialogs.messages.last().title, "Tabulon");
    EXPECT_EQ(amount->text(), "");
    EXPECT_EQ(result->text(), ",00");

    typeText(amount, "42");
    EXPECT_EQ(result->text(), "275,50");
    amount->setCursorPosition(1);
    keyClick(amount, Qt::Key_Delete);
    EXPECT_EQ(f.dialogs.beeps, 1);
    EXPECT_EQ(amount->text(), "");
    EXPECT_EQ(result->text(), ",00");
    EXPECT_EQ(f.dialogs.messages.size(), 1);
}

TEST_F(Converter, RunsInTheRealModalLoop)
{
    w->hide();
    QtDialogs real;
    QString seen;
    QTimer::singleShot(0, w, [&] {
        typeText(amount, "100");
        seen = result->text();
        w->close();
    });
    real.showModal(w);
    EXPECT_EQ(seen, "655,96");
}

namespace {

class RibKey : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(f.trigger("RIB"));
        w = f.window<Ffrance17>();
        ASSERT_NE(w, nullptr);
        ASSERT_EQ(f.dialogs.lastModal(), w);
        bank = child<QLineEdit>(w, "Text1");
        branch = child<QLineEdit>(w, "Text2");
        account = child<QLineEdit>(w, "Text3");
        ASSERT_TRUE(bank && branch && account);
    }
    QString key(const QString& b, const QString& g, const QString& c)
    {
        for (QLineEdit* e : {bank, branch, account})
            e->clear();
        typeText(bank, b);
        typeText(branch, g);
        typeText(account, c);
        child<QPushButton>(w, "Command1")->click();
        return labelText(w, "Label1");
    }

    GuiFixture f;
    Ffrance17* w = nullptr;
    QLineEdit* bank = nullptr;
    QLineEdit* branch = nullptr;
    QLineEdit* account = nullptr;
};

}  // namespace

TEST_F(RibKey, MenuItemStaysHiddenAndTheWindowGivesTheKey)
{
    EXPECT_FALSE(f.action("RIB")->isVisible());
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("Clé RIB"));
    EXPECT_EQ(labelText(w, "Label2"), "Code Banque");
    EXPECT_EQ(labelText(w, "Label4"), QString::fromUtf8("N° de compte"));
    EXPECT_EQ(child<QPushButton>(w, "Command1")->text(), "GO!");

    EXPECT_EQ(key("30002", "00550", "0000157841Z"), "25");
    EXPECT_EQ(key("20041", "01005", "0500013M026"), "6");
    // A zero bank code: no message, the key shown stays.
    EXPECT_EQ(key("00000", "01005", "0500013M026"), "6");
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
    EXPECT_EQ(f.dialogs.beeps, 0);
}

TEST_F(RibKey, CodesTakeDigitsOnlyAndLengthsAreCheckedInOrder)
{
    typeText(bank, "3a0-0 02");
    EXPECT_EQ(bank->text(), "30002");
    EXPECT_EQ(f.dialogs.beeps, 3);
    keyClick(bank, Qt::Key_Backspace);
    EXPECT_EQ(bank->text(), "3000");
    typeText(account, "ab-");
    EXPECT_EQ(account->text(), "ab-");  // the account takes anything
    EXPECT_EQ(f.dialogs.beeps, 3);

    const QString before = labelText(w, "Label1");
    key("1234", "123", "1");
    key("30002", "0055", "0000157841Z");
    key("30002", "00550", "0000157841");
    ASSERT_EQ(f.dialogs.messages.size(), 3);
    EXPECT_EQ(f.dialogs.messages[0].text, QString::fromUtf8("Le code Banque doit comporter 5 caractères"));
    EXPECT_EQ(f.dialogs.messages[1].text, QString::fromUtf8("Le code Guichet doit comporter 5 caractères"));
    EXPECT_EQ(f.dialogs.messages[2].text, QString::fromUtf8("Le N°de compte doit comporter 11 caractères"));
    EXPECT_EQ(labelText(w, "Label1"), before);
}

TEST(Calendar, OpensOnTodayInFrenchWithMondayFirst)
{
    GuiFixture f;
    ASSERT_TRUE(f.trigger("calendrier"));
    auto* w = f.window<Ffrance7>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(f.dialogs.lastModal(), w);
    EXPECT_EQ(w->windowTitle(), "Calendrier");
    auto* calendar = child<QCalendarWidget>(w, "Calendrier1");
    ASSERT_NE(calendar, nullptr);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(calendar->selectedDate(), today);
    EXPECT_EQ(calendar->monthShown(), today.month());
    EXPECT_EQ(calendar->yearShown(), today.year());
    EXPECT_EQ(calendar->firstDayOfWeek(), Qt::Monday);
    EXPECT_EQ(calendar->locale().language(), QLocale::French);
    EXPECT_EQ(calendar->dateTextFormat(today).fontWeight(), QFont::Bold);

    // Browsing away and opening again starts from today.
    calendar->setSelectedDate(today.addMonths(5));
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(f.trigger("calendrier"));
    EXPECT_EQ(child<QCalendarWidget>(f.window<Ffrance7>(), "Calendrier1")->selectedDate(), today);
}

TEST(ToolWindows, EveryControlCarriesItsCaptionForScreenReaders)
{
    GuiFixture f;
    for (const char* command : {"cvt", "RIB", "calendrier"}) {
        ASSERT_TRUE(f.trigger(command));
        QWidget* w = f.dialogs.lastModal();
        ASSERT_NE(w, nullptr);
        for (QWidget* c : w->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QLineEdit*>(c) || qobject_cast<QComboBox*>(c)
                                 || qobject_cast<QAbstractButton*>(c) || qobject_cast<QCalendarWidget*>(c);
            // The calendar's own month buttons are Qt's and named by it.
            bool insideCalendar = false;
            for (QWidget* p = c->parentWidget(); p; p = p->parentWidget())
                insideCalendar = insideCalendar || qobject_cast<QCalendarWidget*>(p);
            if (control && !insideCalendar)
                EXPECT_FALSE(c->accessibleName().isEmpty()) << command << " " << c->objectName().toStdString();
        }
    }
}
