// "Contrôle d'un IBAN" from the "Outils" menu: valid, French, invalid.
#include "gui/tools/iban_window.h"
#include "gui_fixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(IbanWindow, ShowsTheRibOfAFrenchIbanOrWhyAnIbanIsInvalid)
{
    GuiFixture f;
    ASSERT_TRUE(f.action("iban")->isVisible());
    ASSERT_TRUE(f.trigger("iban"));
    auto* w = f.window<FIban>();
    ASSERT_EQ(f.dialogs.lastModal(), w);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Contrôle d'un IBAN"));
    auto* iban = child<QLineEdit>(w, "Text1");
    typeText(iban, "FR76 3000 6000 0112 3456 7890 189");
    click(child<QPushButton>(w, "Command1"));
    EXPECT_EQ(labelText(w, "Label2"),
              QStringLiteral("IBAN valide\nBanque 30006  Guichet 00001  Compte 12345678901  Clé RIB 89"));
    // Return checks too; one wrong digit is found.
    iban->setText("FR76 3000 6000 0112 3456 7890 188");
    keyClick(iban, Qt::Key_Return);
    EXPECT_EQ(labelText(w, "Label2"),
              QStringLiteral(" IBAN invalide : les chiffres de contrôle ne correspondent pas au numéro"));
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
}
