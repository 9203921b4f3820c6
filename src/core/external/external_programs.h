#pragma once
// The six external programs the user chooses, their path files in the
// program folder, and the web pages and e-mail links of "Sur la toile".
#include "core/base/error.h"

#include <QString>
#include <QUrl>

#include <array>

namespace tb {

class Launcher;

struct ExternalProgram {
    const char* pathFile;  // "LogExcel.txt"
    const char* caption;   // the menu entry and the heading of the display
};

// In code order: 1 spreadsheet, 2 word processor, 3 image, 4 database,
// 5 e-mail address book, 6 scanner.
const std::array<ExternalProgram, 6>& externalPrograms();
// "" for a code outside 1 to 6.
QString programPathFile(int code);

// The path kept for a chosen program file: without a final ".exe" in any
// case, otherwise the whole path.
QString storedPathOf(const QString& chosenPath);
// Writes text as code's path file, replacing the old one.
Status storeProgramPath(const QString& programFolder, int code, const QString& text);
// The path code's path file holds, "" when none.
QString programPath(const QString& programFolder, int code);

// The lines of the display of the six paths: a heading, the path and a line
// of one blank for each program, without the last blank line.
QStringList programPathLines(const QString& programFolder);

// Starts program with no document (the ".exe" rule); false, and nothing
// started, when no program was chosen.
bool startAlone(Launcher& launcher, const QString& program);

// "Sur la toile": the program folder's "toile.txt", three lines (the page of
// "auteur", the page of "utile", the contact address of "MsgAuteur"); a
// missing file or an empty line gives the default.
struct WebLinks {
    QUrl author;
    QUrl useful;
    QUrl contact;
};
WebLinks readWebLinks(const QString& programFolder);

// A "mailto:" link to address (possibly "") with subject (none when "").
QUrl mailtoUrl(const QString& address, const QString& subject = QString());

}  // namespace tb
