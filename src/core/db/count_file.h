#pragma once
// The database's files by name, the record size and the count rule, in plain
// C++: tabulon-cli counts with them before it loads any Qt library, and the
// database opens with the very same ones.
#include <optional>
#include <string>
#include <string_view>

namespace tb {

inline constexpr char kRecordFileName[] = "lesfiches.dat";
inline constexpr char kCountFileName[] = "NBFiches.dat";
inline constexpr char kMapFileName[] = "carte.txt";
// A program folder holds the default map and the departments.
inline constexpr char kDefaultMapFileName[] = "frc.gif";
inline constexpr char kDepartmentsFileName[] = "depts.txt";
inline constexpr int kRecordSize = 630;
// The count file's value is read from its first kilobytes only.
inline constexpr long long kValueFileReadLimit = 64 * 1024;

// The count file's value as a count: ASCII blanks, an optional "+", 1 to 15
// digits, blanks.
std::optional<long long> wholeCount(std::string_view value);

// folder: file system bytes, ending with "/". A database holds the count file
// and "carte.txt"; the program folder "frc.gif" and "depts.txt".
bool isDatabaseFolderPath(const std::string& folder);
bool isProgramFolderPath(const std::string& folder);

// The count of the database in folder when opening it read-only needs no
// correction and meets no error: a database folder, not the program's, whose
// count file is a plain whole number equal to the whole records of
// "lesfiches.dat" (a regular file, or none). Nothing otherwise, the database's
// open then decides.
std::optional<long long> exactCount(const std::string& folder);

}  // namespace tb
