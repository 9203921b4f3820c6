#include "core/postal/postal_directory.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace testing_support;

// Five digits typed into a card, looked up in the directory shipped in data/.
TEST(TypedPostalCode, GivesTheCodesCommunesAndMovesToItsDepartment)
{
    const QString folder = dataDir();
    const QStringList departments = tb::readDepartments(folder);

    const tb::TypedPostalCode lyon = tb::lookUpTypedPostalCode(folder, QStringLiteral("69002"));
    EXPECT_EQ(lyon.communes, QStringList{QStringLiteral("LYON 69002")});
    ASSERT_GE(lyon.departmentRow, 0);
    EXPECT_EQ(departments[lyon.departmentRow], QStringLiteral("69 Rhône"));

    // Many communes share a code; Corsica is one department; overseas too.
    const tb::TypedPostalCode belley = tb::lookUpTypedPostalCode(folder, QStringLiteral("01300"));
    EXPECT_GT(belley.communes.size(), 10);
    EXPECT_TRUE(belley.communes.contains(QStringLiteral("BELLEY 01300")));
    EXPECT_TRUE(std::all_of(belley.communes.begin(), belley.communes.end(),
                            [](const QString& line) { return line.endsWith(QStringLiteral(" 01300")); }));
    EXPECT_EQ(belley.departmentRow, 0);
    EXPECT_EQ(departments.value(tb::lookUpTypedPostalCode(folder, QStringLiteral("20000")).departmentRow),
              QStringLiteral("20 Corse"));
    EXPECT_EQ(departments.value(tb::lookUpTypedPostalCode(folder, QStringLiteral("97400")).departmentRow),
              QStringLiteral("97 Outre-mer"));

    // A code no commune has still moves the department; anything but five digits gives nothing.
    const tb::TypedPostalCode unknown = tb::lookUpTypedPostalCode(folder, QStringLiteral("17999"));
    EXPECT_TRUE(unknown.communes.isEmpty());
    EXPECT_EQ(departments.value(unknown.departmentRow), QStringLiteral("17 Charente-Maritime"));
    for (const char* typed : {"6900", "690022", "69 02", "6900A", ""}) {
        const tb::TypedPostalCode none = tb::lookUpTypedPostalCode(folder, QString::fromLatin1(typed));
        EXPECT_TRUE(none.communes.isEmpty()) << typed;
        EXPECT_EQ(none.departmentRow, -1) << typed;
    }
    EXPECT_EQ(tb::departmentRow(departments, u"98"), -1);
}
