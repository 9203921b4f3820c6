#include "base/codepage.h"
#include "postal/postal_directory.h"
#include "support/fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// A program folder with small directory files of our own.
class SmallDirectory : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        folder = m_dir.path() + u'/';
        write("c01a20.txt",
              "LA ROCHELLE 17000\r\nAYTRE 17440\r\nRENNES-LES-BAINS 11190\r\nABC\r\n\r\n"
              "AJACCIO 20000\r\nBASTIA 20200\r\nETRETAT 76790\r\n");
        write("c21a40.txt", "DIJON 21000\r\nR\xC9MOULINS 30210\r\nRENNES 35000\nCHARTRES 28000\r\n");
        // c41a60.txt is missing on purpose.
        write("c61a80.txt", "ROUEN 76000\r\n17000\r\n");
        write("c81a95.txt", "ALBI 81000\r\nCERGY 95000\r\nSAINT-DENIS 97400\r\nLA ROCHELLE 17000\r\n");
    }
    void write(const char* name, const QByteArray& bytes) { writeBytes(folder + name, bytes); }

    QTemporaryDir m_dir;
    QString folder;
};

}  // namespace

TEST(PostalFiles, DepartmentChoosesItsFileOnNumericBounds)
{
    EXPECT_EQ(tb::postalFileForDepartment(1), "c01a20.txt");
    EXPECT_EQ(tb::postalFileForDepartment(20), "c01a20.txt");
    EXPECT_EQ(tb::postalFileForDepartment(20.5), "c01a20.txt");
    EXPECT_EQ(tb::postalFileForDepartment(21), "c21a40.txt");
    EXPECT_EQ(tb::postalFileForDepartment(40), "c21a40.txt");
    EXPECT_EQ(tb::postalFileForDepartment(41), "c41a60.txt");
    EXPECT_EQ(tb::postalFileForDepartment(61), "c61a80.txt");
    EXPECT_EQ(tb::postalFileForDepartment(80), "c61a80.txt");
    EXPECT_EQ(tb::postalFileForDepartment(81), "c81a95.txt");
    EXPECT_EQ(tb::postalFileForDepartment(95), "c81a95.txt");
    EXPECT_EQ(tb::postalFileForDepartment(99), "c81a95.txt");
    EXPECT_EQ(tb::postalFiles(), QStringList({"c01a20.txt", "c21a40.txt", "c41a60.txt", "c61a80.txt",
                                              "c81a95.txt"}));
}

TEST_F(SmallDirectory, DepartmentListingReadsOneFileAndFiltersOnCodePrefix)
{
    EXPECT_EQ(tb::departmentListing(folder, 17), QStringList({"LA ROCHELLE 17000", "AYTRE 17440"}));
    EXPECT_EQ(tb::departmentListing(folder, 20), QStringList({"AJACCIO 20000", "BASTIA 20200"}));
    EXPECT_EQ(tb::departmentListing(folder, 21), QStringList({"DIJON 21000"}));
    EXPECT_EQ(tb::departmentListing(folder, 35), QStringList({"RENNES 35000"}));
    EXPECT_EQ(tb::departmentListing(folder, 95), QStringList({"CERGY 95000"}));
    // 97 lies in the last file; 99 reads it too and finds nothing.
    EXPECT_EQ(tb::departmentListing(folder, 97), QStringList({"SAINT-DENIS 97400"}));
    EXPECT_TRUE(tb::departmentListing(folder, 99).isEmpty());
    // Etretat is in the wrong file: the listing of 76 reads only c61a80.txt.
    EXPECT_EQ(tb::departmentListing(folder, 76), QStringList({"ROUEN 76000"}));
    EXPECT_TRUE(tb::departmentListing(folder, 45).isEmpty());  // missing file
}

TEST_F(SmallDirectory, SearchByCodeMatchesLastFiveCharactersInFileOrder)
{
    EXPECT_EQ(tb::searchByPostalCode(folder, "17000"), QStringList({"LA ROCHELLE 17000", "LA ROCHELLE 17000"}));
    EXPECT_TRUE(tb::searchByPostalCode(folder, "ABCDE").isEmpty());
    EXPECT_TRUE(tb::searchByPostalCode(folder, "7000").isEmpty());
    EXPECT_EQ(tb::searchByPostalCode(folder, "30210"), QStringList({QString::fromUtf8("RÉMOULINS 30210")}));
}

TEST_F(SmallDirectory, SearchByCityIsAnExactPrefixMatch)
{
    EXPECT_EQ(tb::searchByCityPrefix(folder, "RENNES"), QStringList({"RENNES-LES-BAINS 11190", "RENNES 35000"}));
    EXPECT_TRUE(tb::searchByCityPrefix(folder, "rennes").isEmpty());
    EXPECT_EQ(tb::searchByCityPrefix(folder, QString::fromUtf8("RÉ")), QStringList({QString::fromUtf8("RÉMOULINS 30210")}));
    // Empty prefix: every line of every file, short and empty lines left out.
    const QStringList all = tb::searchByCityPrefix(folder, "");
    EXPECT_EQ(all.size(), 15);
    EXPECT_EQ(all.first(), "LA ROCHELLE 17000");
    EXPECT_EQ(all.last(), "LA ROCHELLE 17000");
    EXPECT_FALSE(all.contains("ABC"));
    EXPECT_FALSE(all.contains("17000"));
    EXPECT_FALSE(all.contains(""));
}

TEST(PostalLines, CodeAndCityOfALine)
{
    EXPECT_EQ(tb::postalCodeOfLine("LA ROCHELLE 17000"), "17000");
    EXPECT_EQ(tb::cityOfLine("LA ROCHELLE 17000"), "LA ROCHELLE");
    EXPECT_EQ(tb::cityOfLine("17000"), "");
}

TEST(PostalData, SuppliedDirectoryHoldsEachDepartmentInItsFile)
{
    const QString data = dataDir();
    const QStringList laRochelle = tb::searchByPostalCode(data, "17000");
    ASSERT_FALSE(laRochelle.isEmpty());
    for (const QString& line : laRochelle)
        EXPECT_TRUE(line.endsWith(" 17000")) << line.toStdString();
    EXPECT_TRUE(laRochelle.contains("LA ROCHELLE 17000"));

    int total = 0;
    for (const QString& dept : tb::readDepartments(data)) {
        const double d = dept.left(2).toDouble();
        total += tb::departmentListing(data, d).size();
    }
    // Every line of the directory belongs to one listed department.
    EXPECT_EQ(total, tb::searchByCityPrefix(data, "").size());
    EXPECT_GT(total, 30000);

    const QStringList depts = tb::readDepartments(data);
    EXPECT_TRUE(depts.contains("17 Charente-Maritime"));
    EXPECT_TRUE(depts.contains("20 Corse"));
}

TEST(PostalData, DepartmentsSkipEmptyLinesAndMissingFileGivesNothing)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    EXPECT_TRUE(tb::readDepartments(folder).isEmpty());
    EXPECT_TRUE(tb::searchByCityPrefix(folder, "").isEmpty());
    writeBytes(folder + "depts.txt", "01 Ain\r\n\r\n02 Aisne\n\r\n");
    EXPECT_EQ(tb::readDepartments(folder), QStringList({"01 Ain", "02 Aisne"}));
}
