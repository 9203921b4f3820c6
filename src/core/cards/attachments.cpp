#include "core/cards/attachments.h"

#include "core/base/folder_index.h"
#include "core/base/francetext.h"
#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/external/external_programs.h"
#include "core/map/preview_image.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace tb {

SideFile sideFileOf(Attachment kind)
{
    switch (kind) {
    case Attachment::Photo: return SideFile::Photo;
    case Attachment::ScanA: return SideFile::ScanA;
    case Attachment::ScanB: return SideFile::ScanB;
    case Attachment::TextA: return SideFile::TextA;
    case Attachment::TextB: break;
    }
    return SideFile::TextB;
}

QString attachmentBase(Attachment kind, long long n)
{
    return sideFilePrefix(sideFileOf(kind)) + plainNumber(n);
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
    for (const QString& entry : FolderIndex(info.path() + u'/').spellings(info.fileName()))
        if (entry != info.fileName())
            QFile::remove(info.path() + u'/' + entry);
    return {};
}

Status detachFile(const QString& target)
{
    const QFileInfo info(target);
    for (const QString& entry : FolderIndex(info.path() + u'/').spellings(info.fileName())) {
        QFile file(info.path() + u'/' + entry);
        if (!file.remove() && file.exists())
            return Error::fromErrno(errno ? errno : EACCES, file.fileName());
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
