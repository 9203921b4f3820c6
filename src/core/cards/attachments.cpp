#include "core/cards/attachments.h"

#include "core/base/francetext.h"
#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/external/external_programs.h"
#include "core/map/preview_image.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tb {

QString attachmentPrefix(Attachment kind)
{
    static const char* const prefixes[] = {"photo", "ScanA", "ScanB", "DtxtA", "DtxtB"};
    return QLatin1String(prefixes[int(kind)]);
}

QString attachmentBase(Attachment kind, long long n)
{
    return attachmentPrefix(kind) + plainNumber(n);
}

bool isPictureAttachment(Attachment kind)
{
    return kind == Attachment::Photo || kind == Attachment::ScanA || kind == Attachment::ScanB;
}

QString attachmentPattern(Attachment kind)
{
    return isPictureAttachment(kind) ? QStringLiteral("*.jpg;*.jpeg") : QStringLiteral("*.txt");
}

QString pictureAttachmentRefusal(const QString& source)
{
    const PictureCheck check = checkPicture(source);
    // A file gone since it was listed is no picture either.
    return pictureRefusal(check == PictureCheck::Missing ? PictureCheck::NotPicture : check);
}

QString existingAttachment(const QString& target)
{
    const QFileInfo info(target);
    const QString found = fileAnyCase(info.path() + u'/', info.fileName());
    return QFileInfo(found).isFile() ? found : QString();
}

Status attachFile(const QString& source, const QString& target)
{
    if (Status s = copyFileReplacing(source, target); !s)
        return s;
    const QFileInfo info(target);
    const QStringList entries = QDir(info.path()).entryList(QDir::Files | QDir::Hidden);
    for (const QString& entry : entries) {
        if (entry != info.fileName() && entry.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            QFile::remove(info.path() + u'/' + entry);
    }
    return {};
}

QString scanInstruction(const QString& folder, int document, long long n)
{
    return QStringLiteral(" Le document scanné n°") + plainNumber(document)
           + QStringLiteral(" devra être enregistré au format JPG dans le répertoire ") + folder
           + QStringLiteral(" sous le nom de ") + attachmentBase(document == 1 ? Attachment::ScanA : Attachment::ScanB, n);
}

Status writeAddressFile(const QString& path, const CardRecord& card)
{
    const QString text = card.field(kFieldCivility) + u' ' + card.field(kFieldSurname) + u' ' + card.field(kFieldFirstNames) + QStringLiteral("\r\n")
                         + card.field(kFieldStreet) + QStringLiteral("\r\n") + card.field(kFieldPostalCode) + u' ' + card.field(kFieldCity);
    return Francetext::SauveTexte(path, text);
}

}  // namespace tb
