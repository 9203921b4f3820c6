// "Logiciels externes", "Sur la toile" and the database manager: what the launcher is asked to start.
#include "core/base/value_files.h"
#include "gui/external/program_chooser_window.h"
#include "gui/external/program_paths_window.h"
#include "gui_fixture.h"

using namespace testing_support;

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
