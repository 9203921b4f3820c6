// Each exchange starts where the last one of its kind went, never in the program folder.
#include "gui_fixture.h"

using namespace testing_support;

TEST(ChooserStartFolderWindow, EachKindStartsInTheLastFolderUsedForIt)
{
    GuiFixture f;
    f.openWithCards({makeCard("DURAND", "Marie", 1, 100, 120, "17000", "LA ROCHELLE")});
    QTemporaryDir tmp;
    const QString exports = tmp.filePath(QStringLiteral("Envois")), backups = tmp.filePath(QStringLiteral("Copies"));
    QDir().mkpath(exports);
    QDir().mkpath(backups);
    const auto startOfLast = [&] { return f.dialogs.fileChoices.last().text.section(u'|', 0, 0); };
    f.dialogs.questionAnswers << QMessageBox::No << QMessageBox::No;
    f.dialogs.fileAnswers << exports + QStringLiteral("/fiches.vcf") << backups;
    f.trigger("ExportVcard");
    f.trigger("Sauvegarde");
    f.trigger("ExportCsv");  // cancelled
    EXPECT_EQ(QFileInfo(startOfLast()).absolutePath(), exports);
    f.trigger("Sauvegarde");
    EXPECT_EQ(startOfLast(), backups);
    f.trigger("Restauration");
    EXPECT_EQ(startOfLast(), backups);
    f.trigger("ImportVcard");
    EXPECT_NE(startOfLast(), exports);
    EXPECT_FALSE(startOfLast().startsWith(f.program.path().chopped(1)));
}
