// "Recherches" and the exports through the real menus: the questions asked,
// the lines shown in the list window, the files and messages.
#include "core/base/codepage.h"
#include "gui_fixture.h"

using namespace testing_support;

namespace {

QString pad(const QString& text, int width)
{
    return text.leftJustified(width, u' ', true);
}

CardRecord fullCard(int marker, const QString& surname, const QString& first, const QString& cp, const QString& city,
                    const QString& landline, const QString& mobile)
{
    CardRecord c = makeCard(surname, first, marker, 10, 10, cp, city);
    c.fields[7] = pad(landline, 15);
    c.fields[8] = pad(mobile, 15);
    return c;
}

class SearchExportTest : public ::testing::Test {
protected:
    GuiFixture f;

    // Runs the search of that menu entry with the answer (nullopt: Cancel;
    // none queued: the default answer) and returns the lines shown.
    QStringList search(const char* entry, std::optional<std::optional<QString>> answer = std::nullopt)
    {
        if (answer)
            f.dialogs.inputAnswers.enqueue(*answer);
        f.dialogs.modals.clear();
        EXPECT_TRUE(f.trigger(entry));
        auto* w = qobject_cast<FFrance3*>(f.dialogs.lastModal());
        EXPECT_NE(w, nullptr) << entry;
        return w ? rowTexts(child<CardListView>(w, "List1")) : QStringList();
    }
};

}  // namespace

TEST_F(SearchExportTest, TheFiveSearchesAskTheirQuestionAndListTheCardsThatBeginWithTheAnswer)
{
    // Card 1 holds every default answer, archived; card 2 is in capitals.
    f.openWithCards({fullCard(0, "Lavenu", "Paul", "17340", "Châtelaillon-plage", "0512345678", "0612345678"),
                     fullCard(1, "LAVENU", "Anne", "17000", "CHATELAILLON-PLAGE", "05 12 34 56 78", "0699")});
    f.dialogs.inputs.clear();
    const QString paul = pad("Lavenu", 15) + " " + pad("Paul", 15) + " 17340 " + pad("Châtelaillon-plage", 40);
    const QString anne = pad("LAVENU", 15) + " " + pad("Anne", 15) + " 17000 " + pad("CHATELAILLON-PLAGE", 40);

    // What each answer matches is the core's; here each entry is wired to its search.
    EXPECT_EQ(search("Rechnom"), QStringList{paul});
    EXPECT_EQ(search("Rechnom", QStringLiteral("LAV")), QStringList{anne});
    EXPECT_EQ(search("Rechcp1"), QStringList{paul});
    // Cancel lists every card.
    EXPECT_EQ(search("Rechcp1", std::optional<QString>()), (QStringList{anne, paul}));
    EXPECT_EQ(search("Rechloc"), QStringList{pad("Châtelaillon-plage", 40) + " 17340 " + pad("Lavenu", 15) + " "
                                             + pad("Paul", 15)});
    EXPECT_EQ(search("Rechtelf", QStringLiteral("05 12")), QStringList{anne});
    EXPECT_EQ(search("rechtelp"), QStringList{paul});
    // Nothing found: the window shows empty, no earlier line, no message.
    f.dialogs.messages.clear();
    EXPECT_EQ(search("rechtelp", QStringLiteral("07")), QStringList{});
    EXPECT_TRUE(f.dialogs.messages.isEmpty());

    QStringList titles;
    for (const auto& asked : f.dialogs.inputs) {
        titles.append(asked.title);
        EXPECT_FALSE(asked.text.isEmpty()) << asked.title.toStdString();
    }
    const QString fixe = QStringLiteral("Recherche par le N° de téléphone fixe");
    EXPECT_EQ(titles, (QStringList{"Recherche par le nom", "Recherche par le nom", "Recherche par le code postal",
                                   "Recherche par le code postal", "Recherche par la loclité", fixe, fixe, fixe}));
}

TEST_F(SearchExportTest, ExportsWriteTheirFilesAndOnlyTheTextExportReports)
{
    f.openWithCards({fullCard(0, "Lavenu", "Paul", "17340", "Châtelaillon-plage", "", "")});
    f.dialogs.messages.clear();
    f.trigger("export");
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].text, " Le fichier EXPORT a été créé sous " + f.db()
                                              + "export.txt. il peut être repris notamment par Microsoft Access");
    EXPECT_EQ(f.dialogs.messages[0].title, QStringLiteral("Tabulon"));
    const QByteArray line = readBytes(f.db() + "export.txt");
    EXPECT_EQ(line.size(), 621);
    EXPECT_TRUE(line.startsWith(QByteArray(15, ' ') + ';' + "Lavenu         ;Paul           ;"));

    f.trigger("Adresses");
    EXPECT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(readBytes(f.db() + "adresses.txt"),
              QByteArray(15, ' ') + " Lavenu          Paul           \r\n" + QByteArray(40, ' ') + "\r\n17340 "
                  + tb::toCp1252(pad("Châtelaillon-plage", 40)) + "\r\n");
    // No word processor chosen: the desktop's own opens the file.
    EXPECT_EQ(f.launcher.documents, QStringList{f.db() + "adresses.txt"});
}
