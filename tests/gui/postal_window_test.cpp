// The postal searches of "Accessoires" and their result window FFrance5 (the lines found are the core's).
#include "core/postal/postal_directory.h"
#include "gui/postal/postal_window.h"
#include "gui_fixture.h"

using namespace testing_support;

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
    f.dialogs.inputAnswers.enqueue(QStringLiteral("ABCDE"));  // five letters: an empty list, no message
    f.trigger("Rechcp");
    EXPECT_EQ(f.dialogs.messages.size(), 2);
    EXPECT_TRUE(w->lines().isEmpty() && f.dialogs.modeless.last() == w);

    // By city: the answer in capitals, accents kept; Cancel lists everything.
    f.dialogs.inputAnswers.enqueue(QString::fromUtf8("rennes-le-châ"));
    f.trigger("RechparVille");
    EXPECT_EQ(f.dialogs.modeless.last(), w);
    EXPECT_EQ(w->lines(), QStringList({QString::fromUtf8("RENNES-LE-CHÂTEAU 11190")}));
    f.dialogs.inputAnswers.enqueue(std::nullopt);
    f.trigger("RechparVille");
    EXPECT_EQ(w->lines(), tb::searchByCityPrefix(f.program.path(), ""));
}
