// The "Outils" and "Accessoires" windows' wiring; the sums, keys and postal lines are the core's (the calendar is
// only opened, with every window).
#include "core/base/value_files.h"
#include "core/postal/postal_directory.h"
#include "gui/external/program_chooser_window.h"
#include "gui/external/program_paths_window.h"
#include "gui/postal/postal_window.h"
#include "gui/tools/converter_window.h"
#include "gui/tools/iban_window.h"
#include "gui/tools/rib_window.h"
#include "gui_fixture.h"


using namespace testing_support;

namespace {

// Arrow keys on a closed list: the user's choice, one line at a time.
void choose(QComboBox* list, int index)
{
    while (list->currentIndex() != index)
        keyClick(list, list->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
}

}  // namespace

TEST(Converter, RecalculatesAtEveryKeyAndChoiceAndTakesOnlyDigits)
{
    GuiFixture f;
    auto* w = f.open<FFrance8>("cvt");
    ASSERT_NE(w, nullptr);
    auto* amount = child<QLineEdit>(w, "Text1");
    auto* result = child<QLabel>(w, "Label3");
    auto* francs = child<QLabel>(w, "Label5");
    typeText(amount, "100");
    EXPECT_EQ(result->text(), "655,96");
    EXPECT_EQ(amount->toolTip(), "Cent  euros ");
    EXPECT_EQ(result->toolTip(), QString::fromUtf8("Six cent cinquante cinq  Francs français 96"));
    // Nothing typed leaves no words behind.
    for (int i = 0; i < 3; ++i)
        keyClick(amount, Qt::Key_Backspace);
    EXPECT_EQ(result->text(), ",00");
    EXPECT_TRUE(amount->toolTip().isEmpty() && result->toolTip().isEmpty() && francs->toolTip().isEmpty());

    // Choosing the currency chooses its rate and the other way round (a conversion either way is the core's).
    typeText(amount, "10");
    choose(child<QComboBox>(w, "Combo2"), 2);
    EXPECT_EQ(child<QComboBox>(w, "Combo3")->currentText(), "40.3399");
    EXPECT_EQ(result->text(), "403,40");
    EXPECT_EQ(francs->text(), "65,60");  // the euro side is still 10 euros
    choose(child<QComboBox>(w, "Combo3"), 9);  // the second 40.3399
    EXPECT_EQ(child<QComboBox>(w, "Combo2")->currentText(), "Francs luxembourgeois");

    // Only digits (the decimals asked are the core's): a letter is told and empties the amount; Delete empties it
    // with a beep.
    amount->clear();
    typeText(amount, "12a");
    EXPECT_EQ(f.dialogs.lastMessage(), "Cette zone ne doit comporter que des chiffres!");
    EXPECT_EQ(amount->text(), "");
    typeText(amount, "42");
    amount->setCursorPosition(1);
    keyClick(amount, Qt::Key_Delete);
    EXPECT_EQ(f.dialogs.beeps, 1);
    EXPECT_EQ(amount->text(), "");
    EXPECT_EQ(f.dialogs.messages.size(), 1);
}

TEST(RibAndIbanWindows, CodesTakeDigitsOnlyARefusalKeepsTheKeyShownAndAnIbanShowsItsRibOrWhyNot)
{
    GuiFixture f;
    auto* w = f.open<Ffrance17>("RIB");
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(f.action("RIB")->isVisible());
    auto* bank = child<QLineEdit>(w, "Text1");
    auto* account = child<QLineEdit>(w, "Text3");
    const auto key = [&](const QString& b, const QString& g, const QString& c) {
        for (const auto& [name, text] : {std::pair{"Text1", b}, std::pair{"Text2", g}, std::pair{"Text3", c}}) {
            child<QLineEdit>(w, name)->clear();
            typeText(child<QLineEdit>(w, name), text);
        }
        child<QPushButton>(w, "Command1")->click();
        return labelText(w, "Label1");
    };
    EXPECT_EQ(key("30002", "00550", "0000157841Z"), "25");
    bank->clear();
    account->clear();
    typeText(bank, "3a0-0 02");
    EXPECT_EQ(bank->text(), "30002");
    EXPECT_EQ(f.dialogs.beeps, 3);
    typeText(account, "ab-");
    EXPECT_EQ(account->text(), "ab-");  // the account takes anything
    EXPECT_EQ(f.dialogs.beeps, 3);
    EXPECT_EQ(key("30002", "0055", "0000157841Z"), "25");
    EXPECT_EQ(f.dialogs.lastMessage(), QString::fromUtf8("Le code Guichet doit comporter 5 caractères"));

    ASSERT_TRUE(f.action("iban")->isVisible());
    ASSERT_TRUE(f.trigger("iban"));
    auto* iban = child<QLineEdit>(f.shown<FIban>(), "Text1");
    typeText(iban, "FR76 3000 6000 0112 3456 7890 189");
    click(child<QPushButton>(f.shown<FIban>(), "Command1"));
    EXPECT_EQ(labelText(f.shown<FIban>(), "Label2"),
              "IBAN valide\nBanque 30006  Guichet 00001  Compte 12345678901  Clé RIB 89");
    // Return checks too.
    iban->setText("FR76 3000 6000 0112 3456 7890 188");
    keyClick(iban, Qt::Key_Return);
    EXPECT_EQ(labelText(f.shown<FIban>(), "Label2"),
              " IBAN invalide : les chiffres de contrôle ne correspondent pas au numéro");
    EXPECT_EQ(f.dialogs.messages.size(), 1);
}

TEST(PostalSearch, ByCodeDefaultsTo17000AndRefusesCodesNotFiveLongByCityIsAnUpperCasedPrefix)
{
    GuiFixture f;
    f.trigger("Rechcp");
    FFrance5* w = f.window<FFrance5>();
    ASSERT_TRUE(w && f.dialogs.modeless.value(0) == w);
    EXPECT_EQ(w->lines(), tb::searchByPostalCode(f.program.path(), "17000"));
    // Too short or cancelled: told, the list cleared before asking, the window not shown again.
    for (const std::optional<QString>& answer : QList<std::optional<QString>>{"1700", std::nullopt}) {
        f.dialogs.inputAnswers.enqueue(answer);
        f.trigger("Rechcp");
        EXPECT_EQ(f.dialogs.lastMessage(), "Erreur de saisie !");
        EXPECT_EQ(f.dialogs.busyDepth, 0);
        EXPECT_TRUE(w->lines().isEmpty());
    }
    EXPECT_EQ(f.dialogs.modeless.size(), 1);

    // By city: the answer in capitals, accents kept; Cancel lists everything.
    f.dialogs.inputAnswers.enqueue(QString::fromUtf8("rennes-le-châ"));
    f.trigger("RechparVille");
    EXPECT_EQ(f.dialogs.modeless.last(), w);
    EXPECT_EQ(w->lines(), QStringList({QString::fromUtf8("RENNES-LE-CHÂTEAU 11190")}));
    f.dialogs.inputAnswers.enqueue(std::nullopt);
    f.trigger("RechparVille");
    EXPECT_EQ(w->lines(), tb::searchByCityPrefix(f.program.path(), ""));
}

// "Logiciels externes", "Sur la toile" and the database manager: what the launcher is asked to start.
namespace {

void writeExecutable(const QString& path)
{
    writeBytes(path, "#!/bin/sh\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
}

}  // namespace

TEST(ExternalProgramsWindows, ChosenProgramIsStoredWithoutExeAndStartsWithOneArgument)
{
    GuiFixture f;
    // Blanks, quotes, a comma, accents and a leading "-": each path is one argument.
    const QString folder = f.program.path() + QStringLiteral("Logiciels \"été\", v2/");
    ASSERT_TRUE(QDir().mkpath(folder));
    writeExecutable(folder + QStringLiteral("-Base Données.EXE"));
    writeBytes(folder + "notes.txt", "pas un programme");

    auto* chooser = f.open<Ffrance25>("LogTrtBdd");
    ASSERT_NE(chooser, nullptr);
    ASSERT_TRUE(chooser->openFolder(folder));
    EXPECT_EQ(rowTexts(child<QListWidget>(chooser, "File1")), QStringList{QStringLiteral("-Base Données.EXE")});
    ASSERT_TRUE(clickItem(chooser, "File1", QStringLiteral("-Base Données.EXE")));
    const QString stored = folder + QStringLiteral("-Base Données");
    click(child<QPushButton>(chooser, "Command1"));
    EXPECT_EQ(tb::readPathValue(f.program.file("LogBdd.txt")), stored);

    // The list of programs chosen (its lines are the core's).
    ASSERT_TRUE(f.trigger("LogExtActuels"));
    ASSERT_NE(f.shown<Ffrance14>(), nullptr);
    EXPECT_EQ(rowTexts(child<QListWidget>(f.shown<Ffrance14>(), "List1")).value(10), stored);
    f.shown<Ffrance14>()->close();

    // AppelGE: the program alone, found under its ".EXE".
    f.openWithCards({makeCard("Lavenu", "Paul", 3, 10, 10, "17340", "Yves")}, QStringLiteral("Clients \"A\", été"));
    f.dialogs.messages.clear();
    ASSERT_TRUE(f.trigger("AppelGE"));
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(f.dialogs.messages[0].text.startsWith(
        QStringLiteral("Lorsque vous aurez lancé votre gestionnaire externe de base de donnèes * ") + stored + " * "));
    ASSERT_EQ(f.launcher.programs.size(), 1);
    EXPECT_EQ(f.launcher.programs[0].program, stored + QStringLiteral(".EXE"));
    EXPECT_TRUE(f.launcher.programs[0].args.isEmpty());
    // (AppelMDB's export is the list window's, its database file found in any case the core's.)
}

TEST(ExternalProgramsWindows, WebEntriesOpenTheirAddresses)
{
    GuiFixture f;
    for (const char* name : {"auteur", "utile", "MsgAuteur", "msg"})
        ASSERT_TRUE(f.trigger(QString::fromLatin1(name))) << name;
    // The addresses are the core's.
    ASSERT_EQ(f.launcher.urls.size(), 4);
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    // A desktop with no browser: the user is told, not left waiting.
    f.launcher.succeeds = false;
    ASSERT_TRUE(f.trigger("utile"));
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral(" Aucun programme n'a pu ouvrir « https://www.geoportail.gouv.fr/ »."));
    ASSERT_TRUE(f.trigger("aide"));
    EXPECT_TRUE(f.dialogs.lastMessage().startsWith(QStringLiteral(" Le programme « "))) << f.dialogs.lastMessage().toStdString();
}
