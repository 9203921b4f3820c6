#pragma once
// The French postal directory: five files in the program folder, one commune
// and one postal code per line ("LA ROCHELLE 17000").
#include <QString>
#include <QStringList>

namespace tb {

// "c01a20.txt" ... "c81a95.txt", in search order.
QStringList postalFiles();
// The file that holds department d.
QString postalFileForDepartment(double d);

// Lines of department d, in file order (programFolder ends with "/").
QStringList departmentListing(const QString& programFolder, double d);
// Lines whose last five characters equal code, over the five files.
QStringList searchByPostalCode(const QString& programFolder, const QString& code);
// Lines whose name begins with prefix (already in capitals), over the five files.
QStringList searchByCityPrefix(const QString& programFolder, const QString& prefix);

// Taking a line into a card.
QString postalCodeOfLine(const QString& line);  // last five characters
QString cityOfLine(const QString& line);        // the line less its last six

// "depts.txt" lines (one per department), empty when missing.
QStringList readDepartments(const QString& programFolder);
// The row of department number ("17", Corsica "20") in those lines, -1 when none.
int departmentRow(const QStringList& departments, QStringView number);

// A postal code typed into a card: the communes that have it (one fills the
// city) and the row of its department in "depts.txt" (-1 when none). Nothing
// unless code is five digits.
struct TypedPostalCode {
    QStringList communes;
    int departmentRow = -1;
};
TypedPostalCode lookUpTypedPostalCode(const QString& programFolder, const QString& code);

}  // namespace tb
