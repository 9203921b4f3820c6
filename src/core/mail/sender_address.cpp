#include "core/mail/sender_address.h"

#include "core/base/codepage.h"
#include "core/base/safe_write.h"
#include "core/mail/postal_address.h"

namespace tb {

QString senderFile(const QString& programFolder)
{
    return programFolder + QStringLiteral("expediteur.txt");
}

QStringList readSenderAddress(const QString& programFolder)
{
    QStringList lines = fromCp1252(readWholeFile(senderFile(programFolder))).split(u'\n');
    for (QString& line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

Status writeSenderAddress(const QString& programFolder, const QStringList& lines)
{
    QStringList kept = lines;
    while (!kept.isEmpty() && kept.last().trimmed().isEmpty())
        kept.removeLast();
    if (kept.size() > kAddressMostLines)
        return Error{kNoErrorNumber, QStringLiteral(" L'adresse de l'expéditeur ne peut avoir que 6 lignes !")};
    QByteArray bytes;
    for (const QString& line : kept) {
        if (!fitsCp1252(line)) {
            QString lacking;
            for (QChar c : line)
                if (!fitsCp1252(QString(c)) && !lacking.contains(c))
                    lacking += c;
            return Error{kNoErrorNumber, QStringLiteral(" Ces caractères ne peuvent pas être enregistrés : ") + lacking};
        }
        if (line.size() > kAddressLineWidth)
            return Error{kNoErrorNumber, QStringLiteral(" Une ligne d'adresse a au plus 38 caractères : « ") + line
                                             + QStringLiteral(" »")};
        bytes += toCp1252(line) + "\r\n";
    }
    return writeFileAtomic(senderFile(programFolder), bytes);
}

}  // namespace tb
