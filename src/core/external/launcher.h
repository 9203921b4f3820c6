#pragma once
// Every program, document and address the program opens goes through a
// Launcher: no shell ever sees a path, and tests record what would start.
#include <QString>
#include <QStringList>
#include <QUrl>

namespace tb {

class Launcher {
public:
    virtual ~Launcher() = default;
    // program with its arguments, each passed as one argument; false when it
    // could not start.
    virtual bool startProgram(const QString& program, const QStringList& args,
                              const QString& workingFolder = QString()) = 0;
    // The desktop's default application for a document.
    virtual bool openDocument(const QString& path) = 0;
    // Web pages and "mailto:" addresses.
    virtual bool openUrl(const QUrl& url) = 0;
};

// The real one: QProcess::startDetached and the desktop's services.
class SystemLauncher : public Launcher {
public:
    bool startProgram(const QString& program, const QStringList& args, const QString& workingFolder) override;
    bool openDocument(const QString& path) override;
    bool openUrl(const QUrl& url) override;
};

// The path of an external program as its path file in the program folder
// holds it ("LogTxt.txt" for the word processor), "" when none was chosen.
QString storedProgram(const QString& programFolder, const QString& pathFile);
// Opens document with program (see programToStart); with the desktop's
// default application when no program was chosen.
bool openWith(Launcher& launcher, const QString& program, const QString& document);
// What starts for a stored program path: the path itself when it exists,
// otherwise the path followed by ".exe" (in any case) when that exists.
QString programToStart(const QString& program);

// The help program beside the executable, on a page of the guide ("" for
// its home page).
bool startHelp(Launcher& launcher, const QString& programFolder, const QString& page = QString());

}  // namespace tb
