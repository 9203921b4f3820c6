// A CSV file without header row goes through the matching window, where the
// user says which field each column fills; and the spreadsheet export.
#include "core/base/safe_write.h"
#include "core/db/database.h"
#include "gui/app/main_window.h"
#include "gui/exchange/csv_import_window.h"
#include "gui_fixture.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

void choose(QWidget* w, int column, const QString& caption)
{
    auto* combo = child<QComboBox>(w, QStringLiteral("ComboColonne_%1").arg(column));
    combo->setCurrentIndex(combo->findText(caption));
}

TEST(CsvMatchingWindow, ColumnsOfAFileWithoutHeaderAreChosenByTheUserBeforeAnyCardIsMade)
{
    GuiFixture f;
    QTemporaryDir files;
    f.openWithCards({});
    const QString csv = files.filePath(QStringLiteral("sans-intitules.csv"));
    writeBytes(csv, "jean@exemple.fr;NOUVEAU;06 12 34 56 78\r\nmarie@exemple.fr;AUTRE;0475000000\r\n");

    // Nothing chosen: nothing made, and the user is told why.
    f.dialogs.fileAnswers.enqueue(csv);
    f.dialogs.modalScripts.enqueue([](QWidget* w) {
        ASSERT_TRUE(qobject_cast<FImportCsv*>(w));
        auto* table = child<QTableWidget>(w, QStringLiteral("TableColonnes"));
        ASSERT_EQ(table->rowCount(), 3);
        EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("Colonne 1"));
        EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("jean@exemple.fr"));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(child<QComboBox>(w, QStringLiteral("ComboColonne_%1").arg(i))->currentText(),
                      QStringLiteral("(ne pas reprendre)"));
        click(child<QPushButton>(w, QStringLiteral("CommandImporter")));
    });
    f.trigger("ImportCsv");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("Aucune colonne n'est reprise : choisissez le champ de fiche que "
                                                      "remplit au moins une colonne."));
    auto* db = f.main->session().database();
    EXPECT_EQ(db->count(), 0);

    // The first row is a contact too.
    f.dialogs.fileAnswers.enqueue(csv);
    f.dialogs.modalScripts.enqueue([](QWidget* w) {
        choose(w, 0, QStringLiteral("Adresse E-mail"));
        choose(w, 1, QStringLiteral("Nom"));
        choose(w, 2, QStringLiteral("N° de portable"));
        click(child<QPushButton>(w, QStringLiteral("CommandImporter")));
    });
    f.dialogs.modalScripts.enqueue([](QWidget* w) { click(child<QPushButton>(w, QStringLiteral("CommandOK"))); });
    f.trigger("ImportCsv");
    ASSERT_EQ(db->count(), 2) << f.dialogs.lastMessage().toStdString();
    EXPECT_EQ(db->card(1)->field(3).trimmed(), QStringLiteral("NOUVEAU"));
    EXPECT_EQ(db->card(1)->field(9).trimmed(), QStringLiteral("06 12 34 56 78"));
    EXPECT_EQ(db->card(1)->field(10).trimmed(), QStringLiteral("jean@exemple.fr"));
    EXPECT_EQ(db->card(2)->field(3).trimmed(), QStringLiteral("AUTRE"));

    // A file past a limit is refused with it, before the window opens.
    const QString wide = files.filePath(QStringLiteral("long.csv"));
    writeBytes(wide, "Nom\n\"" + QByteArray(tb::kCsvMaxValueChars + 1, 'x') + "\"\n");
    f.dialogs.fileAnswers.enqueue(wide);
    f.trigger("ImportCsv");
    EXPECT_TRUE(f.dialogs.lastMessage().contains(QStringLiteral("dépasse 65536 caractères"))) << f.dialogs.lastMessage().toStdString();
    EXPECT_EQ(db->count(), 2);

    // Out again as a spreadsheet, from the "Fichier" menu.
    const QString ods = files.filePath(QStringLiteral("fiches.ods"));
    EXPECT_EQ(f.action(QStringLiteral("ExportOds"))->text(), QStringLiteral("Ex&porter pour un tableur (.ods)"));
    f.dialogs.questionAnswers.enqueue(QMessageBox::No);
    f.dialogs.fileAnswers.enqueue(ods);
    f.trigger("ExportOds");
    EXPECT_EQ(f.dialogs.lastMessage(), QStringLiteral("2 fiche(s) exportée(s) dans « ") + ods + QStringLiteral(" »."));
    EXPECT_TRUE(readBytes(ods).startsWith("PK"));
}

}  // namespace
