// The print font is named by the style of its family that matches its weight
// and slant, so the font dialog opens on that style ("Book", not "Oblique").
#include "core/lists/list_page_layout.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <gtest/gtest.h>

TEST(PrintFontStyle, NamedByTheStyleOfItsWeightAndSlant)
{
    const QFont regular = tb::withStyleName(tb::defaultListPrintFont());
    const QString family = regular.family();
    ASSERT_TRUE(QFontInfo(regular).fixedPitch());
    for (const auto& [bold, slanted] : {std::pair(false, false), std::pair(true, false), std::pair(true, true)}) {
        QFont font = tb::defaultListPrintFont();
        font.setBold(bold);
        font.setItalic(slanted);
        const QFont named = tb::withStyleName(font);
        const QFont style = QFontDatabase::font(family, named.styleName(), 10);
        EXPECT_EQ(style.style() != QFont::StyleNormal, slanted) << named.styleName().toStdString();
        EXPECT_EQ(style.bold(), bold) << named.styleName().toStdString();
        EXPECT_EQ(QFontInfo(named).bold(), bold);
    }
}
