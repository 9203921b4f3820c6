// The postal directory: its files by department, searches by code and city, and the code typed into a card.
#include "core/postal/postal_directory.h"
#include "support/fixtures.h"

#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <utility>

using namespace testing_support;

// Small directory files of our own; c41a60.txt is missing on purpose.
const QString kSmall = QStringLiteral(TABULON_TEST_SAMPLES "core/postal/samples/");

TEST(PostalFiles, DepartmentChoosesItsFileOnNumericBoundsAndSearchesFilterInFileOrder)
{
    for (const auto& [dept, file] : std::initializer_list<std::pair<double, const char*>>{
             {20.5, "c01a20.txt"}, {21, "c21a40.txt"}, {40, "c21a40.txt"}, {41, "c41a60.txt"}, {61, "c61a80.txt"},
             {80, "c61a80.txt"}, {81, "c81a95.txt"}, {99, "c81a95.txt"}})
        EXPECT_EQ(tb::postalFileForDepartment(dept), file) << dept;

    // The listing reads one file; searches filter on a code suffix or an exact city prefix.
    const QString& folder = kSmall;
    EXPECT_EQ(tb::departmentListing(folder, 17), QStringList({"LA ROCHELLE 17000", "AYTRE 17440"}));
    EXPECT_EQ(tb::departmentListing(folder, 97), QStringList({"SAINT-DENIS 97400"}));  // last file, past 95
    // Etretat is in the wrong file: the listing of 76 reads only c61a80.txt.
    EXPECT_EQ(tb::departmentListing(folder, 76), QStringList({"ROUEN 76000"}));
    EXPECT_TRUE(tb::departmentListing(folder, 45).isEmpty());  // missing file
    EXPECT_EQ(tb::searchByPostalCode(folder, "17000"), QStringList({"LA ROCHELLE 17000", "LA ROCHELLE 17000"}));
    EXPECT_TRUE(tb::searchByPostalCode(folder, "7000").isEmpty());
    EXPECT_EQ(tb::searchByPostalCode(folder, "30210"), QStringList({QString::fromUtf8("RÉMOULINS 30210")}));

    EXPECT_EQ(tb::searchByCityPrefix(folder, "RENNES"), QStringList({"RENNES-LES-BAINS 11190", "RENNES 35000"}));
    EXPECT_TRUE(tb::searchByCityPrefix(folder, "rennes").isEmpty());
    // Empty prefix: every line of every file, short and empty lines left out.
    const QStringList all = tb::searchByCityPrefix(folder, "");
    EXPECT_EQ(all.size(), 15);
    EXPECT_EQ(all.last(), "LA ROCHELLE 17000");
    EXPECT_FALSE(all.contains("ABC") || all.contains("17000") || all.contains(""));
}

TEST(PostalData, LinesDepartmentsFileAndSuppliedDirectoryWithItsArrondissements)
{
    EXPECT_EQ(tb::postalCodeOfLine("LA ROCHELLE 17000"), "17000");
    EXPECT_EQ(tb::cityOfLine("LA ROCHELLE 17000"), "LA ROCHELLE");
    EXPECT_EQ(tb::cityOfLine("17000"), "");

    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    EXPECT_TRUE(tb::readDepartments(folder).isEmpty());  // missing files give nothing
    EXPECT_TRUE(tb::searchByCityPrefix(folder, "").isEmpty());
    writeBytes(folder + "depts.txt", "01 Ain\r\n\r\n02 Aisne\n\r\n");
    EXPECT_EQ(tb::readDepartments(folder), QStringList({"01 Ain", "02 Aisne"}));

    // The supplied directory: every line belongs to one listed department.
    const QStringList depts = tb::readDepartments(dataDir());
    int total = 0;
    for (const QString& dept : depts)
        total += tb::departmentListing(dataDir(), dept.left(2).toDouble()).size();
    EXPECT_EQ(total, tb::searchByCityPrefix(dataDir(), "").size());
    EXPECT_GT(total, 30000);

    // Arrondissements read as a letter carries them.
    const QString data = dataDir();
    const QStringList paris = tb::departmentListing(data, 75);
    EXPECT_TRUE(paris.contains("PARIS 75116"));
    for (const QString& file : tb::postalFiles())
        EXPECT_FALSE(readBytes(data + file).contains("ARRONDISSEMENT")) << file.toStdString();
    // Every arrondissement code of the three cities is there under its city.
    for (const auto& [city, head, count] : {std::tuple{"PARIS ", "750", 20}, {"LYON ", "690", 9}, {"MARSEILLE ", "130", 16}})
        for (int n = 1; n <= count; ++n) {
            const QString code = head + QString::number(n).rightJustified(2, u'0');
            EXPECT_TRUE(tb::searchByPostalCode(data, code).contains(city + code)) << code.toStdString();
        }
}

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
    for (const auto& [code, department] : {std::pair{"20000", "20 Corse"}, {"97400", "97 Outre-mer"}})
        EXPECT_EQ(departments.value(tb::lookUpTypedPostalCode(folder, code).departmentRow), department);

    // A code no commune has still moves the department; anything but five digits gives nothing.
    const tb::TypedPostalCode unknown = tb::lookUpTypedPostalCode(folder, QStringLiteral("17999"));
    EXPECT_TRUE(unknown.communes.isEmpty());
    EXPECT_EQ(departments.value(unknown.departmentRow), QStringLiteral("17 Charente-Maritime"));
    for (const char* typed : {"6900", "690022", "6900A", ""}) {
        const tb::TypedPostalCode none = tb::lookUpTypedPostalCode(folder, QString::fromLatin1(typed));
        EXPECT_TRUE(none.communes.isEmpty()) << typed;
        EXPECT_EQ(none.departmentRow, -1) << typed;
    }
    EXPECT_EQ(tb::departmentRow(departments, u"98"), -1);
}
