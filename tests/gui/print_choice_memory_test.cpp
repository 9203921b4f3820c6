// The font, size and colour chosen for a print are offered again at the next
// print, from any window, while the program runs.
#include "gui/lists/list_window.h"
#include "gui_fixture.h"

#include <QAction>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(PrintChoiceMemory, TheLastFontSizeAndColourChosenAreOfferedAgain)
{
    GuiFixture f;
    f.openWithCards({makeCard("DUPONT", "Jean", 1, 1, 1, "75001", "Paris")});
    f.trigger("alpha");
    auto* list = f.window<FFrance3>();
    ASSERT_NE(list, nullptr);
    QAction* print = child<QAction>(list, "Imprim3");
    ASSERT_NE(print, nullptr);
    QTemporaryDir dir;
    f.dialogs.printToPdf = dir.filePath("liste.pdf");

    print->trigger();
    ASSERT_EQ(f.dialogs.fontsOffered.size(), 1);
    const QFont first = f.dialogs.fontsOffered.last();
    QFont chosen = first;
    chosen.setPointSize(first.pointSize() + 5);
    chosen.setBold(true);
    chosen.setItalic(true);
    f.dialogs.fontAnswers.enqueue(chosen);
    f.dialogs.colorAnswers.enqueue(QColor(200, 0, 0));
    print->trigger();

    // Printed again, then cancelled: what was chosen stays offered.
    for (int k = 0; k < 2; ++k) {
        if (k == 1) {
            f.dialogs.fontAnswers.enqueue(std::nullopt);
            f.dialogs.colorAnswers.enqueue(std::nullopt);
        }
        print->trigger();
        const QFont offered = f.dialogs.fontsOffered.last();
        EXPECT_EQ(offered.pointSize(), first.pointSize() + 5);
        EXPECT_TRUE(offered.bold() && offered.italic());
        EXPECT_EQ(offered.family(), first.family());  // a list keeps its fixed pitch
        EXPECT_EQ(f.dialogs.colorsOffered.last(), QColor(200, 0, 0));
    }
}
