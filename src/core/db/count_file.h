#pragma once
// The database's files by name, the record size and the count rule, in plain
// C++: tabulon-cli counts with them before it loads any Qt library, and the
// database opens with the very same ones.
#include <functional>
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
// Records per block of a whole-file pass: 252 KB, about what a plain copy
// of the file reads at a time.
inline constexpr long long kRecordsPerBlock = 400;
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

// Reads size bytes at offset at, up to the end of the file; got tells how
// many came. False on an error, errno telling which.
bool preadAll(int fd, char* data, long long size, long long at, long long* got);

// The whole records first..count of the record file at path, read in large
// blocks, each given to fn: the number of its first record, its bytes and
// its count of records. A missing file has none. False on an error, errno
// telling which.
bool readRecordBlocks(const std::string& path, long long first, long long count,
                      const std::function<void(long long number, const char* records, long long size)>& fn);

}  // namespace tb
