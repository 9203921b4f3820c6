#include "core/external/external_programs.h"

#include "core/base/value_files.h"
#include "core/external/launcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tb {

const std::array<ExternalProgram, 6>& externalPrograms()
{
    static const std::array<ExternalProgram, 6> programs{{
        {"LogExcel.txt", "Logiciel traitement des feuilles EXCEL"},
        {"LogTxt.txt", "Logiciel traitement de texte"},
        {"LogImg.txt", "Logiciel traitement de l'image"},
        {"LogBdd.txt", "Logiciel traitement de bases de données"},
        {"LogMail.txt", "Logiciel gestion carnet d'adresses électroniques"},
        {"LogScan.txt", "Logiciel permettant l'utilisation du scanner"},
    }};
    return programs;
}

QString programPathFile(int code)
{
    if (code < 1 || code > int(externalPrograms().size()))
        return QString();
    return QString::fromLatin1(externalPrograms()[code - 1].pathFile);
}

QString storedPathOf(const QString& chosenPath)
{
    if (chosenPath.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        return chosenPath.chopped(4);
    return chosenPath;
}

Status storeProgramPath(const QString& programFolder, int code, const QString& text)
{
    return writePathValue(programFolder + programPathFile(code), text);
}

QString programPath(const QString& programFolder, int code)
{
    const QString file = programPathFile(code);
    return file.isEmpty() ? QString() : storedProgram(programFolder, file);
}

QStringList programPathLines(const QString& programFolder)
{
    QStringList lines;
    for (int code = 1; code <= int(externalPrograms().size()); ++code) {
        const QString caption = QString::fromUtf8(externalPrograms()[code - 1].caption);
        const bool last = code == int(externalPrograms().size());
        // The scanner's heading has no colon.
        lines.append(last ? caption : caption + QStringLiteral(" :"));
        lines.append(programPath(programFolder, code));
        if (!last)
            lines.append(QStringLiteral(" "));
    }
    return lines;
}

bool startAlone(Launcher& launcher, const QString& program)
{
    if (program.isEmpty())
        return false;
    return launcher.startProgram(programToStart(program), {});
}

QUrl mailtoUrl(const QString& address, const QString& subject)
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    // The blanks that pad a stored field are no part of the address; any
    // "?", "#" or "%" inside it is encoded, never read as a part of the URL.
    url.setPath(address.trimmed(), QUrl::DecodedMode);
    if (!subject.isEmpty())
        url.setQuery(QStringLiteral("subject=") + QString::fromLatin1(QUrl::toPercentEncoding(subject)),
                     QUrl::StrictMode);
    return url;
}

WebLinks readWebLinks(const QString& programFolder)
{
    QStringList lines;
    QFile file(programFolder + QStringLiteral("toile.txt"));
    if (file.open(QIODevice::ReadOnly)) {
        const QStringList read = QString::fromUtf8(file.readAll()).split(u'\n');
        for (const QString& line : read)
            lines.append(line.trimmed());
    }
    while (lines.size() < 3)
        lines.append(QString());

    const QString subject = QStringLiteral("Commentaires Tabulon");
    WebLinks links;
    links.author = lines[0].isEmpty()
                       ? QUrl::fromLocalFile(programFolder + QStringLiteral("help/index.html"))
                       : QUrl::fromUserInput(lines[0], programFolder);
    links.useful = lines[1].isEmpty() ? QUrl(QStringLiteral("https://www.geoportail.gouv.fr/"))
                                      : QUrl::fromUserInput(lines[1], programFolder);
    if (lines[2].startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive))
        links.contact = QUrl(lines[2]);
    else
        links.contact = mailtoUrl(lines[2], subject);
    return links;
}

}  // namespace tb
