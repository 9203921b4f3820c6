#pragma once
// The files a card has beside its record, named by the card's number
// ("F12.txt", "ScanA12.jpg"): the one place their names are spelt.
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace tb {

enum class SideFile {
    Note,         // F.txt, the confidential note
    Sheet,        // F.xls, the spreadsheet
    Collections,  // R.txt, journal of collections
    Interest,     // I.txt, journal of interest
    Memento,      // M.txt
    TextA,        // DtxtA.txt, text document 1
    TextB,        // DtxtB.txt, text document 2
    ScanA,        // ScanA.jpg, scanned document 1
    ScanB,        // ScanB.jpg, scanned document 2
    Photo,        // photo.jpg
};

// Every kind, in the order a deletion handles them.
inline constexpr std::array<SideFile, 10> kSideFiles{SideFile::Note,  SideFile::Sheet, SideFile::Collections,
                                                     SideFile::Interest, SideFile::Memento, SideFile::TextA,
                                                     SideFile::TextB, SideFile::ScanA, SideFile::ScanB,
                                                     SideFile::Photo};

// The kinds a new card receives from the database's templates, in the
// order they are copied.
inline constexpr std::array<SideFile, 5> kTemplatedSideFiles{SideFile::Sheet, SideFile::Note, SideFile::Collections,
                                                             SideFile::Interest, SideFile::Memento};
// The documents the user makes: the text and scanned ones.
bool isUserDocument(SideFile kind);

// "F", "DtxtA", "photo": how the names begin, in the case the program writes.
QString sideFilePrefix(SideFile kind);
// ".txt", ".xls", ".jpg".
QString sideFileExtension(SideFile kind);
// Card n's file as the program names it: "ScanA12.jpg".
QString sideFileName(SideFile kind, long long n);
// The database's template a new card's file is copied from ("F.xls"), ""
// for the kinds a new card has none of.
QString sideFileTemplate(SideFile kind);
// The first kind whose names begin with prefix, whatever its case.
std::optional<SideFile> sideFileOfPrefix(const QString& prefix);
// Which of card n's files name is, whatever its case.
std::optional<SideFile> sideFileKind(const QString& name, long long n);
// The pattern of a side file's name, any card and any extension, cut in
// (kind)(number)(.extension); case is for the caller to ignore.
QString sideFileNamePattern();

}  // namespace tb
