// The structure window shows the nine fixed captions whole, and nothing can
// be typed into them.
#include "core/cards/card_fields.h"
#include "gui/cards/structure_window.h"
#include "gui_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace testing_support;

TEST(StructureFixedCaptions, AreShownWholeAndReadOnly)
{
    GuiFixture f;
    f.openWithCards({makeCard("BERNARD", "Yves", 1, 100, 100)});
    ASSERT_TRUE(f.trigger("Fiche"));
    auto* w = qobject_cast<FFrance26*>(f.dialogs.lastModal());
    ASSERT_NE(w, nullptr);
    w->show();
    const QStringList fixed = tb::fixedFieldCaptions();
    for (int i = 1; i <= 9; ++i) {
        auto* shown = child<QLineEdit>(w, QStringLiteral("Text1(%1)").arg(i));
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->text(), fixed[i - 1]);
        EXPECT_TRUE(shown->isReadOnly());
        // The text fits inside the frame and its margins.
        EXPECT_LE(shown->fontMetrics().horizontalAdvance(shown->text()) + 8, shown->width()) << i;
        typeText(shown, "x");
        EXPECT_EQ(shown->text(), fixed[i - 1]);
        auto* label = child<QLabel>(w, QStringLiteral("Label1(%1)").arg(i));
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << i;
    }
    w->close();
}
