// The postal searches of "Accessoires" and their result window FFrance5 (the lines found are the core's).
#include "core/postal/postal_directory.h"
#include "gui/postal/postal_window.h"
#include "gui_fixture.h"

using namespace testing_support;

TEST(PostalSearch, ByCodeDefaultsTo17000AndRefusesCodesNotFiveLongByCityIsAnUpperCasedPrefix)
{
    GuiFixture f;
    const auto window = [&f] { return f.window<FFrance5>(); };
    const auto shown = [&] { return !f.dialogs.modeless.isEmpty() && f.dialogs.modeless.last() == window(); };
    f.trigger("Rechcp");
    ASSERT_EQ(f.dialogs.inputs.size(), 1);
    EXPECT_EQ(f.dialogs.inputs[0].text, "Entrez le code postal");
    EXPECT_EQ(f.dialogs.inputs[0].title, "Recherche d'une ville");
    ASSERT_TRUE(shown());
    EXPECT_EQ(window()->windowTitle(), "Liste des villes et des codes postaux");
    auto* list = child<QListWidget>(window(), "List1");
    EXPECT_TRUE(lines(list).contains("LA ROCHELLE 17000"));
    EXPECT_EQ(lines(list), tb::searchByPostalCode(f.program.path(), "17000"));
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    const qsizetype shownBefore = f.dialogs.modeless.size();
    for (const std::optional<QString>& answer : QList<std::optional<QString>>{"1700", "", "170000", std::nullopt}) {
        f.dialogs.inputAnswers.enqueue(answer);
        f.trigger("Rechcp");
        EXPECT_EQ(f.dialogs.lastMessage(), "Erreur de saisie !");
        EXPECT_EQ(f.dialogs.messages.last().title, "Tabulon");
        EXPECT_EQ(f.dialogs.busyDepth, 0);
        EXPECT_EQ(list->count(), 0);  // cleared before asking
    }
    EXPECT_EQ(f.dialogs.messages.size(), 4);
    EXPECT_EQ(f.dialogs.modeless.size(), shownBefore);

    f.dialogs.inputAnswers.enqueue(QStringLiteral("ABCDE"));  // five letters: an empty list, no message
    f.trigger("Rechcp");
    EXPECT_EQ(f.dialogs.messages.size(), 4);
    EXPECT_TRUE(shown());
    EXPECT_EQ(list->count(), 0);

    // By city: the answer in capitals, accents kept; Cancel lists everything.
    f.dialogs.inputAnswers.enqueue(QString::fromUtf8("rennes-le-châ"));
    f.trigger("RechparVille");
    EXPECT_EQ(f.dialogs.inputs.last().text, "Entrez le nom de la ville");
    EXPECT_EQ(f.dialogs.inputs.last().title, "Recherche d'un code postal");
    EXPECT_EQ(f.dialogs.busyDepth, 0);
    ASSERT_TRUE(shown());
    EXPECT_EQ(window()->lines(), QStringList({QString::fromUtf8("RENNES-LE-CHÂTEAU 11190")}));

    f.dialogs.inputAnswers.enqueue(std::nullopt);
    f.trigger("RechparVille");
    EXPECT_EQ(window()->lines(), tb::searchByCityPrefix(f.program.path(), ""));
}
