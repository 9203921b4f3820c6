#include "core/db/demo_database.h"
#include "core/map/default_map.h"
#include "support/fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

// The outlines made with the map against the department centres measured on
// frc.gif by hand: every department of the map, Corsica as "20", the enlarged
// Paris inset, and the sea.
TEST(DepartmentUnderClick, EveryDepartmentOfTheDefaultMapIsFoundAtItsCentre)
{
    const tb::DepartmentOutlines outlines = tb::DepartmentOutlines::read(dataDir());
    ASSERT_FALSE(outlines.isEmpty());
    for (int d = 1; d <= 95; ++d) {
        const tb::DepartmentSpot* spot = tb::departmentSpot(d);
        ASSERT_NE(spot, nullptr) << d;
        EXPECT_EQ(outlines.departmentAt(spot->x, spot->y), QString::number(d).rightJustified(2, u'0'))
            << "department " << d << " at " << spot->x << ", " << spot->y;
    }
    // Ajaccio (2A) and Bastia (2B).
    EXPECT_EQ(outlines.departmentAt(835, 800), QStringLiteral("20"));
    EXPECT_EQ(outlines.departmentAt(862, 740), QStringLiteral("20"));
    // The inset over the Channel: Paris in its middle, the Hauts-de-Seine west of it.
    EXPECT_EQ(outlines.departmentAt(95, 118), QStringLiteral("75"));
    EXPECT_EQ(outlines.departmentAt(50, 130), QStringLiteral("92"));
    // The Atlantic, the Mediterranean, the Channel under the inset, outside the map.
    for (const QPoint sea : {QPoint(60, 500), QPoint(600, 780), QPoint(100, 205), QPoint(-5, 10), QPoint(950, 900)})
        EXPECT_EQ(outlines.departmentAt(sea.x(), sea.y()), QString()) << sea.x() << ", " << sea.y();
}

TEST(DepartmentUnderClick, MissingOrGarbledOutlinesPutEveryPointOnTheSea)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    EXPECT_TRUE(tb::DepartmentOutlines::read(folder).isEmpty());
    writeBytes(folder + "contours.txt", "17 1 1 9 1 9\r\n17 a b c d e f\r\nXYZ 0 0 9 0 9 9\r\n33 0 0 9 0 9 9\r\n");
    const tb::DepartmentOutlines outlines = tb::DepartmentOutlines::read(folder);
    EXPECT_EQ(outlines.departmentAt(7, 2), QStringLiteral("33"));
    EXPECT_EQ(outlines.departmentAt(1, 7), QString());
}
